#include "ui/skin/NImage.h"

#include <memory>
#include <new>
#include <string>

#include "ui/base/IniStringContainer.h"
#include "ui/gfx/Dib.h"
#include "ui/skin/SkinLoader.h"

NImage::~NImage() {
  for (int32_t i = 0; i < slot_count_; ++i) {
    if (frames_[i] != nullptr)
      frames_[i]->Release();
  }
  delete[] frames_;
}

int NImage::LoadStrip(const wchar_t* path, int32_t count, uint32_t frame_time) {
  if (frames_ != nullptr || count < 0 || count > kMaxFrames)
    return 0;
  Dib* strip = Dib::Load(path, 0);
  if (strip == nullptr)
    return 0;
  if (count > strip->width()) {
    strip->Release();
    return 0;
  }
  frames_ = new (std::nothrow) Dib*[1];
  if (frames_ == nullptr) {
    strip->Release();
    return 0;
  }
  frames_[0] = strip;
  slot_count_ = 1;
  frame_count_ = count;
  frame_time_ = frame_time;
  current_frame_ = 0;
  frame_width_ = count > 0 ? strip->width() / count : strip->width();
  last_tick_ = GetTickCount();
  return 1;
}

int NImage::AllocFrames(int32_t count, uint32_t frame_time) {
  if (frames_ != nullptr || count < 0 || count > kMaxFrames)
    return 0;
  if (count > 0) {
    frames_ = new (std::nothrow) Dib*[count]();
    if (frames_ == nullptr)
      return 0;
  }
  slot_count_ = frame_count_ = count;
  frame_time_ = frame_time;
  current_frame_ = 0;
  last_tick_ = GetTickCount();
  return 1;
}

int NImage::LoadFrame(int32_t index, const wchar_t* path) {
  if (index < 0 || index >= slot_count_ || frames_[index] != nullptr)
    return 0;
  frames_[index] = Dib::Load(path, 0);
  // A single slot is drawn as a strip of one frame, so its frame is as wide as its image.
  if (slot_count_ == 1 && frames_[index] != nullptr)
    frame_width_ = frames_[index]->width();
  return frames_[index] != nullptr;
}

int NImage::GetFrameSize(int32_t* width, int32_t* height) const {
  RECT rect;
  Dib* frame = GetFrame(&rect);
  if (frame == nullptr)
    return 0;
  if (slot_count_ == 1) {
    *width = frame_width_;
    *height = frame->height();
  } else {
    *width = frame->width();
    *height = frame->height();
  }
  return 1;
}

int NImage::Tick() {
  return TickAt(GetTickCount());
}

int NImage::TickAt(uint32_t now) {
  if (stopped_ || frames_ == nullptr || frame_count_ == 0 || frame_time_ == 0)
    return 0;
  if (now < last_tick_) {
    last_tick_ = now;
    return 1;
  }
  uint32_t steps = (now - last_tick_) / frame_time_;
  if (steps == 0)
    return 0;
  // One step for all elapsed frames: no loop that could run long (or, near a counter wrap, for ever).
  last_tick_ += steps * frame_time_;
  current_frame_ = static_cast<int32_t>((static_cast<uint64_t>(current_frame_) + steps) % frame_count_);
  return 1;
}

Dib* NImage::GetFrame(RECT* out) const {
  if (frames_ == nullptr || current_frame_ < 0)
    return nullptr;
  if (slot_count_ == 1) {
    Dib* strip = frames_[0];
    if (strip == nullptr)
      return nullptr;
    int32_t shift = current_frame_ * frame_width_;
    *out = has_source_rect_ ? RECT{source_rect_.left + shift, source_rect_.top, source_rect_.right + shift,
                                   source_rect_.bottom}
                            : RECT{shift, 0, shift + frame_width_, strip->height()};
    return strip;
  }
  if (current_frame_ >= slot_count_ || frames_[current_frame_] == nullptr)
    return nullptr;
  Dib* frame = frames_[current_frame_];
  *out = has_source_rect_ ? source_rect_ : RECT{0, 0, frame->width(), frame->height()};
  return frame;
}

int NImage::Draw(Dib* destination, int blend) const {
  RECT rect;
  Dib* frame = GetFrame(&rect);
  if (frame == nullptr)
    return 0;
  POINT at = {x_, y_};
  return Dib::Draw(&rect, &at, frame, destination, blend);
}

void NImage::SetSourceRect(const RECT* rect) {
  has_source_rect_ = rect != nullptr;
  if (rect != nullptr)
    source_rect_ = *rect;
}

NImage* LoadSkinImage(SkinLoader* category, const wchar_t* id) {
  std::unique_ptr<IniStringContainer> ini(LoadControlSkinIni(category, id));
  if (!ini)
    return nullptr;
  int32_t frame_count = ini->GetInt(L"IMAGE", L"frame_count", 0);
  int32_t frame_time = ini->GetInt(L"IMAGE", L"frame_time", 0);
  if (frame_count < 0 || frame_time < 0 || frame_count > NImage::kMaxFrames)
    return nullptr;
  std::unique_ptr<NImage> image(new (std::nothrow) NImage());
  if (!image)
    return nullptr;
  image->set_position(ini->GetInt(L"IMAGE", L"x", 0), ini->GetInt(L"IMAGE", L"y", 0));
  if (const wchar_t* strip = ini->GetString(L"IMAGE", L"image", nullptr)) {
    const wchar_t* path = OpenSkinFile(category, strip);
    if (path == nullptr || !image->LoadStrip(path, frame_count, static_cast<uint32_t>(frame_time)))
      return nullptr;
    return image.release();
  }
  if (!image->AllocFrames(frame_count, static_cast<uint32_t>(frame_time)))
    return nullptr;
  for (int32_t i = 0; i < frame_count; ++i) {
    std::wstring section = L"FRAME_" + std::to_wstring(i);
    const wchar_t* name = ini->GetString(section.c_str(), L"image", nullptr);
    const wchar_t* path = name != nullptr ? OpenSkinFile(category, name) : nullptr;
    if (path == nullptr || !image->LoadFrame(i, path))
      return nullptr;
  }
  return image.release();
}

NImage* LoadSkinImageFile(SkinLoader* category, const wchar_t* name) {
  const wchar_t* path = OpenSkinFile(category, name);
  if (path == nullptr)
    return nullptr;
  std::unique_ptr<NImage> image(new (std::nothrow) NImage());
  if (!image || !image->LoadStrip(path, 0, 0))
    return nullptr;
  return image.release();
}

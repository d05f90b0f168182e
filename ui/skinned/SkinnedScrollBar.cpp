#include "ui/skinned/SkinnedScrollBar.h"

#include <cstdint>
#include <string>

#include "ui/base/IniStringContainer.h"
#include "ui/gfx/Dib.h"
#include "ui/skin/NImage.h"
#include "ui/skin/SkinLoader.h"
#include "ui/skinned/SkinStateImages.h"
#include "ui/view/NotifyCodes.h"

namespace {

const wchar_t* const kPartNames[SkinnedScrollBar::kSkinParts] = {L"BAR", L"THUMB", L"DEC", L"INC"};
const wchar_t* const kPartKeys[SkinnedScrollBar::kSkinParts] = {L"bar", L"thumb", L"dec", L"inc"};
const wchar_t* const kStateNames[SkinnedScrollBar::kVisualStates] = {L"NORMAL", L"OVER", L"DOWN",
                                                                     L"DISABLED"};

int32_t Clamp(int32_t value, int32_t low, int32_t high) {
  return value < low ? low : (value > high ? high : value);
}

}  // namespace

SkinnedScrollBar::~SkinnedScrollBar() {
  Destroy();
  SkinnedScrollBar::ReleaseSkin();
}

int SkinnedScrollBar::LoadSkin() {
  if (!SkinnedCtrl::LoadSkin())
    return 0;
  IniStringContainer* skin = ini();
  const wchar_t* section = L"SCROLL_BAR";
  int32_t x = skin->GetInt(section, L"x", 0);
  int32_t y = skin->GetInt(section, L"y", 0);
  int32_t width = skin->GetInt(section, L"width", 0);
  int32_t height = skin->GetInt(section, L"height", 0);
  const wchar_t* back = skin->GetString(section, L"back", nullptr);
  int32_t button_size = skin->GetInt(section, L"button_size", 0);
  int32_t thumb_size = skin->GetInt(section, L"thumb_size", 0);
  int32_t vertical = skin->GetInt(section, L"vertical", 0);
  if (width < 1 || height < 1)
    return 0;
  if (back != nullptr) {
    if (const wchar_t* path = OpenSkinFile(category(), back))
      back_ = Dib::Load(path, 1);
  }
  ReadPositions();
  Move(x, y);
  Resize(width, height);
  SetupKeepingPosition(vertical, button_size, thumb_size);
  Invalidate();
  return 1;
}

void SkinnedScrollBar::ReadPositions() {
  IniStringContainer* skin = ini();
  for (int32_t part = 0; part < kSkinParts; ++part) {
    std::wstring key = kPartKeys[part];
    positions_[part].x = skin->GetInt(L"SCROLL_BAR", (key + L"_x").c_str(), 0);
    positions_[part].y = skin->GetInt(L"SCROLL_BAR", (key + L"_y").c_str(), 0);
    for (int32_t state = 0; state < kVisualStates; ++state) {
      std::wstring name = std::wstring(L"SCR_") + kPartNames[part] + L"_" + kStateNames[state];
      LoadStateImage(*this, name.c_str(), &images_[part * kVisualStates + state]);
    }
  }
}

void SkinnedScrollBar::SetupKeepingPosition(int32_t vertical, int32_t button_size, int32_t thumb_size) {
  int32_t kept_position = position_;
  int32_t old_offset = thumb_offset_;
  reloading_ = 1;
  Setup(vertical, button_size, thumb_size, page_, range_);
  position_ = kept_position;
  ClampPosition();
  UpdateThumb();
  reloading_ = 0;
  if (thumb_offset_ != old_offset)
    Notify(NOTIFY_SCROLL_POS_CHANGED);
}

void SkinnedScrollBar::ReleaseSkin() {
  if (back_ != nullptr)
    back_->Release();
  back_ = nullptr;
  DeleteStateImages(images_, kSkinParts * kVisualStates);
  SkinnedCtrl::ReleaseSkin();
}

int32_t SkinnedScrollBar::OnNotify(int32_t code, intptr_t, intptr_t) {
  if (reloading_ && code == NOTIFY_SCROLL_POS_CHANGED)
    return 1;
  return SkinnedNotify(code);
}

int32_t SkinnedScrollBar::VisualStateIndex() const {
  if (!enabled_)
    return 3;
  if (pressed_)
    return 2;
  return hovered_ ? 1 : 0;
}

NImage* SkinnedScrollBar::image(int32_t skin_part, int32_t state) const {
  if (skin_part < 0 || skin_part >= kSkinParts || state < 0 || state >= kVisualStates)
    return nullptr;
  return images_[skin_part * kVisualStates + state];
}

NImage* SkinnedScrollBar::ShownImage(int32_t hot_part) const {
  int32_t skin_part = kBar;
  if (hot_part == kThumb)
    skin_part = kThumbImage;
  else if (hot_part == kDecrement)
    skin_part = kDecImage;
  else if (hot_part == kIncrement)
    skin_part = kIncImage;
  int32_t state = VisualStateIndex();
  if ((state == 1 || state == 2) && part_ != hot_part)
    state = 0;
  return image(skin_part, state);
}

void SkinnedScrollBar::UpdateAt(uint32_t now) {
  NImage* shown[] = {ShownImage(kTrackBefore), ShownImage(kTrackAfter), ShownImage(kThumb),
                     ShownImage(kDecrement), ShownImage(kIncrement)};
  int32_t changed = 0;
  for (NImage* image : images_) {
    if (image == nullptr || !image->TickAt(now))
      continue;
    for (NImage* visible : shown)
      changed |= visible == image ? 1 : 0;
  }
  if (changed)
    Invalidate();
}

void SkinnedScrollBar::OnPaint(HDC, Dib* surface) {
  if (surface == nullptr)
    return;
  surface->FillRect(RECT{0, 0, surface->width(), surface->height()}, 0);
  if (back_ != nullptr)
    Dib::Draw(nullptr, nullptr, back_, surface, 0);
  int32_t blend = back_ != nullptr ? 1 : 0;
  PaintTrack(surface, blend);
  POINT thumb = positions_[kThumbImage];
  (vertical_ ? thumb.y : thumb.x) = thumb_offset_;
  PaintAt(ShownImage(kThumb), thumb.x, thumb.y, surface, blend);
  PaintAt(ShownImage(kDecrement), positions_[kDecImage].x, positions_[kDecImage].y, surface, blend);
  PaintAt(ShownImage(kIncrement), positions_[kIncImage].x, positions_[kIncImage].y, surface, blend);
}

void SkinnedScrollBar::PaintAt(NImage* image, int32_t x, int32_t y, Dib* surface, int32_t blend) const {
  if (image == nullptr)
    return;
  RECT source;
  Dib* frame = image->GetFrame(&source);
  POINT at = {x, y};
  if (frame != nullptr)
    Dib::Draw(&source, &at, frame, surface, blend);
}

// Each track piece shows a stretch [from, to) of its bar image along the bar, measured from the end of the
// decrement button, cut to the image's length: a source rectangle past the image would not be drawn at all.
void SkinnedScrollBar::PaintTrack(Dib* surface, int32_t blend) const {
  struct Piece {
    NImage* image;
    int32_t from, to, at;
  };
  int32_t thumb_end = thumb_offset_ + thumb_size_;
  const Piece pieces[] = {
      {ShownImage(kTrackBefore), 0, thumb_offset_ - button_size_, button_size_},
      {ShownImage(kTrackAfter), thumb_end - button_size_, INT32_MAX, thumb_end},
  };
  for (const Piece& piece : pieces) {
    if (piece.image == nullptr)
      continue;
    RECT frame_rect;
    Dib* frame = piece.image->GetFrame(&frame_rect);
    if (frame == nullptr)
      continue;
    int32_t length = vertical_ ? frame_rect.bottom - frame_rect.top : frame_rect.right - frame_rect.left;
    int32_t from = Clamp(piece.from, 0, length);
    int32_t to = Clamp(piece.to, from, length);
    if (to <= from)
      continue;
    RECT source = frame_rect;
    POINT at = {positions_[kBar].x, positions_[kBar].y};
    if (vertical_) {
      source.top = frame_rect.top + from;
      source.bottom = frame_rect.top + to;
      at.y = piece.at;
    } else {
      source.left = frame_rect.left + from;
      source.right = frame_rect.left + to;
      at.x = piece.at;
    }
    Dib::Draw(&source, &at, frame, surface, blend);
  }
}

#include "app/windows/UpdateServerSelectScrollBar.h"

#include "app/windows/UpdateServerSelectButton.h"
#include "ui/base/IniContainer.h"
#include "ui/gfx/Dib.h"

namespace {

const wchar_t kSection[] = L"UpdateServerSelectScrollBar";

void DrawAt(const Dib* image, Dib* surface, int32_t x, int32_t y) {
  if (image == nullptr)
    return;
  POINT at = {x, y};
  Dib::Draw(nullptr, &at, image, surface, 0);
}

}  // namespace

UpdateServerSelectScrollBar::~UpdateServerSelectScrollBar() {
  Destroy();
  ReleaseImages();
}

void UpdateServerSelectScrollBar::ReleaseImages() {
  for (PartImages* part : {&thumb_, &decrease_, &increase_}) {
    for (Dib*& image : part->images) {
      if (image != nullptr)
        image->Release();
      image = nullptr;
    }
  }
}

bool UpdateServerSelectScrollBar::CreateFromSkin(IniContainer* ini,
                                                 const std::wstring& folder,
                                                 int32_t id,
                                                 NWnd* parent,
                                                 int32_t page,
                                                 int32_t range) {
  const int32_t width = ini->GetInt(kSection, L"width", 0);
  const int32_t height = ini->GetInt(kSection, L"height", 0);
  if (width <= 0 || height <= 0)
    return false;
  ReleaseImages();
  struct {
    PartImages* part;
    const wchar_t* name;
    const wchar_t* x;
    const wchar_t* y;
  } parts[] = {{&thumb_, L"thumb", nullptr, nullptr},
               {&decrease_, L"dec", L"dec_x", L"dec_y"},
               {&increase_, L"inc", L"inc_x", L"inc_y"}};
  const wchar_t* looks[] = {L"normal", L"over", L"down", L"disabled"};
  for (auto& entry : parts) {
    if (entry.x != nullptr) {
      entry.part->x = ini->GetInt(kSection, entry.x, 0);
      entry.part->y = ini->GetInt(kSection, entry.y, 0);
    }
    for (int look = 0; look < 4; ++look) {
      const std::wstring key = std::wstring(L"image_") + entry.name + L"_" + looks[look];
      entry.part->images[look] = LoadServerSelectImage(folder, ini->GetString(kSection, key.c_str(), L""));
    }
  }
  thumb_x_ = ini->GetInt(kSection, L"thumb_x", 0);
  thumb_y_ = ini->GetInt(kSection, L"thumb_y", 0);
  if (!Create(ini->GetInt(kSection, L"x", 0), ini->GetInt(kSection, L"y", 0), width, height, id, parent))
    return false;
  Setup(ini->GetInt(kSection, L"vertical", 0), ini->GetInt(kSection, L"button_size", 0),
        ini->GetInt(kSection, L"thumb_size", 0), page, range);
  Show(1, 0);
  return true;
}

void UpdateServerSelectScrollBar::SetPosition(int32_t position) {
  position_ = position;
  ClampPosition();
  thumb_offset_ = OffsetFor(position_);
  Invalidate();
}

UpdateServerSelectScrollBar::Look UpdateServerSelectScrollBar::LookOf(int32_t part,
                                                                      bool enabled,
                                                                      int32_t pressed_part,
                                                                      int32_t hovered_part) {
  if (!enabled)
    return kDisabled;
  if (pressed_part != kNone)
    return pressed_part == part ? kDown : kNormal;
  return hovered_part == part ? kOver : kNormal;
}

void UpdateServerSelectScrollBar::OnPaint(HDC, Dib* surface) {
  surface->FillRect({0, 0, surface->width(), surface->height()}, 0);
  const int32_t pressed_part = pressed_ ? part_ : kNone;
  const int32_t hovered_part = hovered_ ? part_ : kNone;
  auto look = [&](int32_t part) { return LookOf(part, enabled_ != 0, pressed_part, hovered_part); };
  DrawAt(decrease_.images[look(kDecrement)], surface, decrease_.x, decrease_.y);
  DrawAt(increase_.images[look(kIncrement)], surface, increase_.x, increase_.y);
  const Dib* thumb = thumb_.images[look(kThumb)];
  if (vertical_)
    DrawAt(thumb, surface, thumb_x_, thumb_offset_);
  else
    DrawAt(thumb, surface, thumb_offset_, thumb_y_);
}

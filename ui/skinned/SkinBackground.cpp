#include "ui/skinned/SkinBackground.h"

#include "ui/base/IniStringContainer.h"
#include "ui/gfx/Dib.h"
#include "ui/skin/SkinLoader.h"
#include "ui/skinned/SkinnedCtrl.h"
#include "ui/view/NWnd.h"

uint32_t SkinColour(int32_t r, int32_t g, int32_t b) {
  return 0xFF000000u | (static_cast<uint32_t>(r) & 255u) << 16 | (static_cast<uint32_t>(g) & 255u) << 8 |
         (static_cast<uint32_t>(b) & 255u);
}

int SkinBackground::Load(SkinnedCtrl& control, NWnd& window) {
  IniStringContainer* ini = control.ini();
  if (control.category() == nullptr || ini == nullptr)
    return 0;
  int32_t x = ini->GetInt(L"BACK", L"x", 0);
  int32_t y = ini->GetInt(L"BACK", L"y", 0);
  int32_t width = ini->GetInt(L"BACK", L"width", 0);
  int32_t height = ini->GetInt(L"BACK", L"height", 0);
  const wchar_t* back = ini->GetString(L"BACK", L"back", nullptr);
  uint32_t colour =
      SkinColour(ini->GetInt(L"BACK", L"back_color_r", 0), ini->GetInt(L"BACK", L"back_color_g", 0),
                 ini->GetInt(L"BACK", L"back_color_b", 0));
  if (width < 1 || height < 1)
    return 0;
  Release();
  if (back != nullptr) {
    if (const wchar_t* path = OpenSkinFile(control.category(), back))
      image_ = Dib::Load(path, 1);
  }
  colour_ = colour;
  window.Move(x, y);
  window.Resize(width, height);
  window.Invalidate();
  return 1;
}

void SkinBackground::Paint(Dib* surface) const {
  if (surface == nullptr)
    return;
  int32_t width = surface->width();
  int32_t height = surface->height();
  int32_t covered_width = image_ != nullptr ? image_->width() : 0;
  int32_t covered_height = image_ != nullptr ? image_->height() : 0;
  if (covered_width < width || covered_height < height || image_->color_key() != 0)
    surface->FillRect(RECT{0, 0, width, height}, colour_);
  if (image_ != nullptr)
    Dib::Draw(nullptr, nullptr, image_, surface, 0);
}

void SkinBackground::Release() {
  if (image_ != nullptr)
    image_->Release();
  image_ = nullptr;
  colour_ = 0;
}

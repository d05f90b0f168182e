#include "ui/skinned/SkinnedDialog.h"

#include "ui/base/IniStringContainer.h"
#include "ui/gfx/Dib.h"
#include "ui/skin/SkinLoader.h"
#include "ui/skinned/SkinBackground.h"

SkinnedDialog::~SkinnedDialog() {
  Destroy();
  SkinnedDialog::ReleaseSkin();
}

int SkinnedDialog::LoadSkin() {
  if (!SkinnedCtrl::LoadSkin())
    return 0;
  IniStringContainer* skin = ini();
  int32_t width = skin->GetInt(L"BACK", L"width", 0);
  int32_t height = skin->GetInt(L"BACK", L"height", 0);
  const wchar_t* back = skin->GetString(L"BACK", L"back", nullptr);
  uint32_t key = SkinColour(skin->GetInt(L"BACK", L"colorkey_r", 0), skin->GetInt(L"BACK", L"colorkey_g", 0),
                            skin->GetInt(L"BACK", L"colorkey_b", 0));
  if (width < 1 || height < 1)
    return 0;
  const wchar_t* path = back != nullptr ? OpenSkinFile(category(), back) : nullptr;
  back_image_ = path != nullptr ? Dib::Load(path, 1) : nullptr;
  if (back_image_ == nullptr)
    return 0;
  Resize(width, height);
  if (HWND window = window_handle()) {
    HRGN region = back_image_->CreateColorKeyRegion(key);
    // The window owns the region once it is set.
    if (region != nullptr && !SetWindowRgn(window, region, TRUE))
      DeleteObject(region);
  }
  OnSkinLoaded();
  Invalidate();
  return 1;
}

void SkinnedDialog::ReleaseSkin() {
  if (back_image_ != nullptr)
    back_image_->Release();
  back_image_ = nullptr;
  SkinnedCtrl::ReleaseSkin();
}

void SkinnedDialog::OnPaint(HDC, Dib* surface) {
  if (surface != nullptr && back_image_ != nullptr)
    Dib::Draw(nullptr, nullptr, back_image_, surface, 0);
}

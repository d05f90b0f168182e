#include "app/windows/UpdateServerSelectButton.h"

#include "base/RelativeName.h"
#include "ui/base/IniContainer.h"
#include "ui/gfx/Dib.h"

Dib* LoadServerSelectImage(const std::wstring& folder, const wchar_t* name) {
  if (name == nullptr || name[0] == 0)
    return nullptr;
  // The name comes from a skin file that users exchange: it may not reach outside the skin folder.
  wchar_t path[MAX_PATH];
  return JoinUnderRoot(path, folder.c_str(), name) ? Dib::Load(path, 0) : nullptr;
}

UpdateServerSelectButton::~UpdateServerSelectButton() {
  Destroy();
  ReleaseImages();
}

void UpdateServerSelectButton::ReleaseImages() {
  for (Dib*& image : images_) {
    if (image != nullptr)
      image->Release();
    image = nullptr;
  }
}

bool UpdateServerSelectButton::CreateFromSkin(IniContainer* ini,
                                              const wchar_t* section,
                                              const std::wstring& folder,
                                              int32_t id,
                                              NWnd* parent) {
  const int32_t width = ini->GetInt(section, L"width", 0);
  const int32_t height = ini->GetInt(section, L"height", 0);
  if (width <= 0 || height <= 0)
    return false;
  ReleaseImages();
  const wchar_t* keys[] = {L"image_normal", L"image_over", L"image_down", L"image_disabled"};
  for (int i = 0; i < 4; ++i)
    images_[i] = LoadServerSelectImage(folder, ini->GetString(section, keys[i], L""));
  if (!Create(ini->GetInt(section, L"x", 0), ini->GetInt(section, L"y", 0), width, height, id, parent))
    return false;
  Show(1, 0);
  return true;
}

void UpdateServerSelectButton::OnPaint(HDC, Dib* surface) {
  int index = !enabled_ ? 3 : state_ == kPressed ? 2 : state_ == kHover ? 1 : 0;
  const Dib* image = images_[index] != nullptr ? images_[index] : images_[0];
  surface->FillRect({0, 0, surface->width(), surface->height()}, 0);
  if (image != nullptr)
    Dib::Draw(nullptr, nullptr, image, surface, 0);
}

#include "ui/skinned/SkinStateImages.h"

#include "ui/base/IniStringContainer.h"
#include "ui/skin/NImage.h"
#include "ui/skinned/SkinnedCtrl.h"

void LoadStateImage(SkinnedCtrl& control, const wchar_t* section, NImage** slot) {
  delete *slot;
  *slot = nullptr;
  IniStringContainer* ini = control.ini();
  if (ini == nullptr || control.category() == nullptr)
    return;
  if (const wchar_t* id = ini->GetString(section, L"image_id", nullptr))
    *slot = LoadSkinImage(control.category(), id);
  else if (const wchar_t* file = ini->GetString(section, L"image", nullptr))
    *slot = LoadSkinImageFile(control.category(), file);
}

void DeleteStateImages(NImage** images, int32_t count) {
  for (int32_t i = 0; i < count; ++i) {
    delete images[i];
    images[i] = nullptr;
  }
}

int32_t TickStateImages(NImage* const* images, int32_t count, const NImage* shown, uint32_t now) {
  int32_t shown_changed = 0;
  for (int32_t i = 0; i < count; ++i) {
    if (images[i] != nullptr && images[i]->TickAt(now) && images[i] == shown)
      shown_changed = 1;
  }
  return shown_changed;
}

#include "ui/skinned/SkinnedCtrl.h"

#include "ui/base/IniStringContainer.h"
#include "ui/skin/SkinListeners.h"
#include "ui/skin/SkinLoader.h"
#include "ui/view/NotifyCodes.h"

SkinnedCtrl::~SkinnedCtrl() {
  delete ini_;
}

void SkinnedCtrl::ReleaseSkin() {
  delete ini_;
  ini_ = nullptr;
  category_ = nullptr;
}

int SkinnedCtrl::LoadSkin() {
  ReleaseSkin();
  category_ = FindSkinCategory(category_id_.GetString());
  if (category_ == nullptr)
    return 0;
  ini_ = LoadControlSkinIni(category_, skin_name_.GetString());
  if (ini_ == nullptr)
    return 0;
  OnSkinLoaded();
  return 1;
}

void SkinnedCtrl::SetSkin(const wchar_t* category_id, const wchar_t* skin_name) {
  category_id_.Assign(category_id);
  skin_name_.Assign(skin_name);
}

int32_t SkinnedCtrl::SkinnedCreate(NWnd* window) {
  RegisterSkinListener(window);
  if (LoadSkin())
    return 1;
  UnregisterSkinListener(window);
  return 0;
}

void SkinnedCtrl::SkinnedDestroy(NWnd* window) {
  UnregisterSkinListener(window);
}

int32_t SkinnedCtrl::SkinnedNotify(int32_t code) {
  if (code != NOTIFY_SKIN_CHANGED)
    return 0;
  if (category_ != nullptr && category_->skin_change() == 0)
    return 1;
  LoadSkin();
  return 1;
}

#include "ui/skinned/SkinnedHtmlCtrl.h"

#include "ui/base/IniStringContainer.h"

SkinnedHtmlCtrl::~SkinnedHtmlCtrl() {
  Destroy();
  SkinnedHtmlCtrl::ReleaseSkin();
}

int SkinnedHtmlCtrl::LoadSkin() {
  if (!SkinnedCtrl::LoadSkin())
    return 0;
  IniStringContainer* skin = ini();
  if (category() == nullptr || skin == nullptr)
    return 0;
  int32_t x = skin->GetInt(L"BROWSER", L"x", 0);
  int32_t y = skin->GetInt(L"BROWSER", L"y", 0);
  int32_t width = skin->GetInt(L"BROWSER", L"width", 0);
  int32_t height = skin->GetInt(L"BROWSER", L"height", 0);
  if (width < 1 || height < 1)
    return 0;
  Move(x, y);
  Resize(width, height);
  Invalidate();
  return 1;
}

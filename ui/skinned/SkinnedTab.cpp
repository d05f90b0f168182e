#include "ui/skinned/SkinnedTab.h"

#include "ui/base/IniStringContainer.h"
#include "ui/gfx/Dib.h"
#include "ui/skin/NImage.h"
#include "ui/skinned/SkinStateImages.h"
#include "ui/view/NotifyCodes.h"

namespace {

const wchar_t* const kStateSections[SkinnedTab::kTabStates] = {L"TAB_OFF", L"TAB_OFF_OVER", L"TAB_ON",
                                                               L"TAB_ON_OVER", L"TAB_ON_DOWN"};

}  // namespace

SkinnedTab::~SkinnedTab() {
  Destroy();
  SkinnedTab::ReleaseSkin();
}

void SkinnedTab::SetTabState(int32_t state) {
  tab_state_ = state;
  Invalidate();
}

int SkinnedTab::LoadSkin() {
  if (!SkinnedCtrl::LoadSkin())
    return 0;
  IniStringContainer* skin = ini();
  int32_t x = skin->GetInt(L"TAB", L"x", 0);
  int32_t y = skin->GetInt(L"TAB", L"y", 0);
  int32_t width = skin->GetInt(L"TAB", L"width", 0);
  int32_t height = skin->GetInt(L"TAB", L"height", 0);
  if (width < 1 || height < 1)
    return 0;
  for (int32_t i = 0; i < kTabStates; ++i)
    LoadStateImage(*this, kStateSections[i], &images_[i]);
  Move(x, y);
  Resize(width, height);
  Invalidate();
  return 1;
}

void SkinnedTab::ReleaseSkin() {
  DeleteStateImages(images_, kTabStates);
  SkinnedCtrl::ReleaseSkin();
}

void SkinnedTab::UpdateAt(uint32_t now) {
  if (TickStateImages(images_, kTabStates, image(tab_state_), now))
    Invalidate();
}

void SkinnedTab::OnPaint(HDC, Dib* surface) {
  if (surface == nullptr)
    return;
  surface->FillRect(RECT{0, 0, surface->width(), surface->height()}, 0);
  if (NImage* shown = image(tab_state_))
    shown->Draw(surface, 0);
}

void SkinnedTab::OnLButtonDown(int32_t, int32_t) {
  SetTabState(kPressed);
  if (parent_ != nullptr)
    NotifyParents(parent_, NOTIFY_TAB_SELECTED, id_, 0);
}

void SkinnedTab::OnLButtonDblClk(int32_t x, int32_t y) {
  SkinnedTab::OnLButtonDown(x, y);
}

void SkinnedTab::OnLButtonUp(int32_t, int32_t) {
  SetTabState(hover_ ? kOnOver : kOn);
}

void SkinnedTab::OnMouseEnter(int32_t, int32_t) {
  if (GetPressedNode() == this)
    SetTabState(kPressed);
  else
    SetTabState(tab_state_ <= kOffOver ? kOffOver : kOnOver);
}

void SkinnedTab::OnMouseLeave() {
  SetTabState(tab_state_ <= kOffOver ? kOff : kOn);
}

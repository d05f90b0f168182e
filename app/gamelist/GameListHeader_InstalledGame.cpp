#include "app/gamelist/GameListHeader_InstalledGame.h"

#include "app/gamelist/GameListServices.h"
#include "app/texts/MessageTexts.h"
#include "ui/base/IniStringContainer.h"
#include "ui/view/NotifyCodes.h"

namespace {

const wchar_t* const kButtonSkins[4] = {L"update_all_btn", L"stop_update_all_btn",
                                        L"installed_game_scroll_up_btn", L"installed_game_scroll_down_btn"};
const int32_t kButtonCodes[4] = {kNotifyUpdateAll, kNotifyStopAll, kNotifyScrollUp, kNotifyScrollDown};

}  // namespace

GameListHeader_InstalledGame::~GameListHeader_InstalledGame() {
  Destroy();
}

int32_t GameListHeader_InstalledGame::OnCreate() {
  if (!SkinnedWnd::OnCreate())
    return 0;
  for (int i = 0; i < 4; ++i) {
    buttons_[i].SetSkin(category_id().GetString(), kButtonSkins[i]);
    if (!buttons_[i].Create(0, 0, 1, 1, kUpdateAll + i, this))
      return 0;
  }
  buttons_[0].Enable(0);
  buttons_[0].Show(1, 0);
  return 1;
}

void GameListHeader_InstalledGame::OnSkinLoaded() {
  position_x_ = position_y_ = 0;
  if (ini() == nullptr)
    return;
  position_x_ = ini()->GetInt(L"BACK", L"x", 0);
  position_y_ = ini()->GetInt(L"BACK", L"y", 0);
}

int32_t GameListHeader_InstalledGame::OnNotify(int32_t code, intptr_t p1, intptr_t p2) {
  if (code == NOTIFY_CLICKED && p1 >= kUpdateAll && p1 <= kScrollDown) {
    if (parent() != nullptr)
      NotifyParents(parent(), kButtonCodes[p1 - kUpdateAll], id(), 0);
    return 1;
  }
  if (code == NOTIFY_BUTTON_HOVER && p1 >= kUpdateAll && p1 <= kScrollDown) {
    const wchar_t* text = nullptr;
    if (p1 == kUpdateAll)
      text = GetAppMessage(L"tooltip_update_all");
    else if (p1 == kStopAll)
      text = GetAppMessage(L"tooltip_stop_update_all");
    ShowLauncherToolTip(reinterpret_cast<const RECT*>(p2), static_cast<uint32_t>(p1), text);
    return 1;
  }
  return SkinnedWnd::OnNotify(code, p1, p2);
}

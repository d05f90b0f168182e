// The tick's view of the program: the launcher window's and the game list's operations while those windows
// exist.
#include "app/gamelist/GameButton.h"
#include "app/gamelist/GameList.h"
#include "app/games/GameCatalogue.h"
#include "app/session/LauncherGlobals.h"
#include "app/tick/PeriodicTick.h"
#include "app/windows/ModalGuard.h"
#include "app/windows/UpdaterLauncherWnd.h"
#include "app/windows/orvaneLauncherDlg.h"
#include "ui/skinned/NoticeWnd.h"

namespace {

class LauncherWindowView : public TickView {
 public:
  void RefreshGame(const wchar_t* game_id) override {
    if (UpdaterLauncherWnd* window = Launcher().LauncherWindow)
      window->RefreshGame(game_id);
  }
  bool UpdateGameButton(const wchar_t* game_id) override {
    return GameListPanel != nullptr &&
           GameListPanel->buttons().UpdateButton(game_id, &GameListPanel->layout()) != 0;
  }
  void ClampScrollAndLayOut() override {
    if (GameListPanel == nullptr)
      return;
    GameListPanel->ClampScroll();
    GameListPanel->buttons().ApplyLayoutToAll(&GameListPanel->layout());
  }
  void SetGameIcons(const wchar_t* game_id, const wchar_t* small_icon, const wchar_t* large_icon) override {
    GameButton* button = GameListPanel != nullptr ? GameListPanel->buttons().FindButton(game_id) : nullptr;
    if (button != nullptr)
      button->SetIcons(small_icon, large_icon);
  }
  void EnsureCurrentGameVisible() override {
    UpdaterLauncherWnd* window = Launcher().LauncherWindow;
    if (GameListPanel != nullptr && window != nullptr)
      GameListPanel->EnsureVisible(window->SelectedGameId());
  }
  // The ticker shows the catalogue's notices: subject as text, url as link.
  void RefreshNotices() override {
    UpdaterLauncherWnd* window = Launcher().LauncherWindow;
    if (window == nullptr)
      return;
    NoticeWnd& notice = window->notice();
    notice.SetNoticeCount(static_cast<int32_t>(NoticeCount()));
    for (int32_t index = 0; index < notice.count(); ++index) {
      const NoticeInfo* info = NoticeAt(static_cast<size_t>(index));
      notice.texts()[index].Assign(info != nullptr ? info->subject : L"");
      notice.links()[index].Assign(info != nullptr ? info->url : L"");
    }
    notice.UpdateDisplay();
  }
  void SetSearchHint(const wchar_t* hint) override {
    if (UpdaterLauncherWnd* window = Launcher().LauncherWindow)
      window->SetSearchHint(hint);
  }
  bool ShowHeldBackMessagesLater() override {
    NDialog* main = GetMainDialog();
    HWND window = main != nullptr ? main->GetHwnd() : nullptr;
    return window != nullptr && !IsModalOpen() &&
           PostMessageW(window, WM_COMMAND, orvaneLauncherDlg::kShowHeldBackMessagesCommand, 0) != FALSE;
  }
  void UpdateProgress() override {
    if (UpdaterLauncherWnd* window = Launcher().LauncherWindow)
      window->UpdateProgress();
  }
  void RefreshGameList() override {
    if (GameListPanel != nullptr)
      GameListPanel->ReorderByGameOrder();
  }
};

}  // namespace

TickView& LauncherTickView() {
  static LauncherWindowView view;
  return view;
}

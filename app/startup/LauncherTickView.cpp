// The tick's view of the program: the launcher window's operations while the window exists. The game list's
// operations do nothing until the game list is built.
#include "app/startup/LauncherGlobals.h"
#include "app/startup/PeriodicTick.h"
#include "app/windows/UpdaterLauncherWnd.h"

namespace {

class LauncherWindowView : public TickView {
 public:
  void RefreshGame(const wchar_t* game_id) override {
    if (UpdaterLauncherWnd* window = Launcher().LauncherWindow)
      window->RefreshGame(game_id);
  }
  void SetSearchHint(const wchar_t* hint) override {
    if (UpdaterLauncherWnd* window = Launcher().LauncherWindow)
      window->SetSearchHint(hint);
  }
  void UpdateProgress() override {
    if (UpdaterLauncherWnd* window = Launcher().LauncherWindow)
      window->UpdateProgress();
  }
};

}  // namespace

TickView& LauncherTickView() {
  static LauncherWindowView view;
  return view;
}

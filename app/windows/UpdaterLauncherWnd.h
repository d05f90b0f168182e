// UpdaterLauncherWnd: the launcher window, the large child window (id 11, skin "body" of category "body")
// that fills the main dialog's body and shows the portal's games.
//
// This version paints its skin's background only; its operations change nothing yet.
//
// Thread: user-interface thread only.
#pragma once

#include <cstdint>

#include "ui/skinned/SkinnedWnd.h"

class UpdaterLauncherWnd : public SkinnedChildWnd {
 public:
  static const int32_t kChildId = 11;

  UpdaterLauncherWnd() = default;
  ~UpdaterLauncherWnd() override = default;

  // Shows the game `id` (null: the home page); `force` re-shows an already current game.
  void SelectGame(const wchar_t* id, int32_t force);
  // Re-reads the game `id` when it is the current one.
  void RefreshGame(const wchar_t* id);
  // Kind 1 install, 2 stop install, 3 update, 4 stop update, 5 run: flags bit 1 enable, bit 0 show.
  void SetActionButton(const wchar_t* id, int32_t kind, int32_t flags);
  // Refreshes the progress bars and file texts of the current game.
  void UpdateProgress();
  // 1 while the dialog is shown, 0 while minimised or destroyed.
  void ShowBanner(int32_t show);
  void SetUserNick(const wchar_t* nick);
  void SetSearchHint(const wchar_t* hint);
  void ShowHomePage();
};

// The game popup menu: the one context menu of a game in the game list, opened at the cursor by a right
// click. Its seven rows are the game actions, command i + 1 for row i, with the texts of the skin sections
// "MENU_ITEM_INSTALL", "MENU_ITEM_STOP_INSTALL", "MENU_ITEM_UPDATE", "MENU_ITEM_STOP_UPDATE", "MENU_ITEM_RUN",
// "MENU_ITEM_FILECHECK", "MENU_ITEM_PATCH_INFO" (key "text") of its control ini "game_popup_menu" in the
// category "etc". ShowGamePopupMenu (GameActions.h) fills and opens it.
//
// Thread: user-interface thread only.
#pragma once

#include "ui/base/String.h"
#include "ui/skinned/SkinnedPopupMenu.h"

class GamePopupMenu : public SkinnedPopupMenu {
 public:
  GamePopupMenu() = default;
  ~GamePopupMenu() override;

  // The callback the rows are rebuilt with on every skin load.
  void SetCommandCallback(Callback callback) { command_callback_ = callback; }
  // Rebuilds the seven rows from the skin's texts.
  void OnSkinLoaded() override;
  // Shown: the top-left corner goes to the cursor.
  void OnShow(int32_t show) override;

  String& game_id() { return game_id_; }

 private:
  Callback command_callback_ = nullptr;
  String game_id_;
};

// The process's game popup menu (made on first call); TearDownGamePopupMenu destroys it while the toolkit
// still stands (shutdown, tests).
GamePopupMenu* ProcessGamePopupMenu();
void TearDownGamePopupMenu();

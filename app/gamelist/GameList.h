// GameList: the game list panel ("list", child 106 of the launcher window). It draws the installed games as a
// vertical list of game buttons under its header (update all, stop all, two scroll buttons), lets the user
// hover, select and scroll them with the mouse, opens the game popup menu on a right click, and shows the
// update server's name with a button that opens the server selection.
//
// Skin: its own control ini: BACK (as every skinned child window), the font set named after its category id,
// REGION (x, y, image_id or image; and the text box keys of NTextBox.h for the server name), and the control
// ini "game_button_info" of its category for the buttons' layout (GameButtonInfo.h). The header's ini is
// "list_header_installed_game", the region button's "select_region_btn".
//
// Rows: GameListRows.h. The installed list starts at the header's bottom, and only the rows that fit between
// there and the panel's bottom are shown. Rows and origin are worked out again after every skin load of the
// panel and of the header and after every change of the panel's size, and the scroll offset is bounded again.
//
// Thread: user-interface thread only.
#pragma once

#include <windows.h>

#include <cstdint>

#include "app/gamelist/GameButtonInfo.h"
#include "app/gamelist/GameButtonList.h"
#include "app/gamelist/GameListHeader_InstalledGame.h"
#include "app/launcherupdate/ServerSelectionResult.h"
#include "ui/skinned/SkinnedButton.h"
#include "ui/skinned/SkinnedWnd.h"

class NImage;
class NTextBox;

class GameList : public SkinnedChildWnd {
 public:
  static const int32_t kChildId = 106;
  static const int32_t kHeaderId = 1001;
  static const int32_t kRegionButtonId = 1002;

  GameList() = default;
  ~GameList() override;

  // Selects the game's button (null: none): looks, the game action SelectGame, scrolled into view, repaint.
  void SelectButton(const wchar_t* game_id);
  // Scrolls the installed list so that the game's button is on screen (nothing when it is, or is not listed).
  void EnsureVisible(const wchar_t* game_id);
  // Bounds the scroll offset and shows or hides the header's scroll buttons.
  void ClampScroll();
  // Puts the installed list in the settings' game order; when it changed, keeps the selection visible.
  void ReorderByGameOrder();
  // The hover button from the last mouse position.
  void UpdateHover();
  // 1 when (x, y) lies inside the panel and not above the header's bottom edge.
  int32_t IsOverList(int32_t x, int32_t y);

  int32_t OnCreate() override;
  void OnDestroy() override;
  void OnSize() override;
  void OnUpdate() override;
  void OnPaint(HDC dc, Dib* surface) override;
  int32_t OnNotify(int32_t code, intptr_t p1, intptr_t p2) override;
  void OnSkinLoaded() override;
  void OnMouseMove(int32_t x, int32_t y) override;
  void OnLButtonDown(int32_t x, int32_t y) override;
  void OnLButtonDblClk(int32_t x, int32_t y) override;
  void OnRButtonUp(int32_t x, int32_t y) override;
  void OnMouseWheel(int32_t x, int32_t y, int32_t notches) override;
  void OnMouseLeave() override;

  // Posted to the panel's window once the server list of the region selection has arrived.
  static const UINT kRegionListArrivedMessage = WM_APP + 1;

  GameButtonList& buttons() { return buttons_; }
  GameButtonInfo& layout() { return layout_; }
  GameListHeader_InstalledGame& header() { return header_; }
  NTextBox* region_text() const { return region_text_; }

 private:
  // Origin and visible rows from the header and the layout, then ClampScroll.
  void RecomputeRows();
  void Scroll(int32_t rows);
  void LoadRegion();
  // The region button: starts the server selection, whose list arrives later (OnUpdate).
  void RunRegionSelection();
  // The arrived list: its dialog and the result's message, unless another dialog is open.
  void TakeRegionList();
  void ShowRegionResult(SelectUpdateServerResult result);
  void SetRegionText();
  LRESULT WindowProcedure(UINT message, WPARAM wparam, LPARAM lparam) override;

  GameListHeader_InstalledGame header_;
  NImage* region_image_ = nullptr;
  NTextBox* region_text_ = nullptr;
  SkinnedButton region_button_;
  GameButtonInfo layout_;
  GameButtonList buttons_;
  int32_t last_mouse_x_ = -1;
  int32_t last_mouse_y_ = -1;
  // The header's place and height the rows were last worked out from.
  int32_t header_bottom_ = -1;
  // A region selection was started and its list has not been taken yet.
  bool region_pending_ = false;
  // kRegionListArrivedMessage is on its way.
  bool region_posted_ = false;
};

// The process's game list panel (null while there is none), set by the launcher window.
extern GameList* GameListPanel;

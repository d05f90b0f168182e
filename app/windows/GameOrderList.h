// GameOrderList: the windowless list on the settings dialog's game-list tab in which the user re-orders the
// installed games. Each row (GameOrderButton) shows a title in one of three looks; one row can be selected and
// moved; the list scrolls with its own scroll bar and the mouse wheel. Keyboard input is not handled.
//
// Skin ("<skin name>.ini" of its category): the BACK section of SkinnedWnd (SkinBackground.h) and
//   [GAME_ORDER_LIST]  btn_width, btn_height (row size), font_normal_id, font_over_id, font_selected_id (fonts
//                      of the category's font set), text_x, text_y, text_align (NTextBox.h alignment),
//                      text_<look>_color_r/g/b and back_<look>_color_r/g/b for <look> = normal, over,
//                      selected. Every key defaults to 0 or ""; colour components are taken modulo 256.
// The scroll bar is the child "game_list_scroll_bar" (id 11001) of the same category (SkinnedScrollBar.h).
//
// Geometry: filled rows stand one row height apart from the first-row y, which is 0 or minus the scroll
// position times the row height (held to the int32 range); empty slots take no space. A skin without a row height (0) shows rows that
// take no space and never scroll.
//
// Ownership: owns its rows and the scroll bar. Thread: user-interface thread only.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "app/windows/GameOrderButton.h"
#include "ui/skinned/SkinnedScrollBar.h"
#include "ui/skinned/SkinnedWnd.h"

// The list's scroll bar: a SkinnedScrollBar whose position the list can set directly.
class GameOrderScrollBar : public SkinnedScrollBar {
 public:
  ~GameOrderScrollBar() override;
  // Position held to 0..range - page, then the thumb follows (NOTIFY_SCROLL_POS_CHANGED when it moved).
  void SetPosition(int32_t position);
};

class GameOrderList : public SkinnedWnd {
 public:
  static const int32_t kScrollBarId = 11001;

  struct LookColours {
    COLORREF text = 0;  // RGB, red in the low byte
    uint32_t back = 0;  // 0xFFRRGGBB
  };

  GameOrderList() = default;
  ~GameOrderList() override;

  // Deletes every row, makes `count` empty slots (below 0: none) and updates the scroll bar. The hover and
  // selected rows are cleared with them.
  void SetRowCount(int32_t count);
  // Fills slot `index` with the game `game_id` titled `title`; nothing for an index outside the slots or a
  // null title.
  void SetRow(int32_t index, const wchar_t* title, const wchar_t* game_id);
  // Moves the filled slots to the front in their order and drops the empty ones.
  void Compact();
  // Each: nothing without a selected row or when it cannot move that way; otherwise one repaint.
  void MoveSelectedUp();
  void MoveSelectedDown();
  void MoveSelectedToTop();
  void MoveSelectedToBottom();
  // Scrolls the least needed to bring the selected row wholly into view; nothing without a selected row or
  // a row height.
  void ScrollToSelected();
  // The slot index of the filled row whose band holds `y` (list coordinates); -1 when none does.
  int32_t RowIndexAt(int32_t y) const;
  // The selection as a slot index, -1 for none (tests and the dialog's reading of the order use it).
  void SelectIndex(int32_t index);
  int32_t SelectedIndex() const;

  int32_t OnCreate() override;
  int LoadSkin() override;
  void OnSkinLoaded() override;
  void OnPaint(HDC dc, Dib* surface) override;
  void OnLButtonDown(int32_t x, int32_t y) override;
  void OnLButtonDblClk(int32_t x, int32_t y) override;
  void OnMouseWheel(int32_t x, int32_t y, int32_t notches) override;
  void OnMouseMove(int32_t x, int32_t y) override;
  void OnMouseLeave() override;
  int32_t OnNotify(int32_t code, intptr_t p1, intptr_t p2) override;

  int32_t row_count() const { return static_cast<int32_t>(rows_.size()); }
  GameOrderButton* row(int32_t index) const;
  GameOrderButton* hover_row() const { return hover_; }
  GameOrderButton* selected_row() const { return selected_; }
  int32_t first_row_y() const { return first_row_y_; }
  int32_t row_width() const { return row_width_; }
  int32_t row_height() const { return row_height_; }
  GameOrderScrollBar& scroll_bar() { return scroll_bar_; }

 private:
  void ReadSkinKeys();
  // Gives a row its image size, fonts, placement, colours and title, rendered enabled.
  void StyleRow(GameOrderButton* row, const wchar_t* title);
  void UpdateScrollBar();
  // First-row y from the scroll position; a repaint when it moved.
  void FollowScrollPosition();
  GameOrderButton* RowAt(int32_t y) const;
  void PaintRow(GameOrderButton* row, Dib* surface, int32_t top) const;
  // Rotates the slots [first, last] by one so that the selected row (at `from`) lands at `to`.
  void MoveSelected(int32_t from, int32_t to);

  int32_t first_row_y_ = 0;
  int32_t row_width_ = 0;
  int32_t row_height_ = 0;
  String font_ids_[GameOrderButton::kLooks];
  int32_t text_x_ = 0;
  int32_t text_y_ = 0;
  int32_t text_align_ = 0;
  LookColours colours_[GameOrderButton::kLooks];
  std::vector<std::unique_ptr<GameOrderButton>> rows_;
  GameOrderButton* hover_ = nullptr;
  GameOrderButton* selected_ = nullptr;
  GameOrderScrollBar scroll_bar_;
};

// The game list panel's row arithmetic, as pure functions over the layout and the installed list: how many
// rows fit, how far the list may scroll, which rows are on screen and where each picture, separator line and
// hit rectangle lies (the selected row is taller than the others and overlaps its neighbours).
//
// Rows: the installed list starts at the panel's origin; a row slot is height + line y + line height pixels
// tall. The scroll offset is 0 or negative: minus the number of rows scrolled past, so the button at position
// i (from 0) is on row r = offset + i, shown when 0 <= r < visible rows. The selected button's picture sits at
// selected top y in the first visible row (when more than one row is visible), at selected bottom y in the
// last visible row, and at selected y otherwise.
//
// Thread: any (no state).
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "ui/base/TPLinkedList.h"

class GameButton;
class GameButtonInfo;

// Rows that fit `list_height` pixels below the list's origin (the header's bottom): every row but the last
// takes its whole slot, the last only its picture (y + height; no separator follows it). 0 without a layout
// (height or slot not positive) or when not one row fits.
int32_t VisibleRowCount(int32_t list_height, const GameButtonInfo& layout);

// The offset bounded for `count` buttons and `visible` rows: 0 when all fit, else between visible - count
// and 0.
int32_t ClampedScrollOffset(int32_t offset, int32_t count, int32_t visible);
// Whether the scroll-up (rows above) and scroll-down (rows below) buttons are shown.
bool ScrollUpShown(int32_t offset);
bool ScrollDownShown(int32_t offset, int32_t count, int32_t visible);
// The offset after scrolling the button at `position` (from 0) into view: unchanged when it is visible.
int32_t OffsetShowing(int32_t offset, int32_t position, int32_t visible);

// One visible row.
struct GameListRow {
  GameButton* button = nullptr;
  bool selected = false;
  RECT picture = {0, 0, 0, 0};  // panel coordinates of its picture (and its hit rectangle)
  bool line_after = false;      // a separator line follows it
  RECT line = {0, 0, 0, 0};
};

// The visible rows of `installed` in top-to-bottom order.
std::vector<GameListRow> LayOutRows(const TPLinkedList<GameButton>& installed,
                                    const GameButton* selected,
                                    const GameButtonInfo& layout,
                                    int32_t origin_x,
                                    int32_t origin_y,
                                    int32_t offset,
                                    int32_t visible);
// The row under (x, y) (panel coordinates): the selected row wins where it overlaps, otherwise the last row
// whose rectangle holds the point; null when none.
GameButton* HitRow(const std::vector<GameListRow>& rows, int32_t x, int32_t y);

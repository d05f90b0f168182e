#include "app/gamelist/GameListRows.h"

#include "app/gamelist/GameButton.h"
#include "app/gamelist/GameButtonInfo.h"

int32_t VisibleRowCount(int32_t list_height, const GameButtonInfo& layout) {
  int64_t slot = static_cast<int64_t>(layout.height) + layout.line_y + layout.line_height;
  int64_t last_row = static_cast<int64_t>(layout.height) + (layout.y > 0 ? layout.y : 0);
  if (layout.height <= 0 || slot <= 0 || list_height < last_row)
    return 0;
  int64_t rows = (list_height - last_row) / slot + 1;
  return rows > INT32_MAX ? INT32_MAX : static_cast<int32_t>(rows);
}

int32_t ClampedScrollOffset(int32_t offset, int32_t count, int32_t visible) {
  if (visible >= count)
    return 0;
  if (offset > 0)
    offset = 0;
  if (static_cast<int64_t>(offset) + count < visible)
    offset = visible - count;
  return offset;
}

bool ScrollUpShown(int32_t offset) {
  return offset < 0;
}

bool ScrollDownShown(int32_t offset, int32_t count, int32_t visible) {
  return visible < static_cast<int64_t>(count) + offset;
}

int32_t OffsetShowing(int32_t offset, int32_t position, int32_t visible) {
  int64_t row = static_cast<int64_t>(offset) + position;
  if (row < 0)
    return offset - static_cast<int32_t>(row);
  if (row >= visible)
    return visible - 1 - position;
  return offset;
}

std::vector<GameListRow> LayOutRows(const TPLinkedList<GameButton>& installed,
                                    const GameButton* selected,
                                    const GameButtonInfo& layout,
                                    int32_t origin_x,
                                    int32_t origin_y,
                                    int32_t offset,
                                    int32_t visible) {
  std::vector<GameListRow> rows;
  int64_t top = origin_y;
  int32_t r = offset;
  for (auto* node = installed.head(); node != nullptr; node = node->next, ++r) {
    if (r < 0)
      continue;
    if (r >= visible)
      break;
    GameListRow row;
    row.button = node->item;
    row.selected = node->item == selected;
    if (row.selected) {
      int32_t dy = layout.selected_y;
      if (r == 0 && visible > 1)
        dy = layout.selected_top_y;
      else if (r == visible - 1 && r != 0)
        dy = layout.selected_bottom_y;
      row.picture = RECT{origin_x + layout.selected_x, static_cast<LONG>(top + dy),
                         origin_x + layout.selected_x + layout.selected_width,
                         static_cast<LONG>(top + dy + layout.selected_height)};
    } else {
      row.picture =
          RECT{origin_x + layout.x, static_cast<LONG>(top + layout.y), origin_x + layout.x + layout.width,
               static_cast<LONG>(top + layout.y + layout.height)};
    }
    if (r != visible - 1 && node->next != nullptr) {
      int64_t line_top = top + layout.height + layout.line_y;
      row.line_after = true;
      row.line = RECT{origin_x + layout.line_x, static_cast<LONG>(line_top),
                      origin_x + layout.line_x + layout.line_width,
                      static_cast<LONG>(line_top + layout.line_height)};
      top += layout.RowPitch();
    }
    rows.push_back(row);
  }
  return rows;
}

GameButton* HitRow(const std::vector<GameListRow>& rows, int32_t x, int32_t y) {
  GameButton* candidate = nullptr;
  for (const GameListRow& row : rows) {
    POINT point = {x, y};
    if (!PtInRect(&row.picture, point))
      continue;
    if (row.selected)
      return row.button;
    candidate = row.button;
  }
  return candidate;
}

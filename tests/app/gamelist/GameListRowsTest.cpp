#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/gamelist/GameButton.h"
#include "app/gamelist/GameButtonInfo.h"
#include "app/gamelist/GameListRows.h"

namespace {

std::vector<LONG> Sides(const RECT& rect) {
  return {rect.left, rect.top, rect.right, rect.bottom};
}

TEST(GameListRows, TheVisibleRowsAreThoseWhosePicturesFitBelowTheHeader) {
  struct Case {
    int32_t list_height, y, height, line_y, line_height, rows;
  } cases[] = {
      {400, 0, 0, 0, 0, 0},    // no layout: no rows, no division by zero
      {371, 0, 30, 0, 1, 12},  // 12 rows of 30 and the 11 lines between them
      {370, 0, 30, 0, 1, 11},  // the last row needs no line below it
      {439, 1, 38, 1, 1, 11},  // the default skin: each picture 1 below its slot's top, slots of 40
      {438, 1, 38, 1, 1, 10},  // the last picture would end 1 below the list
      {35, 5, 30, 0, 1, 1},    // a picture placed lower needs that much more
      {34, 5, 30, 0, 1, 0},    {0, 0, 30, 0, 1, 0},  // nothing fits
      {400, 0, -5, 0, 2, 0},                         // a negative height
      {400, 0, 10, -20, 1, 0},                       // slots that go back up
  };
  for (const Case& c : cases) {
    GameButtonInfo layout;
    layout.y = c.y;
    layout.height = c.height;
    layout.line_y = c.line_y;
    layout.line_height = c.line_height;
    EXPECT_EQ(c.rows, VisibleRowCount(c.list_height, layout))
        << c.list_height << " " << c.y << " " << c.height;
  }
}

TEST(GameListRows, ScrollOffsetIsBoundedAndScrollButtonsFollowIt) {
  struct Case {
    int32_t offset, count, visible, clamped;
    bool up, down;
  } cases[] = {
      {0, 5, 10, 0, false, false},      // all fit
      {-3, 5, 10, 0, false, false},     // all fit: back to the top
      {2, 20, 10, 0, false, true},      // never below 0
      {-4, 20, 10, -4, true, true},     // in the middle
      {-15, 20, 10, -10, true, false},  // past the end: the last row at the bottom
      {-10, 20, 10, -10, true, false}, {0, 20, 0, 0, false, true},  // no visible rows: nothing moves
  };
  for (const Case& c : cases) {
    int32_t clamped = ClampedScrollOffset(c.offset, c.count, c.visible);
    EXPECT_EQ(c.clamped, clamped) << c.offset << " " << c.count << " " << c.visible;
    EXPECT_EQ(c.up, ScrollUpShown(clamped));
    EXPECT_EQ(c.down, ScrollDownShown(clamped, c.count, c.visible));
  }
  // Scrolling into view: above -> first row, below -> last row, visible -> unchanged.
  EXPECT_EQ(-3, OffsetShowing(-5, 3, 10));
  EXPECT_EQ(-40, OffsetShowing(0, 49, 10));
  EXPECT_EQ(-5, OffsetShowing(-5, 8, 10));
}

class GameListRowsLayout : public ::testing::Test {
 protected:
  void SetUp() override {
    layout_.x = 2;
    layout_.y = 1;
    layout_.width = 100;
    layout_.height = 20;
    layout_.line_y = 1;
    layout_.line_height = 2;
    layout_.line_width = 100;
    layout_.selected_x = 0;
    layout_.selected_y = -4;
    layout_.selected_top_y = 0;
    layout_.selected_bottom_y = -8;
    layout_.selected_width = 110;
    layout_.selected_height = 30;
    for (int i = 0; i < 6; ++i)
      list_.AddTail(&buttons_[i]);
  }
  GameButtonInfo layout_;
  GameButton buttons_[6];
  TPLinkedList<GameButton> list_;
};

TEST_F(GameListRowsLayout, SelectedRowTakesTopMiddleOrBottomPlaceAndOverlapsItsNeighbours) {
  // 4 visible rows, scrolled past one: buttons 1..4 are rows 0..3; origin (5, 40); pitch 23.
  struct Case {
    int selected;
    LONG top;
  } cases[] = {{1, 40 + 0}, {2, 40 + 23 - 4}, {4, 40 + 69 - 8}};
  for (const Case& c : cases) {
    auto rows = LayOutRows(list_, &buttons_[c.selected], layout_, 5, 40, -1, 4);
    ASSERT_EQ(4u, rows.size());
    const GameListRow& row = rows[c.selected - 1];
    EXPECT_TRUE(row.selected);
    EXPECT_EQ(c.top, row.picture.top) << c.selected;
    EXPECT_EQ(5, row.picture.left);
    EXPECT_EQ(115, row.picture.right);
    // Where the selected picture overlaps a neighbour, the selected row wins the hit.
    EXPECT_EQ(&buttons_[c.selected], HitRow(rows, 50, row.picture.top + 1));
  }
  auto rows = LayOutRows(list_, nullptr, layout_, 5, 40, -1, 4);
  EXPECT_EQ((std::vector<LONG>{7, 41, 107, 61}), Sides(rows[0].picture));
  EXPECT_TRUE(rows[0].line_after);
  EXPECT_EQ((std::vector<LONG>{5, 61, 105, 63}), Sides(rows[0].line));
  EXPECT_FALSE(rows[3].line_after);  // the last visible row has no line
  EXPECT_EQ(&buttons_[2], HitRow(rows, 50, 40 + 23 + 5));
  EXPECT_EQ(nullptr, HitRow(rows, 50, 40 + 21));  // on the line
  // A selected button scrolled out of view is not among the rows.
  rows = LayOutRows(list_, &buttons_[0], layout_, 5, 40, -1, 4);
  for (const GameListRow& row : rows)
    EXPECT_FALSE(row.selected);
}

}  // namespace

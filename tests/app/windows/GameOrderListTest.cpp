// The game-order list without windows: rows, moves, scrolling, hit tests and painting on a root node.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/windows/GameOrderList.h"
#include "tests/app/windows/SettingSkin.h"
#include "ui/gfx/Dib.h"
#include "ui/skin/NTextBox.h"

namespace {

using testing_support::kRowHeight;
using testing_support::kRowWidth;

class GameOrderListTest : public testing_support::SettingSkinTest {
 protected:
  void SetUp() override {
    SettingSkinTest::SetUp();
    ASSERT_EQ(1, root_.Create(0, 0, 420, 320, 0, nullptr));
  }
  void TearDown() override {
    list_.Destroy();
    root_.Destroy();
    SettingSkinTest::TearDown();
  }
  // Creates the list from the skin on disk and fills it with games "g0".."g<n-1>".
  void Make(int rows) {
    list_.SetSkin(L"etc", L"game_list");
    ASSERT_EQ(1, list_.Create(0, 0, 1, 1, 10019, &root_));
    list_.Show(1, 0);
    list_.SetRowCount(rows);
    for (int i = 0; i < rows; ++i)
      list_.SetRow(i, (L"Game " + std::to_wstring(i)).c_str(), (L"g" + std::to_wstring(i)).c_str());
  }
  std::wstring Order() {
    std::wstring order;
    for (int i = 0; i < list_.row_count(); ++i)
      order += list_.row(i) != nullptr ? list_.row(i)->game_id().GetString() : L"-";
    return order;
  }
  void WriteList(int width, int height, int list_height) {
    WriteIni(L"data\\skin\\etc\\game_list.ini", GameListSkin(width, height, list_height));
  }

  NWnd root_;
  GameOrderList list_;
};

TEST_F(GameOrderListTest, MovesStopAtTheEndsAndNeedASelection) {
  Make(0);
  struct Case {
    int select;
    void (GameOrderList::*move)();
    const wchar_t* order;
  };
  const Case cases[] = {{-1, &GameOrderList::MoveSelectedUp, L"g0g1g2"},
                        {-1, &GameOrderList::MoveSelectedToTop, L"g0g1g2"},
                        {-1, &GameOrderList::MoveSelectedDown, L"g0g1g2"},
                        {-1, &GameOrderList::MoveSelectedToBottom, L"g0g1g2"},
                        {0, &GameOrderList::MoveSelectedUp, L"g0g1g2"},
                        {0, &GameOrderList::MoveSelectedToTop, L"g0g1g2"},
                        {2, &GameOrderList::MoveSelectedDown, L"g0g1g2"},
                        {2, &GameOrderList::MoveSelectedToBottom, L"g0g1g2"},
                        {1, &GameOrderList::MoveSelectedUp, L"g1g0g2"},
                        {1, &GameOrderList::MoveSelectedDown, L"g0g2g1"},
                        {2, &GameOrderList::MoveSelectedToTop, L"g2g0g1"},
                        {0, &GameOrderList::MoveSelectedToBottom, L"g1g2g0"}};
  for (const Case& c : cases) {
    list_.SetRowCount(3);
    for (int i = 0; i < 3; ++i)
      list_.SetRow(i, L"Game", (L"g" + std::to_wstring(i)).c_str());
    list_.SelectIndex(c.select);
    GameOrderButton* selected = list_.selected_row();
    (list_.*c.move)();
    EXPECT_EQ(c.order, Order()) << "select " << c.select;
    EXPECT_EQ(selected, list_.selected_row());
  }
}

TEST_F(GameOrderListTest, CompactDropsEmptySlotsAndTheScrollBarFollows) {
  Make(0);
  list_.SetRowCount(3);
  list_.SetRow(0, L"A", L"a");
  list_.SetRow(2, L"C", L"c");
  list_.SetRow(3, L"D", L"d");        // outside the slots
  list_.SetRow(1, nullptr, L"none");  // no title
  list_.Compact();
  EXPECT_EQ(2, list_.row_count());
  EXPECT_EQ(L"ac", Order());
  EXPECT_EQ(2, list_.scroll_bar().range());
}

TEST_F(GameOrderListTest, TenRowsOfTwentyInAHundredScrollToTheLast) {
  WriteList(kRowWidth, 20, 100);
  Make(10);
  EXPECT_EQ(5, list_.scroll_bar().page());
  EXPECT_EQ(10, list_.scroll_bar().range());
  EXPECT_EQ(1, list_.scroll_bar().visible());
  list_.SelectIndex(9);
  list_.ScrollToSelected();
  EXPECT_EQ(5, list_.scroll_bar().position());
  EXPECT_EQ(-100, list_.first_row_y());
  // Back to the first: the least scroll that shows it.
  list_.SelectIndex(2);
  list_.ScrollToSelected();
  EXPECT_EQ(2, list_.scroll_bar().position());
  EXPECT_EQ(-40, list_.first_row_y());
  // A list that holds every row hides its bar and stays at the top.
  list_.SetRowCount(4);
  EXPECT_EQ(0, list_.scroll_bar().visible());
  EXPECT_EQ(0, list_.first_row_y());
}

TEST_F(GameOrderListTest, TheWheelStopsAtBothEndsAndTheHoverFollows) {
  WriteList(kRowWidth, 20, 100);
  Make(10);
  list_.OnMouseWheel(10, 10, 1);
  EXPECT_EQ(0, list_.scroll_bar().position());
  EXPECT_EQ(list_.row(0), list_.hover_row());
  list_.OnMouseWheel(10, 10, -2);
  EXPECT_EQ(2, list_.scroll_bar().position());
  EXPECT_EQ(-40, list_.first_row_y());
  EXPECT_EQ(list_.row(2), list_.hover_row());
  list_.OnMouseWheel(10, 10, -100);
  EXPECT_EQ(5, list_.scroll_bar().position());
  list_.OnMouseLeave();
  EXPECT_EQ(nullptr, list_.hover_row());
}

TEST_F(GameOrderListTest, ClicksSelectTheRowUnderThePointerOrNone) {
  Make(3);
  list_.OnLButtonDown(100, 25);
  EXPECT_EQ(list_.row(1), list_.selected_row());
  list_.OnLButtonDblClk(100, 59);
  EXPECT_EQ(list_.row(2), list_.selected_row());
  list_.OnLButtonDown(100, 60);  // below the last row
  EXPECT_EQ(nullptr, list_.selected_row());
  list_.OnLButtonDown(100, 0);
  EXPECT_EQ(list_.row(0), list_.selected_row());
  list_.OnLButtonDown(100, -1);
  EXPECT_EQ(nullptr, list_.selected_row());
}

TEST_F(GameOrderListTest, SetRowCountForgetsTheHoverAndSelectedRows) {
  Make(3);
  list_.OnMouseMove(10, 5);
  list_.OnLButtonDown(10, 45);
  ASSERT_NE(nullptr, list_.hover_row());
  ASSERT_NE(nullptr, list_.selected_row());
  list_.SetRowCount(2);
  EXPECT_EQ(nullptr, list_.hover_row());
  EXPECT_EQ(nullptr, list_.selected_row());
  list_.MoveSelectedToTop();  // nothing selected: nothing happens, nothing dangles
  list_.SetRow(0, L"Z", L"z");
  list_.Draw(nullptr, root_.surface(), 1);
  EXPECT_EQ(2, list_.row_count());
}

TEST_F(GameOrderListTest, PaintShowsEachLookAndSkipsRowsWithoutImage) {
  Make(3);
  list_.SelectIndex(1);
  list_.OnMouseMove(10, 45);
  list_.OnPaint(nullptr, list_.surface());
  Dib* surface = list_.surface();
  EXPECT_EQ(0xFF1E2638u, surface->Row(2)[kRowWidth - 2]);   // normal back
  EXPECT_EQ(0xFFFFC860u, surface->Row(22)[kRowWidth - 2]);  // selected, green taken modulo 256
  EXPECT_EQ(0xFF3A4A6Au, surface->Row(42)[kRowWidth - 2]);  // pointer over
  // A title wider than a row is cut at the row's edge: right of the row lies the list's own back.
  list_.SetRow(0, std::wstring(200, L'W').c_str(), L"wide");
  list_.OnPaint(nullptr, list_.surface());
  EXPECT_EQ(0xFF1E2638u & 0xFFFFFFu, surface->Row(10)[kRowWidth + 4] & 0xFFFFFFu);

  // Without a row width the rows have no image: nothing is drawn, but each still takes its height.
  WriteList(0, kRowHeight, 200);
  ASSERT_EQ(1, list_.LoadSkin());
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(nullptr, list_.row(i)->image());
  list_.OnPaint(nullptr, list_.surface());
  EXPECT_NE(0xFFFFC860u, surface->Row(22)[10]);
  EXPECT_EQ(2, list_.RowIndexAt(45));
}

// A skin without a row height once the list was scrolled: no endless loop, the rows stack at the top; a new
// row height sets the scroll bar up again.
TEST_F(GameOrderListTest, ARowHeightChangeKeepsScrollingSound) {
  WriteList(kRowWidth, 20, 100);
  Make(10);
  list_.SelectIndex(9);
  list_.ScrollToSelected();
  ASSERT_EQ(-100, list_.first_row_y());
  WriteList(kRowWidth, 0, 100);
  ASSERT_EQ(1, list_.LoadSkin());
  list_.ScrollToSelected();
  EXPECT_EQ(0, list_.first_row_y());
  EXPECT_EQ(-1, list_.RowIndexAt(5));
  WriteList(kRowWidth, 25, 100);
  ASSERT_EQ(1, list_.LoadSkin());
  EXPECT_EQ(4, list_.scroll_bar().page());
  EXPECT_EQ(-25 * list_.scroll_bar().position(), list_.first_row_y());
  list_.ScrollToSelected();
  EXPECT_EQ(6, list_.scroll_bar().position());
  EXPECT_EQ(-150, list_.first_row_y());
}

}  // namespace

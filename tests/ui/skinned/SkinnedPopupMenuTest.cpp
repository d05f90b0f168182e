// The popup menu as a real pop-up window driven by real messages: its size and rows on the surface, hover,
// what each way of closing it reports, the row flags, and a screenshot with a tool-tip beside it.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "tests/ui/skinned/SkinnedTestSupport.h"
#include "ui/skin/SkinListeners.h"
#include "ui/skinned/SkinnedPopupMenu.h"
#include "ui/skinned/SkinnedToolTip.h"

namespace {

using testing_support::FakeFrameInputs;
using testing_support::PumpUntil;
using testing_support::SurfacePixel;

const uint32_t kBorder = 0xFF0A141Eu;
const uint32_t kNormal = 0xFFF0F0F0u;
const uint32_t kOver = 0xFF3264C8u;
const uint32_t kDisabled = 0xFFB4B4B4u;

std::vector<uint32_t>& Reports() {
  static std::vector<uint32_t> reports;
  return reports;
}
void Record(uint32_t command_id) {
  Reports().push_back(command_id);
}

std::wstring MenuSkin(int border) {
  return L"[MENU]\r\nmenu_item_width=80\r\nmenu_item_height=16\r\nborder_size=" + std::to_wstring(border) +
         L"\r\nborder_color_r=10\r\nborder_color_g=20\r\nborder_color_b=30\r\n"
         L"back_normal_color_r=240\r\nback_normal_color_g=240\r\nback_normal_color_b=240\r\n"
         L"back_over_color_r=50\r\nback_over_color_g=100\r\nback_over_color_b=200\r\n"
         L"back_disabled_color_r=180\r\nback_disabled_color_g=180\r\nback_disabled_color_b=180\r\n"
         L"[MENU_ITEM_NORMAL]\r\nfont_id=body\r\ntext_x=6\r\ntext_y=8\r\ntext_align=4\r\n"
         L"[MENU_ITEM_OVER]\r\nfont_id=body\r\ntext_x=6\r\ntext_y=8\r\ntext_align=4\r\ntext_color_r=255\r\n"
         L"text_color_g=255\r\ntext_color_b=255\r\n"
         L"[MENU_ITEM_DISABLED]\r\nfont_id=body\r\ntext_x=6\r\ntext_y=8\r\ntext_align=4\r\ntext_color_r="
         L"120\r\n"
         L"text_color_g=120\r\ntext_color_b=120\r\n";
}

class SkinnedPopupMenuTest : public testing_support::SkinnedFixture {
 protected:
  void SetUp() override {
    SkinnedFixture::SetUp();
    Reports().clear();
  }
  // Seven rows "Row 1" .. "Row 7" with ids 101 .. 107; rows 103 and 107 hidden, 105 disabled.
  bool Open(SkinnedPopupMenu& menu, int border = 2, int32_t x = 200, int32_t y = 200) {
    WriteSkin(L"menu", MenuSkin(border));
    menu.SetSkin(L"main", L"menu");
    menu.ResetItems(Record);
    if (menu.CreatePopup(x, y, 1, 1, nullptr, NPopup::kToolWindow | NPopup::kTopmost) != 1)
      return false;
    for (int32_t index = 0; index < 7; ++index)
      menu.SetItem(101 + index, index, (L"Row " + std::to_wstring(index + 1)).c_str());
    menu.ShowItem(103, 0);
    menu.ShowItem(107, 0);
    menu.EnableItem(105, 0);
    menu.UpdateSize();
    menu.Show(1, 1);
    return true;
  }
  static void Send(SkinnedPopupMenu& menu, UINT message, int32_t x, int32_t y) {
    SendMessageW(menu.window_handle(), message, 0, MAKELPARAM(x, y));
  }
  static void Click(SkinnedPopupMenu& menu, int32_t x, int32_t y, bool right = false) {
    Send(menu, WM_MOUSEMOVE, x, y);
    Send(menu, right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, x, y);
    Send(menu, right ? WM_RBUTTONUP : WM_LBUTTONUP, x, y);
  }
  static bool Shown(SkinnedPopupMenu& menu) { return IsWindowVisible(menu.window_handle()) != FALSE; }
};

TEST_F(SkinnedPopupMenuTest, HiddenRowsTakeNoLineAndTheShownRowsLieWithoutGapsInsideAWholeBorder) {
  SkinnedPopupMenu menu;
  ASSERT_TRUE(Open(menu));
  EXPECT_EQ(5, menu.shown_count());
  EXPECT_EQ(84, menu.width());
  EXPECT_EQ(5 * 16 + 2 * 2, menu.height());
  RECT rect;
  GetWindowRect(menu.window_handle(), &rect);
  EXPECT_EQ(84, rect.bottom - rect.top);

  Send(menu, WM_MOUSEMOVE, 10, 20);  // the second shown row
  EXPECT_EQ(1, menu.hovered());
  UpdateWindow(menu.window_handle());
  // Column 80 lies right of every label: row by row the look's colour, no gap, then the bottom border.
  const uint32_t expected_rows[5] = {kNormal, kOver, kNormal, kDisabled, kNormal};  // rows 1, 2, 4, 5, 6
  for (int32_t y = 0; y < 84; ++y) {
    uint32_t expected = y < 2 || y >= 82 ? kBorder : expected_rows[(y - 2) / 16];
    ASSERT_EQ(expected, SurfacePixel(menu, 80, y)) << "y " << y;
  }
  for (int32_t y = 0; y < 84; ++y) {
    ASSERT_EQ(kBorder, SurfacePixel(menu, 1, y)) << "y " << y;
    ASSERT_EQ(kBorder, SurfacePixel(menu, 82, y)) << "y " << y;
  }
  // The labels are drawn: a row holds pixels other than its back colour.
  int32_t label_pixels = 0;
  for (int32_t x = 2; x < 82; ++x)
    label_pixels += SurfacePixel(menu, x, 10) != kNormal ? 1 : 0;
  EXPECT_GT(label_pixels, 0);

  Send(menu, WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(-1, menu.hovered());
}

TEST_F(SkinnedPopupMenuTest, EveryWayOfClosingReportsOnceAndADisabledRowKeepsTheMenuOpen) {
  SkinnedPopupMenu menu;
  ASSERT_TRUE(Open(menu));
  ASSERT_TRUE(PumpUntil([&] { return GetFocus() == menu.window_handle(); }));

  Click(menu, 10, 2 + 3 * 16 + 5);  // row 105, disabled
  EXPECT_TRUE(Shown(menu));
  EXPECT_TRUE(Reports().empty());

  Click(menu, 10, 2 + 2 * 16 + 5, true);  // row 104 with the right button
  EXPECT_FALSE(Shown(menu));
  testing_support::PumpMessages();
  EXPECT_EQ((std::vector<uint32_t>{104}), Reports());

  menu.Show(1, 1);
  ASSERT_TRUE(PumpUntil([&] { return GetFocus() == menu.window_handle(); }));
  Click(menu, 1, 1);  // the border
  EXPECT_FALSE(Shown(menu));
  testing_support::PumpMessages();
  EXPECT_EQ((std::vector<uint32_t>{104, 0}), Reports());

  menu.Show(1, 1);
  ASSERT_TRUE(PumpUntil([&] { return GetFocus() == menu.window_handle(); }));
  HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 0, 0, 20, 20, nullptr, nullptr,
                               nullptr, nullptr);
  ASSERT_NE(nullptr, other);
  SetActiveWindow(other);
  SetFocus(other);
  EXPECT_TRUE(PumpUntil([&] { return Reports().size() == 3; }));
  EXPECT_FALSE(Shown(menu));
  testing_support::PumpMessages();
  EXPECT_EQ((std::vector<uint32_t>{104, 0, 0}), Reports());
  DestroyWindow(other);
}

TEST_F(SkinnedPopupMenuTest, RowFlagsCountOnlyRealChangesAndBadRowsAreIgnored) {
  SkinnedPopupMenu menu;
  ASSERT_TRUE(Open(menu, -3));
  EXPECT_EQ(0, menu.border_size());
  EXPECT_EQ(80, menu.width());
  EXPECT_EQ(5 * 16, menu.height());

  menu.ShowItem(103, 0);  // already hidden
  EXPECT_EQ(5, menu.shown_count());
  menu.ShowItem(101, 2);  // shown already: any non-zero flag is "shown"
  EXPECT_EQ(5, menu.shown_count());
  menu.ShowItem(103, 2);
  EXPECT_EQ(6, menu.shown_count());
  EXPECT_EQ(1, menu.item(2)->shown);
  menu.ShowItem(103, 0);
  EXPECT_EQ(5, menu.shown_count());
  menu.EnableItem(105, 7);
  EXPECT_EQ(1, menu.item(4)->enabled);
  menu.ShowItem(999, 0);
  EXPECT_EQ(5, menu.shown_count());

  menu.SetItem(201, 7, L"past the end");
  menu.SetItem(202, -1, L"before the start");
  menu.SetItem(0, 0, L"no id");
  EXPECT_EQ(101u, menu.item(0)->command_id);
  EXPECT_STREQ(L"Row 1", menu.item(0)->text.GetString());

  WriteSkin(L"flat", L"[MENU]\r\nmenu_item_width=80\r\n");
  SkinnedPopupMenu flat;
  flat.SetSkin(L"main", L"flat");
  flat.ResetItems(nullptr);
  EXPECT_EQ(0, flat.CreatePopup(0, 0, 1, 1, nullptr, 0));
  menu.Destroy();
  EXPECT_EQ(0, SkinListenerCount());
}

TEST_F(SkinnedPopupMenuTest, HugeRowSizesInASkinOverflowNothing) {
  WriteSkin(L"huge",
            L"[MENU]\r\nmenu_item_width=2147483647\r\nmenu_item_height=2147483647\r\n"
            L"border_size=2147483647\r\n");
  SkinnedPopupMenu menu;
  menu.SetSkin(L"main", L"huge");
  menu.ResetItems(Record);
  // The row images cannot be made; the skin still loads and the size is held to the 32-bit range.
  ASSERT_EQ(1, menu.CreatePopup(0, 0, 1, 1, nullptr, 0));
  EXPECT_EQ(nullptr, menu.item(0)->image);
}

TEST_F(SkinnedPopupMenuTest, ScreenshotOfAnOpenMenuWithHoveredDisabledAndHiddenRowsAndATip) {
  SkinnedPopupMenu menu;
  ASSERT_TRUE(Open(menu, 2, 40, 40));
  Send(menu, WM_MOUSEMOVE, 10, 20);
  WriteSkin(L"tip",
            L"[TOOLTIP]\r\nback_color_r=255\r\nback_color_g=255\r\nback_color_b=200\r\nshow_time=5000\r\n"
            L"font_id=small\r\ntext_x=4\r\ntext_y=2\r\n");
  SkinnedToolTip tip;
  tip.SetSkin(L"main", L"tip");
  ASSERT_EQ(1, tip.CreatePopup(0, 0, 1, 1, nullptr, NPopup::kToolWindow | NPopup::kTopmost));
  RECT area = {0, 0, 400, 300};
  FakeFrameInputs::pointer() = POINT{140, 80};
  tip.SetTip(&area, 1, L"Row 2 starts the game");
  tip.Update();
  ASSERT_TRUE(IsWindowVisible(tip.window_handle()));
  UpdateWindow(menu.window_handle());
  UpdateWindow(tip.window_handle());
  // The pictures have reached the screen when the menu's hovered row shows there.
  testing_support::PngImage shot;
  ASSERT_TRUE(PumpUntil([&] {
    shot = testing_support::CaptureScreen(RECT{20, 20, 320, 160});
    // Capture (x, y) is screen (20 + x, 20 + y): the menu's (80, 20) and the tip's left column.
    return testing_support::PixelAt(shot, 100, 40) == (kOver & 0xFFFFFF) &&
           testing_support::PixelAt(shot, 121, 58) == 0xFFFFC8;
  }));
  EXPECT_EQ(kBorder & 0xFFFFFF, testing_support::PixelAt(shot, 21, 103));
  EXPECT_TRUE(testing_support::SaveScreenshot(shot, L"menu_tooltip.png"));
}

}  // namespace

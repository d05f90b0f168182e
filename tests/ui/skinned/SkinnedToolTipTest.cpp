// The tool-tip on a real pop-up window, with the clock and the pointer set by the test: waiting, showing,
// expiring, leaving the area, restarts by owner key, and where it is placed.
#include <gtest/gtest.h>

#include <cstdint>

#include "tests/ui/skinned/SkinnedTestSupport.h"
#include "ui/skin/NTextBox.h"
#include "ui/skin/SkinListeners.h"
#include "ui/skinned/SkinnedToolTip.h"

namespace {

using testing_support::FakeFrameInputs;

class SkinnedToolTipTest : public testing_support::SkinnedFixture {
 protected:
  void SetUp() override {
    SkinnedFixture::SetUp();
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work_, 0);
    area_ = RECT{work_.left + 100, work_.top + 100, work_.left + 300, work_.top + 200};
    FakeFrameInputs::pointer() = POINT{area_.left + 50, area_.top + 50};
  }
  // A tip skin; `times` holds its wait_time / show_time lines.
  bool Create(SkinnedToolTip& tip, const std::wstring& times) {
    WriteSkin(L"tip", L"[TOOLTIP]\r\nback_color_r=255\r\nback_color_g=255\r\nback_color_b=225\r\n" + times +
                          L"font_id=small\r\ntext_x=4\r\ntext_y=2\r\n");
    tip.SetSkin(L"main", L"tip");
    return tip.CreatePopup(0, 0, 1, 1, nullptr, NPopup::kToolWindow | NPopup::kTopmost) == 1;
  }
  // One frame at `now`.
  static void Frame(SkinnedToolTip& tip, uint32_t now) {
    FakeFrameInputs::now() = now;
    tip.Update();
  }
  static bool Shown(SkinnedToolTip& tip) { return IsWindowVisible(tip.window_handle()) != FALSE; }

  RECT work_ = {0, 0, 0, 0};
  RECT area_ = {0, 0, 0, 0};
};

TEST_F(SkinnedToolTipTest, WaitsThenShowsAbovePointerWithoutActivationThenExpiresUntilThePointerLeaves) {
  SkinnedToolTip tip;
  ASSERT_TRUE(Create(tip, L"wait_time=500\r\nshow_time=1000\r\n"));
  EXPECT_FALSE(Shown(tip));
  EXPECT_EQ(HTCLIENT,
            SendMessageW(tip.window_handle(), WM_NCHITTEST, 0, MAKELPARAM(tip.x() + 1, tip.y() + 1)));
  const uint32_t start = 100000;
  tip.SetTip(&area_, 7, L"Start the game");
  int32_t text_width = 0, text_height = 0;
  tip.text_box()->GetSize(&text_width, &text_height);
  ASSERT_GT(text_width, 0);
  EXPECT_EQ(text_width + 8, tip.width());
  EXPECT_EQ(text_height + 4, tip.height());

  HWND focus_before = GetForegroundWindow();
  Frame(tip, start + 499);
  EXPECT_FALSE(Shown(tip));
  Frame(tip, start + 500);
  ASSERT_TRUE(Shown(tip));
  EXPECT_EQ(focus_before, GetForegroundWindow());
  RECT rect;
  GetWindowRect(tip.window_handle(), &rect);
  EXPECT_EQ(area_.left + 50, rect.left);
  EXPECT_EQ(area_.top + 50, rect.bottom);  // the tip sits above the pointer
  // It stays where it was placed while the pointer moves inside the area.
  FakeFrameInputs::pointer() = POINT{area_.left + 120, area_.top + 80};
  Frame(tip, start + 1499);
  EXPECT_TRUE(Shown(tip));
  RECT still;
  GetWindowRect(tip.window_handle(), &still);
  EXPECT_EQ(rect.left, still.left);
  EXPECT_EQ(rect.top, still.top);
  Frame(tip, start + 1500);
  EXPECT_FALSE(Shown(tip));
  EXPECT_EQ(1, tip.expired());
  Frame(tip, start + 60000);
  EXPECT_FALSE(Shown(tip));

  FakeFrameInputs::pointer() = POINT{area_.right, area_.top};  // right is outside
  Frame(tip, start + 60001);
  EXPECT_EQ(0, tip.active());
  EXPECT_EQ(0, tip.expired());
  EXPECT_EQ(0u, tip.owner_key());
}

TEST_F(SkinnedToolTipTest, WithoutShowTimeTheTipHidesOnTheNextFrameAndStaysHidden) {
  SkinnedToolTip tip;
  ASSERT_TRUE(Create(tip, L""));
  EXPECT_EQ(0, tip.wait_time());
  EXPECT_EQ(0, tip.show_time());
  tip.SetTip(&area_, 1, L"Tip");
  Frame(tip, 100000);
  EXPECT_TRUE(Shown(tip));
  Frame(tip, 100000);
  EXPECT_FALSE(Shown(tip));
  for (uint32_t later : {100033u, 105000u}) {
    Frame(tip, later);
    EXPECT_FALSE(Shown(tip));
  }
}

TEST_F(SkinnedToolTipTest, TheSameKeyEveryFrameRestartsNothingAndANewKeyRestarts) {
  SkinnedToolTip tip;
  ASSERT_TRUE(Create(tip, L"wait_time=500\r\nshow_time=1000\r\n"));
  for (uint32_t now = 100000; now < 100500; now += 33) {
    FakeFrameInputs::now() = now;
    tip.SetTip(&area_, 7, L"Same");
    tip.Update();
    EXPECT_FALSE(Shown(tip));
  }
  tip.SetTip(&area_, 7, L"Same");
  Frame(tip, 100500);
  EXPECT_TRUE(Shown(tip));

  FakeFrameInputs::now() = 100600;
  tip.SetTip(&area_, 8, L"Another, longer text");
  EXPECT_FALSE(Shown(tip));
  EXPECT_STREQ(L"Another, longer text", tip.text().GetString());
  Frame(tip, 101099);
  EXPECT_FALSE(Shown(tip));
  Frame(tip, 101100);
  EXPECT_TRUE(Shown(tip));

  tip.SetTip(nullptr, 8, L"no area");
  EXPECT_EQ(0, tip.active());
  EXPECT_FALSE(Shown(tip));
  tip.SetTip(&area_, 9, L"");
  EXPECT_EQ(0, tip.active());
}

TEST_F(SkinnedToolTipTest, NearEveryCornerOfTheWorkAreaTheTipStaysInside) {
  SkinnedToolTip tip;
  ASSERT_TRUE(Create(tip, L"wait_time=0\r\nshow_time=1000\r\n"));
  RECT whole = work_;
  const POINT corners[] = {{work_.left, work_.top},
                           {work_.right - 1, work_.top},
                           {work_.left, work_.bottom - 1},
                           {work_.right - 1, work_.bottom - 1}};
  uint32_t key = 1;
  for (const POINT& corner : corners) {
    FakeFrameInputs::pointer() = corner;
    tip.SetTip(&whole, key++, L"A tip near the corner");
    Frame(tip, 100000 + key);
    ASSERT_TRUE(Shown(tip));
    RECT rect;
    GetWindowRect(tip.window_handle(), &rect);
    EXPECT_GE(rect.left, work_.left) << corner.x << "," << corner.y;
    EXPECT_GE(rect.top, work_.top) << corner.x << "," << corner.y;
    EXPECT_LE(rect.right, work_.right) << corner.x << "," << corner.y;
    EXPECT_LE(rect.bottom, work_.bottom) << corner.x << "," << corner.y;
  }
}

TEST(PlaceToolTip, GoesAboveThePointerAndIsPushedBackInsideTheWorkArea) {
  const RECT work = {0, 0, 800, 600};
  struct Case {
    POINT pointer;
    SIZE size;
    POINT expected;
  } cases[] = {
      {{100, 100}, {50, 20}, {100, 80}},   // above the pointer
      {{790, 300}, {50, 20}, {750, 280}},  // past the right edge
      {{100, 10}, {50, 20}, {100, 0}},     // past the top
      {{-30, 700}, {50, 20}, {0, 580}},    // off to the left and below
      {{10, 10}, {900, 700}, {0, 0}},      // larger than the area: its top-left corner stays inside
      {{INT32_MAX, INT32_MIN}, {50, 20}, {750, 0}},
  };
  for (const Case& c : cases) {
    POINT at = PlaceToolTip(c.pointer, c.size, work);
    EXPECT_EQ(c.expected.x, at.x) << c.pointer.x << "," << c.pointer.y;
    EXPECT_EQ(c.expected.y, at.y) << c.pointer.x << "," << c.pointer.y;
  }
}

TEST_F(SkinnedToolTipTest, ASkinWithoutTextBoxFailsAndNegativeTimesNeverReachTheTip) {
  WriteSkin(L"bare", L"[TOOLTIP]\r\nwait_time=10\r\n");
  SkinnedToolTip bare;
  bare.SetSkin(L"main", L"bare");
  EXPECT_EQ(0, bare.CreatePopup(0, 0, 1, 1, nullptr, 0));
  EXPECT_EQ(0, SkinListenerCount());

  SkinnedToolTip tip;
  ASSERT_TRUE(Create(tip, L"wait_time=300\r\nshow_time=900\r\n"));
  WriteSkin(L"tip", L"[TOOLTIP]\r\nwait_time=-1\r\nshow_time=-5\r\nfont_id=small\r\n");
  // A reload releases the old skin (times 0) first, so a negative time leaves 0.
  ASSERT_EQ(1, tip.LoadSkin());
  EXPECT_EQ(0, tip.wait_time());
  EXPECT_EQ(0, tip.show_time());
  tip.Destroy();
  EXPECT_EQ(0, SkinListenerCount());
}

}  // namespace

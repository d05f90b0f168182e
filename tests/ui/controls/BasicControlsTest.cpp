// The basic controls' state logic through the node tree's own dispatch (headless: the root has a fake
// window), and their built-in looks on heap surfaces.
#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "tests/ui/view/RecordingNode.h"
#include "ui/controls/NButton.h"
#include "ui/controls/NProgressCtrl.h"
#include "ui/controls/NScrollBar.h"
#include "ui/gfx/Dib.h"
#include "ui/view/NotifyCodes.h"

namespace {

using testing_support::HookLog;
using testing_support::RecordingNode;
using testing_support::WindowedNode;

class ControlTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(root_.Place(0, 0, 300, 300, nullptr)); }
  void TearDown() override { NWnd::ClearPressedNode(); }

  // Notifications that reached the root ("root.notify <code> <id>").
  HookLog Notifications() {
    HookLog only;
    for (const std::string& entry : log_)
      if (entry.find(".notify") != std::string::npos)
        only.push_back(entry);
    log_.clear();
    return only;
  }

  HookLog log_;
  WindowedNode root_{"root", &log_, 0x1000};
};

std::string Clicked(int id) {
  return "root.notify " + std::to_string(NOTIFY_CLICKED) + " " + std::to_string(id);
}

TEST_F(ControlTest, ButtonClicksOnlyForAPressAndReleaseOverItWhileEnabledAndStillPressed) {
  NButton button;
  ASSERT_EQ(1, button.Create(10, 10, 40, 20, 7, &root_));
  button.Show(1, 0);
  // Press, leave while held, come back, release: one click.
  root_.DispatchMouseMove(15, 15, nullptr);
  EXPECT_EQ(NButton::kHover, button.state());
  root_.DispatchLButtonDown(15, 15);
  EXPECT_EQ(NButton::kPressed, button.state());
  root_.DispatchMouseMove(100, 100, nullptr);
  EXPECT_EQ(NButton::kNormal, button.state());
  root_.DispatchMouseMove(20, 15, nullptr);
  EXPECT_EQ(NButton::kPressed, button.state());
  root_.DispatchLButtonUp(20, 15);
  EXPECT_EQ(NButton::kHover, button.state());
  EXPECT_EQ(HookLog{Clicked(7)}, Notifications());

  // Released outside: no click.
  root_.DispatchLButtonDown(15, 15);
  root_.DispatchMouseMove(100, 100, nullptr);
  root_.DispatchLButtonUp(100, 100);
  EXPECT_TRUE(Notifications().empty());

  // Disabled: no pressed look, no click.
  root_.DispatchMouseMove(15, 15, nullptr);
  button.Enable(0);
  root_.DispatchLButtonDown(15, 15);
  EXPECT_EQ(NButton::kHover, button.state());
  root_.DispatchLButtonUp(15, 15);
  EXPECT_TRUE(Notifications().empty());
  button.Enable(1);

  // A press taken away (the window was deactivated) reports no click at a later release.
  root_.DispatchLButtonDown(15, 15);
  root_.SetActive(0);
  EXPECT_EQ(nullptr, NWnd::GetPressedNode());
  EXPECT_NE(NButton::kPressed, button.state());
  root_.SetActive(1);
  root_.DispatchLButtonUp(15, 15);
  EXPECT_TRUE(Notifications().empty());

  // Capture lost without a notice to the tree: the next move or frame drops the pressed look.
  root_.DispatchLButtonDown(15, 15);
  NWnd::ClearPressedNode();
  root_.Update();
  EXPECT_EQ(NButton::kHover, button.state());
}

TEST_F(ControlTest, ProgressClampsItsPositionAndRepaintsOnlyOnChange) {
  NProgressCtrl progress;
  ASSERT_EQ(1, progress.Create(0, 0, 102, 10, 1, &root_));
  const struct {
    double value;
    double stored;
  } cases[] = {
      {0.5, 0.5}, {1.5, 1.0}, {-0.2, 0.0}, {std::numeric_limits<double>::quiet_NaN(), 0.0}, {1.0, 1.0}};
  for (const auto& one : cases) {
    progress.SetPos(one.value);
    EXPECT_EQ(one.stored, progress.position()) << one.value;
  }
  int before = root_.invalidations;
  progress.SetPos(1.0);
  EXPECT_EQ(before, root_.invalidations);
  progress.SetPos(0.25);
  EXPECT_EQ(before + 1, root_.invalidations);
}

class ScrollBarTest : public ControlTest {
 protected:
  // A vertical bar 200 pixels long with 16-pixel buttons and a fixed 20-pixel thumb.
  void Make(int32_t page, int32_t range) {
    ASSERT_EQ(1, bar_.Create(0, 0, 16, 200, 9, &root_));
    bar_.Show(1, 0);
    bar_.Setup(1, 16, 20, page, range);
    log_.clear();
  }
  std::string Sent(int code) { return "root.notify " + std::to_string(code) + " 9"; }
  NScrollBar bar_;
};

TEST_F(ScrollBarTest, ThumbOffsetsFollowThePosition) {
  Make(10, 100);
  const struct {
    int32_t range;
    int32_t page;
    int32_t position;
    int32_t offset;
  } cases[] = {
      {100, 10, 0, 16},
      {100, 10, 90, 164},
      {100, 10, 45, 90},
      {100, 10, 95, 164},                // beyond the last position: the last one
      {10, 10, 3, 16},                   // range equals page: the thumb stays at the start
      {2000000000, 1, 1500000000, 127},  // 148 x 1,500,000,000 needs 64 bits
  };
  for (const auto& one : cases) {
    bar_.Setup(1, 16, 20, one.page, one.range);
    bar_.OnMouseWheel(0, 0, -one.position);
    EXPECT_EQ(one.offset, bar_.thumb_offset()) << one.range << " " << one.position;
  }
}

TEST_F(ScrollBarTest, PagesAndStepsMoveThePositionAndAlwaysNotify) {
  Make(10, 100);
  bar_.OnMouseWheel(0, 0, -5);  // position 5
  log_.clear();
  root_.DispatchLButtonDown(5, 150);  // track after the thumb: position 15
  root_.DispatchLButtonUp(5, 150);
  EXPECT_EQ(15, bar_.position());
  root_.DispatchLButtonDown(5, 20);  // track before the thumb: 15 - 10 = 5
  root_.DispatchLButtonUp(5, 20);
  root_.DispatchLButtonDown(5, 20);  // 5 is not above the page: 0
  root_.DispatchLButtonUp(5, 20);
  EXPECT_EQ(0, bar_.position());
  root_.DispatchLButtonDown(5, 5);  // decrement at 0: no move, still notified
  root_.DispatchLButtonUp(5, 5);
  EXPECT_EQ(0, bar_.position());
  EXPECT_EQ((HookLog{Sent(NOTIFY_SCROLL_POS_CHANGED), Sent(NOTIFY_SCROLL_INCREMENT),
                     Sent(NOTIFY_SCROLL_POS_CHANGED), Sent(NOTIFY_SCROLL_DECREMENT),
                     Sent(NOTIFY_SCROLL_POS_CHANGED), Sent(NOTIFY_SCROLL_DECREMENT),
                     Sent(NOTIFY_SCROLL_DECREMENT)}),
            Notifications());

  bar_.SetPage(500);  // clamped to the range
  EXPECT_EQ(100, bar_.page());
  bar_.Setup(1, 16, 20, 300, 100);
  EXPECT_EQ(100, bar_.page());
  root_.DispatchLButtonDown(5, 195);  // increment with page = range: position stays 0
  root_.DispatchLButtonUp(5, 195);
  EXPECT_EQ(0, bar_.position());
}

TEST_F(ScrollBarTest, DraggingTheThumbSnapsToTheNearestPosition) {
  Make(10, 100);  // one position is 148 / 90 = 1.64 pixels
  // Four positions at offsets 16, 65, 115 and 164: less than half a step moves nothing.
  bar_.Setup(1, 16, 20, 1, 4);
  EXPECT_EQ(0, bar_.DragThumb(20));
  EXPECT_EQ(0, bar_.position());
  EXPECT_EQ(0, bar_.DragThumb(-3));  // nothing before position 0
  EXPECT_EQ(49, bar_.DragThumb(30));
  EXPECT_EQ(1, bar_.position());
  EXPECT_EQ(-49, bar_.DragThumb(-25));
  EXPECT_EQ(0, bar_.position());

  bar_.Setup(1, 16, 20, 10, 100);
  log_.clear();
  root_.DispatchLButtonDown(5, 25);  // on the thumb (16..36)
  root_.DispatchMouseMove(5, 25, nullptr);
  EXPECT_TRUE(Notifications().empty());
  // 20 pixels: position 12 is at 35, 1 pixel short of 36, and half the step to 13 (at 37) is 1: the nearer
  // position 13 wins.
  root_.DispatchMouseMove(5, 45, nullptr);
  EXPECT_EQ(13, bar_.position());
  EXPECT_EQ(37, bar_.thumb_offset());
  EXPECT_EQ(HookLog{Sent(NOTIFY_SCROLL_POS_CHANGED)}, Notifications());
  root_.DispatchMouseMove(5, 0, nullptr);  // far above: back to 0
  EXPECT_EQ(0, bar_.position());
  root_.DispatchMouseMove(5, 400, nullptr);  // far below: the last position, and no read past the end
  EXPECT_EQ(90, bar_.position());
  EXPECT_EQ(0, bar_.DragThumb(5));
  root_.DispatchLButtonUp(5, 400);
  EXPECT_EQ(0, bar_.pressed());

  // The drag ends when the bar is no longer the pressed node, even without its button-up.
  root_.DispatchLButtonDown(5, 170);
  EXPECT_EQ(NScrollBar::kThumb, bar_.part());
  NWnd::ClearPressedNode();
  root_.DispatchMouseMove(5, 20, nullptr);
  EXPECT_EQ(0, bar_.pressed());
  EXPECT_EQ(90, bar_.position());
}

TEST(ButtonCaption, FontIsElevenPixelGulimWithCharacterOutputPrecision) {
  HFONT font = CreateButtonCaptionFont();
  ASSERT_NE(nullptr, font);
  LOGFONTW made = {};
  EXPECT_EQ(static_cast<int>(sizeof made), GetObjectW(font, sizeof made, &made));
  DeleteObject(font);
  EXPECT_EQ(OUT_CHARACTER_PRECIS, made.lfOutPrecision);
  EXPECT_EQ(11, made.lfHeight);
  EXPECT_STREQ(L"Gulim", made.lfFaceName);
}

TEST_F(ControlTest, BuiltInLooksPaintOpaqueFramesOnHeapSurfaces) {
  NButton button;
  ASSERT_EQ(1, button.Create(0, 0, 40, 20, 1, &root_));
  button.Show(1, 0);
  ASSERT_EQ(nullptr, button.surface()->bitmap());
  button.Draw(nullptr, root_.surface(), 0);
  COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
  EXPECT_EQ(MakeColor(GetRValue(highlight), GetGValue(highlight), GetBValue(highlight)),
            button.surface()->Row(0)[0]);
  COLORREF face = GetSysColor(COLOR_BTNFACE);
  EXPECT_EQ(MakeColor(GetRValue(face), GetGValue(face), GetBValue(face)), button.surface()->Row(10)[2]);

  root_.DispatchMouseMove(5, 5, nullptr);
  root_.DispatchLButtonDown(5, 5);
  button.Draw(nullptr, root_.surface(), 0);
  EXPECT_EQ(0xFF000000u, button.surface()->Row(0)[0]);  // the pressed look's black frame
  root_.DispatchLButtonUp(5, 5);

  NScrollBar bar;
  ASSERT_EQ(1, bar.Create(100, 0, 16, 100, 2, &root_));
  bar.Show(1, 0);
  bar.Setup(1, 16, 20, 10, 100);
  bar.Draw(nullptr, root_.surface(), 0);
  for (int32_t y = 0; y < 100; y += 7)
    EXPECT_EQ(0xFF000000u, bar.surface()->Row(y)[8] & 0xFF000000u) << y;
}

}  // namespace

// Mouse input through the node tree: hit testing, hover, the pressed node, buttons, the wheel and bubbling
// notifications.
#include <gtest/gtest.h>

#include <functional>

#include "tests/ui/view/RecordingNode.h"
#include "ui/view/NWnd.h"
#include "ui/view/NotifyCodes.h"

namespace testing_support {
namespace {

// root 200 x 100 (a window) holding a panel at (10, 10) 100 x 80 with two overlapping buttons, and a lone
// button beside the panel.
class DispatchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    NWnd::ClearPressedNode();
    ASSERT_TRUE(root_.Place(0, 0, 200, 100, nullptr));
    ASSERT_TRUE(panel_.Place(10, 10, 100, 80, &root_));
    ASSERT_TRUE(first_.Place(5, 5, 40, 20, &panel_));
    ASSERT_TRUE(second_.Place(25, 5, 40, 20, &panel_));  // overlaps first from x 25 to 45
    ASSERT_TRUE(lone_.Place(150, 10, 30, 30, &root_));
    log_.clear();
  }
  void TearDown() override { NWnd::ClearPressedNode(); }

  HookLog Take() {
    HookLog taken;
    taken.swap(log_);
    return taken;
  }

  HookLog log_;
  WindowedNode root_{"root", &log_, 0x1000};
  RecordingNode panel_{"panel", &log_};
  RecordingNode first_{"first", &log_};
  RecordingNode second_{"second", &log_};
  RecordingNode lone_{"lone", &log_};
};

TEST_F(DispatchTest, HitTestFindsTheDeepestShownNodeAndTheFirstCreatedOfOverlappingSiblings) {
  struct Case {
    int32_t x, y;
    NWnd* expected;
    int32_t expected_x, expected_y;
  };
  const Case cases[] = {
      {20, 20, &first_, 5, 5},    {40, 20, &first_, 25, 5},  // overlap: first created wins
      {60, 20, &second_, 25, 5},  {12, 12, &panel_, 2, 2},     {150, 10, &lone_, 0, 0},
      {199, 99, &root_, 199, 99}, {200, 50, nullptr, 200, 50}, {-1, 0, nullptr, -1, 0},
  };
  for (const Case& c : cases) {
    int32_t x = c.x, y = c.y;
    EXPECT_EQ(c.expected, root_.HitTest(&x, &y, 0)) << c.x << "," << c.y;
    EXPECT_EQ(c.expected_x, x);
    EXPECT_EQ(c.expected_y, y);
  }
  first_.Show(0, 0);
  int32_t x = 40, y = 20;
  EXPECT_EQ(&second_, root_.HitTest(&x, &y, 0));
  panel_.Show(0, 0);
  x = 40, y = 20;
  EXPECT_EQ(&root_, root_.HitTest(&x, &y, 0));
}

TEST_F(DispatchTest, OnlyTheNodeUnderTheMouseIsHovered) {
  EXPECT_EQ(1, root_.DispatchMouseMove(20, 20, nullptr));
  EXPECT_EQ((HookLog{"first.enter(5,5)", "first.over(5,5)"}), Take());
  root_.DispatchMouseMove(21, 20, nullptr);
  EXPECT_EQ((HookLog{"first.over(6,5)"}), Take());
  root_.DispatchMouseMove(60, 20, nullptr);
  EXPECT_EQ((HookLog{"first.leave", "second.enter(25,5)", "second.over(25,5)"}), Take());
  root_.DispatchMouseMove(12, 12, nullptr);
  EXPECT_EQ((HookLog{"second.leave", "panel.enter(2,2)", "panel.over(2,2)"}), Take());
  root_.DispatchMouseMove(120, 50, nullptr);
  EXPECT_EQ((HookLog{"panel.leave", "root.enter(120,50)", "root.over(120,50)"}), Take());
  EXPECT_EQ(1, root_.hover());

  root_.DispatchMouseMove(155, 15, nullptr);
  Take();
  root_.MouseLeave(nullptr);  // the mouse left the window
  EXPECT_EQ((HookLog{"lone.leave"}), Take());
  EXPECT_EQ(0, lone_.hover());
  EXPECT_EQ(-1, lone_.last_mouse_x());
  EXPECT_EQ(-1, lone_.last_mouse_y());
}

TEST_F(DispatchTest, ClickOnAButtonGoesDownAndUpInItsOwnCoordinates) {
  root_.DispatchMouseMove(20, 20, nullptr);
  Take();
  root_.DispatchLButtonDown(20, 20);
  EXPECT_EQ(&first_, NWnd::GetPressedNode());
  root_.DispatchLButtonUp(21, 21);
  EXPECT_EQ(nullptr, NWnd::GetPressedNode());
  EXPECT_EQ((HookLog{"first.ldown(5,5)", "first.lup(6,6)"}), Take());

  root_.DispatchLButtonDblClk(20, 20);
  root_.DispatchLButtonUp(20, 20);
  root_.DispatchRButtonDown(155, 15);
  root_.DispatchRButtonUp(155, 15);
  root_.DispatchMButtonDown(60, 20);
  root_.DispatchMButtonUp(60, 20);
  EXPECT_EQ((HookLog{"first.ldbl(5,5)", "first.lup(5,5)", "lone.rdown(5,5)", "lone.rup(5,5)",
                     "second.mdown(25,5)", "second.mup(25,5)"}),
            Take());
}

TEST_F(DispatchTest, DraggingOutOfAPressedButtonLeavesItAndReleasesOutsideItsRectangle) {
  root_.DispatchMouseMove(20, 20, nullptr);
  root_.DispatchLButtonDown(20, 20);
  Take();
  // Out over the second button and onward to the lone one: neither is entered, nor told of the moves.
  root_.DispatchMouseMove(60, 20, nullptr);
  root_.DispatchMouseMove(155, 15, nullptr);
  EXPECT_EQ((HookLog{"first.leave", "first.over(45,5)", "first.over(140,0)"}), Take());
  EXPECT_EQ(0, second_.hover());
  EXPECT_EQ(0, lone_.hover());

  // Back over the pressed button: it is entered again while the button is held.
  root_.DispatchMouseMove(19, 19, nullptr);
  root_.DispatchMouseMove(170, 80, nullptr);
  EXPECT_EQ((HookLog{"first.enter(4,4)", "first.over(4,4)", "first.leave", "first.over(155,65)"}), Take());

  // The release goes to the pressed button, in its own coordinates, far outside its rectangle.
  root_.DispatchLButtonUp(170, 80);
  EXPECT_EQ((HookLog{"first.lup(155,65)"}), Take());
  EXPECT_EQ(nullptr, NWnd::GetPressedNode());
  root_.DispatchMouseMove(171, 80, nullptr);
  EXPECT_EQ((HookLog{"root.enter(171,80)", "root.over(171,80)"}), Take());
}

TEST_F(DispatchTest, ASecondButtonGoesToThePressedNodeOnlyWhileTheMouseIsOverIt) {
  root_.DispatchLButtonDown(20, 20);
  root_.DispatchRButtonDown(155, 15);  // over another node: dropped
  root_.DispatchRButtonDown(22, 22);
  EXPECT_EQ((HookLog{"first.ldown(5,5)", "first.rdown(7,7)"}), Take());
  EXPECT_EQ(&first_, NWnd::GetPressedNode());
  root_.DispatchRButtonUp(155, 15);  // any button-up ends the press
  EXPECT_EQ((HookLog{"first.rup(140,0)"}), Take());
  EXPECT_EQ(nullptr, NWnd::GetPressedNode());
}

TEST_F(DispatchTest, ThePressedNodeIsClearedWhenItCanNoLongerTakeInput) {
  struct Case {
    const char* what;
    std::function<void()> action;
  };
  const Case cases[] = {
      {"hidden", [this] { first_.Show(0, 0); }},
      {"deactivated", [this] { root_.SetActive(0); }},
      {"destroyed", [this] { first_.Destroy(); }},
      {"an ancestor destroyed", [this] { panel_.Destroy(); }},
      {"mouse capture lost", [] { NWnd::ClearPressedNode(); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    root_.Destroy();
    SetUp();
    root_.DispatchLButtonDown(20, 20);
    ASSERT_EQ(&first_, NWnd::GetPressedNode());
    c.action();
    EXPECT_EQ(nullptr, NWnd::GetPressedNode());
    root_.SetActive(1);
  }
  // Hiding a node that merely contains the pressed one leaves the press alone.
  root_.DispatchLButtonDown(20, 20);
  panel_.Show(0, 0);
  EXPECT_EQ(&first_, NWnd::GetPressedNode());
}

TEST_F(DispatchTest, AButtonUpInAnotherWindowClearsAForeignPressedNodeWithoutDeliveringIt) {
  HookLog other_log;
  WindowedNode other("other", &other_log, 0x2000);
  RecordingNode other_button("other_button", &other_log);
  ASSERT_TRUE(other.Place(0, 0, 50, 50, nullptr));
  ASSERT_TRUE(other_button.Place(0, 0, 20, 20, &other));
  other_log.clear();

  root_.DispatchLButtonDown(20, 20);
  Take();
  other.DispatchLButtonUp(5, 5);
  EXPECT_EQ(nullptr, NWnd::GetPressedNode());
  EXPECT_TRUE(log_.empty());
  EXPECT_TRUE(other_log.empty());
}

TEST_F(DispatchTest, AClickHandlerThatRunsAModalWindowLeavesNoPressedNodeInItsWay) {
  HookLog modal_log;
  WindowedNode modal("modal", &modal_log, 0x2000);
  RecordingNode ok("ok", &modal_log);
  ASSERT_TRUE(modal.Place(0, 0, 50, 50, nullptr));
  ASSERT_TRUE(ok.Place(0, 0, 20, 20, &modal));
  modal_log.clear();
  first_.on_left_up = [&] {
    // The modal window's own loop: a click on its button.
    modal.DispatchLButtonDown(5, 5);
    modal.DispatchLButtonUp(5, 5);
  };
  root_.DispatchLButtonDown(20, 20);
  root_.DispatchLButtonUp(20, 20);
  EXPECT_EQ((HookLog{"ok.ldown(5,5)", "ok.lup(5,5)"}), modal_log);
  EXPECT_EQ(nullptr, NWnd::GetPressedNode());
}

TEST_F(DispatchTest, TheWheelNeedsTheKeyboardFocusUnlessANodeIsPressed) {
  root_.DispatchMouseWheel(60, 20, 1);
  EXPECT_TRUE(Take().empty());
  root_.has_focus = true;
  root_.DispatchMouseWheel(60, 20, -2);
  root_.DispatchMouseWheel(199, 99, 1);
  EXPECT_EQ((HookLog{"second.wheel(25,5) -2", "root.wheel(199,99) 1"}), Take());

  root_.has_focus = false;
  root_.DispatchLButtonDown(20, 20);
  Take();
  root_.DispatchMouseWheel(22, 20, 3);
  root_.DispatchMouseWheel(60, 20, 3);  // not over the pressed node: dropped
  EXPECT_EQ((HookLog{"first.wheel(7,5) 3"}), Take());
}

TEST_F(DispatchTest, NotificationsBubbleUntilTheFirstHandlerAnswers) {
  NWnd::NotifyParents(&first_, NOTIFY_CLICKED, 7, 0);
  EXPECT_EQ((HookLog{"first.notify 1 7", "panel.notify 1 7", "root.notify 1 7"}), Take());
  panel_.notify_result = 1;
  NWnd::NotifyParents(&first_, NOTIFY_TAB_SELECTED, 8, 0);
  EXPECT_EQ((HookLog{"first.notify 6 8", "panel.notify 6 8"}), Take());
  panel_.Destroy();
  Take();
  NWnd::NotifyParents(&first_, NOTIFY_CLICKED, 9, 0);
  EXPECT_TRUE(Take().empty());
}

TEST_F(DispatchTest, AHandlerThatDeletesItsOwnNodeStillPassesTheNotificationOn) {
  auto* closing = new RecordingNode("closing", &log_);
  ASSERT_TRUE(closing->Place(60, 50, 20, 20, &panel_));
  closing->on_notify = [closing] { delete closing; };
  Take();
  NWnd::NotifyParents(closing, NOTIFY_CLICKED, 4, 0);
  EXPECT_EQ((HookLog{"closing.notify 1 4", "closing.destroy", "panel.notify 1 4", "root.notify 1 4"}),
            Take());
}

TEST_F(DispatchTest, ANodeShownOrMovedUnderTheRestingMouseIsEnteredAtOnce) {
  lone_.Show(0, 0);
  root_.DispatchMouseMove(160, 20, nullptr);
  Take();
  lone_.Show(1, 0);
  EXPECT_EQ((HookLog{"lone.show", "lone.enter(10,10)", "lone.over(10,10)"}), Take());

  root_.DispatchMouseMove(120, 50, nullptr);
  Take();
  lone_.Move(100, 40);
  EXPECT_EQ((HookLog{"lone.move", "lone.enter(20,10)", "lone.over(20,10)"}), Take());
}

TEST_F(DispatchTest, HoverStartsAfreshForANodeCreatedAgain) {
  root_.DispatchMouseMove(155, 15, nullptr);
  lone_.Destroy();
  ASSERT_EQ(1, lone_.Create(150, 10, 30, 30, 0, &root_));
  EXPECT_EQ(0, lone_.hover());
  Take();
  root_.DispatchMouseMove(156, 15, nullptr);
  EXPECT_EQ((HookLog{"lone.enter(6,5)", "lone.over(6,5)"}), Take());
}

TEST_F(DispatchTest, KeyboardFocusGoesToTheNearestWindow) {
  first_.SetFocus();
  EXPECT_EQ(1, root_.focus_requests);
}

}  // namespace
}  // namespace testing_support

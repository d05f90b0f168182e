// The node tree: creation and destruction of subtrees, visibility, painting order, the per-frame update, and
// walks over children while hooks change them.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <new>

#include "tests/ui/view/RecordingNode.h"
#include "ui/gfx/Dib.h"
#include "ui/view/NWnd.h"

namespace testing_support {
namespace {

class NWndTest : public ::testing::Test {
 protected:
  void SetUp() override {
    NWnd::ClearPressedNode();
    root_.window_shown = true;
  }

  uint32_t RootPixel(int32_t x, int32_t y) { return root_.surface()->Row(y)[x]; }

  HookLog log_;
  WindowedNode root_{"root", &log_, 0x1000, 0xFF000000};
};

TEST_F(NWndTest, CreationRules) {
  RecordingNode node("a", &log_);
  EXPECT_EQ(0, node.Create(5, 5, 0, 10, 0, nullptr));
  EXPECT_EQ(0, node.created());
  ASSERT_EQ(1, node.Create(5, 7, 10, 10, 42, nullptr));
  EXPECT_EQ(0, node.x());  // no parent: the position is ignored
  EXPECT_EQ(0, node.y());
  EXPECT_EQ(42, node.id());
  EXPECT_EQ(0, node.visible());
  EXPECT_EQ(1, node.dirty());
  EXPECT_EQ(0, node.Create(0, 0, 10, 10, 0, nullptr));

  // Heap surfaces for windowless nodes, bitmaps for nodes with a window (their surface goes to the screen).
  EXPECT_EQ(nullptr, node.surface()->bitmap());
  ASSERT_EQ(1, root_.Create(0, 0, 8, 8, 0, nullptr));
  EXPECT_NE(nullptr, root_.surface()->bitmap());
}

TEST_F(NWndTest, DestroyingAParentDestroysTheSubtreeWhichCanBeCreatedAgain) {
  ASSERT_TRUE(root_.Place(0, 0, 100, 100, nullptr));
  RecordingNode panel("panel", &log_);
  RecordingNode a("a", &log_);
  RecordingNode b("b", &log_);
  ASSERT_TRUE(panel.Place(10, 10, 50, 50, &root_));
  ASSERT_TRUE(a.Place(0, 0, 10, 10, &panel));
  ASSERT_TRUE(b.Place(10, 0, 10, 10, &panel));
  int32_t live_images = Dib::LiveImages().count();

  log_.clear();
  panel.Destroy();
  EXPECT_EQ((HookLog{"panel.destroy", "a.destroy", "b.destroy"}), log_);
  for (NWnd* node : {static_cast<NWnd*>(&panel), static_cast<NWnd*>(&a), static_cast<NWnd*>(&b)}) {
    EXPECT_EQ(0, node->created());
    EXPECT_EQ(nullptr, node->parent());
    EXPECT_EQ(nullptr, node->surface());
  }
  EXPECT_EQ(0, root_.children().count());
  EXPECT_EQ(0, panel.children().count());
  EXPECT_EQ(live_images - 3, Dib::LiveImages().count());

  ASSERT_EQ(1, panel.Create(20, 20, 50, 50, 0, &root_));
  ASSERT_EQ(1, a.Create(0, 0, 10, 10, 0, &panel));
  EXPECT_EQ(&panel, a.parent());
  EXPECT_EQ(1, panel.children().count());
  EXPECT_EQ(1, a.visible());  // the show state survives a re-creation
}

TEST_F(NWndTest, ChildrenPaintInCreationOrderAndHiddenSubtreesAreLeftOut) {
  ASSERT_TRUE(root_.Place(0, 0, 20, 10, nullptr));
  RecordingNode first("first", &log_, 0xFF0000FF);
  RecordingNode second("second", &log_, 0xFF00FF00);
  RecordingNode panel("panel", &log_, 0xFFFF0000);
  RecordingNode inner("inner", &log_, 0xFFFFFFFF);
  ASSERT_TRUE(first.Place(0, 0, 6, 6, &root_));
  ASSERT_TRUE(second.Place(3, 3, 6, 6, &root_));
  ASSERT_TRUE(panel.Place(10, 0, 10, 10, &root_));
  ASSERT_TRUE(inner.Place(2, 2, 2, 2, &panel));

  EXPECT_EQ(1, root_.Draw(nullptr, nullptr, 0));
  EXPECT_EQ(0xFF0000FFu, RootPixel(1, 1));
  EXPECT_EQ(0xFF00FF00u, RootPixel(4, 4));  // the later sibling covers the earlier one
  EXPECT_EQ(0xFFFFFFFFu, RootPixel(12, 2));
  EXPECT_EQ(0, root_.dirty());

  panel.Show(0, 0);
  log_.clear();
  root_.Fill(0xFF000000);
  root_.Draw(nullptr, nullptr, 0);
  EXPECT_EQ(0xFF000000u, RootPixel(12, 2));
  EXPECT_EQ((HookLog{"root.paint", "first.paint", "second.paint"}), log_);
}

TEST_F(NWndTest, BlendedChildrenMixAndCopiedChildrenReplace) {
  ASSERT_TRUE(root_.Place(0, 0, 4, 2, nullptr));
  RecordingNode glass("glass", &log_, 0x80FFFFFF);
  ASSERT_TRUE(glass.Place(0, 0, 2, 2, &root_));
  root_.blend_children = 1;
  root_.Draw(nullptr, nullptr, 0);
  EXPECT_EQ(0xFF808080u, RootPixel(0, 0));
  root_.blend_children = 0;
  root_.Draw(nullptr, nullptr, 0);
  EXPECT_EQ(0x80FFFFFFu, RootPixel(0, 0));
}

TEST_F(NWndTest, RedrawRequestsFollowDirtyFlagsAndEndAtTheWindow) {
  ASSERT_TRUE(root_.Place(0, 0, 50, 50, nullptr));
  RecordingNode panel("panel", &log_);
  RecordingNode button("button", &log_);
  ASSERT_TRUE(panel.Place(0, 0, 40, 40, &root_));
  ASSERT_TRUE(button.Place(0, 0, 10, 10, &panel));
  root_.Draw(nullptr, nullptr, 0);
  EXPECT_EQ(0, root_.NeedsRedraw());

  int before = root_.invalidations;
  button.Invalidate();
  EXPECT_EQ(1, button.dirty());
  EXPECT_EQ(1, panel.dirty());
  EXPECT_EQ(before + 1, root_.invalidations);
  EXPECT_EQ(1, root_.NeedsRedraw());

  panel.Show(0, 0);
  EXPECT_EQ(0, panel.NeedsRedraw());  // hidden, although dirty
  EXPECT_EQ(1, panel.dirty());
}

TEST_F(NWndTest, UpdateKeepsAWindowedChildInStepWithItsAncestors) {
  ASSERT_TRUE(root_.Place(0, 0, 50, 50, nullptr));
  RecordingNode panel("panel", &log_);
  WindowedNode edit("edit", &log_, 0x2000);
  ASSERT_TRUE(panel.Place(0, 0, 40, 40, &root_));
  ASSERT_TRUE(edit.Place(5, 5, 20, 10, &panel));
  edit.window_shown = true;

  panel.Show(0, 0);
  log_.clear();
  root_.Update();
  EXPECT_EQ((std::vector<bool>{false}), edit.show_calls);
  EXPECT_EQ(1, edit.visible());  // its own show state is kept
  EXPECT_EQ((HookLog{"root.update", "panel.update", "edit.hide", "edit.update"}), log_);

  panel.Show(1, 0);
  root_.Update();
  EXPECT_EQ((std::vector<bool>{false, true}), edit.show_calls);
  root_.Update();
  EXPECT_EQ(2u, edit.show_calls.size());

  // A show call that brings no show message back must not swallow the next real Show.
  edit.echoes_show = false;
  panel.Show(0, 0);
  root_.Update();
  log_.clear();
  edit.Show(0, 0);
  EXPECT_EQ(0, edit.visible());
  EXPECT_EQ((HookLog{"edit.hide"}), log_);
}

TEST_F(NWndTest, TopLevelChildrenAreLeftToTheirOwnFrameTick) {
  class TopLevelNode : public RecordingNode {
   public:
    using RecordingNode::RecordingNode;
    int32_t IsTopLevel() override { return 1; }
  };
  ASSERT_TRUE(root_.Place(0, 0, 50, 50, nullptr));
  TopLevelNode popup("popup", &log_);
  ASSERT_TRUE(popup.Place(0, 0, 10, 10, &root_));
  log_.clear();
  root_.Update();
  int32_t x = 5, y = 5;
  EXPECT_EQ(&root_, root_.HitTest(&x, &y, 1));
  EXPECT_EQ((HookLog{"root.update"}), log_);
}

// A node placed in storage that the test owns, so that after deleting it the memory can be poisoned: a walk
// that still called it would jump through a garbage table and crash.
struct PoisonedSlot {
  alignas(RecordingNode) unsigned char bytes[sizeof(RecordingNode)];
  RecordingNode* node = nullptr;
  void Delete() {
    node->~RecordingNode();
    std::memset(bytes, 0xDD, sizeof(bytes));
    node = nullptr;
  }
};

TEST_F(NWndTest, WalksSurviveHooksThatDeleteAndAddChildren) {
  ASSERT_TRUE(root_.Place(0, 0, 50, 50, nullptr));
  RecordingNode first("first", &log_);
  PoisonedSlot second;
  second.node = new (second.bytes) RecordingNode("second", &log_);
  RecordingNode third("third", &log_);
  RecordingNode added("added", &log_);
  ASSERT_TRUE(first.Place(0, 0, 5, 5, &root_));
  ASSERT_TRUE(second.node->Place(5, 0, 5, 5, &root_));
  ASSERT_TRUE(third.Place(10, 0, 5, 5, &root_));
  first.on_update = [&] {
    second.Delete();
    added.Place(0, 10, 5, 5, &root_);
  };

  log_.clear();
  root_.Update();
  EXPECT_EQ((HookLog{"root.update", "first.update", "second.destroy", "added.show", "third.update"}), log_);
  first.on_update = nullptr;
  log_.clear();
  root_.Update();
  EXPECT_EQ((HookLog{"root.update", "first.update", "third.update", "added.update"}), log_);
}

TEST_F(NWndTest, DestroyHooksMayDestroyTheirSiblings) {
  ASSERT_TRUE(root_.Place(0, 0, 50, 50, nullptr));
  RecordingNode a("a", &log_);
  PoisonedSlot b;
  b.node = new (b.bytes) RecordingNode("b", &log_);
  RecordingNode c("c", &log_);
  ASSERT_TRUE(a.Place(0, 0, 5, 5, &root_));
  ASSERT_TRUE(b.node->Place(0, 0, 5, 5, &root_));
  ASSERT_TRUE(c.Place(0, 0, 5, 5, &root_));
  a.on_destroy = [&] { b.Delete(); };
  c.on_paint = [&] { a.Destroy(); };
  log_.clear();
  root_.Draw(nullptr, nullptr, 0);
  EXPECT_EQ(0, a.created());
  EXPECT_EQ(1, root_.children().count());
  root_.Destroy();
  EXPECT_EQ(0, c.created());
  EXPECT_EQ((HookLog{"root.paint", "a.paint", "b.paint", "c.paint", "a.destroy", "b.destroy", "root.destroy",
                     "c.destroy"}),
            log_);
}

TEST_F(NWndTest, DeletingNodesLeavesNoPointerBehind) {
  ASSERT_TRUE(root_.Place(0, 0, 50, 50, nullptr));
  auto child = std::make_unique<RecordingNode>("child", &log_);
  ASSERT_TRUE(child->Place(0, 0, 5, 5, &root_));
  log_.clear();
  child.reset();  // the class's own destructor destroys it, so its own hook runs
  EXPECT_EQ((HookLog{"child.destroy"}), log_);
  EXPECT_EQ(0, root_.children().count());

  // A parent that was never created still lists its children; deleting it must not leave them pointing at it.
  RecordingNode orphan("orphan", &log_);
  {
    RecordingNode never_created("never", &log_);
    ASSERT_EQ(1, orphan.Create(0, 0, 5, 5, 0, &never_created));
  }
  EXPECT_EQ(nullptr, orphan.parent());
  orphan.Destroy();
}

TEST_F(NWndTest, MovingANodeMovesItsChildrenAgainAndPositionsAddUpToTheWindow) {
  ASSERT_TRUE(root_.Place(0, 0, 100, 100, nullptr));
  RecordingNode panel("panel", &log_);
  RecordingNode inner("inner", &log_);
  WindowedNode edit("edit", &log_, 0x3000);
  ASSERT_TRUE(panel.Place(10, 20, 80, 80, &root_));
  ASSERT_TRUE(inner.Place(3, 4, 50, 50, &panel));
  ASSERT_TRUE(edit.Place(5, 6, 10, 10, &inner));
  log_.clear();
  panel.Move(30, 40);
  EXPECT_EQ((HookLog{"edit.move", "inner.move", "panel.move"}), log_);

  POINT offset;
  EXPECT_EQ(reinterpret_cast<HWND>(0x1000), NWnd::GetHostWindow(&inner, &offset, nullptr));
  EXPECT_EQ(33, offset.x);
  EXPECT_EQ(44, offset.y);
  EXPECT_EQ(reinterpret_cast<HWND>(0x1000), NWnd::GetHostWindow(nullptr, &offset, &edit));
  EXPECT_EQ(33, offset.x);
  EXPECT_EQ(reinterpret_cast<HWND>(0x3000), NWnd::GetHostWindow(&edit, &offset, nullptr));
  EXPECT_EQ(0, offset.x);
  EXPECT_EQ(nullptr, NWnd::GetHostWindow(&inner, nullptr, nullptr));
  EXPECT_EQ(&edit, root_.FindByHwnd(reinterpret_cast<HWND>(0x3000)));
  EXPECT_EQ(nullptr, root_.FindByHwnd(nullptr));

  POINT screen;
  inner.GetScreenPos(&screen);
  EXPECT_EQ(33, screen.x);
  EXPECT_EQ(44, screen.y);
  panel.Show(0, 0);
  EXPECT_EQ(0, edit.AncestorsVisible());
  EXPECT_EQ(1, panel.AncestorsVisible());
}

}  // namespace
}  // namespace testing_support

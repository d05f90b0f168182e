// The skin-change broadcast: who hears it, how often, and listeners that change the list while it runs.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <new>

#include "tests/ui/skin/SkinTestFolder.h"
#include "tests/ui/view/RecordingNode.h"
#include "ui/skin/SkinListeners.h"
#include "ui/skin/SkinLoader.h"
#include "ui/view/NotifyCodes.h"

namespace testing_support {
namespace {

class SkinListenersTest : public SkinTest {
 protected:
  void SetUp() override {
    SkinTest::SetUp();
    ASSERT_TRUE(root_.Place(0, 0, 100, 100, nullptr));
    ASSERT_TRUE(button_.Place(0, 0, 10, 10, &root_));
    log_.clear();
  }
  void TearDown() override {
    RemoveAllSkinListeners();
    SkinTest::TearDown();
  }

  void ChangeSkinTo(const wchar_t* name) {
    SetCurrentSkin(name);
    BroadcastSkinChange();
  }

  HookLog log_;
  RecordingNode root_{"root", &log_};
  RecordingNode button_{"button", &log_};
};

TEST_F(SkinListenersTest, OneChangeIsBroadcastOnceToEveryCreatedListener) {
  RecordingNode not_created("not_created", &log_);
  root_.notify_result = 1;
  RegisterSkinListener(&root_);
  RegisterSkinListener(&not_created);
  RegisterSkinListener(nullptr);
  EXPECT_EQ(2, SkinListenerCount());

  ChangeSkinTo(L"blue");
  ChangeSkinTo(L"blue");
  BroadcastSkinChange();
  EXPECT_EQ((HookLog{"root.notify 10001 0"}), log_);
}

TEST_F(SkinListenersTest, AnUnhandledChangeGoesUpTheParentChain) {
  RegisterSkinListener(&button_);
  ChangeSkinTo(L"blue");
  EXPECT_EQ((HookLog{"button.notify 10001 0", "root.notify 10001 0"}), log_);
}

TEST_F(SkinListenersTest, UnregisteringRemovesTheMostRecentEntryOnly) {
  root_.notify_result = 1;
  RegisterSkinListener(&root_);
  RegisterSkinListener(&root_);
  UnregisterSkinListener(&root_);
  UnregisterSkinListener(&button_);  // not registered: nothing
  EXPECT_EQ(1, SkinListenerCount());
  ChangeSkinTo(L"blue");
  EXPECT_EQ((HookLog{"root.notify 10001 0"}), log_);
}

// A listener whose reload unregisters, deletes and registers other listeners.
class ReloadingNode : public RecordingNode {
 public:
  using RecordingNode::RecordingNode;
  std::function<void()> on_skin_change;
  int32_t OnNotify(int32_t code, intptr_t p1, intptr_t p2) override {
    RecordingNode::OnNotify(code, p1, p2);
    if (on_skin_change)
      on_skin_change();
    return 1;
  }
};

TEST_F(SkinListenersTest, TheBroadcastSurvivesListenersThatChangeTheList) {
  ReloadingNode first("first", &log_);
  ReloadingNode second("second", &log_);
  alignas(ReloadingNode) unsigned char third_bytes[sizeof(ReloadingNode)];
  ReloadingNode* third = new (third_bytes) ReloadingNode("third", &log_);
  ReloadingNode fourth("fourth", &log_);
  ReloadingNode late("late", &log_);
  for (ReloadingNode* node : {&first, &second, third, &fourth, &late})
    ASSERT_TRUE(node->Place(0, 0, 5, 5, nullptr));
  for (ReloadingNode* node : {&first, &second, third, &fourth})
    RegisterSkinListener(node);
  first.on_skin_change = [&] {
    UnregisterSkinListener(&second);
    // Deleted without being called again: the poisoned memory would crash a call.
    UnregisterSkinListener(third);
    third->~ReloadingNode();
    std::memset(third_bytes, 0xDD, sizeof(third_bytes));
    RegisterSkinListener(&late);
  };
  log_.clear();
  ChangeSkinTo(L"blue");
  EXPECT_EQ((HookLog{"first.notify 10001 0", "third.destroy", "fourth.notify 10001 0"}), log_);

  first.on_skin_change = nullptr;
  log_.clear();
  ChangeSkinTo(L"red");
  EXPECT_EQ((HookLog{"first.notify 10001 0", "fourth.notify 10001 0", "late.notify 10001 0"}), log_);
}

TEST_F(SkinListenersTest, UnloadingTheSkinInfoForgetsTheListeners) {
  RegisterSkinListener(&root_);
  SkinLoader::UnloadSkinInfo();
  EXPECT_EQ(0, SkinListenerCount());
  ChangeSkinTo(L"blue");
  EXPECT_TRUE(log_.empty());
}

}  // namespace
}  // namespace testing_support

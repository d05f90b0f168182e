// The skinned check button and tab: which image each state shows, SetCheck's notification rule, and the
// tab's state table under the mouse.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "tests/ui/skinned/SkinnedControlSkin.h"
#include "tests/ui/view/RecordingNode.h"
#include "ui/gfx/Dib.h"
#include "ui/skin/SkinListeners.h"
#include "ui/skinned/SkinnedCheckButton.h"
#include "ui/skinned/SkinnedTab.h"
#include "ui/view/NotifyCodes.h"

namespace {

class SkinnedCheckAndTabTest : public testing_support::SkinnedControlTest {
 protected:
  void SetUp() override {
    SkinnedControlTest::SetUp();
    ASSERT_TRUE(root_.Place(0, 0, 100, 100, nullptr));
    log_.clear();
  }
  void TearDown() override {
    root_.Destroy();
    SkinnedControlTest::TearDown();
  }
  size_t Logged(const std::string& line) const { return std::count(log_.begin(), log_.end(), line); }

  testing_support::HookLog log_;
  testing_support::RecordingNode root_{"root", &log_};
};

TEST_F(SkinnedCheckAndTabTest, ACheckButtonShowsTheImageOfItsSetAndStateAtItsOffset) {
  // Off images 0x0000s0, on images 0x00s000, s = state + 1; 4 x 4 images at offset (3, 2) of a 10 x 8 box.
  std::wstring text = L"[CHECK]\r\nwidth=10\r\nheight=8\r\nimage_offset_x=3\r\nimage_offset_y=2\r\n";
  const wchar_t* states[] = {L"NORMAL", L"OVER", L"DOWN", L"DISABLED"};
  for (int32_t s = 0; s < 4; ++s) {
    std::wstring off = L"off" + std::to_wstring(s) + L".bmp", on = L"on" + std::to_wstring(s) + L".bmp";
    WriteSolidImage(off, 4, 4, static_cast<uint32_t>(s + 1) << 4);
    WriteSolidImage(on, 4, 4, static_cast<uint32_t>(s + 1) << 12);
    text += std::wstring(L"[CHK_OFF_") + states[s] + L"]\r\nimage=" + off + L"\r\n[CHK_ON_" + states[s] +
            L"]\r\nimage=" + on + L"\r\n";
  }
  WriteControl(L"chk", text);
  SkinnedCheckButton box;
  box.SetSkin(L"base", L"chk");
  ASSERT_EQ(1, box.Create(0, 0, 1, 1, 4, &root_));
  box.Show(1, 0);
  auto expect_shown = [&](uint32_t colour, const char* when) {
    box.Draw(nullptr, root_.surface(), 0);
    EXPECT_EQ(0xFF000000u | colour, box.surface()->Row(2)[3]) << when;
    EXPECT_EQ(0u, box.surface()->Row(1)[3]) << when;  // outside the image: cleared
    EXPECT_EQ(0u, box.surface()->Row(2)[7]) << when;
  };
  expect_shown(0x10, "off, normal");
  root_.DispatchMouseMove(4, 3, nullptr);
  expect_shown(0x20, "off, over");
  root_.DispatchLButtonDown(4, 3);
  expect_shown(0x30, "off, down");
  box.SetCheck(1);
  expect_shown(0x3000, "on, down");
  root_.DispatchLButtonUp(4, 3);
  expect_shown(0x2000, "on, over");
  box.Enable(0);
  expect_shown(0x4000, "on, disabled");
}

TEST_F(SkinnedCheckAndTabTest, SetCheckNotifiesAndRepaintsOnlyOnAChangeAndAClickDoesNotToggle) {
  WriteControl(L"chk", L"[CHECK]\r\nwidth=10\r\nheight=10\r\n");
  SkinnedCheckButton box;
  box.SetSkin(L"base", L"chk");
  ASSERT_EQ(1, box.Create(0, 0, 1, 1, 4, &root_));
  box.Show(1, 0);
  box.Draw(nullptr, root_.surface(), 0);
  box.SetCheck(0);
  EXPECT_EQ(0, box.dirty());
  EXPECT_EQ(0u, Logged("root.notify 2 4"));
  box.SetCheck(1);
  EXPECT_EQ(1, box.dirty());
  EXPECT_EQ(1u, Logged("root.notify 2 4"));
  box.Draw(nullptr, root_.surface(), 0);
  box.SetCheck(1);
  EXPECT_EQ(0, box.dirty());
  EXPECT_EQ(1u, Logged("root.notify 2 4"));
  // A click is reported, and the owner decides.
  root_.DispatchMouseMove(5, 5, nullptr);
  root_.DispatchLButtonDown(5, 5);
  root_.DispatchLButtonUp(5, 5);
  EXPECT_EQ(1u, Logged("root.notify 1 4"));
  EXPECT_EQ(1, box.check());

  SkinnedCheckButton lone;
  lone.SetSkin(L"base", L"chk");
  ASSERT_EQ(1, lone.Create(0, 0, 1, 1, 5, nullptr));
  lone.SetCheck(1);
  EXPECT_EQ(1, lone.check());
  EXPECT_EQ(0u, Logged("root.notify 2 5"));
}

TEST_F(SkinnedCheckAndTabTest, TheOffsetsAreKeptWhenTheSizeCheckFails) {
  WriteControl(L"chk", L"[CHECK]\r\nwidth=0\r\nheight=10\r\nimage_offset_x=6\r\nimage_offset_y=7\r\n");
  SkinnedCheckButton box;
  box.SetSkin(L"base", L"chk");
  EXPECT_EQ(0, box.Create(0, 0, 1, 1, 4, &root_));
  EXPECT_EQ(6, box.image_offset_x());
  EXPECT_EQ(7, box.image_offset_y());
  EXPECT_EQ(0, SkinListenerCount());
}

TEST_F(SkinnedCheckAndTabTest, ATabFollowsItsStateTableAndIsSelectedOnThePress) {
  std::wstring text = L"[TAB]\r\nx=10\r\ny=10\r\nwidth=20\r\nheight=10\r\n";
  const wchar_t* sections[] = {L"TAB_OFF", L"TAB_OFF_OVER", L"TAB_ON", L"TAB_ON_OVER", L"TAB_ON_DOWN"};
  for (int32_t s = 0; s < 5; ++s) {
    std::wstring file = L"tab" + std::to_wstring(s) + L".bmp";
    WriteSolidImage(file, 20, 10, static_cast<uint32_t>(s + 1) * 0x111111);
    text += std::wstring(L"[") + sections[s] + L"]\r\nimage=" + file + L"\r\n";
  }
  WriteControl(L"tab", text);
  SkinnedTab tab;
  tab.SetSkin(L"base", L"tab");
  ASSERT_EQ(1, tab.Create(0, 0, 1, 1, 9, &root_));
  tab.Show(1, 0);
  struct Step {
    const char* what;
    int32_t x, y;  // the event's point in the root
    int32_t expected;
  };
  const Step steps[] = {
      {"enter", 15, 15, SkinnedTab::kOffOver}, {"leave", 90, 90, SkinnedTab::kOff},
      {"enter", 15, 15, SkinnedTab::kOffOver}, {"down", 15, 15, SkinnedTab::kPressed},
      {"up", 15, 15, SkinnedTab::kOnOver},     {"leave", 90, 90, SkinnedTab::kOn},
      {"enter", 15, 15, SkinnedTab::kOnOver},  {"down", 15, 15, SkinnedTab::kPressed},
      {"leave", 90, 90, SkinnedTab::kOn},      {"enter", 16, 16, SkinnedTab::kPressed},
      {"leave", 90, 90, SkinnedTab::kOn},      {"up", 90, 90, SkinnedTab::kOn},
      {"enter", 15, 15, SkinnedTab::kOnOver},  {"dblclk", 15, 15, SkinnedTab::kPressed},
      {"up", 15, 15, SkinnedTab::kOnOver},
  };
  for (const Step& step : steps) {
    std::string what = step.what;
    if (what == "enter" || what == "leave")
      root_.DispatchMouseMove(step.x, step.y, nullptr);
    else if (what == "down")
      root_.DispatchLButtonDown(step.x, step.y);
    else if (what == "dblclk")
      root_.DispatchLButtonDblClk(step.x, step.y);
    else
      root_.DispatchLButtonUp(step.x, step.y);
    EXPECT_EQ(step.expected, tab.tab_state()) << what << " at " << step.x;
    tab.Draw(nullptr, root_.surface(), 0);
    EXPECT_EQ(0xFF000000u | static_cast<uint32_t>(step.expected + 1) * 0x111111u, tab.surface()->Row(5)[5])
        << what;
  }
  // Two presses and a double click: three selections.
  EXPECT_EQ(3u, Logged("root.notify 6 9"));
  tab.SetTabState(SkinnedTab::kOff);
  tab.Draw(nullptr, root_.surface(), 0);
  EXPECT_EQ(0xFF111111u, tab.surface()->Row(5)[5]);
}

}  // namespace

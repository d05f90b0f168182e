// The skinned push button: its look per visual state, the caption rule, input and the hover notification,
// the frame pass under an injected clock, and what a reload gives back.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "tests/ui/skinned/SkinnedControlSkin.h"
#include "tests/ui/view/RecordingNode.h"
#include "ui/gfx/Dib.h"
#include "ui/skin/NImage.h"
#include "ui/skin/NTextBox.h"
#include "ui/skin/SkinListeners.h"
#include "ui/skinned/SkinnedButton.h"
#include "ui/view/NotifyCodes.h"

namespace {

const uint32_t kNormal = 0x101010, kOver = 0x202020, kDown = 0x303030, kDisabled = 0x404040;

class SkinnedButtonTest : public testing_support::SkinnedControlTest {
 protected:
  void SetUp() override {
    SkinnedControlTest::SetUp();
    WriteSolidImage(L"normal.bmp", 20, 10, kNormal);
    WriteSolidImage(L"over.bmp", 20, 10, kOver);
    WriteSolidImage(L"down.bmp", 20, 10, kDown);
    WriteSolidImage(L"disabled.bmp", 20, 10, kDisabled);
    ASSERT_TRUE(root_.Place(0, 0, 100, 100, nullptr));
  }
  void TearDown() override {
    root_.Destroy();
    SkinnedControlTest::TearDown();
  }

  // A button at (10, 20), 20 x 10, with the four images; `extra` adds keys and sections.
  void WriteButton(const std::wstring& name, bool disabled_image, const std::wstring& extra) {
    std::wstring text = L"[BUTTON]\r\nx=10\r\ny=20\r\nwidth=20\r\nheight=10\r\n" + extra +
                        L"[BTN_NORMAL]\r\nimage=normal.bmp\r\n[BTN_OVER]\r\nimage=over.bmp\r\n"
                        L"[BTN_DOWN]\r\nimage=down.bmp\r\n";
    if (disabled_image)
      text += L"[BTN_DISABLED]\r\nimage=disabled.bmp\r\n";
    WriteControl(name, text);
  }
  uint32_t PixelAfterDraw(SkinnedButton& button, int32_t x, int32_t y) {
    button.Draw(nullptr, root_.surface(), 0);
    return button.surface()->Row(y)[x];
  }

  testing_support::HookLog log_;
  testing_support::RecordingNode root_{"root", &log_};
};

TEST_F(SkinnedButtonTest, EachVisualStateShowsItsOwnImage) {
  WriteButton(L"btn", true, L"");
  SkinnedButton button;
  button.SetSkin(L"base", L"btn");
  ASSERT_EQ(1, button.Create(0, 0, 1, 1, 7, &root_));
  button.Show(1, 0);
  EXPECT_EQ(10, button.x());
  EXPECT_EQ(20, button.y());
  EXPECT_EQ(20, button.width());
  EXPECT_EQ(10, button.height());
  EXPECT_EQ(0xFF000000u | kNormal, PixelAfterDraw(button, 5, 5));
  root_.DispatchMouseMove(15, 25, nullptr);
  EXPECT_EQ(SkinnedButton::kVisualOver, button.VisualStateIndex());
  EXPECT_EQ(0xFF000000u | kOver, PixelAfterDraw(button, 5, 5));
  root_.DispatchLButtonDown(15, 25);
  EXPECT_EQ(0xFF000000u | kDown, PixelAfterDraw(button, 5, 5));
  root_.DispatchLButtonUp(15, 25);
  button.Enable(0);
  EXPECT_EQ(SkinnedButton::kVisualDisabled, button.VisualStateIndex());
  EXPECT_EQ(0xFF000000u | kDisabled, PixelAfterDraw(button, 5, 5));
}

TEST_F(SkinnedButtonTest, DisabledWithoutItsImageShowsOnlyTheCaption) {
  WriteControl(L"btn",
               L"[BUTTON]\r\nwidth=40\r\nheight=20\r\ntext=Go\r\n[BTN_NORMAL]\r\nimage=normal.bmp\r\n"
               L"[BTN_DISABLED]\r\nfont_id=caption\r\ntext_color_g=255\r\n");
  SkinnedButton button;
  button.SetSkin(L"base", L"btn");
  ASSERT_EQ(1, button.Create(0, 0, 1, 1, 7, &root_));
  button.Show(1, 0);
  button.Enable(0);
  button.Draw(nullptr, root_.surface(), 0);
  int caption_pixels = 0;
  for (int32_t y = 0; y < 20; ++y) {
    for (int32_t x = 0; x < 40; ++x) {
      uint32_t pixel = button.surface()->Row(y)[x];
      if (pixel == 0)
        continue;
      ++caption_pixels;
      ASSERT_EQ(0x00FF00u, pixel & 0xFFFFFFu) << x << "," << y;
    }
  }
  EXPECT_GT(caption_pixels, 0);
}

TEST_F(SkinnedButtonTest, TheOwnersCaptionWinsInEveryState) {
  std::wstring boxes;
  for (const wchar_t* section : {L"BTN_NORMAL", L"BTN_OVER", L"BTN_DOWN", L"BTN_DISABLED"})
    boxes += std::wstring(L"[") + section + L"]\r\nfont_id=caption\r\ntext=Skin\r\n";
  WriteControl(L"btn", L"[BUTTON]\r\nwidth=60\r\nheight=20\r\ntext=FromSkin\r\n" + boxes);
  SkinnedButton button;
  button.SetSkin(L"base", L"btn");
  ASSERT_EQ(1, button.Create(0, 0, 1, 1, 7, &root_));
  button.Show(1, 0);
  EXPECT_STREQ(L"FromSkin", button.text().GetString());
  button.SetText(L"Owner");
  // Reach every state, and force each box back to the section's own text before painting it.
  auto paint_in_state = [&](int32_t state) {
    ASSERT_EQ(state, button.VisualStateIndex());
    button.caption(state)->text().Assign(L"Skin");
    button.Draw(nullptr, root_.surface(), 0);
    EXPECT_STREQ(L"Owner", button.caption(state)->text().GetString()) << state;
    EXPECT_NE(nullptr, button.caption(state)->rendered()) << state;
  };
  paint_in_state(SkinnedButton::kVisualNormal);
  root_.DispatchMouseMove(5, 5, nullptr);
  paint_in_state(SkinnedButton::kVisualOver);
  root_.DispatchLButtonDown(5, 5);
  paint_in_state(SkinnedButton::kVisualDown);
  root_.DispatchLButtonUp(5, 5);
  button.Enable(0);
  paint_in_state(SkinnedButton::kVisualDisabled);
}

TEST_F(SkinnedButtonTest, PressLeaveReturnAndReleaseClicksAndEnteringReportsTheScreenRect) {
  WriteButton(L"btn", true, L"");
  RECT hovered = {0, 0, 0, 0};
  int hovers = 0;
  struct HoverProbe : testing_support::RecordingNode {
    using RecordingNode::RecordingNode;
    RECT* out = nullptr;
    int* count = nullptr;
    int32_t OnNotify(int32_t code, intptr_t p1, intptr_t p2) override {
      if (code == NOTIFY_BUTTON_HOVER) {
        *out = *reinterpret_cast<RECT*>(p2);
        ++*count;
      }
      return RecordingNode::OnNotify(code, p1, p2);
    }
  };
  HoverProbe panel("panel", &log_);
  panel.out = &hovered;
  panel.count = &hovers;
  ASSERT_TRUE(panel.Place(5, 6, 80, 80, &root_));
  SkinnedButton button;
  button.SetSkin(L"base", L"btn");
  ASSERT_EQ(1, button.Create(0, 0, 1, 1, 7, &panel));
  button.Show(1, 0);
  log_.clear();
  // The button lies at (10, 20) in the panel at (5, 6) of a root at (0, 0).
  root_.DispatchMouseMove(16, 27, nullptr);
  EXPECT_EQ(1, hovers);
  EXPECT_EQ(15, hovered.left);
  EXPECT_EQ(26, hovered.top);
  EXPECT_EQ(35, hovered.right);
  EXPECT_EQ(36, hovered.bottom);
  root_.DispatchLButtonDown(16, 27);
  EXPECT_EQ(SkinnedButton::kVisualDown, button.VisualStateIndex());
  root_.DispatchMouseMove(90, 90, nullptr);
  EXPECT_EQ(SkinnedButton::kVisualNormal, button.VisualStateIndex());
  root_.DispatchMouseMove(17, 28, nullptr);
  EXPECT_EQ(SkinnedButton::kVisualDown, button.VisualStateIndex());  // back while held: the down look
  EXPECT_EQ(2, hovers);
  root_.DispatchLButtonUp(17, 28);
  EXPECT_EQ(SkinnedButton::kVisualOver, button.VisualStateIndex());
  EXPECT_EQ(1, std::count(log_.begin(), log_.end(), "panel.notify 1 7"));
  button.Destroy();
}

TEST_F(SkinnedButtonTest, OnlyAFrameChangeOfTheShownImageRepaints) {
  WriteAnimation(L"spin", 20, 10, 0x0000FF, 0x00FF00, 100);
  WriteControl(L"btn",
               L"[BUTTON]\r\nwidth=20\r\nheight=10\r\n[BTN_NORMAL]\r\nimage=normal.bmp\r\n"
               L"[BTN_OVER]\r\nimage_id=spin\r\n");
  SkinnedButton button;
  button.SetSkin(L"base", L"btn");
  ASSERT_EQ(1, button.Create(0, 0, 1, 1, 7, &root_));
  button.Show(1, 0);
  ASSERT_NE(nullptr, button.image(SkinnedButton::kVisualOver));
  button.image(SkinnedButton::kVisualOver)->set_last_tick(1000);
  button.Draw(nullptr, root_.surface(), 0);
  button.UpdateAt(1150);  // the hidden over image turns, the shown normal one does not
  EXPECT_EQ(1, button.image(SkinnedButton::kVisualOver)->current_frame());
  EXPECT_EQ(0, button.dirty());
  root_.DispatchMouseMove(5, 5, nullptr);
  EXPECT_EQ(0xFF00FF00u, PixelAfterDraw(button, 3, 3));
  button.UpdateAt(1199);  // within the frame time: nothing
  EXPECT_EQ(0, button.dirty());
  button.UpdateAt(1200);
  EXPECT_EQ(1, button.dirty());
  EXPECT_EQ(0xFF0000FFu, PixelAfterDraw(button, 3, 3));
}

TEST_F(SkinnedButtonTest, ASizeBelowOneFailsTheCreationAndLeavesNoListener) {
  WriteControl(L"flat", L"[BUTTON]\r\nwidth=20\r\nheight=0\r\n");
  WriteControl(L"thin", L"[BUTTON]\r\nheight=5\r\n");
  for (const wchar_t* name : {L"flat", L"thin", L"missing"}) {
    SkinnedButton button;
    button.SetSkin(L"base", name);
    EXPECT_EQ(0, button.Create(0, 0, 1, 1, 7, &root_)) << name;
    EXPECT_EQ(0, SkinListenerCount()) << name;
  }
}

TEST_F(SkinnedButtonTest, AReloadGivesTheOldImagesAndCaptionsBack) {
  WriteButton(L"btn", true, L"text=Go\r\n");
  WriteIni(L"data\\skin\\skins\\dark\\btn.ini",
           L"[BUTTON]\r\nwidth=20\r\nheight=10\r\n[BTN_NORMAL]\r\nimage=over.bmp\r\nfont_id=caption\r\n");
  int live_before = Dib::LiveImages().count();
  {
    SkinnedButton button;
    button.SetSkin(L"base", L"btn");
    ASSERT_EQ(1, button.Create(0, 0, 1, 1, 7, &root_));
    button.Show(1, 0);
    int live_loaded = Dib::LiveImages().count();
    for (const wchar_t* skin : {L"dark", L"", L"dark", L""}) {
      SetCurrentSkin(skin);
      BroadcastSkinChange();
    }
    EXPECT_EQ(live_loaded, Dib::LiveImages().count());
    SetCurrentSkin(L"dark");
    BroadcastSkinChange();
    EXPECT_EQ(0xFF000000u | kOver, PixelAfterDraw(button, 5, 5));
    EXPECT_EQ(1, SkinListenerCount());
  }
  EXPECT_EQ(live_before, Dib::LiveImages().count());
  EXPECT_EQ(0, SkinListenerCount());
}

}  // namespace

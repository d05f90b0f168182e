// The skinned controls in a real pop-up window on the test display, driven by real mouse messages: the hover
// rectangle in screen coordinates, and the screenshot build/screenshots/skinned_controls.png (a hovered
// button, a checked box, three tabs, a progress bar at 60 % and a scroll bar).
#include <gtest/gtest.h>

#include <string>

#include "tests/support/WindowCapture.h"
#include "tests/ui/skinned/SkinnedControlSkin.h"
#include "ui/skinned/SkinnedButton.h"
#include "ui/skinned/SkinnedCheckButton.h"
#include "ui/skinned/SkinnedProgressCtrl.h"
#include "ui/skinned/SkinnedScrollBar.h"
#include "ui/skinned/SkinnedTab.h"
#include "ui/skinned/SkinnedWnd.h"
#include "ui/view/NotifyCodes.h"

namespace {

// The owner of the controls: it toggles the box on its click, turns the other tabs off on a selection and
// remembers the last hover rectangle.
class ControlsPanel : public SkinnedPopup {
 public:
  ~ControlsPanel() override { Destroy(); }
  SkinnedButton button;
  SkinnedCheckButton box;
  SkinnedTab tabs[3];
  SkinnedProgressCtrl progress;
  SkinnedScrollBar scroll;
  RECT hovered = {0, 0, 0, 0};
  int hovers = 0;

  int32_t OnNotify(int32_t code, intptr_t p1, intptr_t p2) override {
    if (code == NOTIFY_BUTTON_HOVER) {
      hovered = *reinterpret_cast<const RECT*>(p2);
      ++hovers;
      return 1;
    }
    if (code == NOTIFY_CLICKED && p1 == 2) {
      box.SetCheck(!box.check());
      return 1;
    }
    if (code == NOTIFY_TAB_SELECTED) {
      for (SkinnedTab& tab : tabs) {
        if (tab.id() != p1)
          tab.SetTabState(tab.hover() ? SkinnedTab::kOffOver : SkinnedTab::kOff);
      }
      return 1;
    }
    return SkinnedPopup::OnNotify(code, p1, p2);
  }
};

class SkinnedControlsWindowTest : public testing_support::SkinnedControlTest {
 protected:
  void WriteSkin() {
    WriteShadedImage(L"panel.bmp", 340, 190, 0x2A3140, 0x161A22, 0x4A5468);
    WriteControl(L"panel", L"[BACK]\r\nwidth=340\r\nheight=190\r\nback=panel.bmp\r\n");
    WriteShadedImage(L"btn_normal.bmp", 110, 30, 0x4F7FBF, 0x2F5F9F, 0x1F3F6F);
    WriteShadedImage(L"btn_over.bmp", 110, 30, 0x7FAFEF, 0x4F7FCF, 0xCFE7FF);
    WriteShadedImage(L"btn_down.bmp", 110, 30, 0x2F5F9F, 0x4F7FBF, 0x1F3F6F);
    std::wstring caption =
        L"font_id=caption\r\ntext=Play\r\ntext_x=55\r\ntext_y=15\r\ntext_align=5\r\n"
        L"text_color_r=255\r\ntext_color_g=255\r\ntext_color_b=255\r\n";
    WriteControl(L"button",
                 L"[BUTTON]\r\nx=20\r\ny=20\r\nwidth=110\r\nheight=30\r\ntext=Play\r\n"
                 L"[BTN_NORMAL]\r\nimage=btn_normal.bmp\r\n" +
                     caption + L"[BTN_OVER]\r\nimage=btn_over.bmp\r\n" + caption +
                     L"[BTN_DOWN]\r\nimage=btn_down.bmp\r\n" + caption);
    WriteShadedImage(L"chk_off.bmp", 16, 16, 0xE0E0E0, 0xB0B0B0, 0x505050);
    WriteShadedImage(L"chk_on.bmp", 16, 16, 0x60D060, 0x208020, 0x105010);
    WriteControl(L"box",
                 L"[CHECK]\r\nx=20\r\ny=66\r\nwidth=20\r\nheight=20\r\nimage_offset_x=2\r\n"
                 L"image_offset_y=2\r\n[CHK_OFF_NORMAL]\r\nimage=chk_off.bmp\r\n[CHK_OFF_OVER]\r\n"
                 L"image=chk_off.bmp\r\n[CHK_ON_NORMAL]\r\nimage=chk_on.bmp\r\n[CHK_ON_OVER]\r\n"
                 L"image=chk_on.bmp\r\n");
    WriteShadedImage(L"tab_off.bmp", 56, 24, 0x3A4150, 0x2A3140, 0x5A6478);
    WriteShadedImage(L"tab_on.bmp", 56, 24, 0xE8A040, 0xC07020, 0xFFD090);
    for (int i = 0; i < 3; ++i)
      WriteControl(
          L"tab" + std::to_wstring(i),
          L"[TAB]\r\nx=" + std::to_wstring(150 + 60 * i) +
              L"\r\ny=20\r\nwidth=56\r\nheight=24\r\n[TAB_OFF]\r\nimage=tab_off.bmp\r\n[TAB_OFF_OVER]\r\n"
              L"image=tab_off.bmp\r\n[TAB_ON]\r\nimage=tab_on.bmp\r\n[TAB_ON_OVER]\r\nimage=tab_on.bmp\r\n"
              L"[TAB_ON_DOWN]\r\nimage=tab_on.bmp\r\n");
    WriteShadedImage(L"progress_empty.bmp", 240, 14, 0x101418, 0x20262E, 0x3A4150);
    WriteShadedImage(L"progress_full.bmp", 240, 14, 0x60E0A0, 0x209060, 0x3A4150);
    WriteControl(L"progress",
                 L"[PROGRESS]\r\nx=20\r\ny=110\r\nwidth=240\r\nheight=14\r\n[PROGRESS_EMPTY]\r\n"
                 L"image=progress_empty.bmp\r\n[PROGRESS_FULL]\r\nimage=progress_full.bmp\r\n");
    WriteShadedImage(L"scr_back.bmp", 16, 150, 0x101418, 0x101418, 0x3A4150);
    WriteShadedImage(L"scr_bar.bmp", 12, 118, 0x20262E, 0x20262E, 0x20262E);
    WriteShadedImage(L"scr_thumb.bmp", 12, 30, 0x8A94A8, 0x5A6478, 0xAAB4C8);
    WriteShadedImage(L"scr_button.bmp", 12, 14, 0x4A5468, 0x3A4150, 0x6A7488);
    WriteControl(L"scroll",
                 L"[SCROLL_BAR]\r\nx=300\r\ny=20\r\nwidth=16\r\nheight=150\r\nback=scr_back.bmp\r\n"
                 L"button_size=16\r\nthumb_size=30\r\nvertical=1\r\nbar_x=2\r\nthumb_x=2\r\n"
                 L"dec_x=2\r\ndec_y=1\r\ninc_x=2\r\ninc_y=135\r\n[SCR_BAR_NORMAL]\r\nimage=scr_bar.bmp\r\n"
                 L"[SCR_THUMB_NORMAL]\r\nimage=scr_thumb.bmp\r\n[SCR_DEC_NORMAL]\r\n"
                 L"image=scr_button.bmp\r\n[SCR_INC_NORMAL]\r\nimage=scr_button.bmp\r\n");
  }
  bool CreateControls(ControlsPanel& panel) {
    panel.button.SetSkin(L"base", L"button");
    panel.box.SetSkin(L"base", L"box");
    panel.progress.SetSkin(L"base", L"progress");
    panel.scroll.SetSkin(L"base", L"scroll");
    bool created = panel.button.Create(0, 0, 1, 1, 1, &panel) && panel.box.Create(0, 0, 1, 1, 2, &panel) &&
                   panel.progress.Create(0, 0, 1, 1, 4, &panel) && panel.scroll.Create(0, 0, 1, 1, 5, &panel);
    for (int i = 0; i < 3; ++i) {
      panel.tabs[i].SetSkin(L"base", (L"tab" + std::to_wstring(i)).c_str());
      created = created && panel.tabs[i].Create(0, 0, 1, 1, 10 + i, &panel);
    }
    for (NWnd* node : {static_cast<NWnd*>(&panel.button), static_cast<NWnd*>(&panel.box),
                       static_cast<NWnd*>(&panel.progress), static_cast<NWnd*>(&panel.scroll),
                       static_cast<NWnd*>(&panel.tabs[0]), static_cast<NWnd*>(&panel.tabs[1]),
                       static_cast<NWnd*>(&panel.tabs[2])})
      node->Show(1, 0);
    return created;
  }
};

TEST_F(SkinnedControlsWindowTest, ControlsInAPopupAnswerRealMouseMessagesAndAreCaptured) {
  WriteSkin();
  ControlsPanel panel;
  panel.SetSkin(L"base", L"panel");
  ASSERT_EQ(1, panel.CreatePopup(0, 0, 1, 1, nullptr, NPopup::kToolWindow | NPopup::kTopmost));
  panel.Move(300, 200);
  panel.Show(1, 0);
  ASSERT_TRUE(CreateControls(panel));
  HWND window = panel.window_handle();
  panel.progress.SetPos(0.6);
  panel.scroll.Setup(1, 16, 30, 10, 40);

  // The box: a click toggles it through its owner. The third tab: selected on the press.
  testing_support::ClickAt(window, 30, 76);
  EXPECT_EQ(1, panel.box.check());
  testing_support::ClickAt(window, 150 + 120 + 20, 30);
  EXPECT_EQ(SkinnedTab::kOnOver, panel.tabs[2].tab_state());
  EXPECT_EQ(SkinnedTab::kOff, panel.tabs[0].tab_state());
  // Two steps of the scroll bar's increment button.
  testing_support::ClickAt(window, 308, 162);
  testing_support::ClickAt(window, 308, 162);
  EXPECT_EQ(2, panel.scroll.position());
  // Hovering the button reports its rectangle on the screen.
  panel.hovers = 0;
  testing_support::MoveMouse(window, 60, 35);
  EXPECT_EQ(SkinnedButton::kVisualOver, panel.button.VisualStateIndex());
  EXPECT_EQ(1, panel.hovers);
  EXPECT_EQ(320, panel.hovered.left);
  EXPECT_EQ(220, panel.hovered.top);
  EXPECT_EQ(430, panel.hovered.right);
  EXPECT_EQ(250, panel.hovered.bottom);

  ASSERT_TRUE(testing_support::WaitUntilPainted(window, 3000));
  testing_support::PngImage shot = testing_support::CaptureWindow(window);
  EXPECT_TRUE(testing_support::SaveScreenshot(shot, L"skinned_controls.png"));
  // The hovered button's light frame, the checked box's green, the selected tab's orange, and the progress
  // bar filled at 60 % of 240 pixels but not beyond.
  EXPECT_EQ(0xCFE7FFu, testing_support::PixelAt(shot, 20, 20));
  EXPECT_GT((testing_support::PixelAt(shot, 30, 76) >> 8) & 0xFF, 0x80u);
  EXPECT_GT(testing_support::PixelAt(shot, 290, 35) >> 16, 0xB0u);
  EXPECT_GT((testing_support::PixelAt(shot, 20 + 100, 117) >> 8) & 0xFF, 0x80u);
  EXPECT_LT((testing_support::PixelAt(shot, 20 + 150, 117) >> 8) & 0xFF, 0x40u);
  panel.Destroy();
}

}  // namespace

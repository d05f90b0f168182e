// Runs the skin sample (tools/skin_sample) on the test display, clicks through it with real window messages
// sent to its dialog from this process (synthetic mouse messages, with the pointer placed on each point so
// that the window's mouse-leave tracking agrees), saves a screenshot of it as screenshots/skin_sample.png in
// the build folder, and closes it with its own button.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/TempFolder.h"
#include "tests/support/Timing.h"
#include "tests/support/WindowCapture.h"
#include "tests/support/WinePaths.h"
#include "tools/skin_sample/SampleLayout.h"

namespace {

using namespace testing_support;
namespace sample = skin_sample;

// Owns the sample's process; ends it when the test failed half way.
struct SampleProcess {
  PROCESS_INFORMATION info = {};
  ~SampleProcess() {
    if (info.hProcess != nullptr) {
      if (WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT)
        TerminateProcess(info.hProcess, 99);
      CloseHandle(info.hProcess);
      CloseHandle(info.hThread);
    }
  }
};

HWND WaitForDialog() {
  for (int i = 0; i < 200; ++i) {
    HWND window = FindWindowW(nullptr, sample::kTitle);
    RECT rect;
    if (window != nullptr && IsWindowVisible(window) && GetWindowRect(window, &rect) &&
        rect.right - rect.left == sample::kDialogWidth)
      return window;
    Sleep(50);
  }
  return nullptr;
}

void Click(HWND window, const RECT& control) {
  POINT at = {(control.left + control.right) / 2, (control.top + control.bottom) / 2};
  RECT frame;
  GetWindowRect(window, &frame);
  SetCursorPos(frame.left + at.x, frame.top + at.y);
  LPARAM point = MAKELPARAM(at.x, at.y);
  SendMessageW(window, WM_MOUSEMOVE, 0, point);
  SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, point);
  SendMessageW(window, WM_LBUTTONUP, 0, point);
}

// The system's button shadow colour as 0xRRGGBB.
uint32_t ShadowRgb() {
  COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
  return GetRValue(shadow) << 16 | GetGValue(shadow) << 8 | GetBValue(shadow);
}

// The sample repaints on its frame timer: captures the window until the last step's progress has reached the
// screen (45 % of the bar filled, which 52 % fills and the 22 % set before does not). False after 10 s (a
// loaded machine may run the frame timer late), with the last capture in `shot`. The capture reads the screen,
// so the test runs alone (SERIAL): no other test's window may cover the dialog.
bool CaptureOnceProgressPainted(HWND dialog, uint32_t shadow_rgb, PngImage* shot) {
  const int filled_x = sample::kProgress.left + (sample::kProgress.right - sample::kProgress.left) * 45 / 100;
  return WaitUntil(10000, [&] {
    *shot = CaptureWindow(dialog);
    return PixelAt(*shot, filled_x, sample::kProgress.top + 8) == shadow_rgb;
  });
}

TEST(SkinSample, ClicksThroughTheSampleDialogAndSavesItsScreenshot) {
  TempFolder folder(L"sample");
  std::wstring command = L"\"" + WindowsPathOf(SKIN_SAMPLE_EXE) + L"\" \"" + folder.path() + L"\"";
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  SampleProcess process;
  ASSERT_TRUE(CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                             &process.info));
  HWND dialog = WaitForDialog();
  ASSERT_NE(nullptr, dialog);

  // Two page steps of the scroll bar (position 20 of 90 sets 22 %), then three steps of the progress (52 %).
  RECT after_thumb = sample::kScrollBar;
  after_thumb.left = sample::kScrollBar.right - 2 * sample::kScrollButton;
  after_thumb.right = sample::kScrollBar.right - sample::kScrollButton - 1;
  Click(dialog, after_thumb);
  Click(dialog, after_thumb);
  for (int i = 0; i < 3; ++i)
    Click(dialog, sample::kStepButton);
  const uint32_t shadow_rgb = ShadowRgb();
  PngImage shot;
  EXPECT_TRUE(CaptureOnceProgressPainted(dialog, shadow_rgb, &shot));
  EXPECT_TRUE(SaveScreenshot(shot, L"skin_sample.png"));
  // The header band of the background is dark blue (the skin's image reached the screen), and the progress
  // bar is filled in the shadow colour at its start but not at its end.
  EXPECT_LT(PixelAt(shot, 180, 44) >> 16, 0x40u);
  EXPECT_GT(PixelAt(shot, 180, 44) & 0xFF, 0x40u);
  EXPECT_EQ(shadow_rgb, PixelAt(shot, sample::kProgress.left + 3, sample::kProgress.top + 8));
  EXPECT_NE(shadow_rgb, PixelAt(shot, sample::kProgress.right - 3, sample::kProgress.top + 8));

  Click(dialog, sample::kCloseButton);
  ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process.info.hProcess, 10000));
  DWORD exit_code = 99;
  GetExitCodeProcess(process.info.hProcess, &exit_code);
  EXPECT_EQ(0u, exit_code);
  std::string result;
  ASSERT_TRUE(ReadFileBytes(folder.Join(L"result.txt"), &result));
  while (!result.empty() && (result.back() == '\n' || result.back() == '\r'))
    result.pop_back();
  EXPECT_EQ("clicks=4 progress=52 scroll=20", result);
}

}  // namespace

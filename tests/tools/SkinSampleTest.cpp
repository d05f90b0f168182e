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
#include "tests/support/WinePaths.h"
#include "tests/ui/gfx/TestImages.h"
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

// The window's pixels as they are on the screen, as RGBA rows top to bottom.
PngImage CaptureWindow(HWND window) {
  RECT frame;
  GetWindowRect(window, &frame);
  PngImage image;
  image.width = frame.right - frame.left;
  image.height = frame.bottom - frame.top;
  image.color_type = 6;  // RGBA
  HDC screen = GetDC(nullptr);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = image.width;
  info.bmiHeader.biHeight = -static_cast<LONG>(image.height);  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC memory = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, image.width, image.height, screen, frame.left, frame.top, SRCCOPY);
  GdiFlush();
  const uint32_t* pixels = static_cast<const uint32_t*>(bits);
  for (size_t i = 0; i < static_cast<size_t>(image.width) * image.height; ++i) {
    image.pixels.push_back(static_cast<uint8_t>(pixels[i] >> 16));
    image.pixels.push_back(static_cast<uint8_t>(pixels[i] >> 8));
    image.pixels.push_back(static_cast<uint8_t>(pixels[i]));
    image.pixels.push_back(255);
  }
  SelectObject(memory, old);
  DeleteDC(memory);
  DeleteObject(bitmap);
  ReleaseDC(nullptr, screen);
  return image;
}

// The pixel (x, y) of a capture as 0xRRGGBB.
uint32_t PixelAt(const PngImage& image, int x, int y) {
  size_t at = (static_cast<size_t>(y) * image.width + x) * 4;
  return static_cast<uint32_t>(image.pixels[at]) << 16 | image.pixels[at + 1] << 8 | image.pixels[at + 2];
}

// The system's button shadow colour as 0xRRGGBB.
uint32_t ShadowRgb() {
  COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
  return GetRValue(shadow) << 16 | GetGValue(shadow) << 8 | GetBValue(shadow);
}

// The sample repaints on its frame timer: captures the window until the last step's progress has reached the
// screen (45 % of the bar filled, which 52 % fills and the 22 % set before does not). False after 5 s, with
// the last capture in `shot`.
bool CaptureOnceProgressPainted(HWND dialog, uint32_t shadow_rgb, PngImage* shot) {
  const int filled_x = sample::kProgress.left + (sample::kProgress.right - sample::kProgress.left) * 45 / 100;
  return WaitUntil(5000, [&] {
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
  std::string png = PngBytes(shot);
  ASSERT_FALSE(png.empty());
  std::wstring shots = WindowsPathOf(std::string(ORVANE_BINARY_DIR) + "/screenshots");
  ASSERT_TRUE(MakeFolders(shots));
  EXPECT_TRUE(WriteFileBytes(shots + L"\\skin_sample.png", png));
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

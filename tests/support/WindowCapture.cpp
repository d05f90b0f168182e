#include "tests/support/WindowCapture.h"

#include <cstdio>

#include "tests/support/TempFolder.h"
#include "tests/support/WinePaths.h"

namespace testing_support {

PngImage CaptureWindow(HWND window) {
  RECT frame;
  GetWindowRect(window, &frame);
  return CaptureScreen(frame);
}

PngImage CaptureScreen(const RECT& frame) {
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
  for (size_t i = 0; pixels != nullptr && i < static_cast<size_t>(image.width) * image.height; ++i) {
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

uint32_t PixelAt(const PngImage& image, int x, int y) {
  size_t at = (static_cast<size_t>(y) * image.width + x) * 4;
  if (at + 2 >= image.pixels.size())
    return 0;
  return static_cast<uint32_t>(image.pixels[at]) << 16 | image.pixels[at + 1] << 8 | image.pixels[at + 2];
}

bool SaveScreenshot(const PngImage& image, const std::wstring& name) {
  std::string png = PngBytes(image);
  if (png.empty())
    return false;
  std::wstring shots = WindowsPathOf(std::string(ORVANE_BINARY_DIR) + "/screenshots");
  return MakeFolders(shots) && WriteFileBytes(shots + L"\\" + name, png);
}

void MoveMouse(HWND window, int x, int y) {
  POINT screen = {x, y};
  ClientToScreen(window, &screen);
  SetCursorPos(screen.x, screen.y);
  SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
}

void ClickAt(HWND window, int x, int y) {
  MoveMouse(window, x, y);
  SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeout_ms) {
  DWORD start = GetTickCount();
  for (;;) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    if (done())
      return true;
    if (GetTickCount() - start >= timeout_ms)
      return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
}

namespace {

BOOL CALLBACK FindUnpaintedChild(HWND child, LPARAM found) {
  if (IsWindowVisible(child) && GetUpdateRect(child, nullptr, FALSE)) {
    *reinterpret_cast<bool*>(found) = true;
    return FALSE;
  }
  return TRUE;
}

// True when neither the window nor any visible descendant waits for a repaint: a child window that was just
// shown (the launcher's body after a restore or a restart) still shows black until it has painted.
bool NothingToRepaint(HWND window) {
  if (GetUpdateRect(window, nullptr, FALSE))
    return false;
  bool unpainted_child = false;
  EnumChildWindows(window, FindUnpaintedChild, reinterpret_cast<LPARAM>(&unpainted_child));
  return !unpainted_child;
}

}  // namespace

bool WaitUntilPainted(HWND window, DWORD timeout_ms) {
  bool painted = PumpUntil([window] { return NothingToRepaint(window); }, timeout_ms);
  GdiFlush();
  return painted;
}

}  // namespace testing_support

namespace testing_support {

namespace {

POINT ScreenPoint(HWND window, int x, int y) {
  POINT screen = {x, y};
  ClientToScreen(window, &screen);
  return screen;
}

// A mouse event at the screen point: absolute input runs over 0..65535 across the screen, and the middle of a
// pixel lands on that pixel.
INPUT MouseInputAt(POINT screen, DWORD flags) {
  INPUT input = {};
  input.type = INPUT_MOUSE;
  input.mi.dx = static_cast<LONG>((screen.x * 65536LL + 32768) / GetSystemMetrics(SM_CXSCREEN));
  input.mi.dy = static_cast<LONG>((screen.y * 65536LL + 32768) / GetSystemMetrics(SM_CYSCREEN));
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | flags;
  return input;
}

}  // namespace

bool InputMove(HWND window, int x, int y) {
  INPUT move = MouseInputAt(ScreenPoint(window, x, y), 0);
  return SendInput(1, &move, sizeof(INPUT)) == 1;
}

bool InputClick(HWND window, int x, int y, bool right_button) {
  POINT screen = ScreenPoint(window, x, y);
  INPUT press[2] = {MouseInputAt(screen, right_button ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN),
                    MouseInputAt(screen, right_button ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP)};
  return SendInput(2, press, sizeof(INPUT)) == 2;
}

bool OnTopAt(HWND window, int x, int y) {
  HWND under = WindowFromPoint(ScreenPoint(window, x, y));
  return under != nullptr && GetAncestor(under, GA_ROOT) == window;
}

std::string DescribeWindowAt(HWND window, int x, int y) {
  POINT screen = ScreenPoint(window, x, y);
  HWND under = WindowFromPoint(screen);
  HWND root = under != nullptr ? GetAncestor(under, GA_ROOT) : nullptr;
  wchar_t class_name[64] = {}, title[64] = {};
  DWORD process_id = 0;
  if (root != nullptr) {
    GetClassNameW(root, class_name, 64);
    GetWindowTextW(root, title, 64);
    GetWindowThreadProcessId(root, &process_id);
  }
  char text[400];
  snprintf(text, sizeof(text),
           "at (%ld, %ld): window %p (class \"%ls\", title \"%ls\", process %lu); foreground %p", screen.x,
           screen.y, static_cast<void*>(root), class_name, title, process_id,
           static_cast<void*>(GetForegroundWindow()));
  return text;
}

}  // namespace testing_support

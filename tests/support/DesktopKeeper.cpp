// Keeps the Wine desktop of a test run up: a hidden window that is never shown, in a process that the test
// script starts once per prefix with no pipes attached. Without it the desktop process ends whenever the last
// window closes, and the next window test starts it again; the new desktop process inherits that test's output
// pipe, so ctest waits for that test until every window on the display has closed.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  WNDCLASSW window_class = {};
  window_class.lpfnWndProc = DefWindowProcW;
  window_class.hInstance = instance;
  window_class.lpszClassName = L"OrvaneTestDesktopKeeper";
  if (RegisterClassW(&window_class) == 0)
    return 1;
  if (CreateWindowExW(WS_EX_TOOLWINDOW, window_class.lpszClassName, L"", WS_POPUP, 0, 0, 1, 1, nullptr,
                      nullptr, instance, nullptr) == nullptr)
    return 1;
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0)
    DispatchMessageW(&message);
  return 0;
}

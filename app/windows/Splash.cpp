#include "app/windows/Splash.h"

#include <process.h>

#include "app/texts/MessageTexts.h"

namespace {

const DWORD kSplashStyle = WS_POPUP | WS_BORDER;

// Owned by the user-interface thread: written by StartSplash and StopSplash only.
HANDLE g_thread = nullptr;
DWORD g_thread_id = 0;
wchar_t g_text[256];
HICON g_icon = nullptr;

void PaintSplash(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  wchar_t title[1024] = {};
  GetWindowTextW(window, title, 1024);
  RECT client;
  GetClientRect(window, &client);
  FillRect(dc, &client, GetSysColorBrush(COLOR_INFOBK));
  const LauncherMessageFont& font = GetLauncherMessageFont();
  HGDIOBJ old_font = font.font != nullptr ? SelectObject(dc, font.font) : nullptr;
  SetBkMode(dc, TRANSPARENT);
  TextOutW(dc, font.gap_x, font.gap_y, title, lstrlenW(title));
  if (old_font != nullptr)
    SelectObject(dc, old_font);
  EndPaint(window, &paint);
}

LRESULT CALLBACK SplashProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_PAINT) {
    PaintSplash(window);
    return 0;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

// The text's size in the launcher font, with its margins, as a window rectangle centred on the screen.
void PlaceSplash(HWND window, const wchar_t* text) {
  const LauncherMessageFont& font = GetLauncherMessageFont();
  HDC dc = GetDC(window);
  HGDIOBJ old_font = font.font != nullptr ? SelectObject(dc, font.font) : nullptr;
  SIZE size = {};
  GetTextExtentPoint32W(dc, text, lstrlenW(text), &size);
  if (old_font != nullptr)
    SelectObject(dc, old_font);
  ReleaseDC(window, dc);
  RECT rect = {0, 0, size.cx + 2 * font.gap_x, size.cy + 2 * font.gap_y};
  AdjustWindowRect(&rect, kSplashStyle, FALSE);
  int width = rect.right - rect.left, height = rect.bottom - rect.top;
  SetWindowPos(window, HWND_TOPMOST, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height, SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

unsigned __stdcall SplashThread(void* argument) {
  const wchar_t* text = static_cast<const wchar_t*>(argument);
  WNDCLASSW window_class = {};
  window_class.lpfnWndProc = SplashProcedure;
  window_class.hIcon = g_icon;
  window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  window_class.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  window_class.lpszClassName = text;
  RegisterClassW(&window_class);
  // Shown once placed, and never activated: the focus stays where the user has it, and no window has to
  // take it back from the splash when it goes.
  HWND window = CreateWindowExW(WS_EX_TOPMOST | WS_EX_NOACTIVATE, text, text, kSplashStyle, CW_USEDEFAULT,
                                CW_USEDEFAULT, 1, 1, nullptr, nullptr, nullptr, nullptr);
  if (window == nullptr) {
    UnregisterClassW(text, nullptr);
    return 1;
  }
  PlaceSplash(window, text);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  DestroyWindow(window);
  UnregisterClassW(text, nullptr);
  return 0;
}

}  // namespace

void StartSplash(const wchar_t* text, HICON icon) {
  if (g_thread != nullptr)
    return;
  g_icon = icon;
  lstrcpynW(g_text, text != nullptr ? text : L"", 256);
  unsigned id = 0;
  uintptr_t thread = _beginthreadex(nullptr, 0, &SplashThread, g_text, 0, &id);
  if (thread == 0)
    return;
  g_thread = reinterpret_cast<HANDLE>(thread);
  g_thread_id = id;
  // The first post succeeds once the thread has a message queue; a thread that ended without one (no window)
  // ends the wait too.
  while (!PostThreadMessageW(g_thread_id, WM_USER, 0, 0)) {
    if (WaitForSingleObject(g_thread, 1) == WAIT_OBJECT_0)
      break;
  }
}

void StopSplash() {
  if (g_thread == nullptr)
    return;
  PostThreadMessageW(g_thread_id, WM_QUIT, 0, 0);
  WaitForSingleObject(g_thread, INFINITE);
  CloseHandle(g_thread);
  g_thread = nullptr;
  g_thread_id = 0;
}

DWORD SplashThreadId() {
  return g_thread_id;
}

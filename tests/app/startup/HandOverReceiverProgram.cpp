// A stand-in for a restarted launcher: a program that shows a dialog of the launcher's window class and
// title and writes the user name of the hand-over record it receives into a file, as a launcher takes it on.
//
//   orvane_hand_over_receiver.exe <title> <output file> <delay ms>
// waits <delay ms> before it makes its window (a launcher's start-up); a delay of -1 ends the program at once
// without a window (a launcher that failed to start). Without a hand-over the program ends after 30 s.
#include <windows.h>

#include <cstdio>
#include <cwchar>

#include "app/session/HandOver.h"
#include "app/startup/SingleInstance.h"

namespace {

const wchar_t* g_output = nullptr;

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  HandOverRecord record;
  if (message != WM_COPYDATA || !ReadHandOverRecord(reinterpret_cast<COPYDATASTRUCT*>(lparam), &record))
    return DefWindowProcW(window, message, wparam, lparam);
  if (FILE* file = _wfopen(g_output, L"wb")) {
    std::fwrite(record.UserNick, sizeof(wchar_t), std::wcslen(record.UserNick), file);
    std::fclose(file);
  }
  PostQuitMessage(0);
  return TRUE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 4)
    return 2;
  g_output = argv[2];
  const int delay_ms = _wtoi(argv[3]);
  if (delay_ms < 0)
    return 0;
  Sleep(static_cast<DWORD>(delay_ms));
  WNDCLASSW window_class = {};
  window_class.lpfnWndProc = &Procedure;
  window_class.lpszClassName = kLauncherDialogClass;
  RegisterClassW(&window_class);
  HWND window = CreateWindowExW(0, kLauncherDialogClass, argv[1], WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                nullptr, nullptr);
  if (window == nullptr)
    return 3;
  SetTimer(window, 1, 30000, nullptr);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (message.message == WM_TIMER)
      break;
    DispatchMessageW(&message);
  }
  DestroyWindow(window);
  return 0;
}

#include "app/games/GameHooks.h"

#include <windows.h>

namespace {

volatile LONG g_close_request = 0;
GameMessagePresenter g_presenter = nullptr;

void ShowSystemMessageBox(const wchar_t* text) {
  MessageBoxW(nullptr, text, L"", MB_OK | MB_ICONINFORMATION);
}

}  // namespace

void RequestLauncherClose() {
  InterlockedExchange(&g_close_request, 1);
}

bool TakeLauncherCloseRequest() {
  return InterlockedExchange(&g_close_request, 0) != 0;
}

void SetGameMessagePresenter(GameMessagePresenter presenter) {
  g_presenter = presenter;
}

void ShowGameMessage(const wchar_t* text) {
  (g_presenter != nullptr ? g_presenter : &ShowSystemMessageBox)(text != nullptr ? text : L"");
}

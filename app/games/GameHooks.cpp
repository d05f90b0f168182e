#include "app/games/GameHooks.h"

#include <windows.h>

namespace {

volatile LONG g_close_request = 0;
GameMessagePresenter g_presenter = nullptr;
GameQuestionPresenter g_question_presenter = nullptr;

bool ShowSystemMessageBox(const wchar_t* text) {
  MessageBoxW(nullptr, text, L"", MB_OK | MB_ICONINFORMATION);
  return true;
}

int AskWithSystemMessageBox(const wchar_t* text) {
  return MessageBoxW(nullptr, text, L"", MB_OKCANCEL | MB_ICONQUESTION) == IDOK ? 1 : 2;
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

bool ShowGameMessage(const wchar_t* text) {
  return (g_presenter != nullptr ? g_presenter : &ShowSystemMessageBox)(text != nullptr ? text : L"");
}

void SetGameQuestionPresenter(GameQuestionPresenter presenter) {
  g_question_presenter = presenter;
}

int AskGameQuestion(const wchar_t* text) {
  return (g_question_presenter != nullptr ? g_question_presenter
                                          : &AskWithSystemMessageBox)(text != nullptr ? text : L"");
}

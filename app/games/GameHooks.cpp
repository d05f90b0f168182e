#include "app/games/GameHooks.h"

#include <windows.h>

#include <string>

namespace {

volatile LONG g_close_request = 0;
GameMessagePresenter g_presenter = nullptr;
GameQuestionPresenter g_question_presenter = nullptr;

void ShowSystemMessageBox(const wchar_t* text) {
  MessageBoxW(nullptr, text, L"", MB_OK | MB_ICONINFORMATION);
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

void ShowGameMessage(const wchar_t* text) {
  (g_presenter != nullptr ? g_presenter : &ShowSystemMessageBox)(text != nullptr ? text : L"");
}

void SetGameQuestionPresenter(GameQuestionPresenter presenter) {
  g_question_presenter = presenter;
}

int AskGameQuestion(const wchar_t* text) {
  return (g_question_presenter != nullptr ? g_question_presenter : &AskWithSystemMessageBox)(text != nullptr ? text
                                                                                                              : L"");
}

namespace {

// `format` with each two-character `placeholder` replaced by `value` and "%%" by "%".
std::wstring ReplacePlaceholder(const wchar_t* format, wchar_t placeholder, const std::wstring& value) {
  std::wstring text;
  if (format == nullptr)
    return text;
  for (const wchar_t* position = format; *position != 0; ++position) {
    if (position[0] == L'%' && position[1] == placeholder) {
      text += value;
      ++position;
    } else if (position[0] == L'%' && position[1] == L'%') {
      text += L'%';
      ++position;
    } else {
      text += *position;
    }
  }
  return text;
}

}  // namespace

std::wstring FormatMessageText(const wchar_t* format, const wchar_t* value) {
  return ReplacePlaceholder(format, L's', value != nullptr ? value : L"");
}

std::wstring FormatMessageNumber(const wchar_t* format, int32_t value) {
  return ReplacePlaceholder(format, L'd', std::to_wstring(value));
}

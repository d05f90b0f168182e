#include "ui/skinned/SearchEdit.h"

#include "ui/view/NotifyCodes.h"

SearchEdit::~SearchEdit() {
  Destroy();
}

void SearchEdit::ShowHint() {
  hint_shown_ = 1;
  SetText(hint_text_.GetString());
}

void SearchEdit::SetHintText(const wchar_t* text) {
  hint_text_.Assign(text);
  if (focused())
    return;
  const wchar_t* current = GetText();
  if (current == nullptr || current[0] == L'\0' || hint_shown_)
    ShowHint();
}

void SearchEdit::OnSetFocus() {
  if (!hint_shown_)
    return;
  hint_shown_ = 0;
  SetText(L"");
}

void SearchEdit::OnKillFocus() {
  const wchar_t* current = GetText();
  if (current != nullptr && current[0] != L'\0')
    return;
  ShowHint();
}

int32_t SearchEdit::PreTranslateMessage(HWND /*window*/, MSG* message) {
  if (message == nullptr || message->message != WM_KEYDOWN || message->wParam != VK_RETURN ||
      message->hwnd != window_handle())
    return 0;
  if (parent() != nullptr)
    NWnd::NotifyParents(parent(), NOTIFY_CLICKED, id(), 0);
  return 1;
}

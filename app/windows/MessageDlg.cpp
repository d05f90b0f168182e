#include "app/windows/MessageDlg.h"

#include "ui/view/NotifyCodes.h"

MessageDlg::~MessageDlg() {
  Destroy();
}

void MessageDlg::SetMessage(int32_t kind, const wchar_t* text) {
  body_.SetContent(kind, text);
  Invalidate();
}

int32_t MessageDlg::OnCreate() {
  if (!SkinnedDialog::OnCreate())
    return 0;
  return body_.CreateButtons(this, category_id().GetString());
}

void MessageDlg::OnSkinLoaded() {
  body_.LoadTextBox(ini(), category_id().GetString());
}

void MessageDlg::OnPaint(HDC dc, Dib* surface) {
  SkinnedDialog::OnPaint(dc, surface);
  body_.Paint(surface);
}

int32_t MessageDlg::OnNotify(int32_t code, intptr_t p1, intptr_t p2) {
  if (code == NOTIFY_CLICKED && p1 == MessageBody::kFirstButtonId) {
    OnOK();
    return 1;
  }
  if (code == NOTIFY_CLICKED && p1 == MessageBody::kSecondButtonId) {
    OnCancel();
    return 1;
  }
  return SkinnedDialog::OnNotify(code, p1, p2);
}

INT_PTR ShowMessageDialog(int32_t kind, const wchar_t* text, HWND owner) {
  MessageDlg dialog;
  dialog.SetSkin(L"etc", L"message_wnd");
  dialog.SetMessage(kind, text);
  dialog.set_modal_owner(owner);
  return dialog.DoModal();
}

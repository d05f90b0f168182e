#include "app/windows/NotiPopup.h"

#include <string>

#include "ui/view/NotifyCodes.h"

NotiPopup::~NotiPopup() {
  Destroy();
}

void NotiPopup::SetContent(const wchar_t* key, const wchar_t* text, PopupCallback callback, int32_t kind) {
  key_.Assign(key);
  callback_ = callback;
  body_.SetContent(kind, text);
  Invalidate();
}

int32_t NotiPopup::OnCreate() {
  if (!SkinnedPopup::OnCreate())
    return 0;
  return body_.CreateButtons(this, category_id().GetString());
}

void NotiPopup::OnSkinLoaded() {
  body_.LoadTextBox(ini(), category_id().GetString());
}

void NotiPopup::OnPaint(HDC dc, Dib* surface) {
  SkinnedPopup::OnPaint(dc, surface);
  body_.Paint(surface);
}

int32_t NotiPopup::OnNotify(int32_t code, intptr_t p1, intptr_t p2) {
  if (code == NOTIFY_CLICKED && (p1 == MessageBody::kFirstButtonId || p1 == MessageBody::kSecondButtonId)) {
    if (p1 == MessageBody::kFirstButtonId)
      ok_clicked_ = 1;
    // Posted: the owner's callback may delete this pop-up, which must not happen inside the button's click.
    PostMessageW(window_handle(), WM_CLOSE, 0, 0);
    return 1;
  }
  return SkinnedPopup::OnNotify(code, p1, p2);
}

void NotiPopup::OnClose() {
  SkinnedPopup::OnClose();
  if (callback_ == nullptr)
    return;
  // Copied out: the callback may delete this pop-up, key included; nothing of it is touched afterwards.
  std::wstring key = key_.GetString();
  PopupCallback callback = callback_;
  callback(key.c_str(), ok_clicked_);
}

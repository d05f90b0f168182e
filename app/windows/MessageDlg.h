// MessageDlg: the launcher's modal skinned message dialog: a text and one button (OK, kind 0) or two (OK and
// cancel, any other kind). OK ends the modal run with IDOK, cancel (or closing the window) with IDCANCEL.
//
// Skin: category id "etc", skin name "message_wnd" (set by ShowMessageDialog): the BACK section of
// SkinnedDialog.h and the [MESSAGE] text box and buttons of MessageBody.h.
//
// Life: on the stack for one modal run: construct, SetSkin, SetMessage, DoModal.
// Thread: user-interface thread only.
#pragma once

#include <windows.h>

#include <cstdint>

#include "app/windows/MessageBody.h"
#include "ui/skinned/SkinnedDialog.h"

class MessageDlg : public SkinnedDialog {
 public:
  MessageDlg() = default;
  ~MessageDlg() override;

  // Stores kind and text (the kind takes effect at creation); the text is shown at once when the dialog is up.
  void SetMessage(int32_t kind, const wchar_t* text);

  int32_t OnCreate() override;
  void OnPaint(HDC dc, Dib* surface) override;
  int32_t OnNotify(int32_t code, intptr_t p1, intptr_t p2) override;
  void OnSkinLoaded() override;

  MessageBody& body() { return body_; }

 private:
  MessageBody body_;
};

// Runs a MessageDlg of `kind` with `text` modally (category "etc", skin "message_wnd") and returns its result:
// IDOK, IDCANCEL, or -1 when the dialog could not be made (its skin did not load). A given `owner` window
// owns the message and takes no input until it is answered.
INT_PTR ShowMessageDialog(int32_t kind, const wchar_t* text, HWND owner = nullptr);

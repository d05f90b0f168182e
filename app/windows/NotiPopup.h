// NotiPopup: the launcher's non-modal notification pop-up: a text and one or two buttons (MessageBody.h). It
// stays until the user closes it, then reports the answer to its callback: 1 when the OK button was
// clicked, 0 for the cancel button or any other close (WM_CLOSE). Closing only reports: the pop-up's owner
// deletes it (PopupMessage.h), and may do so from inside the callback, since nothing of the pop-up is used
// after the callback returns.
//
// The buttons post WM_CLOSE rather than send it, so the close (and a callback that deletes the pop-up)
// comes after the click has left the button's own handler.
//
// Skin: category id "etc", skin name "message_wnd" (set by PopupMessage::Show): the BACK section of
// SkinBackground.h, the [MESSAGE] text box and the buttons of MessageBody.h.
//
// Thread: user-interface thread only.
#pragma once

#include <windows.h>

#include <cstdint>

#include "app/windows/MessageBody.h"
#include "ui/base/String.h"
#include "ui/skinned/SkinnedWnd.h"

// The answer of a closed pop-up: its key (empty when none) and 1 for OK, else 0.
typedef void (*PopupCallback)(const wchar_t* key, int32_t answer);

class NotiPopup : public SkinnedPopup {
 public:
  NotiPopup() = default;
  ~NotiPopup() override;

  // Stores key, text, callback (may be null) and kind; the text is shown at once when the pop-up is up.
  void SetContent(const wchar_t* key, const wchar_t* text, PopupCallback callback, int32_t kind);

  int32_t OnCreate() override;
  void OnPaint(HDC dc, Dib* surface) override;
  int32_t OnNotify(int32_t code, intptr_t p1, intptr_t p2) override;
  void OnClose() override;
  void OnSkinLoaded() override;

  int32_t ok_clicked() const { return ok_clicked_; }
  const String& key() const { return key_; }
  MessageBody& body() { return body_; }

 private:
  MessageBody body_;
  String key_;
  int32_t ok_clicked_ = 0;
  PopupCallback callback_ = nullptr;
};

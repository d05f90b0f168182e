// MessageBody: what the skinned message dialog and the notification pop-up share: the message text in a text
// box from the [MESSAGE] section of the window's skin, and the row of buttons of the message's kind.
//
// Kinds and buttons (skin names; each button takes the window's category id):
//   kind 0         first button 20001 "message_wnd_ok1_btn"
//   kind non-zero  first button 20001 "message_wnd_ok2_btn", second button 20002 "message_wnd_cancel2_btn"
// The text box is built with the font set named after the window's category id (the set that the launcher's
// windows load), starts at the top of the text and does not scroll.
//
// Ownership: a member of its window; it owns the buttons (children of the window) and the text box.
// Thread: user-interface thread only.
#pragma once

#include <cstdint>

#include "ui/base/String.h"
#include "ui/skinned/SkinnedButton.h"

class Dib;
class IniStringContainer;
class NTextBox;
class NWnd;

class MessageBody {
 public:
  static const int32_t kFirstButtonId = 20001;
  static const int32_t kSecondButtonId = 20002;

  MessageBody() = default;
  ~MessageBody();
  MessageBody(const MessageBody&) = delete;
  MessageBody& operator=(const MessageBody&) = delete;

  // Stores kind and text; an existing text box shows the new text at once.
  void SetContent(int32_t kind, const wchar_t* text);
  // Creates and shows the kind's buttons as children of `window`, with `category_id`. 0 when one of them
  // cannot be created.
  int32_t CreateButtons(NWnd* window, const wchar_t* category_id);
  // Replaces the text box by one from [MESSAGE] of `ini` (none when the section has no font), holding the text.
  void LoadTextBox(IniStringContainer* ini, const wchar_t* font_set);
  void Paint(Dib* surface) const;

  int32_t kind() const { return kind_; }
  const String& text() const { return text_; }
  NTextBox* text_box() const { return text_box_; }
  SkinnedButton& first_button() { return first_button_; }
  SkinnedButton& second_button() { return second_button_; }

 private:
  void RenderText();

  SkinnedButton first_button_;
  SkinnedButton second_button_;
  String text_;
  int32_t kind_ = 0;
  NTextBox* text_box_ = nullptr;
};

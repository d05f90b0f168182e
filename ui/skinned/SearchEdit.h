// SearchEdit: the launcher's one-line search box, a SkinnedEdit that shows a hint while it is empty and
// unfocused and reports the Enter key to its parent as a click.
//
// The displayed text is either the hint (hint shown) or the user's: gaining the focus always leaves the hint
// (the box is emptied for typing), losing it with an empty box always shows the hint again. While the hint is
// shown the window text IS the hint: a reader tells an empty search from the hint by hint_shown().
//
// Enter: a key-down of VK_RETURN for the edit's own window is consumed in pre-translation (it reaches neither
// the edit nor the dialog, which would otherwise take it as its default button) and becomes NOTIFY_CLICKED
// (p1 the edit's id, p2 0) sent up from the parent.
//
// It uses the EDIT section, colours, font and limit of SkinnedEdit, but not the number range: its focus
// loss shows the hint instead.
//
// Thread: user-interface thread only.
#pragma once

#include <windows.h>

#include <cstdint>

#include "ui/base/String.h"
#include "ui/skinned/SkinnedEdit.h"

class SearchEdit : public SkinnedEdit {
 public:
  SearchEdit() = default;
  ~SearchEdit() override;

  // Stores the hint; shows it at once only when the box is not focused and holds no text of the user's
  // (no text, an empty one, or the previous hint).
  void SetHintText(const wchar_t* text);

  // NEdit.
  void OnSetFocus() override;
  void OnKillFocus() override;
  // NWnd.
  int32_t PreTranslateMessage(HWND window, MSG* message) override;

  const String& hint_text() const { return hint_text_; }
  int32_t hint_shown() const { return hint_shown_; }

 private:
  void ShowHint();

  String hint_text_;
  int32_t hint_shown_ = 0;
};

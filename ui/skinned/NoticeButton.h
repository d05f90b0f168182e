// NoticeButton: one line of the notice ticker (NoticeWnd.h), a SkinnedButton that carries a link and is as
// wide as its caption.
//
// Its skin ("notice_btn" of the strip's category) gives the looks and the height; the BUTTON section's x and
// y do not apply: a reload keeps the button where the ticker put it, with its notice.
//
// Thread: user-interface thread only.
#pragma once

#include <cstdint>

#include "ui/base/String.h"
#include "ui/skinned/SkinnedButton.h"

class NoticeButton : public SkinnedButton {
 public:
  NoticeButton() = default;
  ~NoticeButton() override;

  // The caption (every state's box re-rendered) and the link (null: none); then the width becomes the
  // widest rendered caption (at least 1), the height stays.
  void SetNotice(const wchar_t* text, const wchar_t* link);

  // SkinnedButton's load, then back to the position and notice the button had.
  int LoadSkin() override;

  const String& link() const { return link_; }

 private:
  String link_;
};

#include "ui/skinned/NoticeButton.h"

#include "ui/skin/NTextBox.h"

NoticeButton::~NoticeButton() {
  Destroy();
}

void NoticeButton::SetNotice(const wchar_t* text, const wchar_t* link) {
  SetText(text);
  link_.Assign(link);
  int32_t widest = 1;
  for (int32_t state = 0; state < kVisualStates; ++state) {
    int32_t width = 0;
    int32_t height = 0;
    if (const NTextBox* box = caption(state))
      box->GetSize(&width, &height);
    if (width > widest)
      widest = width;
  }
  Resize(widest, this->height());
}

int NoticeButton::LoadSkin() {
  int32_t x = this->x();
  int32_t y = this->y();
  String caption;
  caption.Assign(text().GetString());
  if (!SkinnedButton::LoadSkin())
    return 0;
  Move(x, y);
  SetNotice(caption.GetString(), link_.GetString());
  return 1;
}

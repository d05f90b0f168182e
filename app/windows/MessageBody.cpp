#include "app/windows/MessageBody.h"

#include "ui/base/IniStringContainer.h"
#include "ui/skin/NTextBox.h"
#include "ui/view/NWnd.h"

MessageBody::~MessageBody() {
  delete text_box_;
}

void MessageBody::SetContent(int32_t kind, const wchar_t* text) {
  kind_ = kind;
  text_.Assign(text);
  RenderText();
}

void MessageBody::RenderText() {
  if (text_box_ == nullptr)
    return;
  text_box_->text().Assign(text_.GetString());
  text_box_->literal = 0;
  text_box_->Render(1);
}

int32_t MessageBody::CreateButtons(NWnd* window, const wchar_t* category_id) {
  if (kind_ == 0) {
    first_button_.SetSkin(category_id, L"message_wnd_ok1_btn");
  } else {
    first_button_.SetSkin(category_id, L"message_wnd_ok2_btn");
    second_button_.SetSkin(category_id, L"message_wnd_cancel2_btn");
  }
  if (!first_button_.Create(0, 0, 1, 1, kFirstButtonId, window))
    return 0;
  first_button_.Show(1, 0);
  if (kind_ == 0)
    return 1;
  if (!second_button_.Create(0, 0, 1, 1, kSecondButtonId, window))
    return 0;
  second_button_.Show(1, 0);
  return 1;
}

void MessageBody::LoadTextBox(IniStringContainer* ini, const wchar_t* font_set) {
  delete text_box_;
  text_box_ = LoadSkinTextBox(ini, L"MESSAGE", font_set);
  RenderText();
}

void MessageBody::Paint(Dib* surface) const {
  if (surface != nullptr && text_box_ != nullptr)
    text_box_->Draw(surface);
}

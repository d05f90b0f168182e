#include "ui/skinned/SkinnedButton.h"

#include <cwchar>

#include "ui/base/IniStringContainer.h"
#include "ui/gfx/Dib.h"
#include "ui/skin/NImage.h"
#include "ui/skin/NTextBox.h"
#include "ui/skinned/SkinStateImages.h"
#include "ui/view/NotifyCodes.h"

namespace {

const wchar_t* const kStateSections[SkinnedButton::kVisualStates] = {L"BTN_NORMAL", L"BTN_OVER", L"BTN_DOWN",
                                                                     L"BTN_DISABLED"};

void RenderCaption(NTextBox* box, const wchar_t* text) {
  box->text().Assign(text);
  box->Render(1);
}

}  // namespace

SkinnedButton::~SkinnedButton() {
  Destroy();
  SkinnedButton::ReleaseSkin();
}

void SkinnedButton::SetText(const wchar_t* text) {
  NButton::SetText(text);
  for (NTextBox* box : captions_) {
    if (box != nullptr)
      RenderCaption(box, text_.GetString());
  }
}

int SkinnedButton::LoadSkin() {
  if (!SkinnedCtrl::LoadSkin())
    return 0;
  IniStringContainer* skin = ini();
  int32_t x = skin->GetInt(L"BUTTON", L"x", 0);
  int32_t y = skin->GetInt(L"BUTTON", L"y", 0);
  int32_t width = skin->GetInt(L"BUTTON", L"width", 0);
  int32_t height = skin->GetInt(L"BUTTON", L"height", 0);
  if (width < 1 || height < 1)
    return 0;
  SetText(skin->GetString(L"BUTTON", L"text", nullptr));
  for (int32_t state = 0; state < kVisualStates; ++state)
    LoadStateImage(*this, kStateSections[state], &images_[state]);
  DeleteCaptions();
  for (int32_t state = 0; state < kVisualStates; ++state)
    captions_[state] = LoadSkinTextBox(skin, kStateSections[state], category_id().GetString());
  Move(x, y);
  Resize(width, height);
  Invalidate();
  return 1;
}

void SkinnedButton::DeleteCaptions() {
  for (NTextBox*& box : captions_) {
    delete box;
    box = nullptr;
  }
}

void SkinnedButton::ReleaseSkin() {
  DeleteStateImages(images_, kVisualStates);
  DeleteCaptions();
  SkinnedCtrl::ReleaseSkin();
}

int32_t SkinnedButton::VisualStateIndex() const {
  return enabled_ ? state_ : kVisualDisabled;
}

void SkinnedButton::UpdateAt(uint32_t now) {
  if (TickStateImages(images_, kVisualStates, image(VisualStateIndex()), now))
    Invalidate();
}

void SkinnedButton::OnPaint(HDC, Dib* surface) {
  if (surface == nullptr)
    return;
  surface->FillRect(RECT{0, 0, surface->width(), surface->height()}, 0);
  int32_t state = VisualStateIndex();
  if (!InRange(state))
    return;
  if (images_[state] != nullptr)
    images_[state]->Draw(surface, 0);
  NTextBox* box = captions_[state];
  if (box == nullptr)
    return;
  if (wcscmp(box->text().GetString(), text_.GetString()) != 0)
    RenderCaption(box, text_.GetString());
  box->Draw(surface);
}

void SkinnedButton::OnMouseEnter(int32_t x, int32_t y) {
  NButton::OnMouseEnter(x, y);
  if (parent_ == nullptr)
    return;
  POINT screen = {0, 0};
  GetScreenPos(&screen);
  RECT bounds = {screen.x, screen.y, screen.x + width_, screen.y + height_};
  NotifyParents(parent_, NOTIFY_BUTTON_HOVER, id_, reinterpret_cast<intptr_t>(&bounds));
}

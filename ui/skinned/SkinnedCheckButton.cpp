#include "ui/skinned/SkinnedCheckButton.h"

#include "ui/base/IniStringContainer.h"
#include "ui/gfx/Dib.h"
#include "ui/skin/NImage.h"
#include "ui/skinned/SkinStateImages.h"
#include "ui/view/NotifyCodes.h"

namespace {

const wchar_t* const kStateSections[2 * SkinnedCheckButton::kVisualStates] = {
    L"CHK_OFF_NORMAL", L"CHK_OFF_OVER", L"CHK_OFF_DOWN", L"CHK_OFF_DISABLED",
    L"CHK_ON_NORMAL",  L"CHK_ON_OVER",  L"CHK_ON_DOWN",  L"CHK_ON_DISABLED"};

}  // namespace

SkinnedCheckButton::~SkinnedCheckButton() {
  Destroy();
  SkinnedCheckButton::ReleaseSkin();
}

void SkinnedCheckButton::SetCheck(int32_t check) {
  if (check == check_)
    return;
  check_ = check;
  if (parent_ != nullptr)
    NotifyParents(parent_, NOTIFY_CHECK_CHANGED, id_, check_);
  Invalidate();
}

int SkinnedCheckButton::LoadSkin() {
  if (!SkinnedCtrl::LoadSkin())
    return 0;
  IniStringContainer* skin = ini();
  int32_t x = skin->GetInt(L"CHECK", L"x", 0);
  int32_t y = skin->GetInt(L"CHECK", L"y", 0);
  int32_t width = skin->GetInt(L"CHECK", L"width", 0);
  int32_t height = skin->GetInt(L"CHECK", L"height", 0);
  image_offset_x_ = skin->GetInt(L"CHECK", L"image_offset_x", 0);
  image_offset_y_ = skin->GetInt(L"CHECK", L"image_offset_y", 0);
  if (width < 1 || height < 1)
    return 0;
  for (int32_t i = 0; i < 2 * kVisualStates; ++i)
    LoadStateImage(*this, kStateSections[i], &images_[i]);
  Move(x, y);
  Resize(width, height);
  Invalidate();
  return 1;
}

void SkinnedCheckButton::ReleaseSkin() {
  DeleteStateImages(images_, 2 * kVisualStates);
  SkinnedCtrl::ReleaseSkin();
}

NImage* SkinnedCheckButton::ShownImage() const {
  int32_t state = VisualStateIndex();
  if (state < 0 || state >= kVisualStates)
    return nullptr;
  return images_[(check_ != 0 ? kVisualStates : 0) + state];
}

void SkinnedCheckButton::UpdateAt(uint32_t now) {
  if (TickStateImages(images_, 2 * kVisualStates, ShownImage(), now))
    Invalidate();
}

void SkinnedCheckButton::OnPaint(HDC, Dib* surface) {
  if (surface == nullptr)
    return;
  surface->FillRect(RECT{0, 0, surface->width(), surface->height()}, 0);
  NImage* image = ShownImage();
  if (image == nullptr)
    return;
  RECT source;
  Dib* frame = image->GetFrame(&source);
  if (frame == nullptr)
    return;
  POINT at = {image_offset_x_, image_offset_y_};
  Dib::Draw(&source, &at, frame, surface, 0);
}

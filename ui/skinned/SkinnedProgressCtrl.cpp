#include "ui/skinned/SkinnedProgressCtrl.h"

#include "ui/base/IniStringContainer.h"
#include "ui/gfx/Dib.h"
#include "ui/skin/NImage.h"
#include "ui/skinned/SkinStateImages.h"

namespace {

// The filled part of `length` pixels at `position`, truncated toward zero. The product is rounded to a double
// first: the x87 unit of this 32-bit target keeps it in extended precision, where 100 x 0.6 is a hair below
// 60 and would fill 59.
int32_t FilledLength(int32_t length, double position) {
  volatile double product = length * position;
  return static_cast<int32_t>(product);
}

}  // namespace

SkinnedProgressCtrl::~SkinnedProgressCtrl() {
  Destroy();
  SkinnedProgressCtrl::ReleaseSkin();
}

void SkinnedProgressCtrl::SetVertical(int32_t vertical) {
  int32_t value = vertical != 0 ? 1 : 0;
  if (value == vertical_)
    return;
  vertical_ = value;
  Invalidate();
}

int SkinnedProgressCtrl::LoadSkin() {
  if (!SkinnedCtrl::LoadSkin())
    return 0;
  IniStringContainer* skin = ini();
  int32_t x = skin->GetInt(L"PROGRESS", L"x", 0);
  int32_t y = skin->GetInt(L"PROGRESS", L"y", 0);
  int32_t width = skin->GetInt(L"PROGRESS", L"width", 0);
  int32_t height = skin->GetInt(L"PROGRESS", L"height", 0);
  if (width < 1 || height < 1)
    return 0;
  LoadStateImage(*this, L"PROGRESS_EMPTY", &images_[0]);
  LoadStateImage(*this, L"PROGRESS_FULL", &images_[1]);
  if (images_[0] == nullptr || images_[1] == nullptr)
    return 0;
  Move(x, y);
  Resize(width, height);
  Invalidate();
  return 1;
}

void SkinnedProgressCtrl::ReleaseSkin() {
  DeleteStateImages(images_, 2);
  SkinnedCtrl::ReleaseSkin();
}

void SkinnedProgressCtrl::UpdateAt(uint32_t now) {
  // Both images are shown: a frame change of either one repaints.
  int32_t changed = TickStateImages(images_, 1, images_[0], now);
  changed |= TickStateImages(images_ + 1, 1, images_[1], now);
  if (changed)
    Invalidate();
}

void SkinnedProgressCtrl::OnPaint(HDC, Dib* surface) {
  if (surface == nullptr)
    return;
  surface->FillRect(RECT{0, 0, surface->width(), surface->height()}, 0);
  if (images_[0] != nullptr)
    images_[0]->Draw(surface, 0);
  if (images_[1] != nullptr)
    PaintFilled(surface);
}

void SkinnedProgressCtrl::PaintFilled(Dib* surface) {
  NImage* full = images_[1];
  int32_t width = 0, height = 0;
  if (!full->GetFrameSize(&width, &height))
    return;
  RECT part;
  POINT at = {full->x(), full->y()};
  if (vertical_) {
    int32_t filled = FilledLength(height, position_);
    part = RECT{0, height - filled, width, height};
    at.y += height - filled;
  } else {
    int32_t filled = FilledLength(width, position_);
    part = RECT{0, 0, filled, height};
  }
  if (part.right <= part.left || part.bottom <= part.top)
    return;
  full->SetSourceRect(&part);
  RECT source;
  if (Dib* frame = full->GetFrame(&source))
    Dib::Draw(&source, &at, frame, surface, 1);
}

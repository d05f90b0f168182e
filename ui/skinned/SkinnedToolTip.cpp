#include "ui/skinned/SkinnedToolTip.h"

#include <new>

#include "ui/base/IniStringContainer.h"
#include "ui/gfx/Dib.h"
#include "ui/skin/NTextBox.h"
#include "ui/skinned/FrameInputs.h"
#include "ui/skinned/SkinArithmetic.h"
#include "ui/skinned/SkinBackground.h"

namespace {

const wchar_t kSection[] = L"TOOLTIP";

// now - since >= period, for a period that is never negative in practice (a negative one has passed).
bool Elapsed(uint32_t now, uint32_t since, int32_t period) {
  return static_cast<int64_t>(now - since) >= static_cast<int64_t>(period);
}

}  // namespace

POINT PlaceToolTip(POINT pointer, SIZE size, const RECT& work_area) {
  // 64-bit sums: a pointer or size near the ends of the 32-bit range overflows nothing.
  int64_t x = pointer.x;
  int64_t y = static_cast<int64_t>(pointer.y) - size.cy;
  if (x + size.cx > work_area.right)
    x = static_cast<int64_t>(work_area.right) - size.cx;
  if (x < work_area.left)
    x = work_area.left;
  if (y + size.cy > work_area.bottom)
    y = static_cast<int64_t>(work_area.bottom) - size.cy;
  if (y < work_area.top)
    y = work_area.top;
  return POINT{static_cast<LONG>(x), static_cast<LONG>(y)};
}

SkinnedToolTip::SkinnedToolTip() = default;

SkinnedToolTip::~SkinnedToolTip() {
  Destroy();
  SkinnedToolTip::ReleaseSkin();
}

void SkinnedToolTip::SetTip(const RECT* area, uint32_t owner_key, const wchar_t* text) {
  if (area == nullptr || text == nullptr || text[0] == L'\0') {
    GoIdle();
    return;
  }
  if (active_ && owner_key == owner_key_)
    return;
  owner_key_ = owner_key;
  area_ = *area;
  text_.Assign(text);
  start_tick_ = FrameTickCount();
  Show(0, 0);
  LayOut();
  expired_ = 0;
  active_ = 1;
}

void SkinnedToolTip::GoIdle() {
  owner_key_ = 0;
  area_ = RECT{0, 0, 0, 0};
  active_ = 0;
  expired_ = 0;
  Show(0, 0);
}

int SkinnedToolTip::LoadSkin() {
  if (!SkinnedCtrl::LoadSkin())
    return 0;
  IniStringContainer* skin = ini();
  back_colour_ =
      SkinColour(skin->GetInt(kSection, L"back_color_r", 0), skin->GetInt(kSection, L"back_color_g", 0),
                 skin->GetInt(kSection, L"back_color_b", 0));
  int32_t wait = skin->GetInt(kSection, L"wait_time", 0);
  int32_t show = skin->GetInt(kSection, L"show_time", 0);
  if (wait >= 0)
    wait_time_ = wait;
  if (show >= 0)
    show_time_ = show;
  text_box_.reset(LoadSkinTextBox(skin, kSection, category_id().GetString()));
  if (!text_box_)
    return 0;
  LayOut();
  Invalidate();
  return 1;
}

void SkinnedToolTip::ReleaseSkin() {
  text_box_.reset();
  back_colour_ = 0;
  wait_time_ = 0;
  show_time_ = 0;
  SkinnedCtrl::ReleaseSkin();
}

void SkinnedToolTip::LayOut() {
  if (!text_box_)
    return;
  text_box_->text().Assign(text_.GetString());
  text_box_->literal = 0;
  text_box_->Render(1);
  int32_t width = 0;
  int32_t height = 0;
  text_box_->GetSize(&width, &height);
  if (width > 0 && height > 0)
    Resize(ClampToInt32(width + 2 * static_cast<int64_t>(text_box_->x)),
           ClampToInt32(height + 2 * static_cast<int64_t>(text_box_->y)));
  Invalidate();
}

void SkinnedToolTip::Position() {
  if (!text_box_)
    return;
  POINT pointer;
  FramePointer(&pointer);
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof(monitor);
  if (!GetMonitorInfoW(MonitorFromPoint(pointer, MONITOR_DEFAULTTONEAREST), &monitor))
    return;
  POINT at = PlaceToolTip(pointer, SIZE{width(), height()}, monitor.rcWork);
  Move(at.x, at.y);
}

int32_t SkinnedToolTip::OnCreate() {
  Show(0, 0);
  return Skinned::OnCreate();
}

void SkinnedToolTip::OnUpdate() {
  if (!active_)
    return;
  uint32_t now = FrameTickCount();
  if (now < start_tick_)
    start_tick_ = now;  // the counter wrapped
  POINT pointer;
  FramePointer(&pointer);
  bool inside = area_.left <= pointer.x && pointer.x < area_.right && area_.top <= pointer.y &&
                pointer.y < area_.bottom;
  if (!inside) {
    GoIdle();
    return;
  }
  if (visible()) {
    if (!expired_ && Elapsed(now, start_tick_, show_time_)) {
      expired_ = 1;
      Show(0, 0);
    }
    return;
  }
  if (!expired_ && Elapsed(now, start_tick_, wait_time_)) {
    start_tick_ = now;
    Position();
    Show(1, 0);
  }
}

void SkinnedToolTip::OnPaint(HDC, Dib* surface) {
  if (surface == nullptr)
    return;
  surface->FillRect(RECT{0, 0, surface->width(), surface->height()}, back_colour_);
  if (text_box_)
    text_box_->Draw(surface);
}

LRESULT SkinnedToolTip::HitTestCaption(int32_t, int32_t) {
  return HTCLIENT;
}

#include "ui/controls/NButton.h"

#include "ui/controls/ControlCanvas.h"
#include "ui/gfx/Dib.h"
#include "ui/gfx/GdiHandles.h"
#include "ui/view/NotifyCodes.h"

NButton::~NButton() {
  Destroy();
}

void NButton::SetText(const wchar_t* text) {
  text_.Assign(text);
  Invalidate();
}

void NButton::DropLostPress() {
  if (state_ == kPressed && GetPressedNode() != this) {
    state_ = hover_ ? kHover : kNormal;
    Invalidate();
  }
}

void NButton::SetActive(int32_t active) {
  NWnd::SetActive(active);
  DropLostPress();
}

void NButton::OnUpdate() {
  DropLostPress();
}

void NButton::OnShow(int32_t /*show*/) {
  DropLostPress();
}

void NButton::OnMouseEnter(int32_t, int32_t) {
  state_ = GetPressedNode() == this ? kPressed : kHover;
  Invalidate();
}

void NButton::OnMouseLeave() {
  state_ = kNormal;
  Invalidate();
}

void NButton::OnMouseMove(int32_t, int32_t) {
  DropLostPress();
}

void NButton::OnLButtonDown(int32_t, int32_t) {
  if (enabled_ && state_ == kHover)
    state_ = kPressed;
  Invalidate();
}

void NButton::OnLButtonDblClk(int32_t x, int32_t y) {
  NButton::OnLButtonDown(x, y);
}

void NButton::OnLButtonUp(int32_t, int32_t) {
  bool clicked = enabled_ && state_ == kPressed;
  state_ = hover_ ? kHover : kNormal;
  Invalidate();
  if (clicked && parent_ != nullptr)
    NotifyParents(parent_, NOTIFY_CLICKED, id_, 0);
}

HFONT CreateButtonCaptionFont() {
  return CreateFontW(11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, HANGUL_CHARSET, OUT_CHARACTER_PRECIS,
                     CLIP_CHARACTER_PRECIS, NONANTIALIASED_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"Gulim");
}

void NButton::OnPaint(HDC, Dib* surface) {
  ControlCanvas canvas(surface);
  HDC dc = canvas.dc();
  if (dc == nullptr)
    return;
  int32_t w = surface->width();
  int32_t h = surface->height();
  canvas.FillSystem(0, 0, w, h, COLOR_BTNFACE);
  ScopedGdiObject<HFONT> font(CreateButtonCaptionFont());
  HGDIOBJ old_font = font.get() != nullptr ? SelectObject(dc, font.get()) : nullptr;
  SIZE extent = {0, 0};
  GetTextExtentPoint32W(dc, text_.GetString(), text_.GetLength(), &extent);
  int32_t left = (w - extent.cx > 0 ? w - extent.cx : 0) / 2;
  int32_t top = (h - extent.cy > 0 ? h - extent.cy : 0) / 2;
  bool pressed = enabled_ && state_ == kPressed;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, enabled_ ? RGB(0, 0, 0) : GetSysColor(COLOR_BTNSHADOW));
  TextOutW(dc, pressed ? left + 1 : left, pressed ? top + 1 : top, text_.GetString(), text_.GetLength());
  if (old_font != nullptr)
    SelectObject(dc, old_font);
  if (pressed)
    canvas.SunkenFrame(0, 0, w, h);
  else
    canvas.RaisedFrame(0, 0, w, h, enabled_ && state_ == kHover);
}

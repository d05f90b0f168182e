#include "ui/controls/NProgressCtrl.h"

#include "ui/controls/ControlCanvas.h"
#include "ui/gfx/Dib.h"

void NProgressCtrl::SetPos(double value) {
  if (!(value > 0.0))  // also NaN
    value = 0.0;
  if (value > 1.0)
    value = 1.0;
  if (value == position_)
    return;
  position_ = value;
  Invalidate();
}

void NProgressCtrl::OnPaint(HDC, Dib* surface) {
  ControlCanvas canvas(surface);
  if (canvas.dc() == nullptr)
    return;
  int32_t w = surface->width();
  int32_t h = surface->height();
  canvas.FillSystem(0, 0, w, h, COLOR_BTNFACE);
  POINT frame[] = {{0, 0}, {w - 1, 0}, {w - 1, h - 1}, {0, h - 1}, {0, 0}};
  canvas.Line(RGB(0, 0, 0), frame, 5);
  int32_t fill = static_cast<int32_t>((w - 2) * position_);
  canvas.FillSystem(1, 1, 1 + fill, h - 1, COLOR_BTNSHADOW);
}

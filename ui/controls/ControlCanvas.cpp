#include "ui/controls/ControlCanvas.h"

#include <cstring>

#include "ui/gfx/Dib.h"
#include "ui/gfx/GdiHandles.h"

ControlCanvas::ControlCanvas(Dib* surface) : surface_(surface) {
  if (surface_ == nullptr || surface_->pixels() == nullptr)
    return;
  HBITMAP bitmap = surface_->bitmap();
  if (bitmap == nullptr) {
    scratch_ = Dib::CreateBlank(surface_->width(), surface_->height(), 1);
    if (scratch_ == nullptr)
      return;
    bitmap = scratch_->bitmap();
  }
  dc_ = CreateCompatibleDC(nullptr);
  if (dc_ != nullptr)
    old_bitmap_ = SelectObject(dc_, bitmap);
}

ControlCanvas::~ControlCanvas() {
  if (dc_ != nullptr) {
    GdiFlush();
    SelectObject(dc_, old_bitmap_);
    DeleteDC(dc_);
    if (scratch_ != nullptr)
      std::memcpy(surface_->pixels(), scratch_->pixels(), surface_->byte_size());
    surface_->SetOpaque();
  }
  if (scratch_ != nullptr)
    scratch_->Release();
}

void ControlCanvas::FillSystem(int32_t left, int32_t top, int32_t right, int32_t bottom, int system_colour) {
  if (dc_ == nullptr)
    return;
  RECT rect = {left, top, right, bottom};
  FillRect(dc_, &rect, GetSysColorBrush(system_colour));
}

void ControlCanvas::Line(COLORREF colour, const POINT* points, int count) {
  if (dc_ == nullptr)
    return;
  ScopedGdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, colour));
  if (pen.get() == nullptr)
    return;
  HGDIOBJ old_pen = SelectObject(dc_, pen.get());
  Polyline(dc_, points, count);
  SelectObject(dc_, old_pen);
}

void ControlCanvas::RaisedFrame(int32_t left, int32_t top, int32_t right, int32_t bottom, bool hover) {
  POINT light[] = {{left, bottom - 2}, {left, top}, {right - 1, top}};
  Line(GetSysColor(COLOR_BTNHIGHLIGHT), light, 3);
  POINT dark[] = {{right - 1, top}, {right - 1, bottom - 1}, {left - 1, bottom - 1}};
  Line(GetSysColor(COLOR_3DDKSHADOW), dark, 3);
  if (hover) {
    POINT shadow[] = {{right - 2, top + 1}, {right - 2, bottom - 2}, {left, bottom - 2}};
    Line(GetSysColor(COLOR_BTNSHADOW), shadow, 3);
  }
}

void ControlCanvas::SunkenFrame(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  POINT shadow[] = {{left + 1, top + 1},
                    {right - 2, top + 1},
                    {right - 2, bottom - 2},
                    {left + 1, bottom - 2},
                    {left + 1, top + 1}};
  Line(GetSysColor(COLOR_BTNSHADOW), shadow, 5);
  POINT black[] = {{left, top}, {right - 1, top}, {right - 1, bottom - 1}, {left, bottom - 1}, {left, top}};
  Line(RGB(0, 0, 0), black, 5);
}

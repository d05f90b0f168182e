#include "ui/controls/NScrollBar.h"

#include <limits>

#include "ui/controls/ControlCanvas.h"
#include "ui/gfx/Dib.h"
#include "ui/gfx/GdiHandles.h"
#include "ui/view/NotifyCodes.h"

namespace {

int32_t ClampToInt32(int64_t value) {
  if (value > std::numeric_limits<int32_t>::max())
    return std::numeric_limits<int32_t>::max();
  if (value < std::numeric_limits<int32_t>::min())
    return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(value);
}

enum Look { kLookNormal, kLookHover, kLookPressed, kLookDisabled };

}  // namespace

NScrollBar::~NScrollBar() {
  Destroy();
  if (pattern_ != nullptr)
    pattern_->Release();
}

void NScrollBar::Notify(int32_t code) {
  NotifyParents(this, code, id_, 0);
}

int32_t NScrollBar::OffsetFor(int32_t position) const {
  if (range_ == page_)
    return button_size_;
  int64_t travel = static_cast<int64_t>(track_length_) - 2 * static_cast<int64_t>(button_size_) - thumb_size_;
  return ClampToInt32(button_size_ + travel * position / (static_cast<int64_t>(range_) - page_));
}

void NScrollBar::ClampPosition() {
  if (position_ > range_ - page_)
    position_ = range_ - page_;
  if (position_ < 0)
    position_ = 0;
}

void NScrollBar::FitThumb() {
  if (fixed_thumb_ || range_ <= 0)
    return;
  int32_t size = ClampToInt32((static_cast<int64_t>(track_length_) - 2 * static_cast<int64_t>(button_size_)) *
                              page_ / range_);
  if (size != thumb_size_) {
    thumb_size_ = size;
    Invalidate();
  }
}

void NScrollBar::Setup(int32_t vertical,
                       int32_t button_size,
                       int32_t thumb_size,
                       int32_t page,
                       int32_t range) {
  vertical_ = vertical;
  fixed_thumb_ = 1;
  button_size_ = button_size;
  SIZE size;
  GetSize(&size);
  track_length_ = vertical ? size.cy : size.cx;
  range_ = range > 0 ? range : 0;
  page_ = page < 0 ? 0 : (page > range_ ? range_ : page);
  position_ = 0;
  thumb_size_ = thumb_size;
  UpdateThumb();
}

void NScrollBar::SetRange(int32_t range) {
  range_ = range > 0 ? range : 0;
  if (page_ > range_)
    page_ = range_;
  ClampPosition();
  FitThumb();
  UpdateThumb();
}

void NScrollBar::SetPage(int32_t page) {
  if (page > range_)
    page = range_;
  if (page < 0)
    page = 0;
  if (page == page_)
    return;
  page_ = page;
  ClampPosition();
  FitThumb();
  UpdateThumb();
}

void NScrollBar::UpdateThumb() {
  int32_t offset = OffsetFor(position_);
  if (offset == thumb_offset_)
    return;
  thumb_offset_ = offset;
  Notify(NOTIFY_SCROLL_POS_CHANGED);
  Invalidate();
}

int32_t NScrollBar::PartAt(int32_t x, int32_t y) const {
  if (x < 0 || x >= width_ || y < 0 || y >= height_)
    return kNone;
  int32_t along = vertical_ ? y : x;
  if (along < button_size_)
    return kDecrement;
  if (along > track_length_ - button_size_)
    return kIncrement;
  if (along < thumb_offset_)
    return kTrackBefore;
  if (along < thumb_offset_ + thumb_size_)
    return kThumb;
  return kTrackAfter;
}

int32_t NScrollBar::DragThumb(int32_t delta) {
  if (delta == 0)
    return 0;
  int32_t old_offset = thumb_offset_;
  int32_t offset = old_offset;
  int32_t position = position_;
  if (delta > 0) {
    while (position + page_ < range_) {
      int32_t next = OffsetFor(position + 1);
      if (offset + delta < next) {
        // The thumb stops between two positions: the nearer one wins.
        if (delta >= (next - offset) / 2)
          ++position;
        break;
      }
      ++position;
      delta -= next - offset;
      offset = next;
    }
  } else {
    while (position > 0) {
      int32_t previous = OffsetFor(position - 1);
      if (offset + delta > previous) {
        if (delta < (previous - offset) / 2)
          --position;
        break;
      }
      --position;
      delta += offset - previous;
      offset = previous;
    }
  }
  position_ = position;
  ClampPosition();
  int32_t new_offset = OffsetFor(position_);
  if (new_offset != thumb_offset_) {
    thumb_offset_ = new_offset;
    Invalidate();
  }
  return new_offset - old_offset;
}

void NScrollBar::OnLButtonDown(int32_t x, int32_t y) {
  pressed_ = 1;
  part_ = PartAt(x, y);
  switch (part_) {
    case kDecrement:
      if (position_ > 0)
        --position_;
      UpdateThumb();
      Notify(NOTIFY_SCROLL_DECREMENT);
      break;
    case kIncrement:
      if (position_ < range_ - page_)
        ++position_;
      UpdateThumb();
      Notify(NOTIFY_SCROLL_INCREMENT);
      break;
    case kTrackBefore:
      position_ = position_ > page_ ? position_ - page_ : 0;
      UpdateThumb();
      Notify(NOTIFY_SCROLL_DECREMENT);
      break;
    case kTrackAfter:
      position_ = static_cast<int64_t>(position_) + 2 * static_cast<int64_t>(page_) < range_
                      ? position_ + page_
                      : range_ - page_;
      UpdateThumb();
      Notify(NOTIFY_SCROLL_INCREMENT);
      break;
    case kThumb:
      drag_anchor_ = vertical_ ? y : x;
      break;
    default:
      break;
  }
  Invalidate();
}

void NScrollBar::OnLButtonDblClk(int32_t x, int32_t y) {
  NScrollBar::OnLButtonDown(x, y);
}

void NScrollBar::OnLButtonUp(int32_t x, int32_t y) {
  pressed_ = 0;
  part_ = PartAt(x, y);
  Invalidate();
}

void NScrollBar::OnMouseMove(int32_t x, int32_t y) {
  // A press taken away without its button-up (capture lost, deactivated) ends the drag.
  if (pressed_ && GetPressedNode() != this)
    pressed_ = 0;
  if (enabled_ && pressed_) {
    if (part_ == kThumb) {
      int32_t moved = DragThumb((vertical_ ? y : x) - drag_anchor_);
      if (moved != 0) {
        drag_anchor_ += moved;
        Notify(NOTIFY_SCROLL_POS_CHANGED);
      }
    }
    return;
  }
  int32_t part = PartAt(x, y);
  if (part != part_) {
    part_ = part;
    Invalidate();
  }
}

void NScrollBar::OnMouseEnter(int32_t, int32_t) {
  hovered_ = 1;
  Invalidate();
}

void NScrollBar::OnMouseLeave() {
  hovered_ = 0;
  Invalidate();
}

void NScrollBar::OnMouseWheel(int32_t, int32_t, int32_t notches) {
  position_ = ClampToInt32(static_cast<int64_t>(position_) - notches);
  ClampPosition();
  UpdateThumb();
  Notify(notches < 0 ? NOTIFY_SCROLL_INCREMENT : NOTIFY_SCROLL_DECREMENT);
}

void NScrollBar::OnPaint(HDC, Dib* surface) {
  if (surface == nullptr)
    return;
  if (pattern_ == nullptr) {
    pattern_ = Dib::CreateBlank(2, 2, 1);
    if (pattern_ != nullptr) {
      uint32_t face =
          0xFF000000 | MakeColor(GetRValue(GetSysColor(COLOR_BTNFACE)), GetGValue(GetSysColor(COLOR_BTNFACE)),
                                 GetBValue(GetSysColor(COLOR_BTNFACE)));
      pattern_->FillRect(RECT{0, 0, 2, 2}, face);
      pattern_->Row(0)[0] = 0xFFFFFFFF;
      pattern_->Row(1)[1] = 0xFFFFFFFF;
    }
  }
  ControlCanvas canvas(surface);
  if (canvas.dc() == nullptr)
    return;
  int32_t length = vertical_ ? surface->height() : surface->width();
  PaintPart(canvas, kDecrement, 0, button_size_);
  PaintPart(canvas, kIncrement, length - button_size_, length);
  PaintPart(canvas, kTrackBefore, button_size_, thumb_offset_);
  PaintPart(canvas, kTrackAfter, thumb_offset_ + thumb_size_, length - button_size_);
  PaintPart(canvas, kThumb, thumb_offset_, thumb_offset_ + thumb_size_);
}

void NScrollBar::PaintPart(ControlCanvas& canvas, int32_t part, int32_t start, int32_t end) {
  if (end <= start)
    return;
  int look = kLookNormal;
  if (part == part_)
    look = !enabled_ ? kLookDisabled : pressed_ ? kLookPressed : hovered_ ? kLookHover : kLookNormal;
  HDC dc = canvas.dc();
  int32_t across = vertical_ ? width_ : height_;
  RECT rect = vertical_ ? RECT{0, start, across, end} : RECT{start, 0, end, across};
  if (part == kTrackBefore || part == kTrackAfter) {
    ScopedGdiObject<HBRUSH> brush(pattern_ != nullptr ? CreatePatternBrush(pattern_->bitmap()) : nullptr);
    FillRect(dc, &rect, brush.get() != nullptr ? brush.get() : GetSysColorBrush(COLOR_BTNFACE));
    if (look == kLookHover || look == kLookPressed) {
      POINT frame[] = {{rect.left, rect.top},
                       {rect.right - 1, rect.top},
                       {rect.right - 1, rect.bottom - 1},
                       {rect.left, rect.bottom - 1},
                       {rect.left, rect.top}};
      canvas.Line(GetSysColor(COLOR_BTNSHADOW), frame, 5);
    }
    return;
  }
  canvas.FillSystem(rect.left, rect.top, rect.right, rect.bottom, COLOR_BTNFACE);
  if (look == kLookPressed)
    canvas.SunkenFrame(rect.left, rect.top, rect.right, rect.bottom);
  else
    canvas.RaisedFrame(rect.left, rect.top, rect.right, rect.bottom, look == kLookHover);
  if (part == kThumb)
    return;
  // The arrow: a triangle within the button, pointing away from the track.
  int32_t w = width_, h = height_, b = button_size_;
  POINT arrow[3];
  if (vertical_ && part == kDecrement)
    arrow[0] = {w / 4, 2 * b / 3}, arrow[1] = {w / 2, b / 3}, arrow[2] = {3 * w / 4, 2 * b / 3};
  else if (vertical_)
    arrow[0] = {w / 4, h - b + b / 3}, arrow[1] = {w / 2, h - b + 2 * b / 3},
    arrow[2] = {3 * w / 4, h - b + b / 3};
  else if (part == kDecrement)
    arrow[0] = {2 * b / 3, h / 4}, arrow[1] = {b / 3, h / 2}, arrow[2] = {2 * b / 3, 3 * h / 4};
  else
    arrow[0] = {w - b + b / 3, h / 4}, arrow[1] = {w - b + 2 * b / 3, h / 2},
    arrow[2] = {w - b + b / 3, 3 * h / 4};
  COLORREF colour = look == kLookDisabled ? GetSysColor(COLOR_BTNSHADOW) : RGB(0, 0, 0);
  ScopedGdiObject<HBRUSH> fill(CreateSolidBrush(colour));
  ScopedGdiObject<HPEN> outline(CreatePen(PS_SOLID, 1, colour));
  HGDIOBJ old_brush = SelectObject(dc, fill.get());
  HGDIOBJ old_pen = SelectObject(dc, outline.get());
  SetPolyFillMode(dc, WINDING);
  Polygon(dc, arrow, 3);
  SelectObject(dc, old_pen);
  SelectObject(dc, old_brush);
}

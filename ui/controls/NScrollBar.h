// NScrollBar: a windowless vertical or horizontal scroll bar: a decrement button, a track with a thumb that
// can be dragged, and an increment button.
//
// Model: `range` positions of which `page` are visible at once (page never above range); `position` is the
// first visible one, 0..range - page. Along the bar (its height when vertical, else its width: the track
// length) lie the two buttons of `button size` pixels and the thumb of `thumb size` pixels, whose offset for
// a position p is button + (track - 2 x button - thumb) x p / (range - page) (the button size when range
// equals page), computed in 64 bits and truncated toward zero. A fixed thumb keeps its size; otherwise the
// size follows page / range.
//
// Parts (PartAt): 0 outside, 1 decrement button, 2 increment button, 3 track before the thumb, 4 track after
// it, 5 thumb. A press on a button steps by one, on the track by a page (NOTIFY_SCROLL_DECREMENT or
// NOTIFY_SCROLL_INCREMENT (id, 0), sent even when the position did not move); a press on the thumb starts a
// drag that moves the position to the nearest one under the thumb (NOTIFY_SCROLL_POS_CHANGED). The wheel
// scrolls by its notches. Notifications start at the scroll bar itself. The drag ends with the button-up, or
// as soon as the bar finds it is no longer the pressed node (NWnd.h).
//
// Thread: user-interface thread only.
#pragma once

#include <cstdint>

#include "ui/view/NWnd.h"

class NScrollBar : public NWnd {
 public:
  enum Part : int32_t {
    kNone = 0,
    kDecrement = 1,
    kIncrement = 2,
    kTrackBefore = 3,
    kTrackAfter = 4,
    kThumb = 5
  };

  ~NScrollBar() override;

  // Orientation, button size, a fixed thumb of `thumb_size`, page and range (the page at most the range),
  // position 0, the track length from the current size; then UpdateThumb. Called after Create.
  void Setup(int32_t vertical, int32_t button_size, int32_t thumb_size, int32_t page, int32_t range);
  void SetRange(int32_t range);
  void SetPage(int32_t page);
  // Moves the thumb to the current position; when its offset changed, NOTIFY_SCROLL_POS_CHANGED and a
  // repaint.
  void UpdateThumb();
  int32_t PartAt(int32_t x, int32_t y) const;
  // Moves the thumb by `delta` pixels as far as whole positions allow (the nearer position wins); the pixels
  // it moved.
  int32_t DragThumb(int32_t delta);

  int32_t part() const { return part_; }
  int32_t hovered() const { return hovered_; }
  int32_t pressed() const { return pressed_; }
  int32_t vertical() const { return vertical_; }
  int32_t button_size() const { return button_size_; }
  int32_t track_length() const { return track_length_; }
  int32_t range() const { return range_; }
  int32_t page() const { return page_; }
  int32_t position() const { return position_; }
  int32_t thumb_size() const { return thumb_size_; }
  int32_t thumb_offset() const { return thumb_offset_; }

  void OnLButtonDown(int32_t x, int32_t y) override;
  void OnLButtonDblClk(int32_t x, int32_t y) override;
  void OnLButtonUp(int32_t x, int32_t y) override;
  void OnMouseMove(int32_t x, int32_t y) override;
  void OnMouseEnter(int32_t x, int32_t y) override;
  void OnMouseLeave() override;
  void OnMouseWheel(int32_t x, int32_t y, int32_t notches) override;
  void OnPaint(HDC dc, Dib* surface) override;

 protected:
  // The thumb offset for position `position`.
  int32_t OffsetFor(int32_t position) const;
  // Keeps the position within 0..range - page.
  void ClampPosition();
  // The proportional thumb size for the current page and range (a fixed thumb is left alone).
  void FitThumb();
  void Notify(int32_t code);

  int32_t part_ = kNone;
  int32_t hovered_ = 0;
  int32_t pressed_ = 0;
  int32_t vertical_ = 1;
  int32_t fixed_thumb_ = 0;
  int32_t button_size_ = 0;
  int32_t track_length_ = 1;
  int32_t range_ = 1;
  int32_t page_ = 1;
  int32_t position_ = 0;
  int32_t thumb_size_ = 1;
  int32_t thumb_offset_ = 0;
  int32_t drag_anchor_ = 0;
  Dib* pattern_ = nullptr;  // the track's 2 x 2 pattern, made on first paint

 private:
  void PaintPart(class ControlCanvas& canvas, int32_t part, int32_t start, int32_t end);
};

// SkinnedScrollBar: an NScrollBar (value handling, hit-testing, dragging and notifications unchanged) drawn
// from its skin: a back image and four images (normal, over, down, disabled) for each of the track, the
// thumb and the two buttons.
//
// Skin ("<skin name>.ini" of its category):
//   [SCROLL_BAR]  x, y, width, height (0 each; a size below 1 fails the load), back (an image file, optional),
//                 button_size, thumb_size, vertical (0 each), bar_x, bar_y, thumb_x, thumb_y, dec_x, dec_y,
//                 inc_x, inc_y (0 each: where each part's image lies; the thumb's coordinate along the bar is
//                 its offset)
//   [SCR_BAR_<S>], [SCR_THUMB_<S>], [SCR_DEC_<S>], [SCR_INC_<S>] for <S> = NORMAL, OVER, DOWN, DISABLED: the
//                 images (SkinStateImages.h), each may be missing.
// A reload keeps range, page and position (clamped to the new page and range).
//
// Look: visual state 3 while disabled, else 2 while pressed, 1 while hovered, 0 otherwise. States 0 and 3
// draw every part in that state's image; in states 1 and 2 only the hot part (NScrollBar::part) takes that
// state's image and the others stay normal. The track is two pieces of the bar image: before the thumb it
// shows the image from its start, after the thumb the image from where the thumb ends (both measured from
// the end of the decrement button) up to its end; each piece is cut to the image, so a track longer than its
// image simply ends. With a back image the parts are blended over it; without one they are copied (their
// colour key left out).
//
// Ownership: owns its images and one reference on the back image. Thread: user-interface thread only.
#pragma once

#include <windows.h>

#include <cstdint>

#include "ui/controls/NScrollBar.h"
#include "ui/skinned/Skinned.h"

class NImage;

class SkinnedScrollBar : public Skinned<NScrollBar> {
 public:
  enum SkinPart : int32_t { kBar = 0, kThumbImage = 1, kDecImage = 2, kIncImage = 3 };
  static const int32_t kSkinParts = 4;
  static const int32_t kVisualStates = 4;

  SkinnedScrollBar() = default;
  ~SkinnedScrollBar() override;

  int LoadSkin() override;
  void ReleaseSkin() override;

  // Swallows the bar's own position notifications while a reload sets it up again; else Skinned's.
  int32_t OnNotify(int32_t code, intptr_t p1, intptr_t p2) override;
  void OnPaint(HDC dc, Dib* surface) override;

  // Skinned's frame pass: advances the images; a frame change of a shown one repaints.
  void UpdateAt(uint32_t now) override;
  int32_t VisualStateIndex() const;
  // The image that the NScrollBar part `hot_part` (1..5) shows now; null when it has none.
  NImage* ShownImage(int32_t hot_part) const;
  NImage* image(int32_t skin_part, int32_t state) const;
  Dib* back() const { return back_; }

 private:
  void ReadPositions();
  void PaintTrack(Dib* surface, int32_t blend) const;
  void PaintAt(NImage* image, int32_t x, int32_t y, Dib* surface, int32_t blend) const;
  // Keeps range, page and position over NScrollBar::Setup, which starts again at position 0.
  void SetupKeepingPosition(int32_t vertical, int32_t button_size, int32_t thumb_size);

  Dib* back_ = nullptr;
  POINT positions_[kSkinParts] = {};
  NImage* images_[kSkinParts * kVisualStates] = {};
  // Set while a reload sets the bar up again: its intermediate position notifications are swallowed.
  int32_t reloading_ = 0;
};

// SkinnedProgressCtrl: a progress bar drawn from two skin images: the empty bar, and over it the part of the
// full bar that the position (NProgressCtrl, 0.0 to 1.0) fills. The filled length is the full image's length
// times the position, truncated toward zero (0.999 of 100 pixels fills 99). A horizontal bar (the default)
// fills from the left; a vertical bar fills from the bottom: the bottom part of the full image is drawn at
// the bottom of where the whole image would lie.
//
// Skin ("<skin name>.ini" of its category):
//   [PROGRESS]        x, y, width, height (0 each; a size below 1 fails the load)
//   [PROGRESS_EMPTY], [PROGRESS_FULL]: the two images (SkinStateImages.h); either one missing fails the load
// The empty image is copied (no blending), the filled part blended over it, each at the image's own position.
//
// Ownership: owns its images. Thread: user-interface thread only.
#pragma once

#include <windows.h>

#include <cstdint>

#include "ui/controls/NProgressCtrl.h"
#include "ui/skinned/Skinned.h"

class NImage;

class SkinnedProgressCtrl : public Skinned<NProgressCtrl> {
 public:
  SkinnedProgressCtrl() = default;
  ~SkinnedProgressCtrl() override;

  // Non-zero: fills from the bottom up; 0 (the default): from the left. Repaints on a change.
  void SetVertical(int32_t vertical);
  int32_t vertical() const { return vertical_; }

  int LoadSkin() override;
  void ReleaseSkin() override;

  void OnPaint(HDC dc, Dib* surface) override;

  // Skinned's frame pass: advances the images; a frame change of a shown one repaints.
  void UpdateAt(uint32_t now) override;
  NImage* empty_image() const { return images_[0]; }
  NImage* full_image() const { return images_[1]; }

 private:
  void PaintFilled(Dib* surface);

  int32_t vertical_ = 0;
  NImage* images_[2] = {nullptr, nullptr};  // empty, full
};

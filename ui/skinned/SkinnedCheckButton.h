// SkinnedCheckButton: a two-state box drawn from its skin, an image per visual state for each of the off and
// on sets. Clicking does not toggle it: the owner hears NOTIFY_CLICKED (NButton) and calls SetCheck.
//
// Skin ("<skin name>.ini" of its category):
//   [CHECK]   x, y, width, height (0 each; a size below 1 fails the load), image_offset_x, image_offset_y
//             (where the state image's top-left lies in the control; kept even when the size check fails)
//   [CHK_OFF_NORMAL], [CHK_OFF_OVER], [CHK_OFF_DOWN], [CHK_OFF_DISABLED], [CHK_ON_NORMAL], [CHK_ON_OVER],
//   [CHK_ON_DOWN], [CHK_ON_DISABLED]: the state images (SkinStateImages.h), each may be missing.
// The visual state is the NButton state while enabled and 3 while disabled; the image is copied without
// blending (its colour key left out).
//
// Ownership: owns its images. Thread: user-interface thread only.
#pragma once

#include <windows.h>

#include <cstdint>

#include "ui/controls/NButton.h"
#include "ui/skinned/Skinned.h"

class NImage;

class SkinnedCheckButton : public Skinned<NButton> {
 public:
  static const int32_t kVisualStates = 4;

  SkinnedCheckButton() = default;
  ~SkinnedCheckButton() override;

  // A different state is stored, told to the parent chain as NOTIFY_CHECK_CHANGED (id, new state) when the
  // box has a parent, and repainted; the current state changes nothing.
  void SetCheck(int32_t check);
  int32_t check() const { return check_; }

  int LoadSkin() override;
  void ReleaseSkin() override;

  void OnPaint(HDC dc, Dib* surface) override;

  // Skinned's frame pass: advances the images; a frame change of a shown one repaints.
  void UpdateAt(uint32_t now) override;
  int32_t VisualStateIndex() const { return enabled_ ? state_ : kVisualStates - 1; }
  // The image shown now: of the on set when checked, else of the off set; null when none.
  NImage* ShownImage() const;
  int32_t image_offset_x() const { return image_offset_x_; }
  int32_t image_offset_y() const { return image_offset_y_; }

 private:
  int32_t check_ = 0;
  int32_t image_offset_x_ = 0;
  int32_t image_offset_y_ = 0;
  // Off images normal, over, down, disabled, then on images in the same order.
  NImage* images_[2 * kVisualStates] = {};
};

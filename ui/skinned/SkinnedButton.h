// SkinnedButton: a push button whose every state is drawn from its skin: an image and a caption text box per
// visual state (normal, over, down, disabled). Press, release and click stay NButton's (NOTIFY_CLICKED on a
// release after a press).
//
// Skin ("<skin name>.ini" of its category, SkinnedCtrl.h):
//   [BUTTON]        x, y, width, height (0 each; a size below 1 fails the load, so the creation), text (the
//                   caption, empty when missing)
//   [BTN_NORMAL], [BTN_OVER], [BTN_DOWN], [BTN_DISABLED]
//                   the state's image (SkinStateImages.h) and its caption box (NTextBox.h keys; fonts from
//                   the font set named after the category id, which the launcher's windows load)
// A missing image or font leaves that part of the state blank.
//
// The visual state is the NButton state (0 normal, 1 over, 2 down) while enabled and 3 while disabled. The
// caption shown in every state is the button's own (SetText), whatever text the state's section gives: a
// box whose text differs is rendered again when painted.
//
// Entering sends NOTIFY_BUTTON_HOVER (id, pointer to the button's RECT in screen coordinates, valid during
// the call) up from the parent; the launcher's tool-tips hang on it.
//
// Every state image advances each frame, shown or not; only a frame change of the shown one repaints.
//
// Ownership: the button owns its images and caption boxes (released on every reload and at destruction).
// Thread: user-interface thread only.
#pragma once

#include <windows.h>

#include <cstdint>

#include "ui/controls/NButton.h"
#include "ui/skinned/Skinned.h"

class NImage;
class NTextBox;

class SkinnedButton : public Skinned<NButton> {
 public:
  enum VisualState : int32_t { kVisualNormal = 0, kVisualOver = 1, kVisualDown = 2, kVisualDisabled = 3 };
  static const int32_t kVisualStates = 4;

  SkinnedButton() = default;
  ~SkinnedButton() override;

  // Stores the caption and renders every caption box with it.
  void SetText(const wchar_t* text) override;

  int LoadSkin() override;
  void ReleaseSkin() override;

  void OnPaint(HDC dc, Dib* surface) override;
  void OnMouseEnter(int32_t x, int32_t y) override;

  // Skinned's frame pass: advances the images; a frame change of a shown one repaints.
  void UpdateAt(uint32_t now) override;
  int32_t VisualStateIndex() const;
  NImage* image(int32_t state) const { return InRange(state) ? images_[state] : nullptr; }
  NTextBox* caption(int32_t state) const { return InRange(state) ? captions_[state] : nullptr; }

 private:
  static bool InRange(int32_t state) { return state >= 0 && state < kVisualStates; }
  void DeleteCaptions();

  NImage* images_[kVisualStates] = {nullptr, nullptr, nullptr, nullptr};
  NTextBox* captions_[kVisualStates] = {nullptr, nullptr, nullptr, nullptr};
};

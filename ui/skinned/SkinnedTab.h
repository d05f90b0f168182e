// SkinnedTab: one tab of a tab row, drawn from its skin in five tab states. A tab is selected on the press
// (NOTIFY_TAB_SELECTED (id, 0) up from the parent) and stays on until its owner turns it off by writing the
// tab state (SetTabState) of every tab of the row.
//
// Tab states and the mouse (each change repaints):
//   0 off, 1 off and hovered, 2 on, 3 on and hovered, 4 pressed
//   left button down or double click -> 4, then NOTIFY_TAB_SELECTED
//   left button up                   -> 3 when the pointer is over the tab, else 2
//   mouse enter                      -> 4 when the tab is the pressed node; else 0, 1 -> 1 and 2, 3, 4 -> 3
//   mouse leave                      -> 0, 1 -> 0 and 2, 3, 4 -> 2
//
// Skin ("<skin name>.ini" of its category):
//   [TAB]   x, y, width, height (0 each; a size below 1 fails the load)
//   [TAB_OFF], [TAB_OFF_OVER], [TAB_ON], [TAB_ON_OVER], [TAB_ON_DOWN]: the images of tab states 0 to 4
//   (SkinStateImages.h), each may be missing; drawn at the image's own position without blending.
//
// Ownership: owns its images. Thread: user-interface thread only.
#pragma once

#include <windows.h>

#include <cstdint>

#include "ui/skinned/Skinned.h"
#include "ui/view/NWnd.h"

class NImage;

class SkinnedTab : public Skinned<NWnd> {
 public:
  enum TabState : int32_t { kOff = 0, kOffOver = 1, kOn = 2, kOnOver = 3, kPressed = 4 };
  static const int32_t kTabStates = 5;

  SkinnedTab() = default;
  ~SkinnedTab() override;

  // The owner's selection: stores the state and repaints.
  void SetTabState(int32_t state);
  int32_t tab_state() const { return tab_state_; }

  int LoadSkin() override;
  void ReleaseSkin() override;

  void OnPaint(HDC dc, Dib* surface) override;
  void OnLButtonDown(int32_t x, int32_t y) override;
  void OnLButtonDblClk(int32_t x, int32_t y) override;
  void OnLButtonUp(int32_t x, int32_t y) override;
  void OnMouseEnter(int32_t x, int32_t y) override;
  void OnMouseLeave() override;

  // Skinned's frame pass: advances the images; a frame change of a shown one repaints.
  void UpdateAt(uint32_t now) override;
  NImage* image(int32_t state) const { return state >= 0 && state < kTabStates ? images_[state] : nullptr; }

 private:
  int32_t tab_state_ = kOff;
  NImage* images_[kTabStates] = {};
};

// SkinnedToolTip: a pop-up that shows one line of text near the pointer for a while, with the look of its
// skin's TOOLTIP section. The program has one for the whole process (ProcessPopups.h).
//
// A caller names what the tip is about by an owner key and a screen area, every frame if it likes:
// SetTip with the same key changes nothing; a new key restarts the tip. The tip then lives while the pointer
// stays in the area, through these states (its own per-frame update, on its pop-up's frame clock):
//   idle     (not active)             -> SetTip with text and area -> waiting
//   waiting  (hidden, timing wait)    -> after wait time: placed once above the pointer, inside the nearest
//                                        monitor's work area, and shown without activation -> shown
//   shown    (timing show time)       -> after show time: hidden -> expired
//   expired  (hidden)                 -> stays hidden until the pointer leaves the area
// Any state goes back to idle when the pointer leaves the area or SetTip comes without text or area.
// Time and pointer come from FrameInputs.h.
//
// Section TOOLTIP: back_color_r/g/b (0 each, low 8 bits; the fill of the whole tip), wait_time and
// show_time (ms; a negative value keeps the previous one, 0 at first) and the text box keys of NTextBox.h
// (font_id required, fonts from the set named after the category id). A skin without a text box fails to
// load.
//
// Creation: SetSkin, then CreatePopup; the window starts hidden and answers every hit test with HTCLIENT.
// Destruction: Destroy (and the destructor) unregister and destroy the window; ReleaseSkin gives the text box
// back.
//
// Thread: user-interface thread only.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "ui/base/String.h"
#include "ui/host/NPopup.h"
#include "ui/skinned/Skinned.h"

class NTextBox;

// Where a tip of `size` goes for a pointer at `pointer`: above the pointer, moved inside `work_area` (right
// and bottom edges first, then left and top, so a tip larger than the area keeps its top-left corner in it).
POINT PlaceToolTip(POINT pointer, SIZE size, const RECT& work_area);

class SkinnedToolTip : public Skinned<NPopup> {
 public:
  SkinnedToolTip();
  ~SkinnedToolTip() override;

  // With a text (not empty) and an area (screen coordinates, right and bottom exclusive): a new owner key
  // restarts the tip at waiting with that text; the key it has changes nothing. Without text or area: idle.
  void SetTip(const RECT* area, uint32_t owner_key, const wchar_t* text);

  // SkinnedCtrl.
  int LoadSkin() override;
  void ReleaseSkin() override;

  // NWnd. Creation hides the window, then Skinned's creation.
  int32_t OnCreate() override;
  void OnUpdate() override;
  void OnPaint(HDC dc, Dib* surface) override;
  // The tip is never dragged.
  LRESULT HitTestCaption(int32_t x, int32_t y) override;

  uint32_t owner_key() const { return owner_key_; }
  const RECT& area() const { return area_; }
  uint32_t back_colour() const { return back_colour_; }
  int32_t active() const { return active_; }
  int32_t expired() const { return expired_; }
  int32_t wait_time() const { return wait_time_; }
  int32_t show_time() const { return show_time_; }
  const String& text() const { return text_; }
  const NTextBox* text_box() const { return text_box_.get(); }

 private:
  void GoIdle();
  // Renders the text into the text box and sizes the tip around it.
  void LayOut();
  // Moves the tip above the pointer, inside the work area of the monitor nearest to it.
  void Position();

  uint32_t owner_key_ = 0;
  RECT area_ = {0, 0, 0, 0};
  uint32_t back_colour_ = 0;
  int32_t active_ = 0;
  int32_t expired_ = 0;
  uint32_t start_tick_ = 0;
  int32_t wait_time_ = 0;
  int32_t show_time_ = 0;
  String text_;
  std::unique_ptr<NTextBox> text_box_;
};

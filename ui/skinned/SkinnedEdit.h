// SkinnedEdit: a system edit box (NEdit) placed, sized, coloured and given its font by its skin's EDIT
// section, with an optional integer range for number boxes.
//
// Section EDIT: x, y, width, height (0 each, no size check), limit (0: the control's own maximum), font_id
// (a font of the set named after the category id; when the set or the font is missing the font stays. The
// edit draws with a copy of its own: the set owns its fonts and may be loaded again while the edit lives,
// as the game list does with its category's set),
// back_color_r/g/b (default white), text_color_r/g/b (default black), disabled_back_color_r/g/b (default
// the system's button face), each colour's values cut to their low 8 bits. A colour whose three keys are all
// absent keeps its default; with at least one key, absent ones count 0.
//
// Colours reach the control through the owning host, which asks the node of the edit window (OnCtlColor)
// on WM_CTLCOLOREDIT (type 1: back and text colour) and WM_CTLCOLORSTATIC (type 6, a read-only or disabled
// box: the disabled back colour). The edit keeps the one brush it handed out last, deleting the one before.
//
// Number range: SetNumberRange only takes effect on an edit created with ES_NUMBER. Then, when the box
// loses the focus, its text is read as an integer (leading spaces, a sign and the leading digits; 0 when
// there are none), held to the range and written back, also when it was in range.
//
// Destruction: Destroy (and the destructor) unregister and destroy the window; the brush and the font go with
// the object.
//
// Thread: user-interface thread only.
#pragma once

#include <windows.h>

#include <cstdint>

#include "ui/gfx/GdiHandles.h"
#include "ui/host/NEdit.h"
#include "ui/skinned/Skinned.h"

class SkinnedEdit : public Skinned<NEdit> {
 public:
  static constexpr COLORREF kDefaultBackColour = 0xFFFFFF;
  static constexpr COLORREF kDefaultTextColour = 0;

  SkinnedEdit();
  ~SkinnedEdit() override;

  // With ES_NUMBER in the edit's style: the range [minimum, maximum] is checked on every focus loss from now
  // on. Otherwise nothing.
  void SetNumberRange(int32_t minimum, int32_t maximum);

  // SkinnedCtrl.
  int LoadSkin() override;
  // Colours back to their defaults, then the base release.
  void ReleaseSkin() override;

  // NWnd.
  HBRUSH OnCtlColor(HDC dc, int32_t type) override;
  // NEdit: the range clamp.
  void OnKillFocus() override;

  COLORREF back_colour() const { return back_colour_; }
  COLORREF text_colour() const { return text_colour_; }
  COLORREF disabled_back_colour() const { return disabled_back_colour_; }
  int32_t range_check() const { return range_check_; }
  HBRUSH brush() const { return brush_.get(); }

 private:
  // A new brush of `colour` replaces the kept one.
  HBRUSH KeepBrush(COLORREF colour);
  // Gives the window a copy of `font`, which replaces the copy kept; the font stays when none can be made.
  void TakeFont(HFONT font);

  COLORREF back_colour_ = kDefaultBackColour;
  COLORREF text_colour_ = kDefaultTextColour;
  COLORREF disabled_back_colour_;
  ScopedGdiObject<HBRUSH> brush_;
  ScopedGdiObject<HFONT> font_;
  int32_t range_check_ = 0;
  int32_t minimum_ = 0;
  int32_t maximum_ = 0;
};

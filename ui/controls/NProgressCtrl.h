// NProgressCtrl: a windowless bar filled in proportion to a position from 0.0 to 1.0. The built-in look is a
// button-face field in a black frame, filled from the left in the button-shadow colour.
//
// Thread: user-interface thread only.
#pragma once

#include "ui/view/NWnd.h"

class NProgressCtrl : public NWnd {
 public:
  // Clamps `value` into 0.0..1.0 (NaN counts as 0.0); repaints only when the stored position changes.
  void SetPos(double value);
  double position() const { return position_; }

  void OnPaint(HDC dc, Dib* surface) override;

 protected:
  double position_ = 0.0;
};

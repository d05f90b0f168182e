// FrameInputs: the clock and the pointer as the animated skinned controls (the tool-tip, the notice ticker)
// read them on each frame. Production reads GetTickCount and GetCursorPos; tests install their own functions
// for a scope (ScopedFrameInputs) and so drive waits, expiry and scrolling without sleeping.
//
// Thread: user-interface thread only (the installed functions are unguarded).
#pragma once

#include <windows.h>

#include <cstdint>

struct FrameInputs {
  // Milliseconds since some start; wraps like GetTickCount.
  uint32_t (*tick_count)() = nullptr;
  // The pointer in screen coordinates; false when it cannot be read.
  bool (*cursor_pos)(POINT* out) = nullptr;
};

// The tick count of the installed inputs (GetTickCount by default).
uint32_t FrameTickCount();
// The pointer of the installed inputs (GetCursorPos by default); false and (0, 0) when it cannot be read.
bool FramePointer(POINT* out);

// Installs `inputs` (a null member keeps the default for that input) and puts the previous ones back when
// it goes.
class ScopedFrameInputs {
 public:
  explicit ScopedFrameInputs(const FrameInputs& inputs);
  ~ScopedFrameInputs();
  ScopedFrameInputs(const ScopedFrameInputs&) = delete;
  ScopedFrameInputs& operator=(const ScopedFrameInputs&) = delete;

 private:
  FrameInputs previous_;
};

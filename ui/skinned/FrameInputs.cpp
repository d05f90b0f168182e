#include "ui/skinned/FrameInputs.h"

namespace {

FrameInputs g_inputs;

}  // namespace

uint32_t FrameTickCount() {
  return g_inputs.tick_count != nullptr ? g_inputs.tick_count() : GetTickCount();
}

bool FramePointer(POINT* out) {
  *out = POINT{0, 0};
  if (g_inputs.cursor_pos != nullptr)
    return g_inputs.cursor_pos(out);
  if (GetCursorPos(out))
    return true;
  *out = POINT{0, 0};
  return false;
}

ScopedFrameInputs::ScopedFrameInputs(const FrameInputs& inputs) : previous_(g_inputs) {
  g_inputs = inputs;
}

ScopedFrameInputs::~ScopedFrameInputs() {
  g_inputs = previous_;
}

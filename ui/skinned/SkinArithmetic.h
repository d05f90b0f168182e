// Arithmetic on numbers that come from skins: any of them may be huge, so sums and products are made in 64
// bits and held to the 32-bit range before they reach a window or an image (which then refuses what it
// cannot make).
#pragma once

#include <cstdint>

inline int32_t ClampToInt32(int64_t value) {
  if (value > INT32_MAX)
    return INT32_MAX;
  if (value < INT32_MIN)
    return INT32_MIN;
  return static_cast<int32_t>(value);
}

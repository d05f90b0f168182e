// SkinBackground: the BACK section shared by the skinned panel, child window and pop-up: position, size and
// a background image or colour.
//
// Section BACK: x, y, width, height (0 each; width and height must be at least 1), back (an image file of the
// category, optional: without it or when it does not load the colour is used), back_color_r/g/b (0 each, low
// 8 bits used). Painting copies the image at (0, 0) without blending (its colour key honoured) and fills
// whatever the image does not cover with the back colour.
//
// Thread: user-interface thread only.
#pragma once

#include <cstdint>

class Dib;
class NWnd;
class SkinnedCtrl;

class SkinBackground {
 public:
  SkinBackground() = default;
  ~SkinBackground() { Release(); }
  SkinBackground(const SkinBackground&) = delete;
  SkinBackground& operator=(const SkinBackground&) = delete;

  // Reads BACK from the control's loaded ini, then moves, resizes and repaints `window`. 1 when loaded; 0
  // without an ini or with a size below 1.
  int Load(SkinnedCtrl& control, NWnd& window);
  void Paint(Dib* surface) const;
  // Gives the image back; the colour becomes 0.
  void Release();

  Dib* image() const { return image_; }
  uint32_t colour() const { return colour_; }

 private:
  Dib* image_ = nullptr;
  uint32_t colour_ = 0;
};

// 0xFF000000 | r << 16 | g << 8 | b from three skin values, each cut to its low 8 bits.
uint32_t SkinColour(int32_t r, int32_t g, int32_t b);

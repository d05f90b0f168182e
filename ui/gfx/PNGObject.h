// One PNG file held in memory and decoded by libpng: the part of the PNG decoder that talks to the library.
//
// Accepted images: bit depth 8 with colour (RGB, RGBA, or a palette); greyscale and 16-bit channels are
// refused. Palettes are expanded to RGB, a tRNS chunk becomes an alpha channel, and images without alpha get
// alpha 255, so every decoded pixel is B, G, R, A in memory: a little-endian 0xAARRGGBB. Interlaced images
// are de-interlaced by the library.
//
// Errors: the library's errors return control to the caller through its jump buffer (no C++ object with a
// destructor lives in the functions that can be jumped out of); a read past the end of the data is an error,
// so a truncated file never decodes from stale bytes.
//
// Thread: user-interface thread only. Owned by its PNGLoader.
#pragma once

#include <png.h>

#include <cstdint>

class PNGObject {
 public:
  PNGObject() = default;
  ~PNGObject();
  PNGObject(const PNGObject&) = delete;
  PNGObject& operator=(const PNGObject&) = delete;

  // Takes ownership of `data` (`size` bytes, allocated with new[]) and reads the image's header. 1 when the
  // image can be decoded; on 0 the data is still owned and freed by this object.
  int Open(uint8_t* data, uint32_t size);
  // Decodes every row into `pixels` (width x height, rows bottom-up). 1 on success; call at most once.
  int ReadPixels(uint32_t* pixels);

  int32_t width() const { return width_; }
  int32_t height() const { return height_; }

 private:
  static void ReadData(png_structp png, png_bytep target, png_size_t length);
  static void OnError(png_structp png, png_const_charp message);
  static void OnWarning(png_structp png, png_const_charp message);
  // The steps of Open and ReadPixels that run under the jump buffer.
  int ReadHeader();
  int ReadRows();

  uint8_t* data_ = nullptr;
  uint32_t size_ = 0;
  uint32_t position_ = 0;
  png_structp png_ = nullptr;
  png_infop info_ = nullptr;
  png_bytep* rows_ = nullptr;
  int32_t width_ = 0;
  int32_t height_ = 0;
  int bit_depth_ = 0;
  int color_type_ = 0;
};

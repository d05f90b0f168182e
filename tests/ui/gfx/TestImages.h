// Image files made at run time for the decoder tests, so that no binary fixture is kept in the tree: BMP
// bytes written by hand from their headers, PNG files written by libpng's own writer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

// A BMP file: the 14-byte file header, the 40-byte information header and `data` as the pixel data.
// `image_size` is the header's size-of-image field (the data's length when left at ~0u).
struct BmpFields {
  int32_t width = 1;
  int32_t height = 1;
  uint16_t bit_count = 24;
  uint32_t compression = 0;
  uint32_t image_size = ~0u;
};
std::string BmpBytes(const BmpFields& fields, const std::string& data);

// One PNG image to encode. `pixels` holds the rows top to bottom, packed as libpng takes them: R, G, B(, A)
// for colour, one index per pixel for a palette, one grey byte for greyscale (two bytes per sample at bit
// depth 16).
struct PngImage {
  uint32_t width = 1;
  uint32_t height = 1;
  int color_type = 2;  // PNG_COLOR_TYPE_RGB
  int bit_depth = 8;
  bool interlaced = false;
  std::vector<uint8_t> pixels;
  std::vector<uint8_t> palette;        // R, G, B per entry
  std::vector<uint8_t> palette_alpha;  // the tRNS chunk of a palette image
};
// The encoded file; empty when libpng refused the description.
std::string PngBytes(const PngImage& image);

}  // namespace testing_support

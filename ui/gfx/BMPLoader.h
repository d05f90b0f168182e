// Decoder for uncompressed 24-bit and 32-bit BMP files.
//
// File layout (little-endian):
//   0   file header, 14 bytes: signature "BM" (not checked), file size, 4 reserved bytes, pixel-data offset
//   (u32
//       at 10);
//   14  information header, 40 bytes: header size, width (i32 at 18), height (i32 at 22; negative would be a
//       top-down file, which is refused), planes, bit count (u16 at 28), compression (u32 at 30; only 0,
//       uncompressed), image size (u32 at 34; the byte count of the pixel data, must not be 0), and four more
//       fields that are not used;
//   at the pixel-data offset: image-size bytes, rows bottom-up. 24-bit rows hold B, G, R per pixel and are
//   padded to a multiple of 4 bytes; 32-bit rows hold B, G, R, A per pixel.
// The file must hold the whole pixel data, and the pixel data must hold every row that the width, height and
// bit count need; anything shorter is refused rather than decoded from bytes that are not there.
#pragma once

#include <cstdint>

#include "ui/gfx/ImageLoader.h"

class BMPLoader : public ImageLoader {
 public:
  BMPLoader() = default;
  ~BMPLoader() override;
  BMPLoader(const BMPLoader&) = delete;
  BMPLoader& operator=(const BMPLoader&) = delete;

  int Load(const wchar_t* path) override;
  int GetSize(int32_t* width, int32_t* height) override;
  int Decode(uint32_t* pixels) override;
  int GetFormat() override { return kFormatBmp; }

  // The bytes one picture row takes in the file for `width` pixels of `bit_count` bits (rows are padded to 4
  // bytes), or 0 when the bit count is not 24 or 32 or the width is below 1.
  static uint64_t RowBytes(int32_t width, uint16_t bit_count);

 private:
  // Checks the two headers as read; true when the pixel data can be decoded.
  bool HeadersUsable(uint32_t file_size) const;

  uint8_t file_header_[14] = {};
  uint8_t info_header_[40] = {};
  uint8_t* data_ = nullptr;
  uint32_t data_size_ = 0;
  int32_t width_ = 0;
  int32_t height_ = 0;
  uint16_t bit_count_ = 0;
};

// The image decoders behind Dib::Load: one per file format, chosen by the file's extension.
//
// Use: Load (reads the file through the virtual files), GetSize, then Decode into a store of width x height
// pixels. Every length in a file is checked against what is really there; a damaged file is a 0 result, never
// a partial image.
//
// Thread: user-interface thread only. Owned by the caller (CreateImageLoader's result is deleted by it).
#pragma once

#include <cstdint>

class ImageLoader {
 public:
  enum Format { kFormatBmp = 1, kFormatPng = 2 };

  virtual ~ImageLoader() = default;
  // Opens and reads `path` through the virtual files. 1 when it holds an image this decoder can decode.
  virtual int Load(const wchar_t* path) = 0;
  // 1 and the size when an image is loaded (both pointers non-null), else 0.
  virtual int GetSize(int32_t* width, int32_t* height) = 0;
  // Writes width x height pixels 0xAARRGGBB, rows bottom-up, into `pixels`. 1 on success.
  virtual int Decode(uint32_t* pixels) = 0;
  virtual int GetFormat() = 0;
};

// A new decoder for the extension of `path` (the text from its last '.', ignoring ASCII case): ".png" or
// ".bmp"; null for anything else or when it cannot be allocated.
ImageLoader* CreateImageLoader(const wchar_t* path);

// Decoder for PNG files: reads the whole file through the virtual files and hands it to a PNGObject (which
// says which images are accepted).
#pragma once

#include <cstdint>

#include "ui/gfx/ImageLoader.h"

class PNGObject;

class PNGLoader : public ImageLoader {
 public:
  PNGLoader() = default;
  ~PNGLoader() override;
  PNGLoader(const PNGLoader&) = delete;
  PNGLoader& operator=(const PNGLoader&) = delete;

  int Load(const wchar_t* path) override;
  int GetSize(int32_t* width, int32_t* height) override;
  int Decode(uint32_t* pixels) override;
  int GetFormat() override { return kFormatPng; }

 private:
  PNGObject* png_ = nullptr;
};

// Files the window tests write for their skins: solid PNG images and UTF-16 ini files.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "tests/ui/gfx/TestImages.h"

namespace testing_support {

// A solid PNG of `width` x `height` in 0xRRGGBB.
inline std::string SolidPng(uint32_t width, uint32_t height, uint32_t rgb) {
  PngImage image;
  image.width = width;
  image.height = height;
  for (uint32_t i = 0; i < width * height; ++i) {
    image.pixels.push_back(static_cast<uint8_t>(rgb >> 16));
    image.pixels.push_back(static_cast<uint8_t>(rgb >> 8));
    image.pixels.push_back(static_cast<uint8_t>(rgb));
  }
  return PngBytes(image);
}

// An ini file as the ini reader takes it: UTF-16LE with its byte-order mark.
inline std::string Utf16Ini(const std::wstring& text) {
  std::string bytes = "\xFF\xFE";
  for (wchar_t unit : text) {
    bytes.push_back(static_cast<char>(unit & 0xFF));
    bytes.push_back(static_cast<char>(unit >> 8));
  }
  return bytes;
}

}  // namespace testing_support

// What a window shows on the test display, saved as a PNG screenshot in the build folder's screenshots/.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "tests/support/TempFolder.h"
#include "tests/support/WinePaths.h"
#include "tests/ui/gfx/TestImages.h"

namespace testing_support {

// The window's pixels as they are on the screen, as RGBA rows top to bottom.
inline PngImage CaptureWindow(HWND window) {
  RECT frame;
  GetWindowRect(window, &frame);
  PngImage image;
  image.width = frame.right - frame.left;
  image.height = frame.bottom - frame.top;
  image.color_type = 6;  // RGBA
  HDC screen = GetDC(nullptr);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = image.width;
  info.bmiHeader.biHeight = -static_cast<LONG>(image.height);  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC memory = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, image.width, image.height, screen, frame.left, frame.top, SRCCOPY);
  GdiFlush();
  const uint32_t* pixels = static_cast<const uint32_t*>(bits);
  for (size_t i = 0; i < static_cast<size_t>(image.width) * image.height; ++i) {
    image.pixels.push_back(static_cast<uint8_t>(pixels[i] >> 16));
    image.pixels.push_back(static_cast<uint8_t>(pixels[i] >> 8));
    image.pixels.push_back(static_cast<uint8_t>(pixels[i]));
    image.pixels.push_back(255);
  }
  SelectObject(memory, old);
  DeleteDC(memory);
  DeleteObject(bitmap);
  ReleaseDC(nullptr, screen);
  return image;
}

// The pixel (x, y) of a capture as 0xRRGGBB.
inline uint32_t PixelAt(const PngImage& image, int x, int y) {
  size_t at = (static_cast<size_t>(y) * image.width + x) * 4;
  return static_cast<uint32_t>(image.pixels[at]) << 16 | image.pixels[at + 1] << 8 | image.pixels[at + 2];
}

// Writes `image` as screenshots/<name> in the build folder. True when written.
inline bool SaveScreenshot(const PngImage& image, const std::wstring& name) {
  std::string png = PngBytes(image);
  std::wstring shots = WindowsPathOf(std::string(ORVANE_BINARY_DIR) + "/screenshots");
  return !png.empty() && MakeFolders(shots) && WriteFileBytes(shots + L"\\" + name, png);
}

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

#include "tools/skin_sample/SampleSkin.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "tools/skin_sample/SampleLayout.h"

namespace skin_sample {
namespace {

bool WriteBytes(const std::wstring& path, const std::string& bytes) {
  FILE* file = _wfopen(path.c_str(), L"wb");
  if (file == nullptr)
    return false;
  bool written = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return fclose(file) == 0 && written;
}

bool WriteIni(const std::wstring& path, const std::wstring& text) {
  std::string bytes = "\xFF\xFE";
  for (wchar_t unit : text) {
    bytes.push_back(static_cast<char>(unit & 0xFF));
    bytes.push_back(static_cast<char>(unit >> 8));
  }
  return WriteBytes(path, bytes);
}

void PutU32(std::string* bytes, uint32_t value) {
  for (int i = 0; i < 4; ++i)
    bytes->push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// A 24-bit bottom-up BMP of `pixels` (0xRRGGBB, rows top to bottom).
bool WriteBmp(const std::wstring& path, int width, int height, const std::vector<uint32_t>& pixels) {
  uint32_t row_bytes = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
  uint32_t data_size = row_bytes * height;
  std::string bytes = "BM";
  PutU32(&bytes, 54 + data_size);
  PutU32(&bytes, 0);
  PutU32(&bytes, 54);
  PutU32(&bytes, 40);
  PutU32(&bytes, width);
  PutU32(&bytes, height);
  PutU32(&bytes, 1 | 24 << 16);  // planes, bit count
  PutU32(&bytes, 0);             // uncompressed
  PutU32(&bytes, data_size);
  for (int i = 0; i < 4; ++i)
    PutU32(&bytes, 0);
  for (int y = height - 1; y >= 0; --y) {
    for (int x = 0; x < width; ++x) {
      uint32_t pixel = pixels[static_cast<size_t>(y) * width + x];
      bytes.push_back(static_cast<char>(pixel & 0xFF));
      bytes.push_back(static_cast<char>((pixel >> 8) & 0xFF));
      bytes.push_back(static_cast<char>((pixel >> 16) & 0xFF));
    }
    bytes.append(row_bytes - width * 3, '\0');
  }
  return WriteBytes(path, bytes);
}

uint32_t Mix(uint32_t a, uint32_t b, int step, int steps) {
  uint32_t out = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    int from = (a >> shift) & 0xFF;
    int to = (b >> shift) & 0xFF;
    out |= static_cast<uint32_t>(from + (to - from) * step / steps) << shift;
  }
  return out;
}

// The background: a panel with rounded corners (radius 18) outside which lies the magenta key, a header band
// and a vertical gradient.
std::vector<uint32_t> Background() {
  const int w = kDialogWidth, h = kDialogHeight, radius = 18;
  std::vector<uint32_t> pixels(static_cast<size_t>(w) * h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      int dx = x < radius ? radius - x : (x >= w - radius ? x - (w - radius - 1) : 0);
      int dy = y < radius ? radius - y : (y >= h - radius ? y - (h - radius - 1) : 0);
      uint32_t pixel;
      if (dx * dx + dy * dy > radius * radius)
        pixel = 0xFF00FF;
      else if (y < 48)
        pixel = Mix(0x2C4A7A, 0x1B2F52, y, 48);
      else
        pixel = Mix(0xE9EEF5, 0xC9D3E2, y - 48, h - 48);
      if (y == 48)
        pixel = 0x6A8CC0;
      pixels[static_cast<size_t>(y) * w + x] = pixel;
    }
  }
  return pixels;
}

// Four 16 x 16 frames of a spinner: one lit quarter turning clockwise.
std::vector<uint32_t> Spinner() {
  const int w = 64, h = 16;
  std::vector<uint32_t> pixels(static_cast<size_t>(w) * h, 0x1B2F52);
  for (int frame = 0; frame < 4; ++frame) {
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < 16; ++x) {
        int cx = x - 8, cy = y - 8;
        if (cx * cx + cy * cy > 49 || cx * cx + cy * cy < 9)
          continue;
        int quarter = cy < 0 ? (cx >= 0 ? 0 : 3) : (cx >= 0 ? 1 : 2);
        pixels[static_cast<size_t>(y) * w + frame * 16 + x] = quarter == frame ? 0xFFD35A : 0x6A8CC0;
      }
    }
  }
  return pixels;
}

}  // namespace

bool WriteSampleSkin(const std::wstring& folder) {
  std::wstring root = folder + L"\\data";
  CreateDirectoryW(root.c_str(), nullptr);
  root += L"\\skin";
  CreateDirectoryW(root.c_str(), nullptr);
  std::wstring category = root + L"\\sample";
  CreateDirectoryW(category.c_str(), nullptr);
  std::wstring dialog =
      L"[BACK]\r\nwidth=" + std::to_wstring(kDialogWidth) + L"\r\nheight=" + std::to_wstring(kDialogHeight) +
      L"\r\nback=sample_back.bmp\r\ncolorkey_r=255\r\ncolorkey_g=0\r\ncolorkey_b=255\r\n"
      L"[FONT]\r\ncount=2\r\ncolorkey_r=255\r\ncolorkey_g=0\r\ncolorkey_b=255\r\n"
      L"[FONT_0]\r\nid=title\r\nsize=-18\r\nname=Tahoma\r\nbold=1\r\ngap_x=1\r\n"
      L"[FONT_1]\r\nid=body\r\nsize=-13\r\nname=Tahoma\r\n"
      L"[TITLE]\r\nfont_id=title\r\ntext=Skin sample\r\ntext_x=24\r\ntext_y=24\r\ntext_align=4\r\n"
      L"text_color_r=255\r\ntext_color_g=255\r\ntext_color_b=255\r\n"
      L"[STATUS]\r\nfont_id=body\r\ntext_x=180\r\ntext_y=96\r\ntext_align=5\r\n"
      L"text_color_r=27\r\ntext_color_g=47\r\ntext_color_b=82\r\n";
  return WriteIni(root + L"\\skin_info.ini",
                  L"[CATEGORY]\r\ncount=1\r\n[CATEGORY_0]\r\nid=sample\r\npath=sample\r\nskin_path=sample\\%"
                  L"s\r\n") &&
         WriteIni(category + L"\\sample_dlg.ini", dialog) &&
         WriteBmp(category + L"\\sample_back.bmp", kDialogWidth, kDialogHeight, Background()) &&
         WriteIni(category + L"\\spinner.ini",
                  L"[IMAGE]\r\nx=324\r\ny=16\r\nframe_count=4\r\nframe_time=150\r\nimage=spinner.bmp\r\n") &&
         WriteBmp(category + L"\\spinner.bmp", 64, 16, Spinner());
}

}  // namespace skin_sample

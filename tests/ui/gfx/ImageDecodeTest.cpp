// Decoding BMP and PNG files through the virtual files, the shared image cache, and the application icon.
#include <windows.h>

#include <gtest/gtest.h>
#include <png.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/TempFolder.h"
#include "tests/ui/base/PackWriter.h"
#include "tests/ui/gfx/TestImages.h"
#include "ui/base/VirtualFile.h"
#include "ui/gfx/AppIcon.h"
#include "ui/gfx/Dib.h"

namespace testing_support {
namespace {

class ImageDecodeTest : public ::testing::Test {
 protected:
  void SetUp() override { ReleaseAllVirtualFiles(); }
  void TearDown() override { ReleaseAllVirtualFiles(); }

  std::wstring Write(const std::wstring& name, const std::string& bytes) {
    std::wstring path = folder_.Join(name);
    EXPECT_TRUE(WriteFileBytes(path, bytes)) << std::string(name.begin(), name.end());
    return path;
  }

  // Loads the file as a heap image and returns its pixels top row first; `ok` says whether it loaded.
  std::vector<uint32_t> Decode(const std::wstring& name, const std::string& bytes, bool* ok) {
    Dib* image = Dib::Load(Write(name, bytes).c_str(), 0);
    *ok = image != nullptr;
    std::vector<uint32_t> pixels;
    if (image == nullptr)
      return pixels;
    for (int32_t y = 0; y < image->height(); ++y)
      for (int32_t x = 0; x < image->width(); ++x)
        pixels.push_back(image->Row(y)[x]);
    image->Release();
    return pixels;
  }

  TempFolder folder_{L"images"};
};

std::string Bytes(std::initializer_list<int> values) {
  std::string bytes;
  for (int value : values)
    bytes.push_back(static_cast<char>(value));
  return bytes;
}

TEST_F(ImageDecodeTest, Bmp24BitRowsArePaddedToFourBytes) {
  // 3 x 2 pixels: 9 bytes of B, G, R per row, padded to 12; the bottom row comes first.
  std::string data = Bytes({0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0xEE, 0xEE, 0xEE,  //
                            0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x18, 0x19, 0xEE, 0xEE, 0xEE});
  BmpFields fields;
  fields.width = 3;
  fields.height = 2;
  bool ok = false;
  std::vector<uint32_t> pixels = Decode(L"a.bmp", BmpBytes(fields, data), &ok);
  ASSERT_TRUE(ok);
  EXPECT_EQ((std::vector<uint32_t>{0xFF131211, 0xFF161514, 0xFF191817, 0xFF030201, 0xFF060504, 0xFF090807}),
            pixels);
}

TEST_F(ImageDecodeTest, Bmp32BitKeepsItsAlphaByte) {
  BmpFields fields;
  fields.width = 2;
  fields.height = 1;
  fields.bit_count = 32;
  bool ok = false;
  std::vector<uint32_t> pixels = Decode(L"a.bmp", BmpBytes(fields, Bytes({1, 2, 3, 0x40, 4, 5, 6, 0})), &ok);
  ASSERT_TRUE(ok);
  EXPECT_EQ((std::vector<uint32_t>{0x40030201, 0x00060504}), pixels);
}

TEST_F(ImageDecodeTest, BmpFilesThatCannotBeDecodedWholeAreRefused) {
  struct Case {
    const char* what;
    BmpFields fields;
    size_t data_bytes;
  };
  const Case cases[] = {
      {"16-bit", {2, 2, 16, 0, ~0u}, 8},
      {"compressed", {2, 2, 24, 1, ~0u}, 16},
      {"image size 0", {2, 2, 24, 0, 0}, 16},
      {"rows need 24 bytes, 23 there", {3, 2, 24, 0, ~0u}, 23},
      {"32-bit rows need 16 bytes, 12 there", {2, 2, 32, 0, ~0u}, 12},
      {"image size beyond the file", {2, 2, 24, 0, 4096}, 16},
      {"top-down", {2, -2, 24, 0, ~0u}, 16},
      {"width 0", {0, 2, 24, 0, ~0u}, 16},
      {"50000 x 50000 with 16 bytes", {50000, 50000, 24, 0, ~0u}, 16},
      {"huge size whose byte count wraps", {65536, 65536, 32, 0, ~0u}, 16},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    bool ok = true;
    Decode(L"bad.bmp", BmpBytes(c.fields, std::string(c.data_bytes, '\x7F')), &ok);
    EXPECT_FALSE(ok);
    ReleaseAllVirtualFiles();
  }
  bool ok = true;
  Decode(L"short.bmp", BmpBytes(BmpFields(), "abcd").substr(0, 30), &ok);
  EXPECT_FALSE(ok);
}

PngImage RgbaImage(uint32_t width, uint32_t height) {
  PngImage image;
  image.width = width;
  image.height = height;
  image.color_type = PNG_COLOR_TYPE_RGBA;
  for (uint32_t i = 0; i < width * height; ++i) {
    image.pixels.push_back(static_cast<uint8_t>(i * 7));
    image.pixels.push_back(static_cast<uint8_t>(i * 13 + 1));
    image.pixels.push_back(static_cast<uint8_t>(i * 29 + 2));
    image.pixels.push_back(static_cast<uint8_t>(255 - i * 3));
  }
  return image;
}

TEST_F(ImageDecodeTest, PngRgbaAndRgbDecodeTopRowFirstWithAlpha) {
  bool ok = false;
  std::vector<uint32_t> rgba = Decode(L"a.png", PngBytes(RgbaImage(2, 2)), &ok);
  ASSERT_TRUE(ok);
  EXPECT_EQ((std::vector<uint32_t>{0xFF000102, 0xFC070E1F, 0xF90E1B3C, 0xF6152859}), rgba);

  PngImage rgb;
  rgb.width = 2;
  rgb.pixels = {10, 20, 30, 40, 50, 60};
  EXPECT_EQ((std::vector<uint32_t>{0xFF0A141E, 0xFF28323C}), Decode(L"b.PNG", PngBytes(rgb), &ok));
  EXPECT_TRUE(ok);
}

TEST_F(ImageDecodeTest, PngPaletteTransparencyBecomesAlpha) {
  PngImage image;
  image.width = 3;
  image.color_type = PNG_COLOR_TYPE_PALETTE;
  image.palette = {255, 0, 0, 0, 255, 0, 0, 0, 255};
  image.palette_alpha = {0, 128};  // the third entry has no tRNS value: opaque
  image.pixels = {0, 1, 2};
  bool ok = false;
  EXPECT_EQ((std::vector<uint32_t>{0x00FF0000, 0x8000FF00, 0xFF0000FF}),
            Decode(L"p.png", PngBytes(image), &ok));
  EXPECT_TRUE(ok);
}

TEST_F(ImageDecodeTest, PngInterlacedDecodesLikeTheSameImageStraight) {
  PngImage image = RgbaImage(13, 9);
  bool ok = false;
  std::vector<uint32_t> straight = Decode(L"straight.png", PngBytes(image), &ok);
  ASSERT_TRUE(ok);
  image.interlaced = true;
  std::string interlaced = PngBytes(image);
  EXPECT_EQ(straight, Decode(L"interlaced.png", interlaced, &ok));
  EXPECT_TRUE(ok);
}

TEST_F(ImageDecodeTest, PngGreyscaleSixteenBitLowDepthAndDamagedFilesAreRefused) {
  PngImage grey;
  grey.color_type = PNG_COLOR_TYPE_GRAY;
  grey.pixels = {7};
  PngImage grey_alpha;
  grey_alpha.color_type = PNG_COLOR_TYPE_GRAY_ALPHA;
  grey_alpha.pixels = {7, 8};
  PngImage deep;
  deep.bit_depth = 16;
  deep.pixels = {1, 2, 3, 4, 5, 6};
  PngImage low;
  low.color_type = PNG_COLOR_TYPE_PALETTE;
  low.bit_depth = 4;
  low.palette = {1, 2, 3};
  low.pixels = {0};
  std::string good = PngBytes(RgbaImage(16, 16));
  std::string bad_crc = good;
  bad_crc[45] ^= 0x55;  // inside the first IDAT chunk's data
  const std::pair<const char*, std::string> cases[] = {
      {"greyscale", PngBytes(grey)},
      {"greyscale with alpha", PngBytes(grey_alpha)},
      {"16 bits per channel", PngBytes(deep)},
      {"4-bit palette", PngBytes(low)},
      {"cut inside the image data", good.substr(0, good.size() / 2)},
      {"cut before the end chunk", good.substr(0, good.size() - 12)},
      {"cut inside the header", good.substr(0, 20)},
      {"damaged image data", bad_crc},
      {"no signature", "not a png file at all"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.first);
    ASSERT_FALSE(c.second.empty());
    bool ok = true;
    Decode(L"bad.png", c.second, &ok);
    EXPECT_FALSE(ok);
    ReleaseAllVirtualFiles();
  }
}

TEST_F(ImageDecodeTest, UnknownExtensionsGiveNoImage) {
  Write(L"a.gif", PngBytes(RgbaImage(1, 1)));
  Write(L"noextension", PngBytes(RgbaImage(1, 1)));
  EXPECT_EQ(nullptr, Dib::Load(folder_.Join(L"a.gif").c_str(), 0));
  EXPECT_EQ(nullptr, Dib::Load(folder_.Join(L"noextension").c_str(), 0));
  EXPECT_EQ(nullptr, Dib::Load(folder_.Join(L"missing.png").c_str(), 0));
}

TEST_F(ImageDecodeTest, OnePathIgnoringCaseSharesOneImageUntilTheLastRelease) {
  std::wstring path = Write(L"shared.png", PngBytes(RgbaImage(2, 2)));
  std::wstring upper = path;
  for (wchar_t& unit : upper)
    unit = static_cast<wchar_t>(towupper(unit));
  Dib* first = Dib::Load(path.c_str(), 0);
  ASSERT_NE(nullptr, first);
  Dib* second = Dib::Load(upper.c_str(), 0);
  EXPECT_EQ(first, second);
  EXPECT_EQ(2, first->references());
  EXPECT_EQ(first, Dib::FindCached(upper.c_str()));
  first->Release();
  EXPECT_EQ(second, Dib::FindCached(path.c_str()));
  second->Release();
  EXPECT_EQ(nullptr, Dib::FindCached(path.c_str()));
  EXPECT_EQ(nullptr, Dib::FindCached(L""));
}

TEST_F(ImageDecodeTest, ABitmapRequestIsNeverServedByACachedHeapImage) {
  std::wstring path = Write(L"back.bmp", BmpBytes(BmpFields(), "abcd"));
  Dib* heap = Dib::Load(path.c_str(), 0);
  ASSERT_NE(nullptr, heap);
  EXPECT_EQ(nullptr, heap->bitmap());
  Dib* section = Dib::Load(path.c_str(), 1);
  ASSERT_NE(nullptr, section);
  EXPECT_NE(heap, section);
  EXPECT_NE(nullptr, section->bitmap());
  // A second bitmap request shares the section; a heap request may take either.
  Dib* again = Dib::Load(path.c_str(), 1);
  EXPECT_EQ(section, again);
  Dib* any = Dib::Load(path.c_str(), 0);
  EXPECT_TRUE(any == heap || any == section);
  for (Dib* image : {heap, section, again, any})
    image->Release();
  EXPECT_EQ(nullptr, Dib::FindCached(path.c_str()));
}

TEST_F(ImageDecodeTest, ImagesLoadFromPackEntries) {
  Write(L"skin.pak", PackWriter().Add(L"btn.png", PngBytes(RgbaImage(3, 2))).Bytes());
  Dib* image = Dib::Load(folder_.Join(L"skin\\btn.png").c_str(), 0);
  ASSERT_NE(nullptr, image);
  EXPECT_EQ(3, image->width());
  EXPECT_EQ(2, image->height());
  image->Release();
}

// A 16 x 16 icon file with one 32-bit image.
std::string IconBytes() {
  std::string bytes = Bytes({0, 0, 1, 0, 1, 0, 16, 16, 0, 0, 1, 0, 32, 0});
  const uint32_t resource_size = 40 + 16 * 16 * 4 + 16 * 4;
  for (uint32_t value : {resource_size, 22u})
    for (int shift = 0; shift < 32; shift += 8)
      bytes.push_back(static_cast<char>((value >> shift) & 0xFF));
  BmpFields fields;
  fields.width = 16;
  fields.height = 32;  // the colour rows and the mask rows
  fields.bit_count = 32;
  fields.image_size = 0;
  std::string header = BmpBytes(fields, "").substr(14);
  return bytes + header + std::string(16 * 16 * 4, '\x60') + std::string(16 * 4, '\0');
}

TEST_F(ImageDecodeTest, AppIconComesFromTheIconFileBesideTheBase) {
  Write(L"launcher.ico", IconBytes());
  HICON icon = LoadAppIcon(folder_.Join(L"launcher").c_str());
  EXPECT_NE(nullptr, icon);
  FreeAppIcon();
  // The test program has no icon resource 128 to fall back on.
  EXPECT_EQ(nullptr, LoadAppIcon(folder_.Join(L"missing").c_str()));
  EXPECT_EQ(nullptr, LoadAppIcon(std::wstring(MAX_PATH - 4, L'a').c_str()));
  FreeAppIcon();
}

}  // namespace
}  // namespace testing_support

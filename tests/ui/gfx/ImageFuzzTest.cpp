// Seeded mutation fuzzing of the image decoders (BMP and PNG through the image loaders and Dib::Load with its
// size cap). Skins are exchanged between users, so every image file is untrusted. An accepted image must
// match the sizes its file states, stay within the cap, and decode into a store of exactly its size: the
// store ends at a no-access page, so one pixel written past it fails at once.
#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/support/GuardedBuffer.h"
#include "tests/support/Mutator.h"
#include "tests/support/TempFolder.h"
#include "tests/ui/gfx/TestImages.h"
#include "ui/base/VirtualFile.h"
#include "ui/gfx/BMPLoader.h"
#include "ui/gfx/Dib.h"
#include "ui/gfx/ImageLoader.h"

namespace testing_support {
namespace {

uint32_t LittleEndianAt(const std::string& bytes, size_t at, int width) {
  uint32_t value = 0;
  for (int i = width - 1; i >= 0; --i)
    value = (value << 8) | static_cast<uint8_t>(bytes[at + i]);
  return value;
}

uint32_t BigEndianAt(const std::string& bytes, size_t at) {
  uint32_t value = 0;
  for (int i = 0; i < 4; ++i)
    value = (value << 8) | static_cast<uint8_t>(bytes[at + i]);
  return value;
}

// Mends every whole chunk's CRC, so that mutations reach the decoder's checks behind the CRC.
void MendPngCrcs(std::string* bytes) {
  size_t at = 8;
  while (at + 12 <= bytes->size()) {
    const uint32_t length = BigEndianAt(*bytes, at);
    if (length > bytes->size() - at - 12)
      return;
    const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(bytes->data() + at + 4), length + 4);
    for (int i = 0; i < 4; ++i)
      (*bytes)[at + 8 + length + i] = static_cast<char>(crc >> (24 - 8 * i));
    at += 12 + length;
  }
}

// What the file says about itself: the accepted image must agree with it.
void ExpectSizeAsTheFileStates(const std::string& file, bool png, int32_t width, int32_t height) {
  ASSERT_GE(width, 1);
  ASSERT_GE(height, 1);
  ASSERT_LE(static_cast<uint64_t>(width) * static_cast<uint64_t>(height) * 4u, uint64_t{Dib::kMaxByteSize});
  if (png) {
    ASSERT_GE(file.size(), 33u);
    ASSERT_EQ(static_cast<uint32_t>(width), BigEndianAt(file, 16));
    ASSERT_EQ(static_cast<uint32_t>(height), BigEndianAt(file, 20));
    ASSERT_EQ(8, file[24]);
    return;
  }
  ASSERT_GE(file.size(), 54u);
  ASSERT_EQ(static_cast<uint32_t>(width), LittleEndianAt(file, 18, 4));
  ASSERT_EQ(static_cast<uint32_t>(height), LittleEndianAt(file, 22, 4));
  const uint16_t bit_count = static_cast<uint16_t>(LittleEndianAt(file, 28, 2));
  ASSERT_EQ(0u, LittleEndianAt(file, 30, 4));
  // The whole pixel data lies in the file.
  const uint64_t pixel_end =
      LittleEndianAt(file, 10, 4) + BMPLoader::RowBytes(width, bit_count) * static_cast<uint64_t>(height);
  ASSERT_NE(0u, BMPLoader::RowBytes(width, bit_count));
  ASSERT_LE(pixel_end, file.size());
}

std::vector<std::string> BmpSeeds() {
  std::vector<std::string> seeds;
  for (uint16_t bits : {24, 32}) {
    for (int32_t width : {1, 3, 5}) {
      BmpFields fields;
      fields.width = width;
      fields.height = 2;
      fields.bit_count = bits;
      seeds.push_back(
          BmpBytes(fields, std::string(static_cast<size_t>(BMPLoader::RowBytes(width, bits) * 2), 'p')));
    }
  }
  return seeds;
}

std::vector<std::string> PngSeeds() {
  std::vector<std::string> seeds;
  PngImage rgb;
  rgb.width = 3;
  rgb.height = 2;
  rgb.pixels.assign(3 * 2 * 3, 0x40);
  seeds.push_back(PngBytes(rgb));
  PngImage rgba = rgb;
  rgba.color_type = PNG_COLOR_TYPE_RGBA;
  rgba.interlaced = true;
  rgba.pixels.assign(3 * 2 * 4, 0x80);
  seeds.push_back(PngBytes(rgba));
  PngImage palette = rgb;
  palette.color_type = PNG_COLOR_TYPE_PALETTE;
  palette.pixels = {0, 1, 0, 1, 1, 0};
  palette.palette = {255, 0, 0, 0, 0, 255};
  palette.palette_alpha = {128};
  seeds.push_back(PngBytes(palette));
  return seeds;
}

class ImageFuzz : public ::testing::Test {
 protected:
  void SetUp() override { ReleaseAllVirtualFiles(); }
  void TearDown() override { ReleaseAllVirtualFiles(); }

  // Decodes `file` through its loader into a guarded store and through Dib::Load; both agree.
  void Check(const std::string& file, bool png) {
    const std::wstring& path = png ? png_path_ : bmp_path_;
    ASSERT_TRUE(WriteFileBytes(path, file));
    std::unique_ptr<ImageLoader> loader(CreateImageLoader(path.c_str()));
    ASSERT_NE(nullptr, loader);
    int32_t width = 0, height = 0;
    const bool loaded = loader->Load(path.c_str()) && loader->GetSize(&width, &height);
    bool decoded = false;
    if (loaded && static_cast<uint64_t>(width) * static_cast<uint64_t>(height) * 4u <= Dib::kMaxByteSize) {
      ASSERT_NO_FATAL_FAILURE(ExpectSizeAsTheFileStates(file, png, width, height));
      const size_t bytes = static_cast<size_t>(width) * static_cast<size_t>(height) * 4u;
      decoded = loader->Decode(reinterpret_cast<uint32_t*>(pixels_.PlaceSpace(bytes))) != 0;
    }
    loader.reset();
    Dib* image = Dib::Load(path.c_str(), 0);
    ASSERT_EQ(decoded, image != nullptr);
    accepted_ += decoded;
    if (image == nullptr)
      return;
    ASSERT_EQ(width, image->width());
    ASSERT_EQ(height, image->height());
    ASSERT_NE(nullptr, image->pixels());
    image->Release();
    ASSERT_EQ(nullptr, Dib::FindCached(path.c_str()));
  }

  TempFolder folder_{L"imagefuzz"};
  const std::wstring bmp_path_ = folder_.Join(L"fuzz.bmp");
  const std::wstring png_path_ = folder_.Join(L"fuzz.png");
  GuardedBuffer pixels_;
  int accepted_ = 0;
};

TEST_F(ImageFuzz, BmpImagesAreDecodedOnlyFromPixelsTheFileHolds) {
  Mutator mutator(0xB3B, Mutator::kBinary);
  RunFuzzInputs("bmp decoder", mutator, BmpSeeds(), {}, 300,
                [&](const std::string& input) { Check(input, false); });
  EXPECT_GT(accepted_, 0);
}

TEST_F(ImageFuzz, PngImagesAreAcceptedOnlyAsTheirHeaderStates) {
  Mutator mutator(0x9E6, Mutator::kBinary);
  const std::vector<std::string> dictionary = {
      "IHDR", "IDAT", "IEND", "tRNS", "PLTE", std::string(4, '\0'), std::string("\x7F\xFF\xFF\xFF", 4)};
  RunFuzzInputs("png decoder", mutator, PngSeeds(), dictionary, 300, [&](const std::string& input) {
    std::string file = input;
    if (mutator.Below(4) != 0)
      MendPngCrcs(&file);
    Check(file, true);
  });
  EXPECT_GT(accepted_, 0);
}

}  // namespace
}  // namespace testing_support

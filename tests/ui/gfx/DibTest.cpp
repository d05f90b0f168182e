// Images in memory: the blend and copy against a plain reference, clipping, fills, colour-key regions and the
// size rules of the pixel store.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "ui/gfx/Dib.h"

namespace {

// A private heap image filled from `pixels` given top row first.
Dib* MakeImage(int32_t width, int32_t height, const std::vector<uint32_t>& pixels) {
  Dib* image = Dib::CreateBlank(width, height, 0);
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x)
      image->Row(y)[x] = pixels[static_cast<size_t>(y) * width + x];
  return image;
}

Dib* MakeRandomImage(int32_t width, int32_t height, std::mt19937* random) {
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
  for (uint32_t& pixel : pixels) {
    pixel = (*random)();
    // Plenty of the alpha values that take their own paths: transparent and opaque.
    switch ((*random)() % 4) {
      case 0:
        pixel &= 0x00FFFFFF;
        break;
      case 1:
        pixel |= 0xFF000000;
        break;
    }
  }
  return MakeImage(width, height, pixels);
}

uint32_t At(const Dib* image, int32_t x, int32_t y) {
  return image->pixels()[static_cast<size_t>(image->height() - 1 - y) * image->width() + x];
}

std::vector<uint32_t> PixelsOf(const Dib* image) {
  std::vector<uint32_t> pixels;
  for (int32_t y = 0; y < image->height(); ++y)
    for (int32_t x = 0; x < image->width(); ++x)
      pixels.push_back(At(image, x, y));
  return pixels;
}

// The blend written out for one pixel, in 64-bit arithmetic reduced to 32 bits where the design wraps.
uint32_t ReferenceBlend(uint32_t s, uint32_t d, int32_t global_alpha) {
  uint64_t alpha = global_alpha > 255 ? 255 : static_cast<uint64_t>(global_alpha);
  uint64_t f = ((((alpha + 1) * (s >> 24)) >> 8) & 255) + 1;
  uint64_t rb_diff = (static_cast<uint64_t>(s & 0xFF00FF) - (d & 0xFF00FF)) & 0xFFFFFFFF;
  uint64_t rb = (((((rb_diff * f) & 0xFFFFFFFF) >> 8) + (d & 0xFF00FF)) & 0xFFFFFFFF) & 0xFF00FF;
  uint64_t g_diff = (static_cast<uint64_t>(s & 0xFF00) - (d & 0xFF00)) & 0xFFFFFFFF;
  uint64_t g = (((((g_diff * f) & 0xFFFFFFFF) >> 8) + (d & 0xFF00)) & 0xFFFFFFFF) & 0xFF00;
  return static_cast<uint32_t>(rb | g | (d & 0xFF000000));
}

// Dib::Draw as a walk over every destination pixel: which source pixel lands there, and what becomes of it.
std::vector<uint32_t> ReferenceDraw(const RECT* source_rect,
                                    POINT at,
                                    const Dib* src,
                                    const Dib* dst,
                                    int blend) {
  std::vector<uint32_t> result = PixelsOf(dst);
  RECT block = source_rect != nullptr ? *source_rect : RECT{0, 0, src->width(), src->height()};
  int32_t global_alpha = src->alpha();
  for (int32_t y = 0; y < dst->height(); ++y) {
    for (int32_t x = 0; x < dst->width(); ++x) {
      int32_t sx = x - at.x + block.left;
      int32_t sy = y - at.y + block.top;
      if (sx < block.left || sx >= block.right || sy < block.top || sy >= block.bottom)
        continue;
      uint32_t s = At(src, sx, sy);
      uint32_t& d = result[static_cast<size_t>(y) * dst->width() + x];
      if (!blend) {
        if (src->color_key() == 0 || s != src->color_key())
          d = s;
      } else if (global_alpha > 0 && (s >> 24) != 0 && (d >> 24) != 0 && s != src->color_key()) {
        d = ReferenceBlend(s, d, global_alpha);
      }
    }
  }
  return result;
}

TEST(DibDraw, MatchesTheReferenceOverClippingAlphaAndColourKeyCases) {
  struct Case {
    const char* what;
    bool has_rect;
    RECT rect;
    POINT at;
    int blend;
    int32_t global_alpha;
    uint32_t key;
  };
  const Case cases[] = {
      {"whole image, full opacity", false, {}, {3, 2}, 1, 255, 0},
      {"half global alpha", false, {}, {0, 0}, 1, 128, 0},
      {"global alpha above 255 acts as 255", false, {}, {1, 1}, 1, 1000, 0},
      {"global alpha 1", false, {}, {0, 0}, 1, 1, 0},
      {"negative destination", false, {}, {-5, -5}, 1, 200, 0},
      {"source rectangle past the destination edges", true, {2, 3, 17, 11}, {12, 9}, 1, 255, 0},
      {"source rectangle at a negative point", true, {4, 1, 14, 9}, {-3, -6}, 1, 90, 0},
      {"blend with a colour key", false, {}, {2, 2}, 1, 255, 0xFF102030},
      {"copy", true, {1, 1, 16, 10}, {5, -2}, 0, 255, 0},
      {"copy with a colour key", false, {}, {-4, 3}, 0, 255, 0xFF102030},
      {"entirely off the right", false, {}, {25, 0}, 1, 255, 0},
      {"entirely above", false, {}, {0, -12}, 0, 255, 0},
  };
  std::mt19937 random(20240611);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Dib* src = MakeRandomImage(18, 12, &random);
    Dib* dst = MakeRandomImage(24, 15, &random);
    src->set_alpha(c.global_alpha);
    src->set_color_key(c.key);
    if (c.key != 0) {
      src->Row(0)[0] = c.key;
      src->Row(5)[7] = c.key;
    }
    std::vector<uint32_t> expected = ReferenceDraw(c.has_rect ? &c.rect : nullptr, c.at, src, dst, c.blend);
    EXPECT_EQ(1, Dib::Draw(c.has_rect ? &c.rect : nullptr, &c.at, src, dst, c.blend));
    EXPECT_EQ(expected, PixelsOf(dst));
    src->Release();
    dst->Release();
  }
}

TEST(DibDraw, FullOpacityGivesTheSourceColourWithTheDestinationAlpha) {
  Dib* src = MakeImage(1, 1, {0xFF123456});
  Dib* dst = MakeImage(1, 1, {0x80ABCDEF});
  EXPECT_EQ(1, Dib::Draw(nullptr, nullptr, src, dst, 1));
  EXPECT_EQ(0x80123456u, At(dst, 0, 0));
  src->Release();
  dst->Release();
}

TEST(DibDraw, TransparentPixelsOnEitherSideAndZeroGlobalAlphaChangeNothing) {
  Dib* src = MakeImage(2, 1, {0xFF112233, 0x00445566});
  Dib* dst = MakeImage(2, 1, {0x00778899, 0xFFAABBCC});
  EXPECT_EQ(1, Dib::Draw(nullptr, nullptr, src, dst, 1));
  EXPECT_EQ((std::vector<uint32_t>{0x00778899, 0xFFAABBCC}), PixelsOf(dst));

  src->Row(0)[1] = 0xFF445566;
  src->set_alpha(0);
  EXPECT_EQ(1, Dib::Draw(nullptr, nullptr, src, dst, 1));
  EXPECT_EQ(0xFFAABBCCu, At(dst, 1, 0));
  src->Release();
  dst->Release();
}

TEST(DibDraw, NegativeDestinationDrawsTheSourceFromTheMatchingOffset) {
  std::vector<uint32_t> pixels;
  for (uint32_t i = 0; i < 100; ++i)
    pixels.push_back(0xFF000000 | i);
  Dib* src = MakeImage(10, 10, pixels);
  Dib* dst = MakeImage(3, 3, std::vector<uint32_t>(9, 0xFFFFFFFF));
  POINT at = {-5, -5};
  EXPECT_EQ(1, Dib::Draw(nullptr, &at, src, dst, 0));
  EXPECT_EQ(0xFF000000u | 55, At(dst, 0, 0));
  EXPECT_EQ(0xFF000000u | 77, At(dst, 2, 2));
  src->Release();
  dst->Release();
}

TEST(DibDraw, SourceRectanglesOutsideTheSourceAreRefused) {
  Dib* src = Dib::CreateBlank(10, 8, 0);
  Dib* dst = Dib::CreateBlank(10, 8, 0);
  const RECT refused[] = {{0, 0, 11, 8}, {5, 0, 11, 4}, {0, 4, 10, 9},
                          {-1, 0, 4, 4}, {0, -1, 4, 4}, {6, 0, 5, 4}};
  for (const RECT& rect : refused)
    EXPECT_EQ(0, Dib::Draw(&rect, nullptr, src, dst, 0)) << rect.left << "," << rect.top;
  RECT empty = {3, 3, 3, 3};
  EXPECT_EQ(1, Dib::Draw(&empty, nullptr, src, dst, 1));
  EXPECT_EQ(0, Dib::Draw(nullptr, nullptr, src, nullptr, 0));
  EXPECT_EQ(0, Dib::Draw(nullptr, nullptr, nullptr, dst, 0));
  src->Release();
  dst->Release();
}

TEST(DibFill, FillRectClipsAndSetOpaqueKeepsColours) {
  Dib* image = MakeImage(4, 3, std::vector<uint32_t>(12, 0x00000000));
  image->FillRect(RECT{-2, 1, 2, 10}, 0x11223344);
  image->FillRect(RECT{3, 0, 3, 3}, 0xFFFFFFFF);  // empty
  EXPECT_EQ((std::vector<uint32_t>{0, 0, 0, 0, 0x11223344, 0x11223344, 0, 0, 0x11223344, 0x11223344, 0, 0}),
            PixelsOf(image));
  image->SetOpaque();
  EXPECT_EQ(0xFF223344u, At(image, 1, 2));
  EXPECT_EQ(0xFF000000u, At(image, 3, 0));
  image->Release();
}

TEST(DibRegion, ColourKeyAndTransparentPixelsLieOutside) {
  const uint32_t key = 0xFFFF00FF;
  const uint32_t o = 0xFF808080;
  Dib* image = MakeImage(4, 3,
                         {key, o, o, key,       //
                          o, 0x00808080, o, o,  //
                          key, key, key, key});
  HRGN region = image->CreateColorKeyRegion(key);
  ASSERT_NE(nullptr, region);
  const bool inside[3][4] = {
      {false, true, true, false}, {true, false, true, true}, {false, false, false, false}};
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x)
      EXPECT_EQ(inside[y][x], PtInRegion(region, x, y) != 0) << x << "," << y;
  DeleteObject(region);
  image->Release();

  Dib empty;
  EXPECT_EQ(nullptr, empty.CreateColorKeyRegion(key));
}

TEST(DibStore, SizesAreCheckedBeforeAnythingIsAllocated) {
  Dib image;
  EXPECT_EQ(0, image.Create(0, 5, 0));
  EXPECT_EQ(0, image.Create(5, -1, 0));
  // 65536 x 65536 x 4 overflows 32 bits; 8192 x 8192 x 4 fits them but is above the cap.
  EXPECT_EQ(0, image.Create(65536, 65536, 0));
  EXPECT_EQ(0, image.Create(8192, 8192, 0));
  EXPECT_EQ(0, image.width());
  EXPECT_EQ(nullptr, image.pixels());
  EXPECT_EQ(nullptr, Dib::CreateBlank(70000, 70000, 1));
}

TEST(DibStore, ResizeKeepsATransposedHeapBlockAndAFailedResizeChangesNothing) {
  Dib* image = Dib::CreateBlank(4, 6, 0);
  uint32_t* block = image->pixels();
  EXPECT_EQ(1, image->Resize(6, 4));
  EXPECT_EQ(block, image->pixels());
  EXPECT_EQ(6, image->width());
  EXPECT_EQ(96u, image->byte_size());
  EXPECT_EQ(0, image->Resize(70000, 70000));
  EXPECT_EQ(block, image->pixels());
  EXPECT_EQ(6, image->width());
  EXPECT_EQ(0, image->Resize(0, 4));
  image->Release();
}

TEST(DibStore, SectionImagesHaveABitmapAndCanBeShownOnADeviceContext) {
  Dib* section = Dib::CreateBlank(8, 5, 1);
  ASSERT_NE(nullptr, section);
  EXPECT_NE(nullptr, section->bitmap());
  EXPECT_EQ(1, section->Resize(5, 8));
  EXPECT_NE(nullptr, section->bitmap());
  EXPECT_EQ(1, section->section());

  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP target = CreateCompatibleBitmap(screen, 10, 10);
  HGDIOBJ old = SelectObject(memory, target);
  EXPECT_EQ(1, section->DrawToDC(nullptr, memory));
  Dib* heap = Dib::CreateBlank(5, 8, 0);
  EXPECT_EQ(0, heap->DrawToDC(nullptr, memory));
  EXPECT_EQ(0, section->DrawToDC(nullptr, nullptr));
  SelectObject(memory, old);
  DeleteObject(target);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  heap->Release();
  section->Release();
}

TEST(DibLifetime, LiveListFollowsConstructionAndRelease) {
  int32_t before = Dib::LiveImages().count();
  Dib* image = Dib::CreateBlank(2, 2, 0);
  EXPECT_EQ(before + 1, Dib::LiveImages().count());
  image->AddReference();
  image->Release();
  EXPECT_EQ(before + 1, Dib::LiveImages().count());
  image->Release();
  EXPECT_EQ(before, Dib::LiveImages().count());
}

TEST(MakeColor, ClampsEachComponent) {
  EXPECT_EQ(0xFF0A14FFu, MakeColor(10, 20, 300));
  EXPECT_EQ(0xFFFF0000u, MakeColor(999, -5, -1));
}

}  // namespace

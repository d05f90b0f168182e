// A skin for the skinned-control tests, written at run time: one category "base" (the font set of the same
// name is loaded from its "font.ini"), solid-colour BMP state images and a helper to write a control's ini.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/ui/gfx/TestImages.h"
#include "tests/ui/skin/SkinTestFolder.h"
#include "ui/base/IniStringContainer.h"
#include "ui/skin/NFontManager.h"
#include "ui/skin/SkinLoader.h"

namespace testing_support {

class SkinnedControlTest : public SkinTest {
 protected:
  void SetUp() override {
    SkinTest::SetUp();
    WriteSkinInfo({{L"base", L"common", L"skins\\%s"}});
    ASSERT_EQ(1, SkinLoader::LoadSkinInfo());
    // One font in the set "base"; its colour key (magenta) is what a caption box leaves out.
    std::wstring fonts =
        L"[FONT]\r\ncount=1\r\ncolorkey_r=255\r\ncolorkey_b=255\r\n[FONT_0]\r\nid=caption\r\nsize=-12\r\n"
        L"name=Tahoma\r\nbold=1\r\n";
    std::unique_ptr<IniStringContainer> ini(
        IniStringContainer::Parse(fonts.c_str(), static_cast<uint32_t>(fonts.size())));
    ASSERT_TRUE(ini);
    ASSERT_EQ(1, LoadSkinFonts(L"base", ini.get()));
  }
  void TearDown() override {
    RemoveAllFontManagers();
    SkinTest::TearDown();
  }

  // A width x height 24-bit BMP of one colour (0xRRGGBB) in the category's common folder.
  void WriteSolidImage(const std::wstring& name, int32_t width, int32_t height, uint32_t colour) {
    BmpFields fields;
    fields.width = width;
    fields.height = height;
    std::string row;
    for (int32_t x = 0; x < width; ++x)
      row += std::string{static_cast<char>(colour), static_cast<char>(colour >> 8),
                         static_cast<char>(colour >> 16)};
    row.resize((row.size() + 3) & ~size_t{3}, '\0');
    std::string data;
    for (int32_t y = 0; y < height; ++y)
      data += row;
    Write(L"data\\skin\\common\\" + name, BmpBytes(fields, data));
  }
  // A width x height BMP shaded from `top` to `bottom` (0xRRGGBB) with a 1-pixel `border` (none when
  // `border` is `top`), for the pictures that tests save.
  void WriteShadedImage(const std::wstring& name,
                        int32_t width,
                        int32_t height,
                        uint32_t top,
                        uint32_t bottom,
                        uint32_t border) {
    BmpFields fields;
    fields.width = width;
    fields.height = height;
    std::string data;
    for (int32_t y = height - 1; y >= 0; --y) {
      std::string row;
      for (int32_t x = 0; x < width; ++x) {
        uint32_t colour = 0;
        for (int shift = 0; shift < 24; shift += 8) {
          int32_t a = (top >> shift) & 0xFF, b = (bottom >> shift) & 0xFF;
          uint32_t mixed = static_cast<uint32_t>(a + (b - a) * y / (height > 1 ? height - 1 : 1));
          colour |= mixed << shift;
        }
        if (border != top && (x == 0 || y == 0 || x == width - 1 || y == height - 1))
          colour = border;
        row += std::string{static_cast<char>(colour), static_cast<char>(colour >> 8),
                           static_cast<char>(colour >> 16)};
      }
      row.resize((row.size() + 3) & ~size_t{3}, '\0');
      data += row;
    }
    Write(L"data\\skin\\common\\" + name, BmpBytes(fields, data));
  }
  // A two-frame strip animation "<id>.ini": frames `first` and `second`, each width x height, `frame_time` ms.
  void WriteAnimation(const std::wstring& id,
                      int32_t width,
                      int32_t height,
                      uint32_t first,
                      uint32_t second,
                      int32_t frame_time) {
    BmpFields fields;
    fields.width = width * 2;
    fields.height = height;
    std::string row;
    for (int32_t x = 0; x < width * 2; ++x) {
      uint32_t colour = x < width ? first : second;
      row += std::string{static_cast<char>(colour), static_cast<char>(colour >> 8),
                         static_cast<char>(colour >> 16)};
    }
    row.resize((row.size() + 3) & ~size_t{3}, '\0');
    std::string data;
    for (int32_t y = 0; y < height; ++y)
      data += row;
    Write(L"data\\skin\\common\\" + id + L".bmp", BmpBytes(fields, data));
    WriteIni(L"data\\skin\\common\\" + id + L".ini", L"[IMAGE]\r\nframe_count=2\r\nframe_time=" +
                                                         std::to_wstring(frame_time) + L"\r\nimage=" + id +
                                                         L".bmp\r\n");
  }
  // The control ini "<name>.ini" of the category.
  void WriteControl(const std::wstring& name, const std::wstring& text) {
    WriteIni(L"data\\skin\\common\\" + name + L".ini", text);
  }
};

}  // namespace testing_support

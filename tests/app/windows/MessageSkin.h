// The skin of the launcher's message dialog and pop-ups, written at run time: the category "etc" with the
// font set of the same name, the window "message_wnd" (240 x 120, a [MESSAGE] box) and its three buttons.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/ui/gfx/TestImages.h"
#include "tests/ui/skin/SkinTestFolder.h"
#include "ui/base/IniStringContainer.h"
#include "ui/skin/NFontManager.h"

namespace testing_support {

// Where the skin puts things, in the window's coordinates.
const int kMessageWidth = 240, kMessageHeight = 120;
const POINT kOkOnlyButton = {120, 96}, kOkButton = {70, 96}, kCancelButton = {170, 96};

class MessageSkinTest : public SkinTest {
 protected:
  void SetUp() override {
    SkinTest::SetUp();
    WriteSkinInfo({{L"etc", L"etc", L"skins\\%s"}});
    ASSERT_EQ(1, SkinLoader::LoadSkinInfo());
    std::wstring fonts =
        L"[FONT]\r\ncount=1\r\ncolorkey_r=255\r\ncolorkey_b=255\r\n[FONT_0]\r\nid=text\r\n"
        L"size=-13\r\nname=Tahoma\r\n";
    std::unique_ptr<IniStringContainer> ini(
        IniStringContainer::Parse(fonts.c_str(), static_cast<uint32_t>(fonts.size())));
    ASSERT_TRUE(ini);
    ASSERT_EQ(1, LoadSkinFonts(L"etc", ini.get()));
    WriteShaded(L"message_back.bmp", kMessageWidth, kMessageHeight, 0x34405A, 0x1A2030, 0x7A8AAA);
    WriteShaded(L"button.bmp", 80, 24, 0x5A8ACA, 0x2A5A9A, 0x1A3A6A);
    WriteShaded(L"button_over.bmp", 80, 24, 0x7AAAEA, 0x4A7ABA, 0xCFE7FF);
    WriteIni(
        L"data\\skin\\etc\\message_wnd.ini",
        L"[BACK]\r\nwidth=240\r\nheight=120\r\nback=message_back.bmp\r\ncolorkey_r=255\r\ncolorkey_b=255\r\n"
        L"[MESSAGE]\r\nfont_id=text\r\ntext_x=120\r\ntext_y=40\r\ntext_align=5\r\ntext_color_r=240\r\n"
        L"text_color_g=240\r\ntext_color_b=240\r\n");
    WriteButton(L"message_wnd_ok1_btn", kOkOnlyButton, L"OK");
    WriteButton(L"message_wnd_ok2_btn", kOkButton, L"OK");
    WriteButton(L"message_wnd_cancel2_btn", kCancelButton, L"Cancel");
  }
  void TearDown() override {
    RemoveAllFontManagers();
    SkinTest::TearDown();
  }

  // An 80 x 24 button centred on `centre`.
  void WriteButton(const std::wstring& name, POINT centre, const std::wstring& caption) {
    std::wstring text =
        L"font_id=text\r\ntext_x=40\r\ntext_y=12\r\ntext_align=5\r\ntext_color_r=255\r\n"
        L"text_color_g=255\r\ntext_color_b=255\r\n";
    WriteIni(L"data\\skin\\etc\\" + name + L".ini", L"[BUTTON]\r\nx=" + std::to_wstring(centre.x - 40) +
                                                        L"\r\ny=" + std::to_wstring(centre.y - 12) +
                                                        L"\r\nwidth=80\r\nheight=24\r\ntext=" + caption +
                                                        L"\r\n[BTN_NORMAL]\r\nimage=button.bmp\r\n" + text +
                                                        L"[BTN_OVER]\r\nimage=button_over.bmp\r\n" + text +
                                                        L"[BTN_DOWN]\r\nimage=button.bmp\r\n" + text);
  }
  // A width x height BMP shaded from `top` to `bottom` with a 1-pixel border.
  void WriteShaded(const std::wstring& name,
                   int width,
                   int height,
                   uint32_t top,
                   uint32_t bottom,
                   uint32_t border) {
    BmpFields fields;
    fields.width = width;
    fields.height = height;
    std::string data;
    for (int y = height - 1; y >= 0; --y) {
      std::string row;
      for (int x = 0; x < width; ++x) {
        uint32_t colour = 0;
        for (int shift = 0; shift < 24; shift += 8) {
          int a = (top >> shift) & 0xFF, b = (bottom >> shift) & 0xFF;
          colour |= static_cast<uint32_t>(a + (b - a) * y / (height - 1)) << shift;
        }
        if (x == 0 || y == 0 || x == width - 1 || y == height - 1)
          colour = border;
        row += std::string{static_cast<char>(colour), static_cast<char>(colour >> 8),
                           static_cast<char>(colour >> 16)};
      }
      row.resize((row.size() + 3) & ~size_t{3}, '\0');
      data += row;
    }
    Write(L"data\\skin\\etc\\" + name, BmpBytes(fields, data));
  }
};

}  // namespace testing_support

// A skin tree with the category "list" holding a game_button_info of known colours and places, its font set
// "list", and plain PNG files for icons, badges and state images, for the game list tests.
#pragma once

#include <memory>
#include <string>

#include "tests/ui/gfx/TestImages.h"
#include "tests/ui/skin/SkinTestFolder.h"
#include "ui/base/IniStringContainer.h"
#include "ui/skin/NFontManager.h"

namespace gamelist_testing {

inline std::string SolidPng(uint32_t width, uint32_t height, uint8_t r, uint8_t g, uint8_t b) {
  testing_support::PngImage image;
  image.width = width;
  image.height = height;
  image.color_type = 6;  // RGBA
  for (uint32_t i = 0; i < width * height; ++i) {
    image.pixels.push_back(r);
    image.pixels.push_back(g);
    image.pixels.push_back(b);
    image.pixels.push_back(255);
  }
  return testing_support::PngBytes(image);
}

// Rows 200 x 30 (back normal blue, over green, selected 220 x 50 dark red), small icon red 16 x 16 at (4, 7),
// large icon 32 x 32 at (6, 9), badges 10 x 10 at y 3 and 12 apart, a state icon at (180, 5) for
// "state_latest", a border for "state_need_update" and "state_not_installed", an arrow at (210, 20).
inline std::wstring GameButtonInfoIni(const std::wstring& extra = L"") {
  // `extra` comes first in the section, so that its keys win over the defaults below.
  return L"[BUTTON_INFO]\r\n" + extra +
         L"width=200\r\nheight=30\r\nselected_width=220\r\nselected_height=50\r\n"
         L"selected_y=-5\r\nselected_top_y=0\r\nselected_bottom_y=-20\r\n"
         L"line_x=0\r\nline_y=0\r\nline_width=200\r\nline_height=1\r\n"
         L"line_color_r=255\r\nline_color_g=0\r\nline_color_b=0\r\n"
         L"back_normal_color_r=0\r\nback_normal_color_g=0\r\nback_normal_color_b=255\r\n"
         L"back_over_color_r=0\r\nback_over_color_g=255\r\nback_over_color_b=0\r\n"
         L"back_selected_color_r=128\r\nback_selected_color_g=0\r\nback_selected_color_b=0\r\n"
         L"game_icon_x=4\r\ngame_icon_y=7\r\nselected_game_icon_x=6\r\nselected_game_icon_y=9\r\n"
         L"event_max=2\r\nevent_x=4\r\nevent_offset=12\r\nevent_y=3\r\n"
         L"event_image=badge_event.png\r\nhot_image=badge_hot.png\r\nnew_image=badge_new.png\r\n"
         L"beta_image=badge_beta.png\r\narrow_image=arrow.png\r\narrow_x=210\r\narrow_y=20\r\n"
         L"state_icon_count=1\r\nstate_icon_x=180\r\nstate_icon_y=5\r\n"
         L"state_border_count=2\r\nstate_border_x=0\r\nstate_border_y=0\r\n"
         L"state_text_count=1\r\nstate_text_x=150\r\nstate_text_y=5\r\n"
         L"[STATE_ICON_0]\r\nid=state_latest\r\nimage=state_icon.png\r\n"
         L"[STATE_BORDER_0]\r\nid=state_need_update\r\nimage=border_update.png\r\n"
         L"[STATE_BORDER_1]\r\nid=state_not_installed\r\nimage=border_new.png\r\n"
         L"[STATE_TEXT_0]\r\nid=state_updating\r\nfont_id=body\r\ntext=...\r\n"
         L"[GAME_TEXT_NORMAL]\r\nfont_id=body\r\ntext_x=30\r\ntext_y=8\r\ntext_color_r=255\r\n"
         L"[GAME_TEXT_OVER]\r\nfont_id=body\r\ntext_x=30\r\ntext_y=8\r\ntext_color_g=255\r\n"
         L"[GAME_TEXT_SELECTED]\r\nfont_id=body\r\ntext_x=44\r\ntext_y=12\r\ntext_color_b=255\r\n";
}

class GameListSkinTest : public testing_support::SkinTest {
 protected:
  void SetUp() override {
    SkinTest::SetUp();
    WriteSkinInfo({{L"list", L"common", L"skins\\%s"}});
    ASSERT_EQ(1, SkinLoader::LoadSkinInfo());
    WriteIni(L"data\\skin\\common\\fonts.ini",
             L"[FONT]\r\ncount=1\r\ncolorkey_r=255\r\ncolorkey_g=0\r\ncolorkey_b=255\r\n"
             L"[FONT_0]\r\nid=body\r\nsize=-12\r\nname=Tahoma\r\n");
    std::unique_ptr<IniStringContainer> fonts(LoadControlSkinIni(FindSkinCategory(L"list"), L"fonts"));
    ASSERT_NE(nullptr, fonts);
    ASSERT_EQ(1, LoadSkinFonts(L"list", fonts.get()));
    WritePng(L"icon_small.png", SolidPng(16, 16, 255, 0, 0));
    WritePng(L"icon_large.png", SolidPng(32, 32, 255, 255, 0));
    WritePng(L"badge_event.png", SolidPng(10, 10, 1, 2, 3));
    WritePng(L"badge_hot.png", SolidPng(10, 10, 4, 5, 6));
    WritePng(L"badge_new.png", SolidPng(10, 10, 7, 8, 9));
    WritePng(L"badge_beta.png", SolidPng(10, 10, 10, 11, 12));
    WritePng(L"arrow.png", SolidPng(8, 8, 0, 255, 255));
    WritePng(L"state_icon.png", SolidPng(12, 12, 255, 255, 255));
    WritePng(L"border_update.png", SolidPng(220, 2, 0, 128, 0));
    WritePng(L"border_new.png", SolidPng(220, 2, 0, 0, 128));
  }
  void TearDown() override {
    RemoveAllFontManagers();
    SkinTest::TearDown();
  }
  void WritePng(const std::wstring& name, const std::string& bytes) {
    Write(L"data\\skin\\common\\" + name, bytes);
  }
  // The path of a skin file as Dib::Load takes it.
  std::wstring SkinFile(const std::wstring& name) { return folder_.Join(L"data\\skin\\common\\" + name); }
  std::unique_ptr<IniStringContainer> LayoutIni(const std::wstring& extra = L"") {
    WriteIni(L"data\\skin\\common\\game_button_info.ini", GameButtonInfoIni(extra));
    return std::unique_ptr<IniStringContainer>(
        LoadControlSkinIni(FindSkinCategory(L"list"), L"game_button_info"));
  }
};

}  // namespace gamelist_testing

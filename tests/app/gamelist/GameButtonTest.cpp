#include <gtest/gtest.h>

#include "app/gamelist/GameButton.h"
#include "app/gamelist/GameButtonInfo.h"
#include "tests/app/gamelist/GameListSkin.h"
#include "ui/gfx/Dib.h"
#include "ui/skin/NImage.h"

namespace {

using gamelist_testing::GameListSkinTest;
using gamelist_testing::SolidPng;

uint32_t Rgb(const Dib* picture, int32_t x, int32_t y) {
  return picture->Row(y)[x] & 0xFFFFFF;
}

class GameButtonTest : public GameListSkinTest {
 protected:
  void LoadLayout(const std::wstring& extra = L"") {
    auto ini = LayoutIni(extra);
    ASSERT_NE(nullptr, ini);
    ASSERT_EQ(1, layout_.Load(ini.get(), FindSkinCategory(L"list"), L"list"));
  }
  void MakeButton(GameButton& button, const wchar_t* key, int32_t installed, int32_t flags = 0) {
    button.Bind(L"g1", L"Game", flags & 1, flags & 2, flags & 4, flags & 8);
    button.SetState(key, &layout_, installed, flags & 1, flags & 2, flags & 4, flags & 8);
    button.ApplyLayout(&layout_);
    button.Render();
  }
  GameButtonInfo layout_;
};

TEST_F(GameButtonTest, LayoutReadsColoursWithTheirLowEightBitsAndBoundsItsCounts) {
  LoadLayout(L"back_over_color_r=511\r\n");
  EXPECT_EQ(0xFFFF0000u, layout_.line_colour);
  EXPECT_EQ(0xFF0000FFu, layout_.back_normal_colour);
  EXPECT_EQ(0xFFFFFF00u, layout_.back_over_colour);       // 511 keeps 255
  EXPECT_EQ(0x0000FFu, layout_.text_normal.text_colour);  // a COLORREF: red in the low byte
  EXPECT_EQ(1, layout_.state_icon_count);
  EXPECT_EQ(32, layout_.RowPitch() + 1);

  // A count below 1 gives no entries; a huge one is cut to the cap.
  auto ini = LayoutIni(L"state_border_count=-3\r\nstate_text_count=1000000\r\n");
  ASSERT_EQ(1, layout_.Load(ini.get(), FindSkinCategory(L"list"), L"list"));
  EXPECT_EQ(0, layout_.state_border_count);
  EXPECT_EQ(nullptr, layout_.state_borders);
  EXPECT_EQ(GameButtonInfo::kMaxStateEntries, layout_.state_text_count);

  layout_.Release();
  EXPECT_EQ(0, layout_.state_icon_count);
  EXPECT_EQ(0xFF000000u, layout_.back_normal_colour);
  EXPECT_EQ(nullptr, layout_.arrow);
}

TEST_F(GameButtonTest, StateBorderFallsBackByInstalledFlag) {
  LoadLayout();
  struct Case {
    const wchar_t* key;
    int32_t installed;
    const wchar_t* border;
  } cases[] = {
      {L"state_error", 1, L"state_need_update"},
      {L"state_error", 0, L"state_not_installed"},
      {L"state_need_update", 0, L"state_need_update"},
      {L"state_latest", 1, L"state_need_update"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(layout_.FindStateBorder(c.border), layout_.FindStateBorderWithFallback(c.key, c.installed))
        << c.key << " " << c.installed;
  }
  EXPECT_STREQ(L"state_error", GameStateKey(-1));
  EXPECT_STREQ(L"state_error", GameStateKey(2));
  EXPECT_STREQ(L"state_updating", GameStateKey(6));
}

TEST_F(GameButtonTest, LooksDrawBackIconTitleAndSelectedPieces) {
  LoadLayout();
  GameButton button;
  MakeButton(button, L"state_latest", 1);
  button.SetIcons(SkinFile(L"icon_small.png").c_str(), SkinFile(L"icon_large.png").c_str());

  const Dib* normal = button.Picture();
  ASSERT_NE(nullptr, normal);
  EXPECT_EQ(200, normal->width());
  EXPECT_EQ(0x0000FFu, Rgb(normal, 1, 1));     // back normal
  EXPECT_EQ(0xFF0000u, Rgb(normal, 10, 10));   // small icon at (4, 7)
  EXPECT_EQ(0xFFFFFFu, Rgb(normal, 185, 10));  // state icon at (180, 5)

  button.set_look(GameButton::kLookHover);
  button.Render();
  const Dib* over = button.Picture();
  EXPECT_EQ(normal, over);  // the same picture, drawn again
  EXPECT_EQ(0x00FF00u, Rgb(over, 1, 1));

  button.set_look(GameButton::kLookSelected);
  button.Render();
  const Dib* selected = button.Picture();
  ASSERT_NE(nullptr, selected);
  EXPECT_EQ(220, selected->width());
  EXPECT_EQ(50, selected->height());
  EXPECT_EQ(0x008000u, Rgb(selected, 100, 0));   // the installed fallback border
  EXPECT_EQ(0x800000u, Rgb(selected, 100, 40));  // back selected
  EXPECT_EQ(0xFFFF00u, Rgb(selected, 10, 12));   // large icon at (6, 9)
  EXPECT_EQ(0x00FFFFu, Rgb(selected, 212, 22));  // arrow at (210, 20)
}

TEST_F(GameButtonTest, BadgesStopAtEventMaxAndSkipFlagsWithoutImages) {
  LoadLayout();
  // The hot badge's image is missing.
  delete layout_.badges[1];
  layout_.badges[1] = nullptr;

  GameButton button;
  MakeButton(button, L"state_latest", 1, 1 | 2 | 4 | 8);
  const Dib* picture = button.Picture();
  ASSERT_NE(nullptr, picture);
  // Badges start right of the rendered title; find the first by its colour along y 5.
  int32_t first = -1;
  for (int32_t x = 0; x < picture->width() && first < 0; ++x) {
    if (Rgb(picture, x, 5) == 0x010203u)
      first = x;
  }
  ASSERT_GT(first, 30);
  EXPECT_EQ(0x070809u, Rgb(picture, first + 12, 5));  // new follows event: hot has no image
  EXPECT_NE(0x0A0B0Cu, Rgb(picture, first + 24, 5));  // beta would be the third: event_max is 2
}

TEST_F(GameButtonTest, LongTitleIsCutAndMissingPiecesAreSkipped) {
  LoadLayout();
  WritePng(L"damaged.png", "\x89PNG not really");
  GameButton button;
  button.Bind(L"g1", std::wstring(300, L'W').c_str(), 1, 1, 1, 1);
  button.SetState(L"state_latest", &layout_, 1, 1, 1, 1, 1);
  button.ApplyLayout(&layout_);
  button.SetIcons(SkinFile(L"damaged.png").c_str(), SkinFile(L"nothing_here.png").c_str());
  const Dib* picture = button.Picture();
  ASSERT_NE(nullptr, picture);
  EXPECT_EQ(200, picture->width());
  for (int32_t x = 0; x < picture->width(); ++x)
    ASSERT_NE(0x010203u, Rgb(picture, x, 5)) << "a badge past the title's cut edge at " << x;
  EXPECT_EQ(0x0000FFu, Rgb(picture, 5, 28));  // no icon: the back shows
}

TEST_F(GameButtonTest, PicturesAreMadeOnlyWhenAskedForAndDroppedWithTheLayout) {
  LoadLayout();
  GameButton button;
  MakeButton(button, L"state_latest", 1);
  EXPECT_FALSE(button.HoldsPictures());
  ASSERT_NE(nullptr, button.Picture());
  EXPECT_TRUE(button.HoldsPictures());

  // The layout goes away: the button is given the empty layout and holds nothing borrowed or sized.
  layout_.Release();
  button.ApplyLayout(&layout_);
  EXPECT_EQ(nullptr, button.Picture());
  EXPECT_FALSE(button.HoldsPictures());
}

TEST_F(GameButtonTest, AnimatedStateIconTicksAndReportsAChangedFrame) {
  WritePng(L"spin.png", SolidPng(24, 12, 9, 9, 9));
  WriteIni(L"data\\skin\\common\\spin.ini",
           L"[IMAGE]\r\nframe_count=2\r\nframe_time=100\r\nimage=spin.png\r\n");
  // The state icon becomes an animated strip of two frames.
  std::wstring text = gamelist_testing::GameButtonInfoIni();
  size_t at = text.find(L"image=state_icon.png");
  text.replace(at, 20, L"image_id=spin");
  WriteIni(L"data\\skin\\common\\game_button_info.ini", text);
  std::unique_ptr<IniStringContainer> ini(LoadControlSkinIni(FindSkinCategory(L"list"), L"game_button_info"));
  ASSERT_EQ(1, layout_.Load(ini.get(), FindSkinCategory(L"list"), L"list"));
  ASSERT_NE(nullptr, layout_.state_icons[0].image);
  EXPECT_EQ(2, layout_.state_icons[0].image->frame_count());
  layout_.TickImages(1000);
  EXPECT_EQ(0, layout_.TickImages(1050));
  EXPECT_EQ(1, layout_.TickImages(1100));
}

}  // namespace

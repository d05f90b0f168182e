// Skin resources: the text layout and alignment rules as pure functions, the animation clock injected, and
// fonts, images and numbers loaded from a skin folder written by the test.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/ui/gfx/TestImages.h"
#include "tests/ui/skin/SkinTestFolder.h"
#include "ui/base/IniStringContainer.h"
#include "ui/gfx/Dib.h"
#include "ui/skin/NFontManager.h"
#include "ui/skin/NImage.h"
#include "ui/skin/NNumber.h"
#include "ui/skin/NTextBox.h"

namespace {

using testing_support::BmpBytes;
using testing_support::BmpFields;

// 'A' is 7 x 10, 'B' 8 x 12, anything else 5 x 9.
GlyphExtent FakeMeasure(wchar_t c) {
  return c == L'A' ? GlyphExtent{7, 10} : c == L'B' ? GlyphExtent{8, 12} : GlyphExtent{5, 9};
}

struct Placed {
  wchar_t c;
  int32_t x, y;
};

TEST(TextLayout, LineBreaksGapsAndItalic) {
  const struct {
    const wchar_t* text;
    bool literal;
    bool italic;
    int32_t width, height;
    int32_t b_x, b_y;  // where 'B' is written
  } cases[] = {
      {L"A\nB", false, false, 8, 10 + 3 + 12, 0, 13},
      {L"A\\nB", false, false, 8, 25, 0, 13},
      {L"A\\nB", true, false, 7 + 5 + 5 + 8 + 3 * 2, 12, 7 + 5 + 5 + 3 * 2, 0},  // one line of four
      {L"A\n\nB", false, false, 8, 10 + 3 + 0 + 3 + 12, 0, 16},                  // the middle line is empty
      {L"AB", false, true, 7 + 2 + 8 + 7, 12, 9, 0},                             // italic: + the first width
  };
  for (const auto& one : cases) {
    std::vector<Placed> placed;
    TextBlockSize size = LayOutText(
        one.text, one.literal, 2, 3, one.italic, FakeMeasure,
        [&](wchar_t c, int32_t x, int32_t y) {
          placed.push_back({c, x, y});
        },
        nullptr);
    EXPECT_EQ(one.width, size.width) << one.text << one.literal;
    EXPECT_EQ(one.height, size.height) << one.text << one.literal;
    ASSERT_FALSE(placed.empty());
    EXPECT_EQ(L'B', placed.back().c);
    EXPECT_EQ(one.b_x, placed.back().x) << one.text;
    EXPECT_EQ(one.b_y, placed.back().y) << one.text;
  }
}

TEST(TextLayout, AlignmentsPlaceTheImageAroundTheAnchor) {
  const struct {
    int32_t align;
    int32_t left, top;
  } cases[] = {{0, 100, 50}, {1, 100, 50}, {2, 80, 50}, {3, 59, 50}, {4, 100, 40},  {5, 80, 40},
               {6, 59, 40},  {7, 100, 29}, {8, 80, 29}, {9, 59, 29}, {12, 100, 50}, {-1, 100, 50}};
  for (const auto& one : cases) {
    POINT corner = TextBoxCorner(one.align, 100, 50, 41, 21);
    EXPECT_EQ(one.left, corner.x) << one.align;
    EXPECT_EQ(one.top, corner.y) << one.align;
  }
}

TEST(Animation, TicksAdvanceByElapsedFrameTimesInOneStep) {
  testing_support::TempFolder folder(L"anim");
  std::wstring strip = folder.Join(L"strip.bmp");
  BmpFields fields;
  fields.width = 90;
  fields.height = 2;
  ASSERT_TRUE(testing_support::WriteFileBytes(strip, BmpBytes(fields, std::string(272 * 2, '\x40'))));

  NImage image;
  ASSERT_EQ(1, image.LoadStrip(strip.c_str(), 3, 100));
  EXPECT_EQ(30, image.frame_width());
  image.set_last_tick(1000);
  EXPECT_EQ(0, image.TickAt(1099));
  EXPECT_EQ(1, image.TickAt(1350));  // three frames: 0 -> 3 -> wraps to 0
  EXPECT_EQ(0, image.current_frame());
  EXPECT_EQ(1300u, image.last_tick());
  EXPECT_EQ(1, image.TickAt(1500));
  EXPECT_EQ(2, image.current_frame());
  RECT rect;
  ASSERT_NE(nullptr, image.GetFrame(&rect));
  EXPECT_EQ(60, rect.left);
  EXPECT_EQ(90, rect.right);

  // Near the counter's wrap: one step, no endless loop; a counter that went back restarts the frame time.
  image.set_last_tick(0xFFFFFF00u);
  EXPECT_EQ(1, image.TickAt(0xFFFFFFF0u));
  EXPECT_EQ(0xFFFFFFC8u, image.last_tick());
  EXPECT_EQ(1, image.TickAt(5));
  EXPECT_EQ(5u, image.last_tick());
  image.set_stopped(1);
  EXPECT_EQ(0, image.TickAt(100000));

  NImage huge;
  EXPECT_EQ(0, huge.AllocFrames(2000000000, 10));
  NImage too_many;
  EXPECT_EQ(0, too_many.LoadStrip(strip.c_str(), 91, 10));  // more frames than pixels
}

class SkinResourceTest : public testing_support::SkinTest {
 protected:
  void SetUp() override {
    SkinTest::SetUp();
    WriteSkinInfo({{L"main", L"common", L"skins\\%s"}});
    ASSERT_EQ(1, SkinLoader::LoadSkinInfo());
    category_ = FindSkinCategory(L"main");
  }
  void TearDown() override {
    RemoveAllFontManagers();
    SkinTest::TearDown();
  }
  // A 1-pixel-high BMP of `width` pixels of one colour (B, G, R bytes).
  void WriteImage(const std::wstring& name, int32_t width, char blue) {
    BmpFields fields;
    fields.width = width;
    std::string row;
    for (int32_t i = 0; i < width; ++i)
      row += std::string{blue, 0, 0};
    row.resize((row.size() + 3) & ~size_t{3}, '\0');
    Write(L"data\\skin\\common\\" + name, BmpBytes(fields, row));
  }
  SkinLoader* category_ = nullptr;
};

TEST_F(SkinResourceTest, NumbersDrawDigitsAndADotAndStopAtAnythingElse) {
  for (int digit = 0; digit <= 9; ++digit)
    WriteImage(L"n" + std::to_wstring(digit) + L"%s.bmp", 2 + digit, static_cast<char>(10 + digit));
  WriteImage(L"dot.bmp", 1, 99);
  // The name pattern's "%s" stays text: only the first "%d" is the digit.
  WriteIni(L"data\\skin\\common\\version_number.ini",
           L"[NUMBER]\r\nx=1\r\ny=0\r\nimage=n%d%s.bmp\r\nimage_dot=dot.bmp\r\n");
  EXPECT_EQ(L"n7%s%n.bmp", DigitFileName(L"n%d%s%n.bmp", 7));
  std::unique_ptr<NNumber> number(LoadSkinNumber(category_));
  ASSERT_NE(nullptr, number);
  number->SetText(L"1.2a3");
  Dib* target = Dib::CreateBlank(20, 1, 0);
  target->FillRect(RECT{0, 0, 20, 1}, 0xFF000000);
  number->Draw(target);
  std::vector<uint32_t> blues;
  for (int32_t x = 0; x < 20; ++x)
    blues.push_back(target->Row(0)[x] & 0xFF);
  // '1' is 3 pixels of 11 at x 1, the dot 1 pixel of 99, '2' 4 pixels of 12; '3' is never drawn.
  EXPECT_EQ((std::vector<uint32_t>{0, 11, 11, 11, 99, 12, 12, 12, 12, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}),
            blues);
  target->Release();
}

TEST_F(SkinResourceTest, FontSetsAreNeverReplacedInPlaceAndTextBoxesTakeTheirColours) {
  WriteIni(L"data\\skin\\common\\fonts.ini",
           L"[FONT]\r\ncount=2\r\ncolorkey_r=511\r\n[FONT_0]\r\nid=small\r\nsize=-11\r\nname=Tahoma\r\n"
           L"[FONT_1]\r\nid=big\r\nsize=-20\r\nname=Tahoma\r\nunderline=1\r\ngap_x=2\r\n"
           L"[BOX]\r\nfont_id=big\r\ntext=Hi\r\ntext_x=10\r\ntext_align=2\r\ntext_color_r=258\r\ntext_color_"
           L"g=7\r\n"
           L"text_disabled_color_b=9\r\n[HUGE]\r\nfont_id=small\r\n");
  std::unique_ptr<IniStringContainer> ini(LoadControlSkinIni(category_, L"fonts"));
  ASSERT_NE(nullptr, ini);
  ASSERT_EQ(1, LoadSkinFonts(L"set", ini.get()));
  NFontManager* set = FindFontManager(L"set");
  ASSERT_NE(nullptr, set);
  EXPECT_EQ(0xFFFF0000u, set->color_key());  // 511 keeps its low 8 bits
  EXPECT_EQ(0, LoadSkinFonts(L"set", ini.get()));
  EXPECT_EQ(set, FindFontManager(L"set"));
  FontInfo info;
  ASSERT_EQ(1, set->FindFont(L"big", &info));
  EXPECT_EQ(1, info.underline);
  EXPECT_EQ(2, info.gap_x);
  LOGFONTW made = {};
  ASSERT_EQ(static_cast<int>(sizeof made), GetObjectW(info.font, sizeof made, &made));
  EXPECT_EQ(OUT_CHARACTER_PRECIS, made.lfOutPrecision);  // the skin font rule: output precision 2
  EXPECT_EQ(-20, made.lfHeight);
  EXPECT_EQ(0, set->GetFontAt(2, &info));

  std::unique_ptr<NTextBox> box(LoadSkinTextBox(ini.get(), L"BOX", L"set"));
  ASSERT_NE(nullptr, box);
  EXPECT_EQ(RGB(2, 7, 0), box->text_colour);
  EXPECT_EQ(RGB(2, 7, 9), box->disabled_colour);  // missing components default to the text colour's
  int32_t width = 0, height = 0;
  box->GetSize(&width, &height);
  EXPECT_GT(width, 0);
  EXPECT_GT(height, 0);
  EXPECT_EQ(0xFFFF0000u, box->rendered()->color_key());
  EXPECT_EQ(nullptr, LoadSkinTextBox(ini.get(), L"MISSING", L"set"));

  WriteIni(L"data\\skin\\common\\many.ini", L"[FONT]\r\ncount=100000\r\n");
  std::unique_ptr<IniStringContainer> many(LoadControlSkinIni(category_, L"many"));
  EXPECT_EQ(0, LoadSkinFonts(L"many", many.get()));
  EXPECT_EQ(nullptr, FindFontManager(L"many"));
}

TEST_F(SkinResourceTest, AnimatedImagesLoadFromStripsOrFramesAndRefuseBadCounts) {
  WriteImage(L"strip.bmp", 8, 1);
  WriteImage(L"f0.bmp", 3, 2);
  WriteImage(L"f1.bmp", 5, 3);
  WriteIni(L"data\\skin\\common\\spin.ini",
           L"[IMAGE]\r\nx=4\r\nframe_count=4\r\nframe_time=50\r\nimage=strip.bmp\r\n");
  WriteIni(L"data\\skin\\common\\two.ini",
           L"[IMAGE]\r\nframe_count=2\r\nframe_time=50\r\n[FRAME_0]\r\nimage=f0.bmp\r\n[FRAME_1]\r\nimage=f1."
           L"bmp\r\n");
  WriteIni(L"data\\skin\\common\\one.ini", L"[IMAGE]\r\nframe_count=1\r\n[FRAME_0]\r\nimage=f1.bmp\r\n");
  WriteIni(L"data\\skin\\common\\gap.ini", L"[IMAGE]\r\nframe_count=2\r\n[FRAME_0]\r\nimage=f0.bmp\r\n");
  WriteIni(L"data\\skin\\common\\huge.ini", L"[IMAGE]\r\nframe_count=2000000000\r\n");
  std::unique_ptr<NImage> spin(LoadSkinImage(category_, L"spin"));
  ASSERT_NE(nullptr, spin);
  EXPECT_EQ(2, spin->frame_width());
  EXPECT_EQ(4, spin->x());
  std::unique_ptr<NImage> two(LoadSkinImage(category_, L"two"));
  ASSERT_NE(nullptr, two);
  int32_t width = 0, height = 0;
  two->set_current_frame(1);
  ASSERT_EQ(1, two->GetFrameSize(&width, &height));
  EXPECT_EQ(5, width);
  // One frame in a file of its own is a whole image: it reports its width and draws.
  std::unique_ptr<NImage> one(LoadSkinImage(category_, L"one"));
  ASSERT_NE(nullptr, one);
  ASSERT_EQ(1, one->GetFrameSize(&width, &height));
  EXPECT_EQ(5, width);
  EXPECT_EQ(1, height);
  Dib* target = Dib::CreateBlank(6, 1, 0);
  ASSERT_NE(nullptr, target);
  target->FillRect(RECT{0, 0, 6, 1}, 0xFF000000);
  one->Draw(target, 0);
  EXPECT_EQ(3u, target->Row(0)[0] & 0xFF);
  EXPECT_EQ(3u, target->Row(0)[4] & 0xFF);
  EXPECT_EQ(0u, target->Row(0)[5] & 0xFF);
  target->Release();
  EXPECT_EQ(nullptr, LoadSkinImage(category_, L"gap"));
  EXPECT_EQ(nullptr, LoadSkinImage(category_, L"huge"));
  EXPECT_EQ(nullptr, LoadSkinImageFile(category_, L"none.bmp"));
}

// One frame given as its own file ([FRAME_0], frame_count=1) is the whole image, as one frame of a strip is.
TEST_F(SkinResourceTest, AnAnimationOfOneFrameFileShowsThatWholeFrame) {
  WriteImage(L"f0.bmp", 3, 9);
  WriteIni(L"data\\skin\\common\\one.ini",
           L"[IMAGE]\r\nframe_count=1\r\nframe_time=50\r\n[FRAME_0]\r\nimage=f0.bmp\r\n");
  std::unique_ptr<NImage> one(LoadSkinImage(category_, L"one"));
  ASSERT_NE(nullptr, one);
  int32_t width = 0, height = 0;
  ASSERT_EQ(1, one->GetFrameSize(&width, &height));
  EXPECT_EQ(3, width);
  EXPECT_EQ(1, height);
  RECT source = {};
  ASSERT_NE(nullptr, one->GetFrame(&source));
  EXPECT_EQ(0, source.left);
  EXPECT_EQ(3, source.right);
}

}  // namespace

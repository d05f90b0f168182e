// The skinned progress and scroll bars: the filled part by position and orientation, the scroll bar's
// images by state and hot part, copying or blending, the track at both ends and what a reload keeps.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "tests/ui/skinned/SkinnedControlSkin.h"
#include "tests/ui/view/RecordingNode.h"
#include "ui/gfx/Dib.h"
#include "ui/skin/SkinListeners.h"
#include "ui/skinned/SkinnedProgressCtrl.h"
#include "ui/skinned/SkinnedScrollBar.h"
#include "ui/view/NotifyCodes.h"

namespace {

const uint32_t kEmpty = 0x202020, kFull = 0x00C000;

class SkinnedBarsTest : public testing_support::SkinnedControlTest {
 protected:
  void SetUp() override {
    SkinnedControlTest::SetUp();
    ASSERT_TRUE(root_.Place(0, 0, 200, 200, nullptr));
  }
  void TearDown() override {
    root_.Destroy();
    SkinnedControlTest::TearDown();
  }
  // Columns (horizontal) or rows (vertical, counted from the bottom) of `bar` that show the full colour.
  int32_t FilledLength(SkinnedProgressCtrl& bar) {
    bar.Draw(nullptr, root_.surface(), 0);
    int32_t filled = 0;
    for (int32_t i = 0; i < (bar.vertical() ? bar.height() : bar.width()); ++i) {
      uint32_t pixel =
          bar.vertical() ? bar.surface()->Row(bar.height() - 1 - i)[0] : bar.surface()->Row(0)[i];
      if (pixel == (0xFF000000u | kFull))
        ++filled;
      else
        EXPECT_EQ(0xFF000000u | kEmpty, pixel) << i;
    }
    return filled;
  }
  // A vertical 20 x 100 scroll bar: buttons 10, thumb 20, a bar image of 50 rows (shorter than the track).
  void WriteScrollBar(const std::wstring& name) {
    const wchar_t* states[] = {L"NORMAL", L"OVER", L"DOWN", L"DISABLED"};
    std::wstring text =
        L"[SCROLL_BAR]\r\nwidth=20\r\nheight=100\r\nbutton_size=10\r\nthumb_size=20\r\n"
        L"vertical=1\r\ndec_y=0\r\ninc_y=90\r\n";
    for (int32_t s = 0; s < 4; ++s) {
      std::wstring state = states[s], digit = std::to_wstring(s);
      WriteSolidImage(L"bar" + digit + L".bmp", 20, 50, 0x100000u * (s + 1));
      WriteSolidImage(L"thumb" + digit + L".bmp", 20, 20, 0x001000u * (s + 1));
      WriteSolidImage(L"dec" + digit + L".bmp", 20, 10, 0x000010u * (s + 1));
      WriteSolidImage(L"inc" + digit + L".bmp", 20, 10, 0x000011u * (s + 1));
      const wchar_t* parts[][2] = {
          {L"BAR", L"bar"}, {L"THUMB", L"thumb"}, {L"DEC", L"dec"}, {L"INC", L"inc"}};
      for (const auto& part : parts)
        text +=
            std::wstring(L"[SCR_") + part[0] + L"_" + state + L"]\r\nimage=" + part[1] + digit + L".bmp\r\n";
    }
    WriteControl(name, text);
  }
  uint32_t At(SkinnedScrollBar& bar, int32_t y) {
    bar.Draw(nullptr, root_.surface(), 0);
    return bar.surface()->Row(y)[5] & 0xFFFFFFu;
  }

  testing_support::HookLog log_;
  testing_support::RecordingNode root_{"root", &log_};
};

TEST_F(SkinnedBarsTest, TheProgressFillFollowsThePositionTruncatedAndGrowsUpWhenVertical) {
  WriteSolidImage(L"empty.bmp", 100, 4, kEmpty);
  WriteSolidImage(L"full.bmp", 100, 4, kFull);
  WriteSolidImage(L"empty_v.bmp", 4, 100, kEmpty);
  WriteSolidImage(L"full_v.bmp", 4, 100, kFull);
  WriteControl(L"progress",
               L"[PROGRESS]\r\nwidth=100\r\nheight=4\r\n[PROGRESS_EMPTY]\r\nimage=empty.bmp\r\n"
               L"[PROGRESS_FULL]\r\nimage=full.bmp\r\n");
  WriteControl(L"progress_v",
               L"[PROGRESS]\r\nwidth=4\r\nheight=100\r\n[PROGRESS_EMPTY]\r\nimage=empty_v.bmp\r\n"
               L"[PROGRESS_FULL]\r\nimage=full_v.bmp\r\n");
  struct Case {
    const wchar_t* skin;
    int32_t vertical;
    double position;
    int32_t filled;
  };
  const Case cases[] = {{L"progress", 0, 0.0, 0},     {L"progress", 0, 0.999, 99},
                        {L"progress", 0, 1.0, 100},   {L"progress", 0, 0.6, 60},
                        {L"progress_v", 1, 0.25, 25}, {L"progress_v", 1, 0.999, 99},
                        {L"progress_v", 1, 1.0, 100}};
  for (const Case& c : cases) {
    SkinnedProgressCtrl bar;
    EXPECT_EQ(0, bar.vertical());
    bar.SetSkin(L"base", c.skin);
    ASSERT_EQ(1, bar.Create(0, 0, 1, 1, 3, &root_));
    bar.Show(1, 0);
    bar.SetVertical(c.vertical);
    bar.SetPos(c.position);
    EXPECT_EQ(c.filled, FilledLength(bar)) << c.position << " vertical " << c.vertical;
  }
}

TEST_F(SkinnedBarsTest, AProgressBarWithoutEitherImageIsNotCreated) {
  WriteSolidImage(L"empty.bmp", 10, 4, kEmpty);
  WriteControl(L"no_full", L"[PROGRESS]\r\nwidth=10\r\nheight=4\r\n[PROGRESS_EMPTY]\r\nimage=empty.bmp\r\n");
  WriteControl(L"no_empty", L"[PROGRESS]\r\nwidth=10\r\nheight=4\r\n[PROGRESS_FULL]\r\nimage=empty.bmp\r\n");
  WriteControl(L"no_size",
               L"[PROGRESS]\r\nwidth=10\r\n[PROGRESS_EMPTY]\r\nimage=empty.bmp\r\n"
               L"[PROGRESS_FULL]\r\nimage=empty.bmp\r\n");
  int live_before = Dib::LiveImages().count();
  for (const wchar_t* name : {L"no_full", L"no_empty", L"no_size"}) {
    SkinnedProgressCtrl bar;
    bar.SetSkin(L"base", name);
    EXPECT_EQ(0, bar.Create(0, 0, 1, 1, 3, &root_)) << name;
    EXPECT_EQ(0, SkinListenerCount()) << name;
  }
  EXPECT_EQ(live_before, Dib::LiveImages().count());
}

TEST_F(SkinnedBarsTest, OnlyTheHotPartTakesTheOverAndDownImages) {
  WriteScrollBar(L"scroll");
  SkinnedScrollBar bar;
  bar.SetSkin(L"base", L"scroll");
  ASSERT_EQ(1, bar.Create(0, 0, 1, 1, 5, &root_));
  bar.Show(1, 0);
  bar.Setup(1, 10, 20, 10, 100);
  // Rows: dec 0..9, thumb 10..29, track after it 30..89, inc 90..99.
  EXPECT_EQ(0x001000u, At(bar, 15));
  EXPECT_EQ(0x100000u, At(bar, 40));
  root_.DispatchMouseMove(5, 15, nullptr);  // over the thumb
  EXPECT_EQ(0x002000u, At(bar, 15));
  EXPECT_EQ(0x100000u, At(bar, 40));
  EXPECT_EQ(0x000010u, At(bar, 5));
  root_.DispatchMouseMove(5, 5, nullptr);  // over the decrement button
  EXPECT_EQ(0x000020u, At(bar, 5));
  EXPECT_EQ(0x001000u, At(bar, 15));
  root_.DispatchMouseMove(5, 50, nullptr);  // over the track after the thumb
  EXPECT_EQ(0x200000u, At(bar, 50));
  root_.DispatchMouseMove(5, 95, nullptr);
  root_.DispatchLButtonDown(5, 95);  // pressing the increment button
  EXPECT_EQ(0x000033u, At(bar, 95));
  EXPECT_EQ(0x000010u, At(bar, 5));
  root_.DispatchLButtonUp(5, 95);
  bar.Enable(0);
  for (int32_t y : {5, 40, 95})
    EXPECT_EQ(y == 5 ? 0x000040u : y == 40 ? 0x400000u : 0x000044u, At(bar, y)) << y;
  EXPECT_EQ(0x004000u, At(bar, bar.thumb_offset()));
}

TEST_F(SkinnedBarsTest, TheTrackIsCutToItsImageWithTheThumbAtEitherEnd) {
  WriteScrollBar(L"scroll");
  SkinnedScrollBar bar;
  bar.SetSkin(L"base", L"scroll");
  ASSERT_EQ(1, bar.Create(0, 0, 1, 1, 5, &root_));
  bar.Show(1, 0);
  bar.Setup(1, 10, 20, 10, 20);
  // At the start: the piece after the thumb shows rows 20..49 of its image at 30..59, then nothing.
  EXPECT_EQ(10, bar.thumb_offset());
  EXPECT_EQ(0x100000u, At(bar, 30));
  EXPECT_EQ(0x100000u, At(bar, 59));
  EXPECT_EQ(0u, At(bar, 60));
  // At the far end (thumb 70..89): the piece before it is longer than its image and shows all 50 rows.
  for (int i = 0; i < 10; ++i) {
    root_.DispatchMouseMove(5, 95, nullptr);
    root_.DispatchLButtonDown(5, 95);
    root_.DispatchLButtonUp(5, 95);
  }
  root_.DispatchMouseMove(150, 150, nullptr);
  EXPECT_EQ(10, bar.position());
  EXPECT_EQ(70, bar.thumb_offset());
  EXPECT_EQ(0x100000u, At(bar, 10));
  EXPECT_EQ(0x100000u, At(bar, 59));
  EXPECT_EQ(0u, At(bar, 60));
  EXPECT_EQ(0x001000u, At(bar, 70));
}

TEST_F(SkinnedBarsTest, PartsAreCopiedWithoutABackImageAndBlendedOverOne) {
  testing_support::PngImage half;
  half.width = 20;
  half.height = 20;
  half.color_type = 6;  // RGBA
  for (int i = 0; i < 20 * 20; ++i)
    half.pixels.insert(half.pixels.end(), {0xFF, 0x00, 0x00, 0x80});
  Write(L"data\\skin\\common\\half.png", testing_support::PngBytes(half));
  WriteSolidImage(L"back.bmp", 20, 100, 0x0000FF);
  for (const wchar_t* name : {L"plain", L"backed"}) {
    std::wstring back = std::wstring(name) == L"backed" ? L"back=back.bmp\r\n" : L"";
    WriteControl(name,
                 L"[SCROLL_BAR]\r\nwidth=20\r\nheight=100\r\nbutton_size=10\r\nthumb_size=20\r\n"
                 L"vertical=1\r\n" +
                     back + L"[SCR_THUMB_NORMAL]\r\nimage=half.png\r\n");
  }
  SkinnedScrollBar plain, backed;
  plain.SetSkin(L"base", L"plain");
  backed.SetSkin(L"base", L"backed");
  ASSERT_EQ(1, plain.Create(0, 0, 1, 1, 5, &root_));
  ASSERT_EQ(1, backed.Create(0, 0, 1, 1, 6, &root_));
  plain.Show(1, 0);
  backed.Show(1, 0);
  EXPECT_EQ(nullptr, plain.back());
  ASSERT_NE(nullptr, backed.back());
  plain.Draw(nullptr, root_.surface(), 0);
  backed.Draw(nullptr, root_.surface(), 0);
  uint32_t copied = plain.surface()->Row(15)[5];
  uint32_t blended = backed.surface()->Row(15)[5];
  EXPECT_EQ(0x80u, copied >> 24);
  EXPECT_EQ(0xFFu, (copied >> 16) & 0xFF);
  EXPECT_EQ(0xFFu, blended >> 24);  // the back's alpha stays
  EXPECT_GT((blended >> 16) & 0xFF, 0x60u);
  EXPECT_LT((blended >> 16) & 0xFF, 0xA0u);
  EXPECT_GT(blended & 0xFF, 0x60u);
  EXPECT_LT(blended & 0xFF, 0xA0u);
  EXPECT_EQ(0xFF0000FFu, backed.surface()->Row(50)[5]);  // no track image: the back shows
}

TEST_F(SkinnedBarsTest, AReloadKeepsRangePageAndPosition) {
  WriteScrollBar(L"scroll");
  WriteIni(L"data\\skin\\skins\\long\\scroll.ini",
           L"[SCROLL_BAR]\r\nwidth=20\r\nheight=200\r\nbutton_size=10\r\nthumb_size=20\r\nvertical=1\r\n");
  int live_before = Dib::LiveImages().count();
  {
    SkinnedScrollBar bar;
    bar.SetSkin(L"base", L"scroll");
    ASSERT_EQ(1, bar.Create(0, 0, 1, 1, 5, &root_));
    bar.Show(1, 0);
    bar.Setup(1, 10, 20, 10, 100);
    for (int i = 0; i < 3; ++i) {
      root_.DispatchMouseMove(5, 95, nullptr);
      root_.DispatchLButtonDown(5, 95);
      root_.DispatchLButtonUp(5, 95);
    }
    ASSERT_EQ(3, bar.position());
    int32_t offset = bar.thumb_offset();
    log_.clear();
    SetCurrentSkin(L"long");
    BroadcastSkinChange();
    EXPECT_EQ(200, bar.height());
    EXPECT_EQ(100, bar.range());
    EXPECT_EQ(10, bar.page());
    EXPECT_EQ(3, bar.position());
    EXPECT_EQ(10 + 160 * 3 / 90, bar.thumb_offset());
    EXPECT_NE(offset, bar.thumb_offset());
    // One notification of the moved thumb reaches the parent, none of the intermediate position 0.
    EXPECT_EQ(1, std::count(log_.begin(), log_.end(), "root.notify 5 5"));
    SetCurrentSkin(L"");
    BroadcastSkinChange();
    EXPECT_EQ(3, bar.position());
    EXPECT_EQ(offset, bar.thumb_offset());
  }
  EXPECT_EQ(live_before, Dib::LiveImages().count());
}

}  // namespace

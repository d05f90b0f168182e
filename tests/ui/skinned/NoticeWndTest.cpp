// The notice ticker, headless under a windowless root, with the clock set by the test (frames of 100 ms):
// sideways scrolling, the change after show time, wrapping of the notices and of the tick counter, count
// changes during a change, clicks through a fake shell, and its own reload on a skin change.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/ui/skinned/SkinnedTestSupport.h"
#include "tests/ui/view/RecordingNode.h"
#include "ui/browser/OpenUrl.h"
#include "ui/skin/SkinListeners.h"
#include "ui/skinned/NoticeWnd.h"
#include "ui/view/NotifyCodes.h"

namespace {

using testing_support::FakeFrameInputs;
using testing_support::HookLog;
using testing_support::RecordingNode;

class RecordingShell : public UrlShell {
 public:
  std::wstring ProgramFilesFolder() override { return L""; }
  std::wstring SystemDirectory() override { return L""; }
  bool FileExists(const std::wstring&) override { return false; }
  intptr_t Execute(const wchar_t*, const std::wstring& file, const wchar_t*) override {
    opened.push_back(file);
    return 42;
  }
  std::vector<std::wstring> opened;
};

const uint32_t kStart = 100000;

class NoticeWndTest : public testing_support::SkinnedFixture {
 protected:
  void SetUp() override {
    SkinnedFixture::SetUp();
    WriteSkin(L"notice_btn",
              L"[BUTTON]\r\nwidth=10\r\nheight=20\r\n[BTN_NORMAL]\r\nfont_id=body\r\n"
              L"[BTN_OVER]\r\nfont_id=body\r\n[BTN_DOWN]\r\nfont_id=body\r\n");
    ASSERT_TRUE(root_.Place(0, 0, 600, 100, nullptr));
    FakeFrameInputs::now() = kStart;
  }
  // A strip `width` wide and 20 high at (10, 10) with the given NOTICE_TEXT lines.
  bool Create(NoticeWnd& strip, int32_t width, const std::wstring& notice_text) {
    WriteSkin(L"notice", L"[BACK]\r\nx=10\r\ny=10\r\nwidth=" + std::to_wstring(width) +
                             L"\r\nheight=20\r\n[NOTICE_TEXT]\r\n" + notice_text);
    strip.SetSkin(L"main", L"notice");
    if (!strip.Create(0, 0, 1, 1, 5, &root_))
      return false;
    strip.Show(1, 0);
    return true;
  }
  static void Fill(NoticeWnd& strip, std::initializer_list<const wchar_t*> texts) {
    strip.SetNoticeCount(static_cast<int32_t>(texts.size()));
    int32_t index = 0;
    for (const wchar_t* text : texts)
      strip.texts()[index++].Assign(text);
  }
  // One frame at kStart + `at` ms.
  static void Frame(NoticeWnd& strip, uint32_t at) {
    FakeFrameInputs::now() = kStart + at;
    strip.Update();
  }
  // The width the skin gives a notice of `text`.
  int32_t WidthOf(const wchar_t* text) {
    NoticeButton probe;
    probe.SetSkin(L"main", L"notice_btn");
    EXPECT_EQ(1, probe.Create(0, 0, 1, 1, 1, &root_));
    probe.SetNotice(text, nullptr);
    return probe.width();
  }

  HookLog log_;
  RecordingNode root_{"root", &log_};
};

TEST_F(NoticeWndTest, ANarrowNoticeChangesAfterShowTimeAndTheNextSlidesInWithoutAJump) {
  NoticeWnd strip;
  ASSERT_TRUE(Create(strip, 400, L"show_time=1000\r\nh_scroll_speed=30\r\nv_scroll_speed=100\r\n"));
  Fill(strip, {L"One", L"Two"});
  strip.UpdateDisplay();
  EXPECT_EQ(0, strip.current());
  EXPECT_STREQ(L"One", strip.button(0).text().GetString());
  EXPECT_EQ(0, strip.button(0).x());  // narrow: no sideways start
  for (uint32_t at = 0; at < 1000; at += 100) {
    Frame(strip, at);
    ASSERT_EQ(-1, strip.incoming()) << at;
  }
  Frame(strip, 1000);
  ASSERT_EQ(1, strip.incoming());
  EXPECT_STREQ(L"Two", strip.button(1).text().GetString());
  EXPECT_EQ(-20, strip.button(1).y());  // a positive speed brings it from above
  EXPECT_EQ(1, strip.button(1).visible());
  std::vector<int32_t> coming, going;
  for (uint32_t at = 1100; strip.incoming() != -1 && at < 2000; at += 100) {
    Frame(strip, at);
    coming.push_back(strip.button(1).y());
    going.push_back(strip.button(0).y());
  }
  EXPECT_EQ((std::vector<int32_t>{-10, 0, 0}), coming);
  EXPECT_EQ((std::vector<int32_t>{10, 20, 20}), going);  // the last step ends the change and hides it
  EXPECT_EQ(1, strip.current());
  EXPECT_EQ(1, strip.active());
  EXPECT_EQ(0, strip.button(0).visible());
  // After the last notice the first comes again.
  Frame(strip, 3000);
  Frame(strip, 3100);
  EXPECT_EQ(0, strip.incoming());
  EXPECT_STREQ(L"One", strip.button(0).text().GetString());
}

TEST_F(NoticeWndTest, AWideNoticeStartsWithItsEndAtTheRightEdgeAndIsShownFullyBeforeShowTimeCounts) {
  const wchar_t* text = L"A long notice of the portal that does not fit";
  int32_t wide = WidthOf(text);
  ASSERT_GT(wide, 120);
  NoticeWnd strip;
  ASSERT_TRUE(Create(strip, wide - 90, L"show_time=1000\r\nh_scroll_speed=30\r\nv_scroll_speed=-100\r\n"));
  Fill(strip, {text, L"Next"});
  strip.UpdateDisplay();
  EXPECT_EQ(-90, strip.button(0).x());
  for (uint32_t at = 0; at <= 3800; at += 100) {
    Frame(strip, at);
    ASSERT_EQ(-1, strip.incoming()) << at;
  }
  EXPECT_EQ(24, strip.button(0).x());  // it keeps its speed once fully seen
  Frame(strip, 3900);                  // fully seen from 3000 on; last seen partly at 2900
  EXPECT_EQ(1, strip.incoming());
  EXPECT_EQ(20, strip.button(1).y());  // a negative speed brings it from below
}

TEST_F(NoticeWndTest, OneNoticeReplacesItselfAndWithoutVerticalSpeedNoChangeCompletes) {
  NoticeWnd strip;
  ASSERT_TRUE(Create(strip, 400, L"show_time=500\r\nv_scroll_speed=200\r\n"));
  Fill(strip, {L"Only"});
  strip.UpdateDisplay();
  for (uint32_t at = 0; at <= 1000 && strip.current() == 0 && strip.active() == 0; at += 100)
    Frame(strip, at);
  EXPECT_EQ(0, strip.current());
  EXPECT_EQ(1, strip.active());
  EXPECT_STREQ(L"Only", strip.button(1).text().GetString());

  NoticeWnd still;
  ASSERT_TRUE(Create(still, 400, L"show_time=500\r\n"));
  Fill(still, {L"One", L"Two"});
  still.UpdateDisplay();
  for (uint32_t at = 0; at <= 5000; at += 100)
    Frame(still, at);
  EXPECT_EQ(0, still.current());
  EXPECT_EQ(1, still.incoming());
  EXPECT_EQ(20, still.button(1).y());  // the next notice waits outside the strip
}

TEST_F(NoticeWndTest, ATickCounterWrapMakesNoJump) {
  const wchar_t* text = L"A long notice of the portal that does not fit";
  int32_t wide = WidthOf(text);
  NoticeWnd strip;
  ASSERT_TRUE(Create(strip, wide - 90, L"show_time=1000\r\nh_scroll_speed=30\r\nv_scroll_speed=100\r\n"));
  Fill(strip, {text, L"Next"});
  FakeFrameInputs::now() = 0xFFFFFF00u;
  strip.UpdateDisplay();
  strip.Update();
  FakeFrameInputs::now() = 0xFFFFFF00u + 100;
  strip.Update();
  EXPECT_EQ(-87, strip.button(0).x());
  FakeFrameInputs::now() = 50;  // wrapped: every stamp is later than now
  strip.Update();
  EXPECT_EQ(-87, strip.button(0).x());
  EXPECT_EQ(-1, strip.incoming());
  FakeFrameInputs::now() = 150;
  strip.Update();
  EXPECT_EQ(-84, strip.button(0).x());
}

TEST_F(NoticeWndTest, CountChangesDuringAChangeStayInRangeAndTheDefaultTextStandsAlone) {
  NoticeWnd strip;
  ASSERT_TRUE(Create(strip, 400, L"text=No news today\r\nshow_time=100\r\nv_scroll_speed=100\r\n"));
  Fill(strip, {L"One", L"Two", L"Three"});
  strip.UpdateDisplay();
  uint32_t at = 0;
  for (; strip.current() != 2 && at < 10000; at += 100)
    Frame(strip, at);
  ASSERT_EQ(2, strip.current());
  for (; strip.incoming() == -1 && at < 20000; at += 100)
    Frame(strip, at);
  ASSERT_NE(-1, strip.incoming());
  Frame(strip, at);  // part of the way
  int32_t other = strip.incoming();

  Fill(strip, {L"Uno", L"Due"});  // shrinks below the notice on show
  EXPECT_EQ(-1, strip.incoming());
  EXPECT_EQ(1, strip.current());
  EXPECT_EQ(0, strip.button(other).visible());
  EXPECT_EQ(0, strip.button(strip.active()).y());
  for (uint32_t frames = 0; frames < 40; ++frames, at += 100) {
    Frame(strip, at);
    ASSERT_GE(strip.current(), 0);
    ASSERT_LT(strip.current(), 2);
  }

  for (; strip.incoming() == -1 && at < 40000; at += 100)
    Frame(strip, at);
  ASSERT_NE(-1, strip.incoming());
  strip.SetNoticeCount(0);
  EXPECT_EQ(-1, strip.current());
  EXPECT_EQ(-1, strip.incoming());
  strip.UpdateDisplay();
  EXPECT_EQ(0, strip.active());
  EXPECT_STREQ(L"No news today", strip.button(0).text().GetString());
  EXPECT_EQ(1, strip.button(0).visible());
  EXPECT_EQ(0, strip.button(1).visible());
  EXPECT_EQ(0, strip.button(0).y());
}

TEST_F(NoticeWndTest, AClickHandsTheLinkToTheShellAndAnEmptyLinkDoesNothing) {
  NoticeWnd strip;
  RecordingShell shell;
  strip.set_url_shell(&shell);
  ASSERT_TRUE(Create(strip, 400, L"show_time=100\r\nv_scroll_speed=1000\r\n"));
  Fill(strip, {L"Linked", L"Plain"});
  strip.links()[0].Assign(L"http://portal.test/news?id=7");
  strip.UpdateDisplay();
  auto click = [&] {
    NoticeButton& button = strip.button(strip.active());
    int32_t x = 10 + button.x() + 2;
    int32_t y = 10 + button.y() + 5;
    root_.DispatchMouseMove(x, y, nullptr);
    root_.DispatchLButtonDown(x, y);
    root_.DispatchLButtonUp(x, y);
  };
  click();
  EXPECT_EQ((std::vector<std::wstring>{L"http://portal.test/news?id=7"}), shell.opened);
  uint32_t at = 0;
  for (; strip.current() != 1 && at < 5000; at += 100)
    Frame(strip, at);
  ASSERT_EQ(1, strip.current());
  click();
  EXPECT_EQ(1u, shell.opened.size());
  // The click is the strip's: the root hears nothing of it (only the hover, for tool-tips).
  for (const std::string& entry : log_)
    EXPECT_EQ(std::string::npos, entry.find("notify " + std::to_string(NOTIFY_CLICKED) + " ")) << entry;
}

TEST_F(NoticeWndTest, ASkinChangeReloadsTheStripItselfAndItsParentHearsNothing) {
  WriteIni(L"data\\skin\\skins\\blue\\notice.ini",
           L"[BACK]\r\nx=30\r\ny=40\r\nwidth=300\r\nheight=20\r\n[NOTICE_TEXT]\r\ntext=Blue news\r\n");
  NoticeWnd strip;
  ASSERT_TRUE(Create(strip, 400, L"text=Plain news\r\n"));
  EXPECT_STREQ(L"Plain news", strip.default_text().GetString());
  log_.clear();
  SetCurrentSkin(L"blue");
  BroadcastSkinChange();
  EXPECT_STREQ(L"Blue news", strip.default_text().GetString());
  EXPECT_EQ(30, strip.x());
  EXPECT_EQ(300, strip.width());
  for (const std::string& entry : log_)
    EXPECT_EQ(std::string::npos, entry.find("notify")) << entry;
  strip.Destroy();
  EXPECT_EQ(0, SkinListenerCount());
}

TEST(ScrollStep, TruncatesTowardZeroAndOverflowsNothing) {
  struct Case {
    int32_t speed;
    uint32_t elapsed;
    int32_t step;
  } cases[] = {{30, 100, 3},
               {-30, 100, -3},
               {29, 34, 0},
               {-1, 999, 0},
               {30, 34, 1},
               {INT32_MAX, 0xFFFFFFFFu, INT32_MAX},
               {INT32_MIN, 0xFFFFFFFFu, INT32_MIN},
               {1000000, 5000, 5000000}};
  for (const Case& c : cases)
    EXPECT_EQ(c.step, ScrollStep(c.speed, c.elapsed)) << c.speed << " x " << c.elapsed;
}

}  // namespace

// orvaneLauncher.exe's main window against the generated demo portal, driven only by real input (the pointer
// moved and clicked through the system's input queue at the rectangles the default skin was generated with):
// the game row under the pointer takes its hover look; the home button shows the home page and a click on the
// start game's row selects it again (title, post pages, banner, action button); a right click opens the game
// popup menu at the cursor with the rows of a game that needs an update, and a click elsewhere closes it; the
// update button runs the engine's update of the start game with both bars and the current file moving until
// the game is at the latest version. Pages do not render under Wine, but the web views still fetch them, so
// the HTTP server's request log tells which page each view was asked for. Screenshots:
// build/screenshots/launcher_window.png (the update under way), launcher_window_menu.png,
// launcher_window_done.png. Skipped while the launcher program is not built.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "tests/launcher/DemoLauncher.h"
#include "tests/launcher/DemoLauncherTest.h"
#include "tests/support/FixtureServer.h"
#include "tests/support/TempFolder.h"
#include "tests/support/WindowCapture.h"
#include "tests/support/WinePaths.h"

namespace testing_support {
namespace {

// Places in the main window's client area, from the default skin's rectangles (tools/default_skin): the body
// sits at (8, 46) of the window, the game list at (12, 40) of the body; the list's header is 32 pixels tall
// and its first row's picture starts 1 pixel below it, 42 pixels tall.
const POINT kBody = {8, 46};
const POINT kList = {kBody.x + 12, kBody.y + 40};
const POINT kFirstRowCentre = {kList.x + 130, kList.y + 32 + 1 + 21};
// Inside the first row, clear of its icon, title, badges and state icon: only the row's back colour.
const POINT kFirstRowBack = {kList.x + 180, kList.y + 32 + 1 + 4};
const POINT kListEmpty = {kList.x + 130, kList.y + 300};
const POINT kHomeButton = {kBody.x + 818 + 13, kBody.y + 8 + 11};
// The action buttons (install, update, run...) share one place; the title and the file line above the bars.
const RECT kActionButton = {kBody.x + 652, kBody.y + 486, kBody.x + 652 + 110, kBody.y + 486 + 40};
const RECT kTitle = {kBody.x + 286, kBody.y + 440, kBody.x + 286 + 150, kBody.y + 440 + 20};
const RECT kFileLine = {kBody.x + 286, kBody.y + 464, kBody.x + 286 + 350, kBody.y + 464 + 16};
const RECT kFileBar = {kBody.x + 340, kBody.y + 490, kBody.x + 340 + 300, kBody.y + 490 + 12};
const RECT kTotalBar = {kBody.x + 340, kBody.y + 512, kBody.x + 340 + 300, kBody.y + 512 + 12};

// The row colours of the default skin's "game_button_info".
const uint32_t kRowNormal = 0xFAFBFD;
const uint32_t kRowOver = 0xE2EAF8;
const uint32_t kRowSelected = 0x3C5A8C;

// The start game of the demo portal (installed at version 3 of 5) and the page its post page 1 shows.
const char kStartGamePage[] = "/pages/RUNE/post1.html";
// The page of the top menu's "PostOfHome" entry, which the home page shows.
const char kHomePage[] = "/pages/post.html";

// The pixels of `rect` (client coordinates of the window captured in `shot`) as one string, for comparing
// two looks of one place.
std::string Pixels(const PngImage& shot, const RECT& rect) {
  std::string pixels;
  for (int y = rect.top; y < rect.bottom; ++y) {
    for (int x = rect.left; x < rect.right; ++x) {
      uint32_t pixel = PixelAt(shot, x, y);
      pixels.append(reinterpret_cast<const char*>(&pixel), 3);
    }
  }
  return pixels;
}

// How many pixels of the bar's middle line differ from the empty bar's.
int FilledPixels(const PngImage& shot, const RECT& bar, const std::vector<uint32_t>& empty) {
  int filled = 0;
  int y = (bar.top + bar.bottom) / 2;
  for (int x = bar.left; x < bar.right; ++x)
    filled += PixelAt(shot, x, y) != empty[x - bar.left] ? 1 : 0;
  return filled;
}

std::vector<uint32_t> BarLine(const PngImage& shot, const RECT& bar) {
  std::vector<uint32_t> line;
  int y = (bar.top + bar.bottom) / 2;
  for (int x = bar.left; x < bar.right; ++x)
    line.push_back(PixelAt(shot, x, y));
  return line;
}

// Whether something is drawn in a place (a text or a button): a pixel stands out from the place's first pixel
// by more than a background's shading does.
bool ShowsSomething(const PngImage& shot, const RECT& rect) {
  uint32_t first = PixelAt(shot, rect.left, rect.top);
  for (int y = rect.top; y < rect.bottom; ++y) {
    for (int x = rect.left; x < rect.right; ++x) {
      uint32_t pixel = PixelAt(shot, x, y);
      for (int shift = 0; shift < 24; shift += 8) {
        int difference =
            static_cast<int>((pixel >> shift) & 0xFF) - static_cast<int>((first >> shift) & 0xFF);
        if (difference > 48 || difference < -48)
          return true;
      }
    }
  }
  return false;
}

class LauncherWindowTest : public DemoLauncherTest {
 protected:
  void SetUp() override {
    DemoLauncherTest::SetUp();
    if (SetUpStopped())
      return;
    ASSERT_TRUE(demo_.NameTheServer());
    ASSERT_NO_FATAL_FAILURE(ServeWithRequestLog());
    ASSERT_TRUE(demo_.Start(L"/LocalGameID:ORVANE"));
    std::wstring title = demo_.LauncherText(L"Launcher");
    ASSERT_TRUE(PumpUntil(
        [&] {
          return (window_ = FindWindowOfProcess(demo_.process_id(), title.c_str(), nullptr)) != nullptr;
        },
        60000))
        << "no main window";
    ASSERT_TRUE(WaitUntilPainted(window_, 5000));
    // The pointer may rest where an earlier test left it, over the row: moved off the list first.
    ASSERT_TRUE(InputMove(window_, kListEmpty.x, kListEmpty.y));
    // The start game's row is drawn, selected, once the catalogue is in.
    ASSERT_TRUE(Until(10000, [&] { return Pixel(kFirstRowBack) == kRowSelected; }))
        << std::hex << Pixel(kFirstRowBack);
    ASSERT_TRUE(Until(5000, [&] { return OnTopAt(window_, kFirstRowCentre.x, kFirstRowCentre.y); }))
        << DescribeWindowAt(window_, kFirstRowCentre.x, kFirstRowCentre.y);
  }

  void TearDown() override {
    if (window_ != nullptr && IsWindow(window_)) {
      // The tray menu's exit command.
      PostMessageW(window_, WM_COMMAND, 21, 0);
      EXPECT_TRUE(demo_.WaitForEnd(30000)) << "the launcher did not end";
    }
  }

  // The demo's servers again on the same address and ports, the HTTP server now with a request log and a
  // fault script of this test's own (empty until a test writes it).
  void ServeWithRequestLog() {
    wchar_t host[64] = {};
    GetPrivateProfileStringW(L"LAUNCHER_INFO", L"update_addr", L"", host, 64,
                             demo_.Launcher(L"ZEPHLauncherInfo.ini").c_str());
    std::string endpoint = WideToUtf8(host);
    size_t colon = endpoint.find(':');
    ASSERT_NE(std::string::npos, colon) << endpoint;
    std::string address = endpoint.substr(0, colon);
    std::string port = endpoint.substr(colon + 1);
    demo_.StopServers();
    std::string portal = UnixPathOf(demo_.folder().Join(L"portal"));
    // The stopped servers let go of their ports within a moment; until then a start fails.
    ASSERT_TRUE(PumpUntil(
        [&] {
          return patch_server_.Start(
              "patch_server.py", {"--bind", address, "--port", "27500", "--game-info-number", "7", "--root",
                                  portal, "--lifetime", "900"});
        },
        10000))
        << patch_server_.log();
    ASSERT_TRUE(WriteFileBytes(demo_.folder().Join(L"http-script.json"), "{}"));
    ASSERT_TRUE(PumpUntil(
        [&] {
          return http_server_.Start("http_server.py",
                                    {"--bind", address, "--port", port, "--root", portal, "--script",
                                     UnixPathOf(demo_.folder().Join(L"http-script.json")), "--request-log",
                                     UnixPathOf(demo_.folder().Join(L"requests.log")), "--lifetime", "900"});
        },
        10000))
        << http_server_.log();
  }

  // How often the launcher's views asked for `path`.
  int Requests(const std::string& path) {
    std::string log;
    ReadFileBytes(demo_.folder().Join(L"requests.log"), &log);
    int count = 0;
    for (size_t at = log.find("\t" + path + "\t"); at != std::string::npos;
         at = log.find("\t" + path + "\t", at + 1))
      ++count;
    return count;
  }

  bool Until(DWORD timeout_ms, const std::function<bool()>& done) { return PumpUntil(done, timeout_ms); }
  uint32_t Pixel(POINT at) { return PixelAt(CaptureWindow(window_), at.x, at.y); }
  bool Click(POINT at, bool right_button = false) { return InputClick(window_, at.x, at.y, right_button); }

  FixtureServer patch_server_;
  FixtureServer http_server_;
  HWND window_ = nullptr;
};

TEST_F(LauncherWindowTest, TheRowUnderThePointerTakesTheHoverLookAndLosesItWhenThePointerLeaves) {
  // The selected row keeps its look under the pointer: the home page first, which leaves no row selected.
  ASSERT_TRUE(Click(kHomeButton));
  ASSERT_TRUE(InputMove(window_, kListEmpty.x, kListEmpty.y));
  EXPECT_TRUE(Until(3000, [&] { return Pixel(kFirstRowBack) == kRowNormal; }))
      << std::hex << Pixel(kFirstRowBack);
  ASSERT_TRUE(InputMove(window_, kFirstRowCentre.x, kFirstRowCentre.y));
  EXPECT_TRUE(Until(3000, [&] { return Pixel(kFirstRowBack) == kRowOver; }))
      << std::hex << std::hex << Pixel(kFirstRowBack);
  ASSERT_TRUE(InputMove(window_, kListEmpty.x, kListEmpty.y));
  EXPECT_TRUE(Until(3000, [&] { return Pixel(kFirstRowBack) == kRowNormal; }))
      << std::hex << std::hex << Pixel(kFirstRowBack);
}

TEST_F(LauncherWindowTest, HomeShowsTheHomePageAndAClickOnTheRowSelectsTheGameAgain) {
  // At start the start game is shown (its title, its action button, its post page) and selected in the list.
  EXPECT_EQ(kRowSelected, Pixel(kFirstRowBack));
  EXPECT_TRUE(Until(3000, [&] {
    PngImage shot = CaptureWindow(window_);
    return ShowsSomething(shot, kTitle) && ShowsSomething(shot, kActionButton);
  }));
  EXPECT_TRUE(Until(10000, [&] { return Requests(kStartGamePage) == 1; })) << Requests(kStartGamePage);
  int banners = Requests("/banner.html");

  ASSERT_TRUE(Click(kHomeButton));
  // The home page: post page 1 asks for the home page; no game is selected.
  EXPECT_TRUE(Until(10000, [&] { return Requests(kHomePage) >= 1; })) << Requests(kHomePage);
  EXPECT_TRUE(Until(3000, [&] { return Pixel(kFirstRowBack) == kRowNormal; }))
      << std::hex << Pixel(kFirstRowBack);
  const int home_pages = Requests(kHomePage);
  WaitUntilPainted(window_, 3000);
  EXPECT_TRUE(SaveScreenshot(CaptureWindow(window_), L"launcher_window_home.png"));

  ASSERT_TRUE(Click(kFirstRowCentre));
  // Selected: the row's selected look, the title, the game's post page and the banner again, and the action
  // button of a game that needs an update.
  EXPECT_TRUE(Until(3000, [&] { return Pixel(kFirstRowBack) == kRowSelected; }))
      << std::hex << std::hex << Pixel(kFirstRowBack);
  EXPECT_TRUE(Until(3000, [&] {
    PngImage shot = CaptureWindow(window_);
    return ShowsSomething(shot, kTitle) && ShowsSomething(shot, kActionButton);
  }));
  EXPECT_TRUE(Until(10000, [&] { return Requests(kStartGamePage) == 2; })) << Requests(kStartGamePage);
  EXPECT_TRUE(Until(10000, [&] { return Requests("/banner.html") > banners; }));
  EXPECT_EQ(home_pages, Requests(kHomePage));
}

TEST_F(LauncherWindowTest, ARightClickOpensTheGamePopupMenuAtTheCursorAndAClickElsewhereClosesIt) {
  ASSERT_TRUE(Click(kFirstRowCentre, true));
  // Any other window of the launcher: the game popup menu.
  HWND menu = nullptr;
  ASSERT_TRUE(
      Until(5000, [&] { return (menu = OtherWindowOfProcess(demo_.process_id(), window_, 0)) != nullptr; }));
  RECT placed;
  GetWindowRect(menu, &placed);
  POINT cursor = kFirstRowCentre;
  ClientToScreen(window_, &cursor);
  EXPECT_EQ(cursor.x, placed.left);
  EXPECT_EQ(cursor.y, placed.top);
  // A game that needs an update: install, update, run, file check and patch information (stop install and
  // stop update are hidden), 22 pixels each inside a 1-pixel border.
  EXPECT_EQ(2 + 5 * 22, placed.bottom - placed.top);
  ASSERT_TRUE(WaitUntilPainted(menu, 3000));
  // The pointer over the second row (update) gives it the hover look in the screenshot.
  ASSERT_TRUE(InputMove(menu, 40, 1 + 22 + 11));
  EXPECT_TRUE(Until(3000, [&] { return PixelAt(CaptureWindow(menu), 4, 1 + 22 + 2) == 0x3C5A8C; }));
  EXPECT_TRUE(SaveScreenshot(CaptureWindow(menu), L"launcher_window_menu.png"));

  // A click on the list's empty part takes the focus from the menu, which closes without a command.
  ASSERT_TRUE(Click(kListEmpty));
  EXPECT_TRUE(Until(5000, [&] { return !IsWindowVisible(menu); }));
  // The start game stays selected.
  EXPECT_EQ(kRowSelected, Pixel(kFirstRowBack));
}

TEST_F(LauncherWindowTest, TheUpdateButtonRunsTheUpdateWithMovingBarsAndFileTextUntilTheGameIsLatest) {
  // Each file of the start game's history answers after a pause, and the large program file stalls half way,
  // so that the update takes a few seconds.
  std::vector<FileBelow> files = ListFilesBelow(demo_.folder().Join(L"portal\\RUNE\\RegisteredHistory"));
  ASSERT_FALSE(files.empty());
  std::string script = "{";
  for (const FileBelow& file : files) {
    std::string path = "/RUNE/RegisteredHistory/" + WideToUtf8(file.relative);
    std::replace(path.begin(), path.end(), '\\', '/');
    script += (script.size() > 1 ? ",\"" : "\"") + path + "\": {\"delay_before\": 0.2";
    if (file.size > 100000)
      script += ", \"stall_after\": " + std::to_string(file.size / 2) + ", \"stall_seconds\": 1.5";
    script += "}";
  }
  ASSERT_TRUE(WriteFileBytes(demo_.folder().Join(L"http-script.json"), script + "}"));

  ASSERT_TRUE(Click(kFirstRowCentre));
  ASSERT_TRUE(Until(5000, [&] { return ShowsSomething(CaptureWindow(window_), kActionButton); }));
  PngImage before = CaptureWindow(window_);
  std::vector<uint32_t> empty_file_bar = BarLine(before, kFileBar);
  std::vector<uint32_t> empty_total_bar = BarLine(before, kTotalBar);
  std::string update_button = Pixels(before, kActionButton);
  ASSERT_TRUE(Click({kActionButton.left + 55, kActionButton.top + 20}));

  // Sampled until the total bar is full: every fill of both bars and every look of the file line seen.
  std::set<int> file_fills, total_fills;
  std::set<std::string> file_lines;
  bool saved = false;
  int total = 0;
  ASSERT_TRUE(Until(90000,
                    [&] {
                      PngImage shot = CaptureWindow(window_);
                      file_fills.insert(FilledPixels(shot, kFileBar, empty_file_bar));
                      total = FilledPixels(shot, kTotalBar, empty_total_bar);
                      total_fills.insert(total);
                      if (ShowsSomething(shot, kFileLine))
                        file_lines.insert(Pixels(shot, kFileLine));
                      if (!saved && total > 60 && total < 240)
                        saved = SaveScreenshot(shot, L"launcher_window.png");
                      return total == kTotalBar.right - kTotalBar.left;
                    }))
      << "total bar at " << total;
  auto between = [](const std::set<int>& fills) {
    int count = 0;
    for (int fill : fills)
      count += fill > 0 && fill < 300 ? 1 : 0;
    return count;
  };
  EXPECT_GE(between(total_fills), 2) << "the total bar did not move";
  // The large file's pause half way holds the file bar part-filled for a good while.
  EXPECT_GE(between(file_fills), 1) << "the file bar was only ever empty or full";
  // The file bar ends full too (a game at the latest version shows both bars full); its last repaint may come
  // after the one that filled the total bar.
  EXPECT_TRUE(Until(5000, [&] {
    return FilledPixels(CaptureWindow(window_), kFileBar, empty_file_bar) == kFileBar.right - kFileBar.left;
  })) << "the file bar did not end full";
  EXPECT_GE(file_lines.size(), 2u) << "the current file did not change";
  EXPECT_TRUE(saved);

  // Done: the game is at the latest version, so the action button is now another one (run), and the list's
  // state icon changed with it.
  EXPECT_TRUE(Until(10000, [&] {
    PngImage shot = CaptureWindow(window_);
    return ShowsSomething(shot, kActionButton) && Pixels(shot, kActionButton) != update_button;
  }));
  WaitUntilPainted(window_, 3000);
  EXPECT_TRUE(SaveScreenshot(CaptureWindow(window_), L"launcher_window_done.png"));
}

}  // namespace
}  // namespace testing_support

// A user's journey through orvaneLauncher.exe against the generated demo portal (tools/demo_portal), in one run
// from the freshly generated launcher folder, as a user meets it: the first start asks for an update server,
// the launcher restarts onto it, updates itself through its temporary copy and shows its main window with the
// portal's games; the later steps (JourneyLaterSteps.h) go on from that window to the hand-over.
//
// Only real messages reach the launcher: clicks at the rectangles that the default skin's generator wrote,
// and the tray menu's commands. Every step saves build/screenshots/<prefix>-NN-<step>.png (prefix "journey",
// or ORVANE_SCREENSHOT_PREFIX: make demo walks this journey with "demo") and checks its effect on the files,
// the servers' logs, the processes and the pixels on the screen. The launcher inherits ORVANE_SKIN_MISS_LOG
// through all its restarts: the journey fails when any window asked for a skin file that the generated skin
// lacks. Skipped while the launcher program is not built.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "tests/launcher/DemoLauncher.h"
#include "tests/launcher/DemoLauncherTest.h"
#include "tests/launcher/JourneyLaterSteps.h"
#include "tests/support/TempFolder.h"
#include "tests/support/WindowCapture.h"
#include "tests/support/WinePaths.h"

namespace testing_support {
namespace {

constexpr DWORD kStepTimeoutMs = 60000;
// The demo portal's server list (tools/demo_portal): the first server serves the portal, the second is older
// than the installed start game.
const wchar_t kChosenServerName[] = L"Loopback portal";
// The default skin's colours (tools/default_skin/controls.py) that the checks look for.
constexpr uint32_t kSkinInk = 0x1B2F52;
constexpr uint32_t kSkinAccent = 0x6A8CC0;
constexpr uint32_t kServerDisabledText = 0x969696;
// The lighter band of the start game's icon in the demo catalogue (the game's colour + 90).
constexpr uint32_t kStartGameIconBand = 0x8ED2FF;
// The game buttons' state icons and the "new" badge (tools/default_skin/modules/launcher_window.py).
constexpr uint32_t kNeedUpdateIcon = 0xE69628;
constexpr uint32_t kLatestIcon = 0x3CA05A;
constexpr uint32_t kNewBadge = 0x3C965A;
// The selected row's back colour (the default skin's "game_button_info").
constexpr uint32_t kSelectedRow = 0x3C5A8C;

// "<prefix>-NN-<step>.png".
std::wstring ScreenshotName(int step, const wchar_t* name) {
  wchar_t prefix[64] = {};
  DWORD length = GetEnvironmentVariableW(L"ORVANE_SCREENSHOT_PREFIX", prefix, 64);
  wchar_t number[8];
  wsprintfW(number, L"-%02d-", step);
  return std::wstring(length > 0 && length < 64 ? prefix : L"journey") + number + name + L".png";
}

// For failure messages (the texts here are ASCII).
std::string Narrow(const std::wstring& text) {
  return std::string(text.begin(), text.end());
}

// True when some pixel of `image` inside `rect` (image coordinates) has the colour `rgb`.
bool HasColourIn(const PngImage& image, const RECT& rect, uint32_t rgb) {
  for (LONG y = rect.top; y < rect.bottom; ++y) {
    for (LONG x = rect.left; x < rect.right; ++x) {
      if (PixelAt(image, x, y) == rgb)
        return true;
    }
  }
  return false;
}

// The pixels inside `rect` that are dark (each channel below 0x80): text on a light ground.
int DarkPixels(const PngImage& image, const RECT& rect) {
  int dark = 0;
  for (LONG y = rect.top; y < rect.bottom; ++y) {
    for (LONG x = rect.left; x < rect.right; ++x)
      dark += (PixelAt(image, x, y) & 0x808080) == 0 ? 1 : 0;
  }
  return dark;
}

POINT Centre(const RECT& rect) {
  return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

std::wstring LauncherInfoValue(const DemoLauncher& demo, const wchar_t* key) {
  wchar_t value[1024] = {};
  GetPrivateProfileStringW(L"LAUNCHER_INFO", key, L"", value, 1024,
                           demo.Launcher(L"ZEPHLauncherInfo.ini").c_str());
  return value;
}

bool ProgramInFolder(const std::wstring& program, const std::wstring& folder) {
  const size_t slash = program.rfind(L'\\');
  return slash != std::wstring::npos && _wcsicmp(program.substr(0, slash).c_str(), folder.c_str()) == 0;
}

// A click at (x, y) of the top-level `window`'s client area, sent to the innermost child window there.
void ClickInWindow(HWND window, int x, int y) {
  HWND target = window;
  POINT point = {x, y};
  for (;;) {
    HWND child = ChildWindowFromPointEx(target, point, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
    if (child == nullptr || child == target)
      break;
    MapWindowPoints(target, child, &point, 1);
    target = child;
  }
  ClickAt(target, point.x, point.y);
}

BOOL CALLBACK CollectChildTexts(HWND child, LPARAM context) {
  // Asked of the window itself: an edit control of another process keeps its text to itself.
  wchar_t text[512] = {};
  DWORD_PTR length = 0;
  if (SendMessageTimeoutW(child, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000,
                          &length) != 0 &&
      length > 0)
    *reinterpret_cast<std::wstring*>(context) += std::wstring(text) + L"\n";
  return TRUE;
}

BOOL CALLBACK DescribeWindow(HWND window, LPARAM context) {
  const auto* query = reinterpret_cast<std::pair<std::vector<DWORD>, std::wstring*>*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  for (DWORD id : query->first) {
    if (id != owner)
      continue;
    wchar_t title[128] = {}, class_name[64] = {};
    GetWindowTextW(window, title, 128);
    GetClassNameW(window, class_name, 64);
    std::wstring texts;  // an error box's text
    EnumChildWindows(window, CollectChildTexts, reinterpret_cast<LPARAM>(&texts));
    *query->second += L"  process " + std::to_wstring(owner) + L" " + DemoLauncher::ProcessProgram(owner) +
                      L" class \"" + class_name + L"\" title \"" + title + L"\"" +
                      (IsWindowVisible(window) ? L" visible\n" : L" hidden\n") + texts;
  }
  return TRUE;
}

// The top-level windows of the launcher processes, for failure messages.
std::string LauncherWindows(const DemoLauncher& demo) {
  std::wstring text;
  std::pair<std::vector<DWORD>, std::wstring*> query(demo.LauncherProcessIds(), &text);
  EnumWindows(DescribeWindow, reinterpret_cast<LPARAM>(&query));
  return std::string(text.begin(), text.end());
}

class LauncherJourneyTest : public DemoLauncherTest {
 protected:
  void SetUp() override {
    DemoLauncherTest::SetUp();
    if (SetUpStopped())
      return;
    // Every launcher of the journey inherits it, the restarted ones and the temporary copy included.
    misses_ = demo_.folder().Join(L"skin-misses.log");
    SetEnvironmentVariableW(L"ORVANE_SKIN_MISS_LOG", misses_.c_str());
    PrepareJourneyEnvironment(demo_);  // the stand-in game records its start for the later steps
  }

  void TearDown() override {
    demo_.EndEveryLauncher();
    SetEnvironmentVariableW(L"ORVANE_SKIN_MISS_LOG", nullptr);
    SetEnvironmentVariableW(L"ORVANE_FAKE_GAME_RECORD", nullptr);
  }

  // Waits for a visible window of a launcher process (any, as its restarts replace it); null after the time.
  HWND WaitForLauncherWindow(const wchar_t* title, const wchar_t* class_name, DWORD timeout_ms) {
    HWND window = nullptr;
    PumpUntil(
        [&] {
          window = demo_.FindLauncherWindow(title, class_name);
          return window != nullptr;
        },
        timeout_ms);
    return window;
  }

  // The window of another process paints in its own time: captures it until `shows` holds of the picture
  // (at most `timeout_ms`), saves the last capture as the step's screenshot and returns it; `shown` tells
  // whether it held.
  PngImage CaptureWhen(HWND window,
                       const std::function<bool(const PngImage&)>& shows,
                       int step,
                       const wchar_t* name,
                       bool* shown,
                       DWORD timeout_ms = 10000) {
    PngImage image;
    *shown = PumpUntil(
        [&] {
          image = CaptureWindow(window);
          return shows(image);
        },
        timeout_ms);
    EXPECT_TRUE(SaveScreenshot(image, ScreenshotName(step, name)));
    return image;
  }

  PngImage Capture(HWND window, int step, const wchar_t* name) {
    WaitUntilPainted(window, 2000);
    PngImage image = CaptureWindow(window);
    EXPECT_TRUE(SaveScreenshot(image, ScreenshotName(step, name)));
    return image;
  }

  std::string SkinMisses() const {
    std::string missed;
    ReadFileBytes(misses_, &missed);
    return missed;
  }

  // A control's rectangle in the main window: the skin's body rectangle moved to the body's place.
  bool BodyRect(const char* control, RECT* rect) {
    RECT body;
    if (!DefaultSkinRect("base", "body", &body) || !DefaultSkinRect("body", control, rect))
      return false;
    OffsetRect(rect, body.left, body.top);
    return true;
  }

  void FirstStartChoosesTheServer();
  void SelfUpdateReplacesTheLauncher();
  void SplashShows();
  void MainWindowShowsTheGames();
  void NoticeHintAndNickShow();

  std::wstring misses_;
  HWND main_window_ = nullptr;
  PngImage main_image_;  // the main window as it first showed its games
};

// Step 1: no server named yet, so the selection dialog comes; the older server cannot be chosen; choosing the
// other stores it and restarts the launcher.
void LauncherJourneyTest::FirstStartChoosesTheServer() {
  ASSERT_EQ(L"", LauncherInfoValue(demo_, L"update_addr"));
  ASSERT_TRUE(demo_.Start(L"/LocalGameID:ORVANE"));
  HWND dialog = nullptr;
  PumpUntil(
      [&] {
        dialog = FindWindowOfProcess(demo_.process_id(), nullptr, L"OrvaneDialog");
        return dialog != nullptr || demo_.WaitForEnd(0);
      },
      kStepTimeoutMs);
  ASSERT_NE(nullptr, dialog) << "no server selection; launcher windows:\n" << LauncherWindows(demo_);
  std::wstring texts;
  EnumChildWindows(dialog, CollectChildTexts, reinterpret_cast<LPARAM>(&texts));
  ASSERT_EQ(L"", texts) << "an error box instead of the server selection";

  RECT list, ok;
  ASSERT_TRUE(DefaultSkinRect("server_select", "list", &list));
  ASSERT_TRUE(DefaultSkinRect("server_select", "server_ok", &ok));
  // The skin's row height and gap (tools/default_skin/modules/server_select.py).
  const int row_pitch = 24 + 2;
  const RECT rows[2] = {{list.left, list.top, list.right, list.top + 24},
                        {list.left, list.top + row_pitch, list.right, list.top + row_pitch + 24}};
  // The older server: in the disabled colour, and a click on it selects nothing.
  bool shown = false;
  CaptureWhen(
      dialog,
      [&](const PngImage& image) {
        return HasColourIn(image, rows[1], kServerDisabledText) && HasColourIn(image, rows[0], kSkinInk);
      },
      1, L"server-selection-list", &shown);
  EXPECT_TRUE(shown) << "the current server in the normal colour, the older one greyed";
  // The current server, chosen with a click: its row takes the selection colour.
  ClickAt(dialog, Centre(rows[0]).x, Centre(rows[0]).y);
  CaptureWhen(
      dialog, [&](const PngImage& image) { return HasColourIn(image, rows[0], kSkinAccent); }, 1,
      L"server-selection", &shown);
  EXPECT_TRUE(shown) << "the chosen server is not shown selected";
  // A click on the older server changes nothing: the selection would move within a few frames.
  ClickAt(dialog, Centre(rows[1]).x, Centre(rows[1]).y);
  EXPECT_FALSE(PumpUntil(
      [&] {
        const PngImage image = CaptureWindow(dialog);
        return HasColourIn(image, rows[1], kSkinAccent) || !HasColourIn(image, rows[0], kSkinAccent);
      },
      1500))
      << "the older server could be chosen";

  ClickAt(dialog, Centre(ok).x, Centre(ok).y);
  ASSERT_TRUE(demo_.WaitForEnd(30000)) << "the launcher did not restart after the choice";
  DWORD exit_code = 1;
  GetExitCodeProcess(demo_.process(), &exit_code);
  EXPECT_EQ(0u, exit_code);
  // The restart started the next launcher before this one ended.
  EXPECT_FALSE(demo_.LauncherProcessIds().empty()) << "no launcher runs after the restart";
  EXPECT_EQ(demo_.host(), LauncherInfoValue(demo_, L"update_addr"));
  EXPECT_EQ(kChosenServerName, LauncherInfoValue(demo_, L"update_name"));
  EXPECT_TRUE(FileExists(demo_.Launcher(L"locallist.xml"))) << "the downloaded server list is kept";
}

// Step 2: the installed launcher (version 1) is older than the announced one (2): a temporary copy shows the
// self-update dialog while it downloads the package, the package's changed file arrives, the version is
// written and the real launcher starts again; the temporary folder is then gone.
void LauncherJourneyTest::SelfUpdateReplacesTheLauncher() {
  HWND dialog = WaitForLauncherWindow(L"Updater", nullptr, kStepTimeoutMs);
  if (dialog == nullptr) {
    if (HWND box = demo_.FindLauncherWindow(nullptr, L"#32770"))
      Capture(box, 2, L"self-update-failed");
  }
  ASSERT_NE(nullptr, dialog) << "no self-update dialog; launcher windows:\n"
                             << LauncherWindows(demo_) << "requests:\n"
                             << demo_.HttpRequests()
                             << "update_addr: " << Narrow(LauncherInfoValue(demo_, L"update_addr"));
  DWORD copy_id = 0;
  GetWindowThreadProcessId(dialog, &copy_id);
  HANDLE copy = OpenProcess(SYNCHRONIZE, FALSE, copy_id);
  EXPECT_TRUE(ProgramInFolder(DemoLauncher::ProcessProgram(copy_id), demo_.Launcher(L"launcher_update_temp")))
      << "the dialog is not the temporary copy's";

  // The package stalls half-way (the fault script set before the restart): the file bar stands part-filled.
  RECT bar;
  ASSERT_TRUE(DefaultSkinRect("updater", "file_progress", &bar));
  PngImage progress;
  const bool part_filled = PumpUntil(
      [&] {
        progress = CaptureWindow(dialog);
        const int y = (bar.top + bar.bottom) / 2;
        return PixelAt(progress, bar.left + 2, y) == kSkinAccent &&
               PixelAt(progress, bar.right - 2, y) != kSkinAccent;
      },
      20000);
  EXPECT_TRUE(part_filled) << "the dialog showed no progress";
  EXPECT_TRUE(SaveScreenshot(progress, ScreenshotName(2, L"self-update")));

  if (copy != nullptr) {
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(copy, kStepTimeoutMs)) << "the temporary copy did not end";
    CloseHandle(copy);
  }
  std::string messages;
  ASSERT_TRUE(ReadFileBytes(demo_.Launcher(L"LauncherMessage.ini"), &messages));
  const std::wstring section = L"[DEMO_PACKAGE]";
  EXPECT_NE(std::string::npos,
            messages.find(std::string(reinterpret_cast<const char*>(section.data()), section.size() * 2)))
      << "the package's changed file did not arrive";
  EXPECT_EQ(L"2", LauncherInfoValue(demo_, L"version"));
  const std::wstring temp = demo_.Launcher(L"launcher_update_temp");
  EXPECT_TRUE(PumpUntil([&] { return !FileExists(temp); }, 30000)) << "the temporary folder is still there";
}

// Step 3, first: the real launcher starts again from its own folder, with its splash.
void LauncherJourneyTest::SplashShows() {
  // The game list is held back (the fault script) so that the splash stays up long enough to be seen.
  const std::wstring splash_text = demo_.LauncherText(L"initializing");
  HWND splash = WaitForLauncherWindow(splash_text.c_str(), nullptr, kStepTimeoutMs);
  ASSERT_NE(nullptr, splash) << "no splash; launcher windows:\n" << LauncherWindows(demo_);
  DWORD launcher_id = 0;
  GetWindowThreadProcessId(splash, &launcher_id);
  EXPECT_EQ(demo_.Launcher(L"orvaneLauncher.exe"), DemoLauncher::ProcessProgram(launcher_id))
      << "the launcher did not restart from its own folder";
  const COLORREF info_back = GetSysColor(COLOR_INFOBK);
  const uint32_t info_rgb = GetRValue(info_back) << 16 | GetGValue(info_back) << 8 | GetBValue(info_back);
  bool shown = false;
  CaptureWhen(
      splash, [&](const PngImage& image) { return PixelAt(image, 3, image.height / 2) == info_rgb; }, 3,
      L"splash", &shown);
  EXPECT_TRUE(shown) << "the splash is not painted";
  ASSERT_TRUE(demo_.ScriptHttpServer("{}"));
}

// Step 3: the main window with the portal's games: the installed start game listed with its icon, state and
// badge and shown with its update button; every game's icon fetched.
void LauncherJourneyTest::MainWindowShowsTheGames() {
  const std::wstring title = demo_.LauncherText(L"Launcher");
  main_window_ = WaitForLauncherWindow(title.c_str(), nullptr, kStepTimeoutMs);
  ASSERT_NE(nullptr, main_window_) << "no main window; launcher windows:\n" << LauncherWindows(demo_);
  RECT list, update;
  ASSERT_TRUE(BodyRect("list", &list));
  ASSERT_TRUE(BodyRect("update_btn", &update));
  // The start game's icon comes from the portal after the window is up.
  bool shown = false;
  main_image_ = CaptureWhen(
      main_window_, [&](const PngImage& shot) { return HasColourIn(shot, list, kStartGameIconBand); }, 3,
      L"main-window", &shown, 30000);
  EXPECT_TRUE(shown) << "the start game's icon is not in the list";
  // Installed at version 3 of 5: "needs an update", never "latest"; selected in the list; its update button.
  EXPECT_TRUE(HasColourIn(main_image_, list, kNeedUpdateIcon))
      << "the start game is not shown as needing an update";
  EXPECT_FALSE(HasColourIn(main_image_, list, kLatestIcon)) << "the start game is shown as up to date";
  EXPECT_TRUE(HasColourIn(main_image_, list, kSelectedRow)) << "the start game's row is not selected";
  EXPECT_TRUE(HasColourIn(main_image_, update, 0xFFFFFF)) << "no update button for the start game";
  // The home page leaves no row selected: the row's normal look shows its "new" badge.
  RECT home;
  ASSERT_TRUE(BodyRect("home_btn", &home));
  ClickInWindow(main_window_, (home.left + home.right) / 2, (home.top + home.bottom) / 2);
  CaptureWhen(
      main_window_, [&](const PngImage& shot) { return HasColourIn(shot, list, kNewBadge); }, 3,
      L"main-window-home", &shown);
  EXPECT_TRUE(shown) << "the start game's badge";
  // Selecting it in the list (a click on its row) shows it selected, with its update button. The picture is
  // taken once the row shows selected: the home layout's button would otherwise pass for the game's.
  ClickInWindow(main_window_, list.left + 80, list.top + 52);
  CaptureWhen(
      main_window_,
      [&](const PngImage& shot) {
        return HasColourIn(shot, list, kSelectedRow) && HasColourIn(shot, update, 0xFFFFFF);
      },
      3, L"main-window-start-game-selected", &shown);
  EXPECT_TRUE(shown) << "the start game is not shown selected with its update button";
  // The icon loader fetches every game's icons in the background, one after another.
  auto icons_fetched = [this] {
    const std::string requests = demo_.HttpRequests();
    for (const char* game : {"RUNE", "SKYF", "PUZL", "VALT", "KART", "CHES"}) {
      if (requests.find(std::string("GET\t/icons/") + game + "/") == std::string::npos)
        return false;
    }
    return true;
  };
  EXPECT_TRUE(PumpUntil(icons_fetched, 30000)) << "not every game's icon was fetched:\n"
                                               << demo_.HttpRequests();
}

// Step 3, last: the portal's first notice in the ticker, one of its keywords as the search box's hint, and
// the greeting with the user's nick.
void LauncherJourneyTest::NoticeHintAndNickShow() {
  RECT notice, nick;
  ASSERT_TRUE(BodyRect("notice_text", &notice));
  ASSERT_TRUE(BodyRect("user_nick", &nick));
  notice.left += 20;  // past the notice icon
  EXPECT_GT(DarkPixels(main_image_, notice), 50) << "no notice text";
  EXPECT_TRUE(HasColourIn(main_image_, nick, kSkinInk)) << "no greeting";
  std::wstring texts;
  EnumChildWindows(main_window_, CollectChildTexts, reinterpret_cast<LPARAM>(&texts));
  EXPECT_TRUE(texts.find(L"Search for a game, e.g. Runestone\n") != std::wstring::npos ||
              texts.find(L"Kart Rally tournaments\n") != std::wstring::npos)
      << "child window texts:\n"
      << Narrow(texts);
  const std::string requests = demo_.HttpRequests();
  EXPECT_NE(std::string::npos, requests.find("GET\t/notice.xml")) << requests;
  EXPECT_NE(std::string::npos, requests.find("GET\t/keyword.xml")) << requests;
}

TEST_F(LauncherJourneyTest, AUsersJourneyFromTheFirstStartToTheHandOver) {
  // The package stalls half-way so that the self-update dialog is seen with its progress, and the game list
  // comes late so that the splash is seen; both answers come in full in the end.
  std::string cab;
  ASSERT_TRUE(ReadFileBytes(demo_.folder().Join(L"portal\\system\\ORVANE.2.cab"), &cab));
  ASSERT_TRUE(demo_.ScriptHttpServer(
      "{\"/system/ORVANE.2.cab\": {\"times\": 1, \"stall_after\": " + std::to_string(cab.size() / 2) +
      ", \"stall_seconds\": 3},"
      " \"/GameInfo/7/GLI_3.info\": {\"times\": 1, \"delay_before\": 3},"
      " \"/GameInfo/7/GLI_3_RUNE.info\": {\"times\": 1, \"delay_before\": 3}}"));

  ASSERT_NO_FATAL_FAILURE(FirstStartChoosesTheServer());
  ASSERT_NO_FATAL_FAILURE(SelfUpdateReplacesTheLauncher());
  ASSERT_NO_FATAL_FAILURE(SplashShows());
  ASSERT_NO_FATAL_FAILURE(MainWindowShowsTheGames());
  ASSERT_NO_FATAL_FAILURE(NoticeHintAndNickShow());

  // The launcher that shows the main window is the one the self-update restarted: the later steps follow it.
  ASSERT_TRUE(demo_.AdoptRunningLauncher()) << "not exactly one launcher runs";
  ASSERT_NO_FATAL_FAILURE(WalkFromTheMainWindowToTheHandOver(demo_, main_window_, 4));

  EXPECT_EQ("", SkinMisses()) << "skin files the generated skin lacks (category, name)";
}

}  // namespace
}  // namespace testing_support

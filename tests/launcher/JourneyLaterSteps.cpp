#include "tests/launcher/JourneyLaterSteps.h"

#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "tests/support/TempFolder.h"
#include "tests/support/Timing.h"
#include "tests/support/WindowCapture.h"
#include "tests/support/WinePaths.h"
#include "ui/gfx/PNGLoader.h"

namespace testing_support {

namespace {

const wchar_t kRecordVariable[] = L"ORVANE_FAKE_GAME_RECORD";
// The launcher window's child id in the main window.
const int kBodyId = 11;
// The tray icon's callback message and its menu's commands.
const UINT kTrayNotify = WM_USER + 2;
const WPARAM kTrayExit = 21;
const DWORD kStepTimeoutMs = 60000;

// The journey's state: the launcher and where the screenshots count.
struct Journey {
  DemoLauncher& demo;
  HWND main;
  int number;
};

// "<prefix>-NN-<step>.png", the prefix "journey" unless ORVANE_SCREENSHOT_PREFIX names another.
std::wstring ScreenshotName(int number, const wchar_t* step) {
  wchar_t prefix[64] = {};
  DWORD length = GetEnvironmentVariableW(L"ORVANE_SCREENSHOT_PREFIX", prefix, 64);
  wchar_t numbered[16] = {};
  swprintf(numbered, 16, L"-%02d-", number);
  return std::wstring(length > 0 && length < 64 ? prefix : L"journey") + numbered + step + L".png";
}

// Saves the next numbered screenshot of `window` (the whole screen when null).
void Shoot(Journey& journey, HWND window, const wchar_t* step) {
  PngImage image;
  if (window != nullptr) {
    WaitUntilPainted(window, 3000);
    image = CaptureWindow(window);
  } else {
    RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    image = CaptureScreen(screen);
  }
  EXPECT_TRUE(SaveScreenshot(image, ScreenshotName(journey.number++, step))) << "screenshot of " << step;
}

// A left click as the mouse makes one: the pointer placed there, then move, down and up posted to `window`
// at its client point. Posted, not sent: a click whose handler runs a modal loop, or ends the launcher's
// dialog, must not hold this thread.
void PostClick(HWND window, POINT point) {
  POINT screen = point;
  ClientToScreen(window, &screen);
  SetCursorPos(screen.x, screen.y);
  LPARAM where = MAKELPARAM(point.x, point.y);
  PostMessageW(window, WM_MOUSEMOVE, 0, where);
  PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, where);
  PostMessageW(window, WM_LBUTTONUP, 0, where);
}

// A click at `point` of `window`, delivered to the visible child window there (or the window itself: most
// skinned controls are drawn by their window, not windows of their own). The skinned controls read the
// pointer's position when they handle the button, so the click is waited for: until the window's pixels
// change (every click of the walk changes what its window shows), at most a few seconds.
void ClickPoint(HWND window, POINT point) {
  HWND target = ChildWindowFromPointEx(window, point, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
  if (target == nullptr)
    target = window;
  MapWindowPoints(window, target, &point, 1);
  WaitUntilPainted(window, 3000);
  std::vector<uint8_t> before = CaptureWindow(window).pixels;
  PostClick(target, point);
  PumpUntil([&] { return !IsWindow(window) || CaptureWindow(window).pixels != before; }, 5000);
}

// A click in the middle of the skin rectangle of `control`.
void ClickSkinControl(HWND window, const std::string& skin_window, const std::string& control) {
  RECT rect;
  ASSERT_TRUE(DefaultSkinRect(skin_window, control, &rect))
      << skin_window << "/" << control << " has no rectangle";
  ClickPoint(window, POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
}

HWND Body(const Journey& journey) {
  return GetDlgItem(journey.main, kBodyId);
}

// The launcher window's buttons are drawn by the window itself, not child windows: a button shows when the
// pixels at its skin rectangle are one of its skin images. The looks: 0 normal, 1 over, 2 down, 3 disabled.
const std::vector<uint32_t>& ButtonImage(const Journey& journey, const std::string& name, int look) {
  static std::map<std::wstring, std::vector<uint32_t>> decoded;  // 0xAARRGGBB, rows top-down
  std::wstring path = journey.demo.Launcher(L"data\\skin\\body\\" + Utf8ToWide(name) + L"_" +
                                            std::to_wstring(look) + L".png");
  auto found = decoded.find(path);
  if (found != decoded.end())
    return found->second;
  std::vector<uint32_t>& pixels = decoded[path];
  PNGLoader loader;
  int32_t width = 0, height = 0;
  if (loader.Load(path.c_str()) == 1 && loader.GetSize(&width, &height) == 1 && width > 0 && height > 0) {
    std::vector<uint32_t> bottom_up(static_cast<size_t>(width) * height);
    if (loader.Decode(bottom_up.data()) == 1) {
      for (int32_t y = height - 1; y >= 0; --y)
        pixels.insert(pixels.end(), bottom_up.begin() + y * width, bottom_up.begin() + (y + 1) * width);
    }
  }
  return pixels;
}

// Whether `shot` (the launcher window's capture) holds `image` at `rect` in its opaque pixels.
bool ShowsImage(const PngImage& shot, const RECT& rect, const std::vector<uint32_t>& image) {
  int width = rect.right - rect.left, height = rect.bottom - rect.top;
  if (image.size() != static_cast<size_t>(width) * height || rect.right > static_cast<long>(shot.width) ||
      rect.bottom > static_cast<long>(shot.height))
    return false;
  int opaque = 0, matching = 0;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      uint32_t want = image[static_cast<size_t>(y) * width + x];
      if ((want >> 24) != 0xFF)
        continue;
      uint32_t have = PixelAt(shot, rect.left + x, rect.top + y);
      ++opaque;
      bool close = true;
      for (int shift = 0; shift < 24; shift += 8)
        close = close && std::abs(static_cast<int>((want >> shift) & 0xFF) -
                                  static_cast<int>((have >> shift) & 0xFF)) <= 12;
      matching += close ? 1 : 0;
    }
  }
  return opaque > 0 && matching * 100 >= opaque * 95;
}

// The look of the launcher window's button `name` as it is on the screen; -1 when it is not shown.
int ShownLook(const Journey& journey, const std::string& name) {
  RECT rect;
  if (!DefaultSkinRect("body", name, &rect))
    return -1;
  PngImage shot = CaptureWindow(Body(journey));
  for (int look = 0; look < 4; ++look) {
    if (ShowsImage(shot, rect, ButtonImage(journey, name, look)))
      return look;
  }
  return -1;
}

// True while the total progress bar is partly filled: its first pixels have the fill's green, its last ones
// do not yet.
bool ProgressUnderway(const Journey& journey) {
  RECT bar;
  if (!DefaultSkinRect("body", "total_progress", &bar))
    return false;
  PngImage shot = CaptureWindow(Body(journey));
  int middle = (bar.top + bar.bottom) / 2;
  auto green = [](uint32_t pixel) { return ((pixel >> 8) & 0xFF) > ((pixel >> 16) & 0xFF) + 30; };
  return green(PixelAt(shot, bar.left + 3, middle)) && !green(PixelAt(shot, bar.right - 4, middle));
}

// Shown and enabled (normal, under the pointer or pressed).
bool ButtonShown(const Journey& journey, const std::string& name) {
  int look = ShownLook(journey, name);
  return look >= 0 && look <= 2;
}

bool LauncherEnded(const Journey& journey) {
  return WaitForSingleObject(journey.demo.process(), 0) == WAIT_OBJECT_0;
}

// The stand-in program's record ("name=value" lines); empty while there is none.
std::string StartRecord(const Journey& journey) {
  std::string text;
  ReadFileBytes(JourneyStartRecord(journey.demo), &text);
  return text;
}

std::string RecordValue(const std::string& record, const std::string& name) {
  size_t at = record.find(name + "=");
  if (at == std::string::npos || (at > 0 && record[at - 1] != '\n'))
    return "";
  size_t start = at + name.size() + 1;
  return record.substr(start, record.find('\n', start) - start);
}

std::wstring ServerAddress(const DemoLauncher& demo) {
  wchar_t address[128] = {};
  GetPrivateProfileStringW(L"LAUNCHER_INFO", L"update_addr", L"", address, 128,
                           demo.Launcher(L"ZEPHLauncherInfo.ini").c_str());
  return address;
}

// The command line of a launcher that a portal page starts for `user` and `game` (no parameter file).
std::wstring PortalCommandLine(const DemoLauncher& demo,
                               const wchar_t* user,
                               const wchar_t* key,
                               const wchar_t* game) {
  return std::wstring(L"/GameID:ORVANE /StartGameID:") + game + L" /CompanyID:3 /UserNick:" + user +
         L" /SessKey:" + key + L" /LUpdateAddr:" + ServerAddress(demo);
}

// Starts a second launcher with `arguments`; it must hand its session over and end without showing a window.
void HandOver(Journey& journey, const std::wstring& arguments) {
  std::wstring command = L"\"" + journey.demo.Launcher(L"orvaneLauncher.exe") + L"\" " + arguments;
  std::wstring folder = journey.demo.folder().Join(L"launcher");
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION second{};
  ASSERT_TRUE(CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                             &startup, &second));
  bool showed_window = false;
  bool ended = PumpUntil(
      [&] {
        showed_window = showed_window || FindWindowOfProcess(second.dwProcessId, nullptr, nullptr) != nullptr;
        return WaitForSingleObject(second.hProcess, 0) == WAIT_OBJECT_0;
      },
      kStepTimeoutMs);
  if (!ended)
    TerminateProcess(second.hProcess, 1);
  CloseHandle(second.hThread);
  CloseHandle(second.hProcess);
  ASSERT_TRUE(ended) << "the second launcher did not end";
  EXPECT_FALSE(showed_window) << "the second launcher showed a window";
}

// True while any orvaneLauncher.exe process exists.
bool AnyLauncherProcess() {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE)
    return true;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  bool found = false;
  for (BOOL more = Process32FirstW(snapshot, &entry); more && !found; more = Process32NextW(snapshot, &entry))
    found = _wcsicmp(entry.szExeFile, L"orvaneLauncher.exe") == 0;
  CloseHandle(snapshot);
  return found;
}

// The files of the history's newest tree (relative Windows names).
std::vector<std::wstring> NewestTreeFiles(const DemoLauncher& demo) {
  std::vector<std::wstring> names;
  for (const FileBelow& file : ListFilesBelow(demo.folder().Join(L"portal\\RUNE\\expected")))
    names.push_back(file.relative);
  return names;
}

// The names of the newest tree whose launcher-folder copy differs; "" when they all agree.
std::string DifferingFiles(const DemoLauncher& demo) {
  std::string differing;
  for (const std::wstring& name : NewestTreeFiles(demo)) {
    std::string expected, installed;
    ReadFileBytes(demo.folder().Join(L"portal\\RUNE\\expected\\" + name), &expected);
    if (!ReadFileBytes(demo.Launcher(name), &installed) || installed != expected)
      differing += WideToUtf8(name) + " ";
  }
  return differing;
}

// The main window as the launcher shows it after a start (a minute at most).
HWND WaitForMainWindow(const DemoLauncher& demo) {
  std::wstring title = demo.LauncherText(L"Launcher");
  HWND window = nullptr;
  PumpUntil(
      [&] {
        window = FindWindowOfProcess(demo.process_id(), title.c_str(), nullptr);
        return window != nullptr || WaitForSingleObject(demo.process(), 0) == WAIT_OBJECT_0;
      },
      kStepTimeoutMs);
  return window;
}

BOOL CALLBACK DescribeChild(HWND child, LPARAM context) {
  wchar_t class_name[64] = {};
  GetClassNameW(child, class_name, 64);
  RECT rect{};
  GetWindowRect(child, &rect);
  char line[200];
  snprintf(line, sizeof(line), "  child %d parent %d class %s %s %s (%ld,%ld)-(%ld,%ld)\n",
           GetDlgCtrlID(child), GetDlgCtrlID(GetParent(child)), WideToUtf8(class_name).c_str(),
           IsWindowVisible(child) ? "shown" : "hidden", IsWindowEnabled(child) ? "enabled" : "disabled",
           rect.left, rect.top, rect.right, rect.bottom);
  *reinterpret_cast<std::string*>(context) += line;
  return TRUE;
}

// Every child window of `window`, one line each: for a failure's report.
std::string DescribeChildren(HWND window) {
  std::string text;
  EnumChildWindows(window, DescribeChild, reinterpret_cast<LPARAM>(&text));
  return text;
}

// A window of the launcher other than the main window and wider than a tool tip (a dialog it opened), or null.
HWND OtherWindow(const Journey& journey) {
  return OtherWindowOfProcess(journey.demo.process_id(), journey.main, 100);
}

// Update: the start game (selected at start, installed at an older version) is updated through the engine;
// progress and the current file show while it runs, and the folder ends equal to the history's newest tree.
void UpdateTheStartGame(Journey& journey) {
  ASSERT_TRUE(PumpUntil([&] { return ButtonShown(journey, "update_btn"); }, kStepTimeoutMs))
      << "the start game shows no update button";
  // Each file's answer waits a moment, so that the update stays on the screen long enough to be seen.
  ASSERT_TRUE(journey.demo.ScriptHttpServer(R"({"*": {"delay_before": 0.4}})"));
  ASSERT_NO_FATAL_FAILURE(ClickSkinControl(Body(journey), "body", "update_btn"));
  bool progress_seen = false;
  ASSERT_TRUE(PumpUntil(
      [&] {
        if (!progress_seen && ProgressUnderway(journey)) {
          progress_seen = true;
          Shoot(journey, journey.main, L"update-progress");
        }
        return progress_seen && ButtonShown(journey, "run_btn");
      },
      2 * kStepTimeoutMs))
      << (progress_seen ? "the update did not finish" : "no progress was shown");
  journey.demo.ScriptHttpServer("{}");
  EXPECT_EQ("", DifferingFiles(journey.demo)) << "files that differ from the history's newest tree";
  EXPECT_EQ(5u, GetPrivateProfileIntW(L"UpdInfo", L"CurrentVersion", 0,
                                      journey.demo.Launcher(L"VersionInfo_RUNE.ini").c_str()));
}

// Run: the game starts with its command line and environment; AutoClose then ends the launcher, and the
// next step starts it again.
void RunTheStartGame(Journey& journey) {
  DeleteFileW(JourneyStartRecord(journey.demo).c_str());
  Shoot(journey, journey.main, L"run");
  ASSERT_NO_FATAL_FAILURE(ClickSkinControl(Body(journey), "body", "run_btn"));
  ASSERT_TRUE(PumpUntil([&] { return !StartRecord(journey).empty(); }, kStepTimeoutMs))
      << "the game did not start";
  std::string record = StartRecord(journey);
  EXPECT_NE(std::string::npos, record.find("game.exe")) << record;
  EXPECT_EQ("RUNE", RecordValue(record, "StartGameID")) << record;
  EXPECT_EQ("/demo", RecordValue(record, "ShortcutArgs")) << record;
  EXPECT_EQ("repo/rune", RecordValue(record, "RepositorySub")) << record;
  EXPECT_EQ(WideToUtf8(ServerAddress(journey.demo)).substr(0, RecordValue(record, "ServerAddr").size()),
            RecordValue(record, "ServerAddr"))
      << record;
  ASSERT_TRUE(journey.demo.WaitForEnd(30000)) << "AutoClose did not end the launcher";
  // Between the launcher's runs: a second game that the user had installed before keeps its place in the
  // game order, so that the settings dialog has an order to change.
  std::wstring settings = journey.demo.Launcher(L"orvaneLauncher.ini");
  ASSERT_TRUE(WritePrivateProfileStringW(L"GAME_ORDER", L"count", L"2", settings.c_str()) &&
              WritePrivateProfileStringW(L"GAME_ORDER", L"1", L"RUNE", settings.c_str()) &&
              WritePrivateProfileStringW(L"GAME_ORDER", L"2", L"SKYF", settings.c_str()));
  ASSERT_TRUE(journey.demo.Start(L"/LocalGameID:ORVANE"));
  journey.main = WaitForMainWindow(journey.demo);
  ASSERT_NE(nullptr, journey.main) << "no main window after the new start";
}

// Full check: one installed file is corrupted; the full check from the window repairs it.
void RepairACorruptedFile(Journey& journey) {
  std::vector<std::wstring> names = NewestTreeFiles(journey.demo);
  ASSERT_FALSE(names.empty());
  std::wstring victim = journey.demo.Launcher(names.front());
  std::string good;
  ASSERT_TRUE(ReadFileBytes(victim, &good));
  ASSERT_TRUE(WriteFileBytes(victim, std::string(good.size(), 'X')));
  ASSERT_TRUE(PumpUntil([&] { return ButtonShown(journey, "filecheck_btn"); }, kStepTimeoutMs))
      << "no full-check button";
  ASSERT_TRUE(journey.demo.ScriptHttpServer(R"({"*": {"delay_before": 0.4}})"));
  ASSERT_NO_FATAL_FAILURE(ClickSkinControl(Body(journey), "body", "filecheck_btn"));
  // The launcher asks first: checking every file takes long.
  HWND question = nullptr;
  ASSERT_TRUE(PumpUntil([&] { return (question = OtherWindow(journey)) != nullptr; }, kStepTimeoutMs))
      << "no question before the full check";
  WaitUntilPainted(question, 3000);
  ASSERT_NO_FATAL_FAILURE(ClickSkinControl(question, "message_wnd", "message_wnd_ok2_btn"));
  bool progress_seen = false;
  std::string repaired;
  ASSERT_TRUE(PumpUntil(
      [&] {
        if (!progress_seen && ProgressUnderway(journey)) {
          progress_seen = true;
          Shoot(journey, journey.main, L"full-check");
        }
        return ReadFileBytes(victim, &repaired) && repaired == good && ButtonShown(journey, "run_btn");
      },
      2 * kStepTimeoutMs))
      << "the corrupted file was not repaired";
  journey.demo.ScriptHttpServer("{}");
  if (!progress_seen)
    Shoot(journey, journey.main, L"full-check");
}

// Settings: the settings button opens the dialog; a value on each tab and the game order change by clicks;
// OK takes them. They are checked in the settings file after the launcher quits (the tray step).
void ChangeTheSettings(Journey& journey) {
  ASSERT_NO_FATAL_FAILURE(ClickSkinControl(journey.main, "base", "setting_btn"));
  HWND dialog = nullptr;
  ASSERT_TRUE(PumpUntil([&] { return (dialog = OtherWindow(journey)) != nullptr; }, kStepTimeoutMs))
      << "no settings dialog";
  WaitUntilPainted(dialog, 3000);
  ASSERT_NO_FATAL_FAILURE(ClickSkinControl(dialog, "setting_dlg", "close_launcher_chk"));
  ASSERT_NO_FATAL_FAILURE(ClickSkinControl(dialog, "setting_dlg", "setting_update_tab"));
  ASSERT_NO_FATAL_FAILURE(ClickSkinControl(dialog, "setting_dlg", "auto_update_rad"));
  ASSERT_NO_FATAL_FAILURE(ClickSkinControl(dialog, "setting_dlg", "setting_gamelist_tab"));
  // The second row of the game order (rows of the skin's 20 pixels from the list's top), then "to the top".
  RECT list;
  ASSERT_TRUE(DefaultSkinRect("setting_dlg", "game_list", &list));
  ClickPoint(dialog, POINT{list.left + 60, list.top + 30});
  ASSERT_NO_FATAL_FAILURE(ClickSkinControl(dialog, "setting_dlg", "game_list_top_btn"));
  Shoot(journey, dialog, L"settings");
  ASSERT_NO_FATAL_FAILURE(ClickSkinControl(dialog, "setting_dlg", "setting_ok_btn"));
  ASSERT_TRUE(PumpUntil([&] { return !IsWindow(dialog); }, kStepTimeoutMs)) << "the settings dialog stayed";
}

// Tray and quit: closing minimises to the tray, a double click on the tray icon restores, the tray menu's
// exit ends the launcher, and nothing of it is left. The settings changed above are then in the file.
void CloseToTheTrayRestoreAndExit(Journey& journey) {
  RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  std::vector<uint8_t> shown = CaptureScreen(screen).pixels;
  ASSERT_NO_FATAL_FAILURE(ClickSkinControl(journey.main, "base", "close_btn"));
  ASSERT_TRUE(
      PumpUntil([&] { return IsIconic(journey.main) || !IsWindowVisible(journey.main); }, kStepTimeoutMs))
      << "closing did not minimise to the tray";
  EXPECT_FALSE(LauncherEnded(journey));
  EXPECT_TRUE(PumpUntil([&] { return CaptureScreen(screen).pixels != shown; }, 5000)) << "the window stayed";
  Shoot(journey, nullptr, L"tray");
  PostMessageW(journey.main, kTrayNotify, 1, WM_LBUTTONDBLCLK);
  ASSERT_TRUE(
      PumpUntil([&] { return !IsIconic(journey.main) && IsWindowVisible(journey.main); }, kStepTimeoutMs))
      << "the tray icon's double click did not restore the window";
  Shoot(journey, journey.main, L"tray-restored");
  PostMessageW(journey.main, WM_COMMAND, kTrayExit, 0);
  ASSERT_TRUE(journey.demo.WaitForEnd(30000)) << "the tray menu's exit did not end the launcher";
  EXPECT_TRUE(WaitUntil(10000, [] { return !AnyLauncherProcess(); })) << "a launcher process is left";
  std::wstring settings = journey.demo.Launcher(L"orvaneLauncher.ini");
  EXPECT_EQ(0u, GetPrivateProfileIntW(L"ORVANE", L"AutoClose", 1, settings.c_str()));
  EXPECT_EQ(2u, GetPrivateProfileIntW(L"ORVANE", L"Update", 1, settings.c_str())) << "automatic updates";
  wchar_t first[64] = {};
  GetPrivateProfileStringW(L"GAME_ORDER", L"1", L"", first, 64, settings.c_str());
  EXPECT_STREQ(L"SKYF", first) << "the game moved to the top is not first in the settings file";
}

// A new start, then a second start with another user and start game: the second ends without a window, the
// first shows the new nick and game and comes to the front; then it quits.
void StartAgainAndHandOver(Journey& journey) {
  ASSERT_TRUE(journey.demo.Start(L"/LocalGameID:ORVANE"));
  journey.main = WaitForMainWindow(journey.demo);
  ASSERT_NE(nullptr, journey.main) << "no main window after the new start";
  Shoot(journey, journey.main, L"new-start");
  PngImage before = CaptureWindow(journey.main);
  ASSERT_NO_FATAL_FAILURE(HandOver(journey, PortalCommandLine(journey.demo, L"Bea", L"BEA2", L"SKYF")));
  EXPECT_TRUE(PumpUntil([&] { return GetForegroundWindow() == journey.main; }, kStepTimeoutMs))
      << "the first launcher did not come to the front";
  // The handed-over game names the second skin: the window takes it on (the title bar's colour changes).
  uint32_t title_bar = PixelAt(before, 300, 10);
  EXPECT_TRUE(
      PumpUntil([&] { return PixelAt(CaptureWindow(journey.main), 300, 10) != title_bar; }, kStepTimeoutMs))
      << "the handed-over game's skin is not shown";
  Shoot(journey, journey.main, L"hand-over");
  PostMessageW(journey.main, WM_COMMAND, kTrayExit, 0);
  ASSERT_TRUE(journey.demo.WaitForEnd(30000)) << "the launcher did not quit";
  EXPECT_TRUE(WaitUntil(10000, [] { return !AnyLauncherProcess(); })) << "a launcher process is left";
}

}  // namespace

std::wstring JourneyStartRecord(const DemoLauncher& demo) {
  return demo.folder().Join(L"start-record.txt");
}

void PrepareJourneyEnvironment(const DemoLauncher& demo) {
  SetEnvironmentVariableW(kRecordVariable, JourneyStartRecord(demo).c_str());
}

void WalkFromTheMainWindowToTheHandOver(DemoLauncher& demo, HWND main_window, int first_step_number) {
  wchar_t record[MAX_PATH] = {};
  ASSERT_GT(GetEnvironmentVariableW(kRecordVariable, record, MAX_PATH), 0u)
      << "PrepareJourneyEnvironment was not called before the launcher started";
  Journey journey{demo, main_window, first_step_number};
  for (void (*step)(Journey&) : {UpdateTheStartGame, RunTheStartGame, RepairACorruptedFile, ChangeTheSettings,
                                 CloseToTheTrayRestoreAndExit, StartAgainAndHandOver}) {
    step(journey);
    if (::testing::Test::HasFatalFailure()) {
      // What the screen showed when the step gave up, for the failure's report.
      RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
      SaveScreenshot(CaptureScreen(screen), ScreenshotName(journey.number, L"failed"));
      ADD_FAILURE() << "the main window's children:\n" << DescribeChildren(journey.main);
      return;
    }
  }
}

}  // namespace testing_support

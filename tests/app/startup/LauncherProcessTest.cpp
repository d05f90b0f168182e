// orvaneLauncher.exe as a real process in a temporary installation (program, engine, default skin,
// launcher-info ini) against the fixture servers: the patch server on 127.0.0.N:27500 answers the catalogue
// folder query, the HTTP server on the same address serves the catalogue and the XML files. The first run
// saves screenshots/splash.png (a delayed game list holds the splash) and screenshots/launcher_first_run.png
// and quits through the tray menu; a second start hands over to the first and ends without a window; with the
// mutex taken and no dialog to find, the real "launcher is not closed" box is read and closed. The settings
// button opens the settings dialog (screenshots/launcher_settings.png); a change accepted there is in the
// launcher's ini beside the program once the launcher has ended.
#include <windows.h>

#include <tlhelp32.h>
#include <winternl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <string>
#include <vector>

#include "base/ScopedHandle.h"
#include "tests/app/games/CatalogueFiles.h"
#include "tests/app/startup/DefaultSkinFolder.h"
#include "tests/support/FixtureServer.h"
#include "tests/support/PatchServerProcess.h"
#include "tests/support/TempFolder.h"
#include "tests/support/Timing.h"
#include "tests/support/UnixCommand.h"
#include "tests/support/WindowCapture.h"
#include "tests/support/WinePaths.h"

namespace {

using catalogue_testing::GameLine;
using testing_support::FixtureServer;
using testing_support::PatchServerProcess;
using testing_support::TempFolder;
using testing_support::WaitUntil;

const wchar_t kTitle[] = L"Orvane Launcher";
const wchar_t kSplashText[] = L"Starting the launcher...";
const char kCatalogue[] = "GameInfo/7/";

// Owns a launcher process; ends it when the test failed half way.
struct LauncherProcess {
  PROCESS_INFORMATION info = {};
  ~LauncherProcess() {
    if (info.hProcess == nullptr)
      return;
    if (WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT)
      TerminateProcess(info.hProcess, 99);
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
  }
  bool Ended(DWORD timeout_ms, DWORD* exit_code) {
    if (WaitForSingleObject(info.hProcess, timeout_ms) != WAIT_OBJECT_0)
      return false;
    GetExitCodeProcess(info.hProcess, exit_code);
    return true;
  }
};

// The main dialog of a launcher (our dialog class and title, visible), or null.
HWND FindLauncherDialog() {
  HWND window = FindWindowW(L"OrvaneDialog", kTitle);
  return window != nullptr && IsWindowVisible(window) ? window : nullptr;
}

// The centre of `control` in `window` of the default skin, as a client point.
POINT SkinCentre(const char* window, const char* control) {
  RECT rect = {};
  EXPECT_TRUE(startup_testing::SkinRect(window, control, &rect)) << control;
  return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

struct SettingsSearch {
  DWORD process_id;
  HWND found;
};

// The settings dialog of the process: its visible 420 x 320 top-level window.
BOOL CALLBACK FindSettingsWindow(HWND window, LPARAM search_address) {
  auto* search = reinterpret_cast<SettingsSearch*>(search_address);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  RECT rect;
  GetWindowRect(window, &rect);
  if (owner == search->process_id && IsWindowVisible(window) && rect.right - rect.left == 420 &&
      rect.bottom - rect.top == 320) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

class LauncherProcessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(testing_support::CopyTree(startup_testing::DefaultSkinFolder(), install_.path()));
    std::wstring bin = testing_support::WindowsPathOf(ORVANE_BIN_DIR);
    for (const wchar_t* file : {L"orvaneLauncher.exe", L"QVTesserel.dll", L"patchw32.dll"})
      ASSERT_TRUE(CopyFileW((bin + L"\\" + file).c_str(), install_.Join(file).c_str(), FALSE)) << file;
    ASSERT_TRUE(patch_.Start(version_script_, "", {"--port", "27500"}));
    const std::string& address = patch_.address();
    WriteServed(std::string(kCatalogue) + "MLI_3.info",
                "2\n1|PostOfHome|http://home/|1\n2|Support|http://help/|1\n");
    WriteServed(std::string(kCatalogue) + "GLI_3.info",
                "2\n" + GameLine("alpha", 0, 1) + GameLine("beta", 2, 3));
    WriteServed(std::string(kCatalogue) + "GBI_3.info", "");
    // The launcher information: version 1, as the launcher-info ini says, so no self-update starts.
    WriteServed(std::string(kCatalogue) + "GGI_3_orvane.info", "1\norvane#1,\n");
    WriteServed("xml/keyword.xml",
                "<keywords><item><view_content>Try alpha</view_content><link_type>1</link_type>"
                "<keyword>alpha</keyword><section>s</section><href>http://h/</href></item></keywords>");
    WriteServed("xml/notice.xml", "<n><notice><subject>Welcome</subject><url>http://n/</url></notice></n>");
    // The game list answers late: the splash stays up meanwhile.
    ASSERT_TRUE(testing_support::WriteFileBytes(
        http_.folder().Join(L"script.json"),
        std::string("{\"/") + kCatalogue + "GLI_3.info\": {\"times\": 1, \"delay_before\": 3}}"));
    ASSERT_TRUE(
        http_.Start("http_server.py", {"--bind", address, "--root", testing_support::UnixPathOf(root_.path()),
                                       "--script", http_.UnixPath(L"script.json")}))
        << http_.log();
    std::string info = "[LAUNCHER_INFO]\r\nupdate_addr=" + http_.endpoint() + "\r\nversion=1\r\n";
    ASSERT_TRUE(testing_support::WriteFileBytes(install_.Join(L"ZEPHLauncherInfo.ini"), info));
  }

  void WriteServed(const std::string& path, const std::string& content) {
    std::wstring relative = testing_support::Utf8ToWide(path);
    for (wchar_t& unit : relative)
      unit = unit == L'/' ? L'\\' : unit;
    ASSERT_TRUE(testing_support::WriteFileBytes(root_.Join(relative), content));
  }

  void Start(LauncherProcess* process, const std::wstring& arguments) {
    std::wstring url = testing_support::Utf8ToWide("http://" + http_.endpoint() + "/xml/");
    std::wstring command = L"\"" + install_.Join(L"orvaneLauncher.exe") + L"\" /GameID:orvane /CompanyID:3 " +
                           L"/KeywordUrl:" + url + L"keyword.xml /OneLineNoticeUrl:" + url + L"notice.xml " +
                           arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    ASSERT_TRUE(CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                               install_.path().c_str(), &startup, &process->info));
  }

  // Starts the launcher and waits for its dialog, then minimises it to the tray; the dialog, or null (and a
  // failure) when it did not come or did not hide.
  HWND StartMinimised(LauncherProcess* process, const std::wstring& arguments) {
    Start(process, arguments);
    HWND dialog = nullptr;
    if (!WaitUntil(30000, [&] { return (dialog = FindLauncherDialog()) != nullptr; })) {
      ADD_FAILURE() << "no launcher dialog";
      return nullptr;
    }
    PostMessageW(dialog, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    if (!WaitUntil(5000, [&] { return !IsWindowVisible(dialog); })) {
      ADD_FAILURE() << "the dialog did not go to the tray";
      return nullptr;
    }
    return dialog;
  }

  // A second start with another user hands its session over and ends at once, without the "launcher is not
  // closed" box; the running dialog, minimised to the tray, comes back.
  void ExpectASecondStartHandsOver(HWND dialog) {
    LauncherProcess second;
    Start(&second, L"/UserNick:second");
    DWORD exit_code = 99;
    ASSERT_TRUE(second.Ended(15000, &exit_code));
    EXPECT_EQ(0u, exit_code);
    if (dialog != nullptr) {
      EXPECT_TRUE(WaitUntil(5000, [&] { return IsWindowVisible(dialog) != FALSE; }));
    }
  }

  // Exit from the tray menu: the menu's command reaches the dialog as WM_COMMAND 21.
  void QuitThroughTheTray(LauncherProcess* launcher, HWND dialog) {
    PostMessageW(dialog, WM_COMMAND, 21, 0);
    DWORD exit_code = 99;
    ASSERT_TRUE(launcher->Ended(15000, &exit_code));
    EXPECT_EQ(0u, exit_code);
  }

  // The HTTP server's log of requests so far.
  std::string Requests() {
    std::string requests;
    testing_support::ReadFileBytes(http_.folder().Join(L"requests.log"), &requests);
    return requests;
  }

  // How the update host answers the catalogue-folder query, connection by connection (patch_server.py).
  std::string version_script_ = R"({"game_info_reply": {"number": 7}})";
  TempFolder install_{L"launcherinstall"};
  TempFolder root_{L"launcherroot"};
  PatchServerProcess patch_;
  FixtureServer http_;
};

TEST_F(LauncherProcessTest, TheFirstRunShowsTheSplashThenTheDialogAndQuitsThroughTheTrayMenu) {
  LauncherProcess launcher;
  Start(&launcher, L"/UserNick:tester");
  HWND splash = nullptr;
  ASSERT_TRUE(WaitUntil(15000, [&] {
    splash = FindWindowW(kSplashText, kSplashText);
    return splash != nullptr && IsWindowVisible(splash);
  }));
  ASSERT_TRUE(testing_support::WaitUntilPainted(splash, 2000));
  EXPECT_TRUE(testing_support::SaveScreenshot(testing_support::CaptureWindow(splash), L"splash.png"));

  HWND dialog = nullptr;
  ASSERT_TRUE(WaitUntil(20000, [&] { return (dialog = FindLauncherDialog()) != nullptr; }));
  // The dialog stopped the splash once it was up.
  EXPECT_TRUE(WaitUntil(5000, [&] { return FindWindowW(kSplashText, kSplashText) == nullptr; }));
  RECT frame;
  GetWindowRect(dialog, &frame);
  EXPECT_EQ(900, frame.right - frame.left);
  EXPECT_EQ(600, frame.bottom - frame.top);
  ASSERT_TRUE(testing_support::WaitUntilPainted(dialog, 3000));
  testing_support::PngImage shot;
  // The header band (dark blue) and the body's light panel reached the screen.
  EXPECT_TRUE(WaitUntil(5000, [&] {
    shot = testing_support::CaptureWindow(dialog);
    return (testing_support::PixelAt(shot, 300, 20) & 0xFF) > 0x40 &&
           (testing_support::PixelAt(shot, 300, 300) >> 16) > 0xA0;
  }));
  EXPECT_TRUE(testing_support::SaveScreenshot(shot, L"launcher_first_run.png"));

  // Closing minimises to the tray (the Minimize setting is on by default) and the launcher keeps running.
  PostMessageW(dialog, WM_CLOSE, 0, 0);
  EXPECT_TRUE(WaitUntil(5000, [&] { return !IsWindowVisible(dialog); }));
  EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(launcher.info.hProcess, 0));

  QuitThroughTheTray(&launcher, dialog);
  EXPECT_EQ(nullptr, FindLauncherDialog());
}

TEST_F(LauncherProcessTest, ASecondStartHandsOverToTheRunningDialogAndEndsWithoutAWindow) {
  LauncherProcess first;
  // Minimised to the tray, the running dialog comes back when it hears from the second start.
  HWND dialog = StartMinimised(&first, L"/UserNick:first");
  ASSERT_NE(nullptr, dialog);

  ExpectASecondStartHandsOver(dialog);
  EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(first.info.hProcess, 0));
  QuitThroughTheTray(&first, dialog);
}

// A launcher whose periodic re-check comes every tenth of a second and whose update host answers the
// start-up's query but accepts every later one and never answers.
class BusyLauncherProcessTest : public LauncherProcessTest {
 protected:
  void SetUp() override {
    version_script_ =
        R"([{"game_info_reply": {"number": 7}}, {"end": {"at": "game_info_request", "how": "stall"}}])";
    LauncherProcessTest::SetUp();
    std::wstring ini = install_.Join(L"data\\skin\\base\\base.ini");
    std::string bytes;
    ASSERT_TRUE(testing_support::ReadFileBytes(ini, &bytes));
    std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
    const std::wstring key = L"[UPDATE_TIMER]\r\ntime=";
    size_t at = text.find(key);
    ASSERT_NE(std::wstring::npos, at);
    size_t value = at + key.size(), end = text.find(L"\r\n", value);
    text.replace(value, end - value, L"100");
    ASSERT_TRUE(testing_support::WriteFileBytes(
        ini, std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t))));
  }
};

TEST_F(BusyLauncherProcessTest, ASecondStartHandsOverWhileTheRunningLauncherWaitsForItsUpdateHost) {
  LauncherProcess first;
  HWND dialog = StartMinimised(&first, L"/UserNick:first");
  ASSERT_NE(nullptr, dialog);
  // The tenth period's query reached the host, which keeps it waiting for its whole time limit.
  ASSERT_TRUE(patch_.WaitForLogLine(2, "received 340", 20000));
  ExpectASecondStartHandsOver(dialog);
  QuitThroughTheTray(&first, dialog);
}

// The region button of the game list, in the main dialog's client area: the list lies in the body, the body in
// the dialog.
POINT RegionButtonCentre() {
  RECT body = {}, list = {};
  EXPECT_TRUE(startup_testing::SkinRect("base", "body", &body));
  EXPECT_TRUE(startup_testing::SkinRect("body", "list", &list));
  POINT button = SkinCentre("list", "select_region_btn");
  return POINT{body.left + list.left + button.x, body.top + list.top + button.y};
}

TEST_F(LauncherProcessTest, ASecondStartHandsOverWhileTheRegionMenuWaitsForTheServerList) {
  // The server list is asked for and never answered.
  ASSERT_TRUE(testing_support::WriteFileBytes(http_.folder().Join(L"script.json"),
                                              R"({"/locallist.xml": {"delay_before": 60}})"));
  LauncherProcess first;
  Start(&first, L"/UserNick:first /LUpdateAddr:" + testing_support::Utf8ToWide(http_.endpoint()));
  HWND dialog = nullptr;
  ASSERT_TRUE(WaitUntil(30000, [&] { return (dialog = FindLauncherDialog()) != nullptr; }));
  ASSERT_TRUE(testing_support::WaitUntilPainted(dialog, 3000));
  POINT region = RegionButtonCentre();
  ASSERT_TRUE(WaitUntil(5000, [&] { return testing_support::OnTopAt(dialog, region.x, region.y); }))
      << testing_support::DescribeWindowAt(dialog, region.x, region.y);
  ASSERT_TRUE(testing_support::InputClick(dialog, region.x, region.y));
  ASSERT_TRUE(WaitUntil(10000, [&] { return Requests().find("/locallist.xml") != std::string::npos; }))
      << Requests();
  // Minimised to the tray, the dialog comes back when the second start's record reaches it.
  PostMessageW(dialog, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  ASSERT_TRUE(WaitUntil(5000, [&] { return !IsWindowVisible(dialog); }));
  ExpectASecondStartHandsOver(dialog);
  // The exit drops the selection whose list is still on its way.
  QuitThroughTheTray(&first, dialog);
}

// A launcher whose server announces version 2: the start copies the launcher into its temporary folder and
// starts the copy, whose self-update dialog asks for the launcher information again; the server keeps that
// second request waiting.
class SelfUpdatingLauncherProcessTest : public LauncherProcessTest {
 protected:
  void SetUp() override {
    LauncherProcessTest::SetUp();
    // The copy takes "unicows.dll" along and fails without it; the Unicode layer itself is never loaded.
    ASSERT_TRUE(testing_support::WriteFileBytes(install_.Join(L"unicows.dll"), ""));
    WriteServed(std::string(kCatalogue) + "GGI_3_orvane.info", "1\norvane#2,\n");
    ASSERT_TRUE(testing_support::WriteFileBytes(
        http_.folder().Join(L"script.json"),
        std::string("{\"/") + kCatalogue + "GGI_3_orvane.info\": [{\"times\": 1}, {\"delay_before\": 60}]}"));
  }
  // The copy is not the test's own child: whatever became of it, it ends with the test.
  void TearDown() override {
    const std::wstring copy = install_.Join(L"launcher_update_temp\\orvaneLauncher.exe");
    UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = snapshot && Process32FirstW(snapshot.get(), &entry); more;
         more = Process32NextW(snapshot.get(), &entry)) {
      UniqueHandle process(
          OpenProcess(PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID));
      wchar_t image[MAX_PATH * 2] = {};
      DWORD units = MAX_PATH * 2;
      if (process && QueryFullProcessImageNameW(process.get(), 0, image, &units) &&
          lstrcmpiW(image, copy.c_str()) == 0)
        TerminateProcess(process.get(), 9);
    }
  }
  int LauncherInfoRequests() {
    const std::string requests = Requests();
    int count = 0;
    for (size_t at = requests.find("GGI_3_orvane.info"); at != std::string::npos;
         at = requests.find("GGI_3_orvane.info", at + 1))
      ++count;
    return count;
  }
};

TEST_F(SelfUpdatingLauncherProcessTest, ASecondStartHandsOverToTheSelfUpdateWhileItWaitsForTheServer) {
  LauncherProcess first;
  Start(&first, L"/UserNick:first");
  HWND updater = nullptr;
  ASSERT_TRUE(WaitUntil(30000, [&] {
    updater = FindWindowW(L"OrvaneDialog", L"Updater");
    return updater != nullptr && IsWindowVisible(updater);
  }));
  DWORD copy_id = 0;
  GetWindowThreadProcessId(updater, &copy_id);
  UniqueHandle copy(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, copy_id));
  ASSERT_TRUE(copy.valid());
  ASSERT_TRUE(WaitUntil(10000, [&] { return LauncherInfoRequests() == 2; })) << LauncherInfoRequests();

  ExpectASecondStartHandsOver(nullptr);
  EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(copy.get(), 0));  // the copy still waits for its server
  TerminateProcess(copy.get(), 9);
}

// The environment block of another process of this program's bitness, as "name=value" strings; empty when it
// cannot be read. The launcher passes its session to the games through its environment, which they inherit.
std::vector<std::wstring> ProcessEnvironment(DWORD process_id) {
  typedef LONG(NTAPI * QueryInformation)(HANDLE, PROCESSINFOCLASS, void*, ULONG, ULONG*);
  auto query = reinterpret_cast<QueryInformation>(reinterpret_cast<void (*)()>(
      GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
  UniqueHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, process_id));
  PROCESS_BASIC_INFORMATION basic = {};
  PEB peb = {};
  RTL_USER_PROCESS_PARAMETERS parameters = {};
  void* block = nullptr;
  // The block's address follows the command line in the parameters.
  const size_t block_at = offsetof(RTL_USER_PROCESS_PARAMETERS, CommandLine) + sizeof(UNICODE_STRING);
  if (query == nullptr || !process ||
      query(process.get(), ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0 ||
      !ReadProcessMemory(process.get(), basic.PebBaseAddress, &peb, sizeof peb, nullptr) ||
      !ReadProcessMemory(process.get(), peb.ProcessParameters, &parameters, sizeof parameters, nullptr) ||
      !ReadProcessMemory(process.get(), reinterpret_cast<char*>(peb.ProcessParameters) + block_at, &block,
                         sizeof block, nullptr))
    return {};
  std::vector<std::wstring> variables;
  std::wstring variable;
  for (const wchar_t* at = static_cast<const wchar_t*>(block);; ++at) {
    wchar_t unit = 0;
    if (!ReadProcessMemory(process.get(), at, &unit, sizeof unit, nullptr))
      return {};
    if (unit != 0) {
      variable += unit;
      continue;
    }
    if (variable.empty())
      return variables;
    variables.push_back(variable);
    variable.clear();
  }
}

bool HasVariable(DWORD process_id, const std::wstring& variable) {
  const std::vector<std::wstring> variables = ProcessEnvironment(process_id);
  return std::find(variables.begin(), variables.end(), variable) != variables.end();
}

// The whole self-update with a second start during it: the copy keeps the second start's session, and the
// launcher that the update restarts takes it on, for the games it starts.
TEST_F(SelfUpdatingLauncherProcessTest, TheLauncherRestartedAfterTheUpdateServesTheSecondStartsSession) {
  // The copy's request for the launcher information waits a while; the restarted launcher's does not.
  ASSERT_TRUE(testing_support::WriteFileBytes(
      http_.folder().Join(L"script.json"),
      std::string("{\"/") + kCatalogue +
          "GGI_3_orvane.info\": [{\"times\": 1}, {\"times\": 1, \"delay_before\": 8}]}"));
  testing_support::TempFolder package(L"launcherpackage");
  ASSERT_TRUE(testing_support::WriteFileBytes(package.Join(L"readme.txt"), "version 2"));
  ASSERT_TRUE(testing_support::MakeFolders(root_.Join(L"system")));
  std::string output;
  ASSERT_EQ(0, testing_support::RunUnixCommand(
                   "cd " + testing_support::ShellQuote(testing_support::UnixPathOf(package.path())) +
                       " && gcab -c -z " +
                       testing_support::ShellQuote(testing_support::UnixPathOf(root_.Join(L"system"))) +
                       "/orvane.2.cab readme.txt",
                   &output))
      << output;

  LauncherProcess first;
  Start(&first, L"/UserNick:first /SessKey:key1");
  ASSERT_TRUE(WaitUntil(30000, [&] {
    HWND updater = FindWindowW(L"OrvaneDialog", L"Updater");
    return updater != nullptr && IsWindowVisible(updater) && LauncherInfoRequests() == 2;
  }));
  LauncherProcess second;
  Start(&second, L"/UserNick:second /SessKey:key2");
  DWORD exit_code = 99;
  ASSERT_TRUE(second.Ended(15000, &exit_code));
  EXPECT_EQ(0u, exit_code);

  // The update ends and the real launcher comes up again, with the second start's user and key.
  HWND dialog = nullptr;
  ASSERT_TRUE(WaitUntil(60000, [&] { return (dialog = FindLauncherDialog()) != nullptr; })) << Requests();
  DWORD launcher_id = 0;
  GetWindowThreadProcessId(dialog, &launcher_id);
  EXPECT_TRUE(WaitUntil(15000, [&] {
    return HasVariable(launcher_id, L"UserNick=second") && HasVariable(launcher_id, L"SessKey=key2");
  }));
  EXPECT_EQ(2u, GetPrivateProfileIntW(L"LAUNCHER_INFO", L"version", 0,
                                      install_.Join(L"ZEPHLauncherInfo.ini").c_str()));
  UniqueHandle launcher(OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, launcher_id));
  PostMessageW(dialog, WM_COMMAND, 21, 0);
  EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(launcher.get(), 15000));
}

TEST_F(LauncherProcessTest, StartedForAGameTheCloseButtonEndsTheLauncherInsteadOfMinimising) {
  WriteServed(std::string(kCatalogue) + "GLI_3_alpha.info", "1\n" + GameLine("alpha", 0, 1));
  LauncherProcess launcher;
  Start(&launcher, L"/StartGameID:alpha");
  HWND dialog = nullptr;
  ASSERT_TRUE(WaitUntil(30000, [&] { return (dialog = FindLauncherDialog()) != nullptr; }));
  PostMessageW(dialog, WM_CLOSE, 0, 0);
  DWORD exit_code = 99;
  ASSERT_TRUE(launcher.Ended(15000, &exit_code));
  EXPECT_EQ(0u, exit_code);
}

TEST_F(LauncherProcessTest, ASettingAcceptedInTheSettingsDialogIsInTheSettingsFileAfterExit) {
  std::wstring settings_file = install_.Join(L"orvaneLauncher.ini");
  LauncherProcess launcher;
  Start(&launcher, L"/UserNick:tester");
  HWND dialog = nullptr;
  ASSERT_TRUE(WaitUntil(30000, [&] { return (dialog = FindLauncherDialog()) != nullptr; }));
  ASSERT_TRUE(testing_support::WaitUntilPainted(dialog, 3000));

  // Clicked as the user clicks, through the input queue: the click opens the dialog modally in the launcher
  // and returns here at once.
  using testing_support::DescribeWindowAt;
  using testing_support::InputClick;
  using testing_support::OnTopAt;
  POINT setting_button = SkinCentre("base", "setting_btn");
  ASSERT_TRUE(WaitUntil(5000, [&] { return OnTopAt(dialog, setting_button.x, setting_button.y); }))
      << DescribeWindowAt(dialog, setting_button.x, setting_button.y);
  ASSERT_TRUE(InputClick(dialog, setting_button.x, setting_button.y));
  SettingsSearch search = {launcher.info.dwProcessId, nullptr};
  ASSERT_TRUE(WaitUntil(10000, [&] {
    EnumWindows(&FindSettingsWindow, reinterpret_cast<LPARAM>(&search));
    return search.found != nullptr;
  })) << DescribeWindowAt(dialog, setting_button.x, setting_button.y);
  HWND settings = search.found;
  ASSERT_TRUE(testing_support::WaitUntilPainted(settings, 3000));
  EXPECT_TRUE(
      testing_support::SaveScreenshot(testing_support::CaptureWindow(settings), L"launcher_settings.png"));

  // "Close the launcher when a game starts" is on by default: turned off, then accepted.
  POINT check = SkinCentre("setting_dlg", "close_launcher_chk");
  ASSERT_TRUE(WaitUntil(5000, [&] { return OnTopAt(settings, check.x, check.y); }))
      << DescribeWindowAt(settings, check.x, check.y);
  ASSERT_TRUE(InputClick(settings, check.x, check.y));
  POINT ok = SkinCentre("setting_dlg", "setting_ok_btn");
  ASSERT_TRUE(InputClick(settings, ok.x, ok.y));
  ASSERT_TRUE(WaitUntil(10000, [&] { return !IsWindow(settings); }))
      << DescribeWindowAt(settings, ok.x, ok.y);
  EXPECT_TRUE(IsWindowVisible(dialog));

  QuitThroughTheTray(&launcher, dialog);
  EXPECT_EQ(0u, GetPrivateProfileIntW(L"orvane", L"AutoClose", 7, settings_file.c_str()));
  EXPECT_EQ(1u, GetPrivateProfileIntW(L"orvane", L"Minimize", 7, settings_file.c_str()));
}

BOOL CALLBACK FindErrorBox(HWND window, LPARAM found) {
  wchar_t class_name[16] = {}, caption[128] = {};
  GetClassNameW(window, class_name, 16);
  GetWindowTextW(window, caption, 128);
  if (IsWindowVisible(window) && lstrcmpW(class_name, L"#32770") == 0 &&
      lstrcmpW(caption, L"Orvane Launcher - error") == 0) {
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  return TRUE;
}

// The message of a system message box: its first static control with text.
std::wstring BoxText(HWND box) {
  wchar_t text[256] = {};
  HWND label = FindWindowExW(box, nullptr, L"Static", nullptr);
  while (label != nullptr && GetWindowTextW(label, text, 256) == 0)
    label = FindWindowExW(box, label, L"Static", nullptr);
  return text;
}

TEST_F(LauncherProcessTest, WithTheMutexTakenAndNoDialogTheLauncherSaysItIsNotClosed) {
  HANDLE mutex = CreateMutexW(nullptr, TRUE, kTitle);
  ASSERT_NE(nullptr, mutex);
  LauncherProcess launcher;
  Start(&launcher, L"");
  HWND box = nullptr;
  ASSERT_TRUE(WaitUntil(15000, [&] {
    box = nullptr;
    EnumWindows(&FindErrorBox, reinterpret_cast<LPARAM>(&box));
    return box != nullptr;
  }));
  EXPECT_EQ(L"Another launcher is still running. Close it and try again.", BoxText(box));
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  DWORD exit_code = 99;
  ASSERT_TRUE(launcher.Ended(10000, &exit_code));
  EXPECT_EQ(0u, exit_code);
  EXPECT_EQ(nullptr, FindLauncherDialog());
  CloseHandle(mutex);
}

TEST_F(LauncherProcessTest, ADialogWhoseSkinCannotLoadSaysSoAndTheLauncherEnds) {
  ASSERT_TRUE(DeleteFileW(install_.Join(L"data\\skin\\base\\base.ini").c_str()));
  LauncherProcess launcher;
  Start(&launcher, L"");
  HWND box = nullptr;
  ASSERT_TRUE(WaitUntil(30000, [&] {
    box = nullptr;
    EnumWindows(&FindErrorBox, reinterpret_cast<LPARAM>(&box));
    return box != nullptr;
  }));
  EXPECT_EQ(L"The launcher's skin cannot be loaded.", BoxText(box));
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  DWORD exit_code = 99;
  ASSERT_TRUE(launcher.Ended(10000, &exit_code));
  EXPECT_EQ(0u, exit_code);
  EXPECT_EQ(nullptr, FindWindowW(kSplashText, kSplashText));
}

}  // namespace

// orvaneLauncher.exe against the generated demo portal (tools/demo_portal), started as a user starts it: a
// process of its own in the launcher folder, with the portal's servers on one loopback address. Bad starts each
// end with the launcher's error box and a process that ends once the box is answered. Skipped while the
// launcher program is not built.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/texts/MessageTexts.h"
#include "tests/support/FixtureServer.h"
#include "tests/support/TempFolder.h"
#include "tests/support/UnixCommand.h"
#include "tests/support/WindowCapture.h"
#include "tests/support/WinePaths.h"

namespace {

using testing_support::CaptureWindow;
using testing_support::FixtureServer;
using testing_support::PumpUntil;
using testing_support::ReadFileBytes;
using testing_support::RunningUnderWine;
using testing_support::RunUnixCommand;
using testing_support::SaveScreenshot;
using testing_support::ShellQuote;
using testing_support::TempFolder;
using testing_support::UnixPathOf;
using testing_support::WaitUntilPainted;
using testing_support::WindowsPathOf;
using testing_support::WriteFileBytes;

const std::string kLauncherProgram = std::string(ORVANE_BUILD_DIR) + "/bin/orvaneLauncher.exe";

// The launcher's error box: a dialog of the standard class owned by the launcher's process.
struct FoundBox {
  DWORD process_id;
  HWND box;
};

BOOL CALLBACK FindBoxOf(HWND window, LPARAM context) {
  FoundBox* found = reinterpret_cast<FoundBox*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  wchar_t class_name[16] = {};
  GetClassNameW(window, class_name, 16);
  if (owner == found->process_id && IsWindowVisible(window) && std::wstring(class_name) == L"#32770") {
    found->box = window;
    return FALSE;
  }
  return TRUE;
}

// The launcher's main window: a visible top-level window of the process with the launcher's title.
struct FoundWindow {
  DWORD process_id;
  const wchar_t* title;
  HWND window;
};

BOOL CALLBACK FindTitledWindowOf(HWND window, LPARAM context) {
  FoundWindow* found = reinterpret_cast<FoundWindow*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  wchar_t title[256] = {};
  GetWindowTextW(window, title, 256);
  if (owner == found->process_id && IsWindowVisible(window) && std::wstring(title) == found->title) {
    found->window = window;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK CollectStaticText(HWND child, LPARAM context) {
  wchar_t class_name[16] = {};
  GetClassNameW(child, class_name, 16);
  wchar_t text[512] = {};
  if (_wcsicmp(class_name, L"Static") == 0 && GetWindowTextW(child, text, 512) > 0)
    *reinterpret_cast<std::wstring*>(context) += text;
  return TRUE;
}

// Screenshot names: "<prefix>-NN-<step>.png", the prefix "launcher" unless ORVANE_SCREENSHOT_PREFIX names
// another one (make demo runs these tests as its unattended walk with "demo").
std::wstring ScreenshotName(const wchar_t* numbered_step) {
  wchar_t prefix[64] = {};
  DWORD length = GetEnvironmentVariableW(L"ORVANE_SCREENSHOT_PREFIX", prefix, 64);
  return std::wstring(length > 0 && length < 64 ? prefix : L"launcher") + L"-" + numbered_step + L".png";
}

class LauncherDemoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!RunningUnderWine())
      GTEST_SKIP() << "runs the generator and the fixture servers";
    if (GetFileAttributesW(WindowsPathOf(kLauncherProgram).c_str()) == INVALID_FILE_ATTRIBUTES)
      GTEST_SKIP() << "orvaneLauncher.exe is not built";
  }
  void TearDown() override {
    if (process_.hProcess != nullptr) {
      if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT)
        TerminateProcess(process_.hProcess, 1);
      CloseHandle(process_.hProcess);
      CloseHandle(process_.hThread);
    }
  }

  // Starts the servers (the patch server on port 27500 and the HTTP server on the same address) over the
  // portal folder, then generates the portal and the launcher folder for that address.
  void ServeAndGenerate() {
    std::string portal = UnixPathOf(folder_.Join(L"portal"));
    ASSERT_TRUE(patch_server_.Start("patch_server.py", {"--port", "27500", "--game-info-number", "7", "--root",
                                                         portal, "--lifetime", "300"}))
        << patch_server_.log();
    ASSERT_TRUE(http_server_.Start("http_server.py", {"--bind", patch_server_.address(), "--port", "0",
                                                       "--root", portal, "--lifetime", "300"}))
        << http_server_.log();
    Generate(http_server_.endpoint());
  }

  void Generate(const std::string& host) {
    std::string output;
    std::string command = "python3 " + ShellQuote(std::string(ORVANE_SOURCE_DIR) +
                                                  "/tools/demo_portal/make_demo_portal.py") +
                          " --no-patches --host " + host + " --build " + ShellQuote(ORVANE_BUILD_DIR) +
                          " --out " + ShellQuote(UnixPathOf(folder_.path()));
    ASSERT_EQ(0, RunUnixCommand(command, &output, 120000)) << output;
    host_ = testing_support::Utf8ToWide(host);
  }

  // The launcher-info ini names the demo's server and the announced version, so start-up goes straight to
  // the catalogue (no server selection, no self-update).
  void NameTheServer() {
    std::wstring info = Launcher(L"ZEPHLauncherInfo.ini");
    ASSERT_TRUE(WritePrivateProfileStringW(L"LAUNCHER_INFO", L"update_addr", host_.c_str(), info.c_str()));
    ASSERT_TRUE(WritePrivateProfileStringW(L"LAUNCHER_INFO", L"version", L"2", info.c_str()));
  }

  std::wstring Launcher(const std::wstring& name) const { return folder_.Join(L"launcher\\" + name); }

  void StartLauncher(const std::wstring& arguments) {
    std::wstring command = L"\"" + Launcher(L"orvaneLauncher.exe") + L"\" " + arguments;
    std::wstring current = folder_.Join(L"launcher");
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    ASSERT_TRUE(CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, current.c_str(),
                               &startup, &process_));
  }

  // Waits for the launcher's error box; its caption and text, or empty texts when none came.
  HWND WaitForErrorBox(std::wstring* caption, std::wstring* text) {
    FoundBox found{process_.dwProcessId, nullptr};
    PumpUntil(
        [&] {
          EnumWindows(FindBoxOf, reinterpret_cast<LPARAM>(&found));
          return found.box != nullptr || WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0;
        },
        60000);
    if (found.box == nullptr)
      return nullptr;
    wchar_t title[256] = {};
    GetWindowTextW(found.box, title, 256);
    *caption = title;
    EnumChildWindows(found.box, CollectStaticText, reinterpret_cast<LPARAM>(text));
    return found.box;
  }

  // The text of `key` in the launcher folder's message table.
  std::wstring LauncherText(const wchar_t* key) {
    EXPECT_EQ(1, LoadLauncherMessagesFor(Launcher(L"orvaneLauncher.exe").c_str()));
    std::wstring text = GetLauncherMessage(key);
    ReleaseLauncherMessages();
    return text;
  }

  // The box shows `key`'s text, is answered, and the launcher then ends by itself.
  void ExpectErrorBoxAndEnd(const wchar_t* key, const std::wstring& screenshot) {
    std::wstring caption, text;
    HWND box = WaitForErrorBox(&caption, &text);
    ASSERT_NE(nullptr, box) << "no error box; the launcher ended with "
                            << (GetExitCodeProcess(process_.hProcess, &exit_code_) ? exit_code_ : 0);
    WaitUntilPainted(box, 2000);
    SaveScreenshot(CaptureWindow(box), screenshot);
    EXPECT_EQ(LauncherText(L"error"), caption);
    if (key != nullptr) {
      EXPECT_EQ(LauncherText(key), text);
    }
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process_.hProcess, 30000)) << "the launcher did not end";
  }

  TempFolder folder_{L"launcher-demo"};
  FixtureServer patch_server_;
  FixtureServer http_server_;
  std::wstring host_;
  PROCESS_INFORMATION process_{};
  DWORD exit_code_ = 0;
};

TEST_F(LauncherDemoTest, TheSignedStartShowsTheMainWindowAndQuitsWhenClosed) {
  ServeAndGenerate();
  NameTheServer();
  // Closing ends the launcher instead of minimising it.
  std::wstring settings = Launcher(L"orvaneLauncher.ini");
  ASSERT_TRUE(WritePrivateProfileStringW(L"ORVANE", L"Minimize", L"0", settings.c_str()));
  // Every skin file that a window asks for and the generated skin lacks is logged here by the launcher.
  std::wstring misses = folder_.Join(L"skin-misses.log");
  SetEnvironmentVariableW(L"ORVANE_SKIN_MISS_LOG", misses.c_str());
  StartLauncher(L"/LocalGameID:ORVANE");
  SetEnvironmentVariableW(L"ORVANE_SKIN_MISS_LOG", nullptr);
  std::wstring title = LauncherText(L"Launcher");
  FoundWindow found{process_.dwProcessId, title.c_str(), nullptr};
  ASSERT_TRUE(PumpUntil(
      [&] {
        EnumWindows(FindTitledWindowOf, reinterpret_cast<LPARAM>(&found));
        return found.window != nullptr || WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0;
      },
      60000));
  ASSERT_NE(nullptr, found.window) << "no main window";
  WaitUntilPainted(found.window, 5000);
  SaveScreenshot(CaptureWindow(found.window), ScreenshotName(L"01-main-window"));
  PostMessageW(found.window, WM_CLOSE, 0, 0);
  ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process_.hProcess, 30000)) << "the launcher did not end";
  std::string missed;
  ReadFileBytes(misses, &missed);
  EXPECT_EQ("", missed) << "skin files the generated skin lacks (category, name)";
}

TEST_F(LauncherDemoTest, WithTheUpdateServerDownStartUpEndsWithUpdateFailed) {
  // An address on which nothing answers: the servers are started for the address, then stopped.
  ServeAndGenerate();
  NameTheServer();
  patch_server_.Stop();
  http_server_.Stop();
  StartLauncher(L"/LocalGameID:ORVANE");
  ExpectErrorBoxAndEnd(L"update failed", ScreenshotName(L"02-bad-start-server-down"));
}

TEST_F(LauncherDemoTest, ADamagedGameListEndsStartUpWithCannotInit) {
  ServeAndGenerate();
  NameTheServer();
  // The second game line loses its last fields: the whole list is refused.
  std::wstring list = folder_.Join(L"portal\\GameInfo\\7\\GLI_3.info");
  std::string text;
  ASSERT_TRUE(ReadFileBytes(list, &text));
  size_t second_line = text.find('\n', text.find('\n') + 1) + 1;
  size_t cut = text.find("|repo/", second_line);
  ASSERT_NE(std::string::npos, cut);
  text.erase(cut, text.find('\n', cut) - cut);
  ASSERT_TRUE(WriteFileBytes(list, text));
  StartLauncher(L"/LocalGameID:ORVANE");
  ExpectErrorBoxAndEnd(L"cannot init", ScreenshotName(L"03-bad-start-damaged-game-list"));
}

TEST_F(LauncherDemoTest, AParameterFileSignedWithAnotherKeyIsNotTaken) {
  ServeAndGenerate();
  NameTheServer();
  // Signed with a key of the same size that the launcher does not know: the real command line, which names
  // no game, is used instead, and start-up refuses it with its error box.
  std::string other_key = UnixPathOf(folder_.Join(L"other.pem"));
  std::string plain = UnixPathOf(folder_.Join(L"plain.bin"));
  std::string output;
  ASSERT_TRUE(WriteFileBytes(folder_.Join(L"plain.bin"), std::string("l\0 \0/\0", 6)));
  ASSERT_EQ(0, RunUnixCommand("openssl genpkey -algorithm RSA -pkeyopt rsa_keygen_bits:4096 -out " +
                                  ShellQuote(other_key) + " && openssl rsautl -sign -pkcs -inkey " +
                                  ShellQuote(other_key) + " -in " + ShellQuote(plain) + " -out " +
                                  ShellQuote(UnixPathOf(Launcher(L"LauncherParam.dat"))),
                              &output, 120000))
      << output;
  StartLauncher(L"/LocalGameID:ORVANE");
  ExpectErrorBoxAndEnd(nullptr, ScreenshotName(L"04-bad-start-foreign-parameter-file"));
}

}  // namespace

// orvaneLauncher.exe against the generated demo portal (tools/demo_portal), started as a user starts it: a
// process of its own in the launcher folder, with the portal's servers on one loopback address. The signed start
// shows the main window with every skin file it asks for; bad starts each end with the launcher's error box and
// a process that ends once the box is answered. Skipped while the launcher program is not built.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/launcher/DemoLauncher.h"
#include "tests/launcher/DemoLauncherTest.h"
#include "tests/support/TempFolder.h"
#include "tests/support/UnixCommand.h"
#include "tests/support/WindowCapture.h"
#include "tests/support/WinePaths.h"

namespace testing_support {
namespace {

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

class LauncherDemoTest : public DemoLauncherTest {
 protected:
  void SetUp() override {
    DemoLauncherTest::SetUp();
    if (SetUpStopped())
      return;
    ASSERT_TRUE(demo_.NameTheServer());
  }

  // Waits up to a minute for a window of the launcher (`title` and `class_name` as FindWindowOfProcess takes
  // them); null when none came or the launcher ended first.
  HWND WaitForWindow(const wchar_t* title, const wchar_t* class_name) {
    HWND window = nullptr;
    PumpUntil(
        [&] {
          window = FindWindowOfProcess(demo_.process_id(), title, class_name);
          return window != nullptr || WaitForSingleObject(demo_.process(), 0) == WAIT_OBJECT_0;
        },
        60000);
    return window;
  }

  // The launcher's error box shows `key`'s text (any text when null) under the caption of "error"; it is
  // answered, and the launcher then ends by itself.
  void ExpectErrorBoxAndEnd(const wchar_t* key, const std::wstring& screenshot) {
    HWND box = WaitForWindow(nullptr, L"#32770");
    DWORD exit_code = 0;
    ASSERT_NE(nullptr, box) << "no error box; the launcher ended with "
                            << (GetExitCodeProcess(demo_.process(), &exit_code) ? exit_code : 0);
    WaitUntilPainted(box, 2000);
    SaveScreenshot(CaptureWindow(box), screenshot);
    wchar_t caption[256] = {};
    GetWindowTextW(box, caption, 256);
    std::wstring text;
    EnumChildWindows(box, CollectStaticText, reinterpret_cast<LPARAM>(&text));
    EXPECT_EQ(demo_.LauncherText(L"error"), caption);
    if (key != nullptr) {
      EXPECT_EQ(demo_.LauncherText(key), text);
    } else {
      EXPECT_FALSE(text.empty());
    }
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(demo_.WaitForEnd(30000)) << "the launcher did not end";
  }
};

TEST_F(LauncherDemoTest, TheSignedStartShowsTheMainWindowAndQuitsWhenClosed) {
  ASSERT_TRUE(demo_.SetSetting(L"Minimize", L"0"));  // closing ends the launcher instead of minimising it
  // Every skin file that a window asks for and the generated skin lacks is logged here by the launcher.
  std::wstring misses = demo_.folder().Join(L"skin-misses.log");
  SetEnvironmentVariableW(L"ORVANE_SKIN_MISS_LOG", misses.c_str());
  bool started = demo_.Start(L"/LocalGameID:ORVANE");
  SetEnvironmentVariableW(L"ORVANE_SKIN_MISS_LOG", nullptr);
  ASSERT_TRUE(started);
  std::wstring title = demo_.LauncherText(L"Launcher");
  HWND window = WaitForWindow(title.c_str(), nullptr);
  ASSERT_NE(nullptr, window) << "no main window";
  WaitUntilPainted(window, 5000);
  SaveScreenshot(CaptureWindow(window), ScreenshotName(L"01-main-window"));
  PostMessageW(window, WM_CLOSE, 0, 0);
  ASSERT_TRUE(demo_.WaitForEnd(30000)) << "the launcher did not end";
  std::string missed;
  ReadFileBytes(misses, &missed);
  EXPECT_EQ("", missed) << "skin files the generated skin lacks (category, name)";
}

TEST_F(LauncherDemoTest, WithTheUpdateServerDownStartUpEndsWithUpdateFailed) {
  // The address of the launcher-info ini, on which nothing answers any more.
  demo_.StopServers();
  ASSERT_TRUE(demo_.Start(L"/LocalGameID:ORVANE"));
  ExpectErrorBoxAndEnd(L"update failed", ScreenshotName(L"02-bad-start-server-down"));
}

TEST_F(LauncherDemoTest, ADamagedGameListEndsStartUpWithCannotInit) {
  // The second game line loses its last fields: the whole list is refused.
  std::wstring list = demo_.folder().Join(L"portal\\GameInfo\\7\\GLI_3.info");
  std::string text;
  ASSERT_TRUE(ReadFileBytes(list, &text));
  size_t second_line = text.find('\n', text.find('\n') + 1) + 1;
  size_t cut = text.find("|repo/", second_line);
  ASSERT_NE(std::string::npos, cut);
  text.erase(cut, text.find('\n', cut) - cut);
  ASSERT_TRUE(WriteFileBytes(list, text));
  ASSERT_TRUE(demo_.Start(L"/LocalGameID:ORVANE"));
  ExpectErrorBoxAndEnd(L"cannot init", ScreenshotName(L"03-bad-start-damaged-game-list"));
}

TEST_F(LauncherDemoTest, AParameterFileSignedWithAnotherKeyIsNotTaken) {
  // The session signed with a key of the same size that the launcher does not know: the real command line,
  // which names no game, is used instead, and start-up refuses it with an error box.
  std::string other_key = UnixPathOf(demo_.folder().Join(L"other.pem"));
  std::string plain = UnixPathOf(demo_.folder().Join(L"plain.bin"));
  std::wstring session = L"launcher /GameID:ORVANE /StartGameID:RUNE /CompanyID:3 /UserNick:Eve";
  ASSERT_TRUE(WriteFileBytes(demo_.folder().Join(L"plain.bin"),
                             std::string(reinterpret_cast<const char*>(session.data()), session.size() * 2)));
  std::string output;
  ASSERT_EQ(0, RunUnixCommand("openssl genpkey -algorithm RSA -pkeyopt rsa_keygen_bits:4096 -out " +
                                  ShellQuote(other_key) + " && openssl rsautl -sign -pkcs -inkey " +
                                  ShellQuote(other_key) + " -in " + ShellQuote(plain) + " -out " +
                                  ShellQuote(UnixPathOf(demo_.Launcher(L"LauncherParam.dat"))),
                              &output, 120000))
      << output;
  ASSERT_TRUE(demo_.Start(L"/LocalGameID:ORVANE"));
  ExpectErrorBoxAndEnd(nullptr, ScreenshotName(L"04-bad-start-foreign-parameter-file"));
}

}  // namespace
}  // namespace testing_support

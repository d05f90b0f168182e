// The journey's second half on its own: orvaneLauncher.exe started with the signed parameter file and its
// server named (no selection, no self-update), then every later step walked in one run. Fails when any window
// asked for a skin file that the generated skin lacks. Skipped while the launcher program is not built.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/support/UnixCommand.h"
#include "tests/support/WindowCapture.h"
#include "tests/support/WinePaths.h"
#include "tests/tools/DemoLauncher.h"
#include "tests/tools/JourneyLaterSteps.h"

namespace testing_support {
namespace {

TEST(LauncherJourneyTest, FromTheMainWindowOnInstallUpdateRunCheckSettingsTrayAndHandOver) {
  if (!RunningUnderWine())
    GTEST_SKIP() << "runs the generator and the fixture servers";
  if (!LauncherProgramBuilt())
    GTEST_SKIP() << "orvaneLauncher.exe is not built";
  DemoLauncher demo;
  std::string error;
  ASSERT_TRUE(demo.ServeAndGenerate(&error)) << error;
  ASSERT_TRUE(demo.NameTheServer());
  PrepareJourneyEnvironment(demo);
  // Every launcher of the walk inherits this and logs each skin file a window asks for and the skin lacks.
  std::wstring misses = demo.folder().Join(L"skin-misses.log");
  SetEnvironmentVariableW(L"ORVANE_SKIN_MISS_LOG", misses.c_str());
  ASSERT_TRUE(demo.Start(L"/LocalGameID:ORVANE"));
  std::wstring title = demo.LauncherText(L"Launcher");
  HWND main_window = nullptr;
  PumpUntil(
      [&] {
        main_window = FindWindowOfProcess(demo.process_id(), title.c_str(), nullptr);
        return main_window != nullptr || WaitForSingleObject(demo.process(), 0) == WAIT_OBJECT_0;
      },
      60000);
  ASSERT_NE(nullptr, main_window) << "no main window";
  WaitUntilPainted(main_window, 5000);
  ASSERT_NO_FATAL_FAILURE(WalkFromTheMainWindowToTheHandOver(demo, main_window, 4));
  SetEnvironmentVariableW(L"ORVANE_SKIN_MISS_LOG", nullptr);
  std::string missed;
  ReadFileBytes(misses, &missed);
  EXPECT_EQ("", missed) << "skin files the generated skin lacks (category, name)";
}

}  // namespace
}  // namespace testing_support

// DemoLauncherTest: the fixture of the tests that run orvaneLauncher.exe against the generated demo portal.
// SetUp skips outside Wine or while the launcher program is not built, then serves the portal and generates
// the launcher folder; a derived SetUp calls it first and returns when it skipped or failed.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "tests/launcher/DemoLauncher.h"
#include "tests/support/WinePaths.h"

namespace testing_support {

class DemoLauncherTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!RunningUnderWine())
      GTEST_SKIP() << "runs the generator and the fixture servers";
    if (!LauncherProgramBuilt())
      GTEST_SKIP() << "orvaneLauncher_testing.exe is not built";
    std::string error;
    ASSERT_TRUE(demo_.ServeAndGenerate(&error)) << error;
  }

  // True when the base SetUp skipped the test or failed: the derived SetUp stops there.
  bool SetUpStopped() const { return IsSkipped() || HasFatalFailure(); }

  DemoLauncher demo_;
};

}  // namespace testing_support

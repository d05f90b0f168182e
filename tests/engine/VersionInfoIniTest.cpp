#include "engine/VersionInfoIni.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/engine/SystemCallFaults.h"
#include "tests/support/TempFolder.h"

using engine_testing::SystemCall;
using engine_testing::SystemCallFaults;
using testing_support::FileExists;
using testing_support::ReadFileBytes;
using testing_support::TempFolder;
using testing_support::WriteFileBytes;

TEST(VersionInfoIni, TheThreeValuesReplaceTheFileAsOneAndReadBackThroughTheProfileFunctions) {
  TempFolder root;
  const std::wstring path = root.Join(L"versionInfo_GAME.ini");
  ASSERT_TRUE(WriteFileBytes(path, "[Other]\r\nKey=1\r\n[UpdInfo]\r\nCurrentVersion=3\r\n"));
  VersionInfo info;
  info.current_version = 12;
  info.separate_status = 1;
  info.updater_version = -4;
  ASSERT_TRUE(WriteVersionInfo(path.c_str(), info));
  std::string text;
  ASSERT_TRUE(ReadFileBytes(path, &text));
  EXPECT_EQ("[UpdInfo]\r\nCurrentVersion=12\r\nSeparateStatus=1\r\nUpdaterVersion=-4\r\n", text);
  const VersionInfo read = ReadVersionInfo(path.c_str());
  EXPECT_EQ(12, read.current_version);
  EXPECT_EQ(1, read.separate_status);
  EXPECT_EQ(-4, read.updater_version);
  EXPECT_FALSE(FileExists(root.Join(L"versionInfo_GAME.tmp")));
}

TEST(VersionInfoIni, AWriteThatFailsAtAnyStepLeavesTheOldFile) {
  TempFolder root;
  const std::wstring path = root.Join(L"versionInfo_GAME.ini");
  const std::string old_text = "[UpdInfo]\r\nCurrentVersion=3\r\nSeparateStatus=0\r\nUpdaterVersion=1\r\n";
  for (SystemCall step : {SystemCall::kCreate, SystemCall::kWrite, SystemCall::kFlush, SystemCall::kMove}) {
    ASSERT_TRUE(WriteFileBytes(path, old_text));
    SystemCallFaults faults;
    faults.FailCall(step, 1);
    VersionInfo info;
    info.current_version = 4;
    EXPECT_FALSE(WriteVersionInfo(path.c_str(), info)) << SystemCallName(step);
    std::string text;
    ASSERT_TRUE(ReadFileBytes(path, &text));
    EXPECT_EQ(old_text, text) << SystemCallName(step);
    EXPECT_FALSE(FileExists(root.Join(L"versionInfo_GAME.tmp"))) << SystemCallName(step);
  }
}

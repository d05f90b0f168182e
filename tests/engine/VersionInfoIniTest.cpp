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
  EXPECT_EQ("[Other]\r\nKey=1\r\n[UpdInfo]\r\nCurrentVersion=12\r\nSeparateStatus=1\r\nUpdaterVersion=-4\r\n",
            text)
      << "the other section stays";
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

TEST(VersionInfoIni, TheMergeSetsTheThreeKeysAndKeepsEveryOtherLine) {
  VersionInfo info;
  info.current_version = 7;
  info.separate_status = 0;
  info.updater_version = 2;
  const std::string keys = "CurrentVersion=7\r\nSeparateStatus=0\r\nUpdaterVersion=2\r\n";
  struct Case {
    const char* what;
    std::string old_text;
    std::string merged;
  } cases[] = {
      {"no file", "", "[UpdInfo]\r\n" + keys},
      {"keys in place, other keys and sections kept",
       "; note\r\n[Game]\r\nPath=C:\\x\r\n[UpdInfo]\r\nUpdaterVersion=1\r\nExtra=yes\r\ncurrentversion = "
       "3\r\n"
       "SeparateStatus=1\r\n[Tail]\r\nA=1",
       "; note\r\n[Game]\r\nPath=C:\\x\r\n[UpdInfo]\r\nUpdaterVersion=2\r\nExtra=yes\r\ncurrentversion =7\r\n"
       "SeparateStatus=0\r\n[Tail]\r\nA=1"},
      {"missing keys go to the end of the section, before blank lines",
       "[ updinfo ]\r\nCurrentVersion=3\r\n\r\n[Other]\r\nCurrentVersion=9\r\n",
       "[ updinfo "
       "]\r\nCurrentVersion=7\r\nSeparateStatus=0\r\nUpdaterVersion=2\r\n\r\n[Other]\r\nCurrentVersion="
       "9\r\n"},
      {"no section, last line without a break", "[Other]\nKey=1", "[Other]\nKey=1\r\n[UpdInfo]\r\n" + keys},
      {"only the first section of the name",
       "[UpdInfo]\r\nCurrentVersion=1\r\n[UpdInfo]\r\nCurrentVersion=1\r\n",
       "[UpdInfo]\r\nCurrentVersion=7\r\nSeparateStatus=0\r\nUpdaterVersion=2\r\n[UpdInfo]\r\nCurrentVersion="
       "1\r\n"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.merged, MergeVersionInfoText(c.old_text, info)) << c.what;

  const std::u16string wide = u"\xFEFF[A]\r\nB=1\r\n";
  const std::string utf16(reinterpret_cast<const char*>(wide.data()), wide.size() * 2);
  const std::u16string wide_merged =
      u"\xFEFF[A]\r\nB=1\r\n[UpdInfo]\r\nCurrentVersion=7\r\nSeparateStatus=0\r\n"
      u"UpdaterVersion=2\r\n";
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(wide_merged.data()), wide_merged.size() * 2),
            MergeVersionInfoText(utf16, info))
      << "a UTF-16 ini stays UTF-16";
}

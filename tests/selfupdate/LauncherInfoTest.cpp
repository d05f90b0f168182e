// The launcher-info ini's keys and path, in a temporary folder.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "selfupdate/LauncherInfo.h"
#include "tests/support/TempFolder.h"

namespace {

using testing_support::ReadFileBytes;
using testing_support::TempFolder;

class LauncherInfoTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(SetLauncherInfoPath(ini().c_str())); }
  void TearDown() override { SetLauncherInfoPath(nullptr); }
  std::wstring ini() const { return folder_.Join(kLauncherInfoFileName); }
  TempFolder folder_{L"launcher-info"};
};

TEST_F(LauncherInfoTest, ReadsAndWritesTheThreeKeys) {
  wchar_t text[kLauncherInfoTextUnits] = L"left over";
  ReadLauncherInfoUpdateAddr(text);
  EXPECT_STREQ(L"", text);
  EXPECT_EQ(0u, ReadLauncherInfoVersion());  // a missing ini is version 0

  EXPECT_EQ(1, WriteLauncherInfoUpdateAddr(L"update.example:8080/path"));
  EXPECT_EQ(1, WriteLauncherInfoUpdateName(L"Server one"));
  EXPECT_NE(0, WriteLauncherInfoVersion(4000000000u));
  ReadLauncherInfoUpdateAddr(text);
  EXPECT_STREQ(L"update.example:8080/path", text);
  ReadLauncherInfoUpdateName(text);
  EXPECT_STREQ(L"Server one", text);
  std::string bytes;
  ASSERT_TRUE(ReadFileBytes(ini(), &bytes));
  EXPECT_NE(std::string::npos, bytes.find("version=4000000000")) << bytes;
}

TEST_F(LauncherInfoTest, RefusesAnUpdateAddressThatDoesNotFitTheProcessWideField) {
  struct Case {
    std::wstring stored;
    int expected;
  } cases[] = {
      {L"", 0},
      {L"h", 1},
      {std::wstring(63, L'a'), 1},
      {std::wstring(64, L'a'), 0},
      {std::wstring(1023, L'a'), 0},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(1, WriteLauncherInfoUpdateAddr(c.stored.c_str()));
    wchar_t destination[kUpdateAddrUnits] = L"untouched";
    EXPECT_EQ(c.expected, LoadUpdateAddrFromLauncherInfo(destination)) << c.stored.size();
    EXPECT_EQ(c.expected ? c.stored : std::wstring(L"untouched"), destination);
  }
}

TEST_F(LauncherInfoTest, ComparesTheInstalledVersionWithTheAnnouncedOne) {
  EXPECT_EQ(0, IsLauncherVersionChanged(0));  // no ini, nothing announced
  EXPECT_EQ(1, IsLauncherVersionChanged(2));  // no ini: version 0
  WriteLauncherInfoVersion(2);
  EXPECT_EQ(0, IsLauncherVersionChanged(2));
  EXPECT_EQ(1, IsLauncherVersionChanged(3));
}

TEST(LauncherInfoPath, IsBesideTheProgramOrBesideItsParentForTheTemporaryCopy) {
  wchar_t path[MAX_PATH];
  ASSERT_TRUE(BuildLauncherInfoPath(L"C:\\Games\\Launcher", false, path, MAX_PATH));
  EXPECT_STREQ(L"C:\\Games\\Launcher\\ZEPHLauncherInfo.ini", path);
  ASSERT_TRUE(BuildLauncherInfoPath(L"C:\\Games\\Launcher\\launcher_update_temp", true, path, MAX_PATH));
  EXPECT_STREQ(L"C:\\Games\\Launcher\\ZEPHLauncherInfo.ini", path);
  EXPECT_FALSE(BuildLauncherInfoPath((L"C:\\" + std::wstring(250, L'f')).c_str(), false, path, MAX_PATH));
  EXPECT_STREQ(L"", path);
}

}  // namespace

// The self-update steps that start-up calls, in temporary folders; the process replacement is recorded
// instead of done, so no test ends itself.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/launcherupdate/SelfUpdateSteps.h"
#include "selfupdate/ProcessReplacement.h"
#include "tests/support/TempFolder.h"

namespace {

using testing_support::FileExists;
using testing_support::ReadFileBytes;
using testing_support::RemoveTree;
using testing_support::TempFolder;
using testing_support::WriteFileBytes;

TEST(IsUpdateTempProgramPath, NamesTheTemporaryFolderInAnyCase) {
  struct Case {
    const wchar_t* path;
    int expected;
  } cases[] = {
      {L"C:\\L\\launcher_update_temp\\orvaneLauncher.exe", 1},
      {L"C:\\L\\Launcher_Update_Temp\\orvaneLauncher.exe", 1},
      {L"launcher_update_temp\\orvaneLauncher.exe", 1},
      {L"C:\\L\\launcher_update_temp2\\orvaneLauncher.exe", 0},
      {L"C:\\launcher_update_temp\\L\\orvaneLauncher.exe", 0},
      {L"C:\\L\\orvaneLauncher.exe", 0},
      {L"orvaneLauncher.exe", 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.expected, IsUpdateTempProgramPath(c.path)) << c.path;
}

TEST(RealLauncherFolderOf, IsTheParentOnlyForTheTemporaryCopy) {
  // The temporary copy reads the parameter file that its command line selects from the real folder.
  struct Case {
    const wchar_t* program;
    const wchar_t* folder;
  } cases[] = {
      {L"C:\\Games\\Orvane\\orvaneLauncher.exe", L"C:\\Games\\Orvane"},
      {L"C:\\Games\\Orvane\\launcher_update_temp\\orvaneLauncher.exe", L"C:\\Games\\Orvane"},
      {L"C:\\Games\\Orvane\\Launcher_Update_Temp\\orvaneLauncher.exe", L"C:\\Games\\Orvane"},
      {L"C:\\launcher_update_temp_old\\orvaneLauncher.exe", L"C:\\launcher_update_temp_old"},
      {L"launcher_update_temp\\orvaneLauncher.exe", L"launcher_update_temp"},  // no parent to go to
      {L"orvaneLauncher.exe", L""},
      {L"C:\\Games\\", L""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(std::wstring(c.folder), RealLauncherFolderOf(c.program))
        << std::string(c.program, c.program + wcslen(c.program));
}

TEST(ParseLauncherInfoText, TakesTheNumberAfterTheHashOfLineTwo) {
  struct Case {
    const char* text;
    bool parsed;
    int32_t version;
  } cases[] = {
      {"1\r\nlauncher#17,abc\r\n", true, 17},
      {"1\nlauncher#17\n", true, 17},  // no comma still yields the number
      {"\r\n\r\n2\r\n\r\nx#  42,1", true, 42},
      {"1\r\nlauncher#,3", true, 0},
      {"0\r\nlauncher#17,3", false, 0},  // first line begins with '0'
      {"1\r\nlauncher 17,3", false, 0},
      {"1\r\n", false, 0},
      {"", false, 0},
  };
  for (const Case& c : cases) {
    std::string text = c.text;
    int32_t version = -5;
    EXPECT_EQ(c.parsed, ParseLauncherInfoText(&text[0], text.size(), &version)) << c.text;
    if (c.parsed) {
      EXPECT_EQ(c.version, version) << c.text;
    }
  }
}

class UpdateTempTest : public ::testing::Test {
 protected:
  std::wstring Real(const std::wstring& name) const { return folder_.Join(name); }
  std::wstring Temp(const std::wstring& name) const {
    return folder_.Join(std::wstring(kUpdateTempFolderName) + L"\\" + name);
  }
  TempFolder folder_{L"update-temp"};
};

TEST_F(UpdateTempTest, CopiesTheFilesAndStopsOnlyForTheProgramOrUnicows) {
  const wchar_t* program = L"orvaneLauncher.exe";
  ASSERT_TRUE(WriteFileBytes(Real(program), "program"));
  EXPECT_EQ(0, CopyLauncherToUpdateTempFrom(folder_.path().c_str(), program));  // no unicows.dll
  ASSERT_TRUE(WriteFileBytes(Real(L"unicows.dll"), "unicows"));
  EXPECT_EQ(1,
            CopyLauncherToUpdateTempFrom(folder_.path().c_str(), program));  // pak and texts may be missing
  ASSERT_TRUE(WriteFileBytes(Real(L"updater.pak"), "pak"));
  ASSERT_TRUE(WriteFileBytes(Real(L"LauncherMessage.ini"), "texts"));
  EXPECT_EQ(1, CopyLauncherToUpdateTempFrom(folder_.path().c_str(), program));  // the folder already exists
  for (const wchar_t* name : {program, L"unicows.dll", L"updater.pak", L"LauncherMessage.ini"}) {
    std::string original, copy;
    ASSERT_TRUE(ReadFileBytes(Real(name), &original));
    ASSERT_TRUE(ReadFileBytes(Temp(name), &copy));
    EXPECT_EQ(original, copy);
  }
  EXPECT_EQ(0, CopyLauncherToUpdateTempFrom(folder_.path().c_str(), L"missing.exe"));
}

TEST_F(UpdateTempTest, TheCopyCarriesTheSelfUpdateDialogsSkinAndTheRemovalTakesItAway) {
  // The copy runs in the temporary folder and reads the dialog's skin relative to it: loose files or the pack.
  const wchar_t* program = L"orvaneLauncher.exe";
  ASSERT_TRUE(WriteFileBytes(Real(program), "program"));
  ASSERT_TRUE(WriteFileBytes(Real(L"unicows.dll"), "unicows"));
  ASSERT_TRUE(WriteFileBytes(Real(L"updater\\updater_res\\updater.ini"), "ini"));
  ASSERT_TRUE(WriteFileBytes(Real(L"updater\\updater_res\\back.png"), "png"));
  ASSERT_TRUE(WriteFileBytes(Real(L"updater\\updater_res.pak"), "pak"));
  ASSERT_EQ(1, CopyLauncherToUpdateTempFrom(folder_.path().c_str(), program));
  for (const wchar_t* name : {L"updater\\updater_res\\updater.ini", L"updater\\updater_res\\back.png",
                              L"updater\\updater_res.pak"}) {
    std::string original, copy;
    ASSERT_TRUE(ReadFileBytes(Real(name), &original));
    EXPECT_TRUE(ReadFileBytes(Temp(name), &copy)) << "not copied";
    EXPECT_EQ(original, copy);
  }
  // The removal deletes the program under the running program's name, which here is the test's.
  ASSERT_TRUE(DeleteFileW(Temp(program).c_str()));
  EXPECT_NE(0, RemoveUpdateTempIn(folder_.path().c_str()));
  EXPECT_FALSE(FileExists(Temp(L"")));
  EXPECT_TRUE(FileExists(Real(L"updater\\updater_res\\updater.ini")));  // the real skin stays

  // Without a skin the copy is made all the same (the dialog then shows its plain look).
  ASSERT_TRUE(RemoveTree(Real(L"updater")));
  EXPECT_EQ(1, CopyLauncherToUpdateTempFrom(folder_.path().c_str(), program));
  EXPECT_FALSE(FileExists(Temp(L"updater\\updater_res\\updater.ini")));
}

TEST_F(UpdateTempTest, RemovesTheFolderWithWhatAnInterruptedUpdateLeft) {
  ASSERT_TRUE(WriteFileBytes(Temp(L"unicows.dll"), "x"));
  ASSERT_TRUE(WriteFileBytes(Temp(L"game.7.cab"), "package"));
  ASSERT_TRUE(WriteFileBytes(Temp(L"staging\\sub\\a.txt"), "a"));
  ASSERT_TRUE(WriteFileBytes(Temp(L"replaced\\b.txt"), "b"));
  SetFileAttributesW(Temp(L"replaced\\b.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_NE(0, RemoveUpdateTempIn(folder_.path().c_str()));
  EXPECT_FALSE(FileExists(Temp(L"")));
  EXPECT_EQ(0, RemoveUpdateTempIn(folder_.path().c_str()));  // nothing to remove
}

struct Started {
  int calls = 0;
  std::wstring program;
  std::wstring command_line;
};
Started g_started;

int RecordStart(const wchar_t* program, const wchar_t* command_line) {
  ++g_started.calls;
  g_started.program = program;
  g_started.command_line = command_line;
  return 0;  // as if the start failed: the caller goes on
}

TEST(ProcessReplacement, PassesTheCommandLineVerbatimToTheOtherCopy) {
  ProcessReplacer previous = SetProcessReplacer(&RecordStart);
  const wchar_t* command_line =
      L"\"C:\\Pro gram\\orvaneLauncher.exe\"  /GameID:g1 /UserNick:\"a \\\"b\\\"\"  ";
  g_started = Started();
  EXPECT_EQ(0, StartLauncherInUpdateTempFrom(L"C:\\Pro gram\\orvaneLauncher.exe", command_line));
  EXPECT_EQ(1, g_started.calls);
  EXPECT_EQ(L"C:\\Pro gram\\launcher_update_temp\\orvaneLauncher.exe", g_started.program);
  EXPECT_EQ(command_line, g_started.command_line);

  g_started = Started();
  EXPECT_EQ(0, RestartLauncherFromParentOf(L"C:\\Pro gram\\launcher_update_temp\\orvaneLauncher.exe",
                                           command_line));
  EXPECT_EQ(L"C:\\Pro gram\\orvaneLauncher.exe", g_started.program);
  EXPECT_EQ(command_line, g_started.command_line);

  g_started = Started();
  EXPECT_EQ(0, RestartLauncherFromParentOf(L"orvaneLauncher.exe", command_line));
  EXPECT_EQ(0, g_started.calls);
  SetProcessReplacer(previous);
}

}  // namespace

// A real update of a fixture game from its game record: QVTesserel.dll (loader type 1) bound by the launcher,
// the patch-server fixture on port 27500 at the update address, the HTTP fixture serving a generated version
// history as the game's file host.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/games/CDllLoader.h"
#include "app/session/ProgramPath.h"
#include "app/session/SessionValues.h"
#include "base/TextFields.h"
#include "tests/app/games/GameTestSupport.h"
#include "tests/support/FixtureServer.h"
#include "tests/support/PatchServerProcess.h"
#include "tests/support/TempFolder.h"
#include "tests/support/UnixCommand.h"
#include "tests/support/WinePaths.h"

namespace {

using game_testing::TestGame;
using game_testing::WaitFor;
using testing_support::TempFolder;

// Every file below `expected` (relative names) has the same bytes below `installed`.
void ExpectSameTree(const std::wstring& expected,
                    const std::wstring& installed,
                    const std::wstring& relative,
                    int* files) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((expected + relative + L"\\*").c_str(), &found);
  ASSERT_NE(INVALID_HANDLE_VALUE, search);
  do {
    std::wstring name = found.cFileName;
    if (name == L"." || name == L"..")
      continue;
    std::wstring child = relative + L"\\" + name;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      ExpectSameTree(expected, installed, child, files);
      continue;
    }
    std::string want, have;
    ASSERT_TRUE(testing_support::ReadFileBytes(expected + child, &want));
    EXPECT_TRUE(testing_support::ReadFileBytes(installed + child, &have))
        << testing_support::WideToUtf8(child);
    EXPECT_TRUE(want == have) << testing_support::WideToUtf8(child);
    ++*files;
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

TEST(GameUpdateEndToEnd, TheRecordBringsAFixtureGameUpToDateThroughTheEngine) {
  TempFolder history(L"history");
  std::string output;
  ASSERT_EQ(0,
            testing_support::RunUnixCommand(
                "python3 " +
                    testing_support::ShellQuote(std::string(ORVANE_SOURCE_DIR) + "/tools/make_history.py") +
                    " --root " + testing_support::ShellQuote(testing_support::UnixPathOf(history.path())) +
                    " --product DEMO --versions 3",
                &output))
      << output;
  std::string history_json;
  ASSERT_TRUE(testing_support::ReadFileBytes(history.Join(L"DEMO\\history.json"), &history_json));
  testing_support::PatchServerProcess patch_server;
  ASSERT_TRUE(patch_server.Start("", history_json, {"--port", "27500"})) << patch_server.log();
  testing_support::FixtureServer file_server;
  ASSERT_TRUE(file_server.Start("http_server.py", {"--root", testing_support::UnixPathOf(history.path())}))
      << file_server.log();

  TempFolder install(L"install");
  GetSessionValues() = SessionValues{};
  CopyToField(GetSessionValues().LUpdateAddr, testing_support::Utf8ToWide(patch_server.address()).c_str());
  TestGame game(L"DEMO", 1, 3, install.path());
  CopyToField(game.record.file_host, testing_support::Utf8ToWide(file_server.endpoint()).c_str());
  game.Bind();
  ASSERT_EQ(kGameNeedsUpdate, game.game.GetState());

  game.game.StartUpdate();
  EXPECT_TRUE(WaitFor([&] { return game.game.GetState() != kGameUpdating; }, 60000));
  EXPECT_EQ(kGameLatest, game.game.GetState()) << "error " << game.game.GetError();
  EXPECT_EQ(3, game.game.GetInstalledVersion());
  GameProgress progress{};
  game.game.GetProgress(&progress);
  EXPECT_DOUBLE_EQ(1.0, progress.overall_fraction);
  int files = 0;
  ExpectSameTree(history.Join(L"DEMO\\expected"), install.path(), L"", &files);
  EXPECT_GT(files, 5);

  game.game.ReleaseEngine();
  ReleaseDllLoaders();
  GetSessionValues() = SessionValues{};
}

}  // namespace

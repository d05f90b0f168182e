// The game record without an engine: the first state that Bind gives, the installed version, the error
// numbers that engine errors become, and what ClearError leaves behind.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/games/CDllLoader.h"
#include "app/session/SessionValues.h"
#include "base/TextFields.h"
#include "tests/app/games/GameTestSupport.h"
#include "tests/support/TempFolder.h"

namespace {

using game_testing::TestGame;
using game_testing::WriteInstalledVersion;
using testing_support::TempFolder;

class GameInfoTest : public ::testing::Test {
 protected:
  void SetUp() override { GetSessionValues() = SessionValues{}; }
  void TearDown() override {
    GetSessionValues() = SessionValues{};
    SetEngineLibraryFolder(nullptr);
    ReleaseDllLoaders();
  }
  // Sends an engine error event to `game` in `state`.
  static void SendError(TestGame* game, int32_t state, int32_t code) {
    game->SetState(state);
    EXPECT_EQ(0, GameInfo::OnEngineEvent(&game->game, UpdateEventError, &code));
  }
  TempFolder folder_{L"game"};
};

TEST_F(GameInfoTest, BindGivesTheFirstStateFromInstallationVersionsAndAccess) {
  struct Case {
    bool installed;
    int32_t loader, installed_version, catalogue_version;
    uint8_t open;
    bool administrator;
    int32_t state;
  } cases[] = {
      {false, 1, 0, 5, 1, false, kGameNotInstalled},
      {false, 0, 0, 0, 0, false, kGameNotInstalled},
      {true, 1, -1, 1, 1, false, kGameNeedsUpdate},  // no version file: version 0
      {true, 4, 2, 3, 1, false, kGameNeedsUpdate},
      {true, 2, 3, 3, 1, false, kGameLatest},
      {true, 2, 4, 3, 1, false, kGameLatest},
      {true, 0, -1, 9, 1, false, kGameLatest},  // no engine: never needs an update
      {true, 0, -1, 9, 0, false, kGameBlocked},
      {true, 0, -1, 9, 0, true, kGameLatest},
      {true, 3, 3, 3, 0, false, kGameBlocked},
      {true, 3, 1, 3, 0, false, kGameNeedsUpdate},
  };
  for (const Case& c : cases) {
    TempFolder folder(L"bind");
    if (c.installed_version >= 0)
      WriteInstalledVersion(folder.path(), L"g1", c.installed_version);
    CopyToField(GetSessionValues().AdminMode, c.administrator ? L"1" : L"");
    TestGame game(L"g1", c.loader, c.catalogue_version, c.installed ? folder.path() : L"");
    game.record.open = c.open;
    game.Bind();
    EXPECT_EQ(c.state, game.game.GetState()) << "loader " << c.loader << ", versions " << c.installed_version
                                             << "/" << c.catalogue_version << ", open " << int(c.open);
    if (c.installed)
      EXPECT_STREQ(folder.path().c_str(), game.game.GetGamePath());
    else
      EXPECT_EQ(nullptr, game.game.GetGamePath());
  }
}

TEST_F(GameInfoTest, InstalledVersionIsNeverReadOutsideTheGameFolder) {
  TestGame game(L"g1", 1, 5, folder_.path());
  WriteInstalledVersion(folder_.path(), L"g1", 4);
  EXPECT_EQ(4, game.game.GetInstalledVersion());

  // "<folder>/VersionInfo_..\..\evil.ini" would read "<parent>\evil.ini".
  std::wstring sub = folder_.Join(L"sub");
  testing_support::MakeFolders(sub);
  ASSERT_TRUE(
      WritePrivateProfileStringW(L"UpdInfo", L"CurrentVersion", L"9", folder_.Join(L"evil.ini").c_str()));
  TestGame escaping(L"..\\..\\evil", 1, 5, sub);
  EXPECT_EQ(0, escaping.game.GetInstalledVersion());
}

TEST_F(GameInfoTest, EngineErrorsMapByThePreviousState) {
  struct Case {
    int32_t state, code, error;
  } cases[] = {
      {kGameInstallerDownloading, 1, 1},
      {kGameInstallerDownloading, 8, 8},
      {kGameInstallerDownloading, 0, 21},
      {kGameInstallerDownloading, 10, 21},
      {kGameInstallerDownloading, 100, 21},
      {kGameUpdating, 1, 9},
      {kGameUpdating, 8, 16},
      {kGameUpdating, 9, 21},
      {kGameUpdating, 10, 17},
      {kGameUpdating, 100, 18},
      {kGameUpdating, 101, 19},
      {kGameUpdating, 0, 21},
      {kGameUpdating, 0x10002, 10},  // only the low 16 bits count
      {kGameUpdating, -1, 21},
      {kGameLatest, 2, 21},
      {kGameNeedsUpdate, 100, 18},
      {kGameError, 101, 19},
      {kGameNotInstalled, 10, 21},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.error, EngineErrorNumber(c.state, c.code)) << c.state << " " << c.code;
    TestGame game(L"g1", 1, 1, folder_.path());
    SendError(&game, c.state, c.code);
    EXPECT_EQ(kGameError, game.game.GetState());
    EXPECT_EQ(c.error, game.game.GetError());
  }
}

TEST_F(GameInfoTest, GetErrorIsZeroOutsideTheErrorState) {
  TestGame game(L"g1", 1, 1, folder_.path());
  SendError(&game, kGameUpdating, 3);
  ASSERT_EQ(11, game.game.GetError());
  for (int32_t state = 0; state <= 6; ++state) {
    game.SetState(state);
    EXPECT_EQ(0, game.game.GetError()) << state;
  }
}

TEST_F(GameInfoTest, ClearErrorLeavesTheErrorStateWhereTheErrorAllowsIt) {
  struct Case {
    int32_t state, code;
    bool up_to_date;
    int32_t after;
  } cases[] = {
      {kGameInstallerDownloading, 5, false, kGameNotInstalled},
      {kGameUpdating, 1, false, kGameNeedsUpdate},
      {kGameUpdating, 8, true, kGameLatest},
      {kGameUpdating, 10, false, kGameNeedsUpdate},
      {kGameUpdating, 101, true, kGameLatest},
      {kGameUpdating, 100, false, kGameError},
      {kGameUpdating, 9, false, kGameError},
  };
  for (const Case& c : cases) {
    TempFolder folder(L"clear");
    WriteInstalledVersion(folder.path(), L"g1", c.up_to_date ? 7 : 6);
    TestGame game(L"g1", 1, 7, folder.path());
    SendError(&game, c.state, c.code);
    game.game.ClearError();
    EXPECT_EQ(c.after, game.game.GetState()) << c.state << " " << c.code;
    EXPECT_EQ(0, game.game.GetError());
    game.SetState(kGameError);
    EXPECT_EQ(0, game.game.GetError()) << "the error number itself is cleared";
  }

  // Error 20: the engine library cannot be bound.
  SetEngineLibraryFolder(folder_.path().c_str());  // holds no library
  TestGame unbound(L"g1", 2, 7, folder_.path());
  ASSERT_EQ(kGameNeedsUpdate, unbound.game.GetState());
  unbound.game.StartUpdate();
  ASSERT_EQ(kGameError, unbound.game.GetState());
  ASSERT_EQ(kGameErrorEngineUnavailable, unbound.game.GetError());
  unbound.game.ClearError();
  EXPECT_EQ(kGameError, unbound.game.GetState());
  EXPECT_EQ(0, unbound.game.GetError());
}

TEST_F(GameInfoTest, EventsWithoutDataOrOfOtherKindsAreIgnored) {
  TestGame game(L"g1", 1, 1, folder_.path());
  game.SetState(kGameUpdating);
  for (int event : {UpdateEventCurrentFile, UpdateEventProgress, UpdateEventStatusChanged, UpdateEventError,
                    UpdateEventFileMismatch})
    EXPECT_EQ(1, GameInfo::OnEngineEvent(&game.game, event, nullptr)) << event;
  UpdateStatus status{};
  EXPECT_EQ(1, GameInfo::OnEngineEvent(&game.game, UpdateEventFileCount, &status));
  EXPECT_EQ(1, GameInfo::OnEngineEvent(&game.game, 1234, &status));
  EXPECT_EQ(1, GameInfo::OnEngineEvent(nullptr, UpdateEventCompleted, nullptr));
  EXPECT_EQ(kGameUpdating, game.game.GetState());

  // A current-file text without its terminator is cut at 259 characters.
  std::wstring long_path(300, L'p');
  EXPECT_EQ(0, GameInfo::OnEngineEvent(&game.game, UpdateEventCurrentFile, long_path.data()));
  GameProgress progress{};
  game.game.GetProgress(&progress);
  EXPECT_EQ(std::wstring(259, L'p'), progress.current_file);
}

TEST_F(GameInfoTest, CompletionMakesTheGameLatestOrBlocked) {
  for (bool open : {true, false}) {
    for (bool administrator : {true, false}) {
      CopyToField(GetSessionValues().AdminMode, administrator ? L"yes" : L"");
      TestGame game(L"g1", 1, 1, folder_.path());
      game.record.open = open ? 1 : 0;
      game.Bind();
      game.SetState(kGameUpdating);
      EXPECT_EQ(0, GameInfo::OnEngineEvent(&game.game, UpdateEventCompleted, nullptr));
      EXPECT_EQ(open || administrator ? kGameLatest : kGameBlocked, game.game.GetState());
    }
  }
}

}  // namespace

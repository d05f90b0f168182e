// The periodic tick over a real catalogue: catalogue files written into a temporary folder and served by the
// HTTP fixture, the catalogue-folder query answered by the patch-server fixture on the same loopback address,
// and LoadCatalogue building real game records from them. The tick's steps that read and change those
// records (CheckInstallations, RecheckCatalogue) and the re-check that runs off the user-interface thread.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

#include "app/games/CatalogueRecheck.h"
#include "app/games/GameActions.h"
#include "app/games/GameCatalogue.h"
#include "app/games/GameStateMirror.h"
#include "app/games/UpdateQueue.h"
#include "app/session/LauncherGlobals.h"
#include "app/session/ProgramPath.h"
#include "app/session/SessionValues.h"
#include "app/settings/Setting.h"
#include "app/tick/PeriodicTick.h"
#include "base/TextFields.h"
#include "selfupdate/GameInfoVersion.h"
#include "tests/app/games/CatalogueFiles.h"
#include "tests/app/startup/TickTestSupport.h"
#include "tests/selfupdate/StuckHostResolver.h"
#include "tests/support/FixtureServer.h"
#include "tests/support/PatchServerProcess.h"
#include "tests/support/TempFolder.h"
#include "tests/support/Timing.h"
#include "tests/support/WinePaths.h"

namespace {

using catalogue_testing::GameLine;
using selfupdate_testing::StuckHostResolver;
using testing_support::FixtureServer;
using testing_support::PatchServerProcess;
using testing_support::TempFolder;
using testing_support::WaitUntil;

class CatalogueTickTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(process_.curl_ready());
    Setting::GetInstance()->Update = 0;
    SetGameActionView(&actions_);
    SetTickView(&view_);
    SetTickSystem(&system_);
    TickState() = PeriodicTickState{};
    Launcher().LastCatalogueCheckTick = 0;
    SessionValues& session = GetSessionValues();
    session.CompanyID = 5;
    CopyToField(session.UserNick, L"nick");  // and no launch-mode file: the whole game list
    CopyToField(session.StartGameID, L"engine");
  }
  void TearDown() override {
    ReleaseCatalogue();
    SetCatalogueRecheckQueryLimit(0);
    GameStateList().RemoveAll();
    ClearUpdateQueue();
    SetGameActionView(nullptr);
    SetTickView(nullptr);
    SetTickSystem(nullptr);
    SetGameInfoNumber(0);
  }

  // The version query answers by `version_script` (one object per connection, the last one for every later
  // connection); `files` (paths below the root -> content) are served on the same address, which becomes the
  // update address. Then the start-up's query and the catalogue load.
  void ServeAndLoad(const std::string& version_script,
                    const std::map<std::string, std::string>& files,
                    const std::string& http_script) {
    ASSERT_TRUE(version_.Start(version_script, "", {"--port", "27500"})) << version_.log();
    ASSERT_TRUE(catalogue_testing::WriteServedFiles(root_, files));
    ASSERT_TRUE(testing_support::WriteFileBytes(http_.folder().Join(L"script.json"), http_script));
    ASSERT_TRUE(http_.Start(
        "http_server.py", {"--bind", version_.address(), "--root", testing_support::UnixPathOf(root_.path()),
                           "--script", http_.UnixPath(L"script.json")}))
        << http_.log();
    CopyToField(GetSessionValues().LUpdateAddr, testing_support::Utf8ToWide(http_.endpoint()).c_str());
    ASSERT_EQ(0, QueryGameInfoNumber(GetSessionValues().LUpdateAddr));
    ASSERT_EQ(1, LoadCatalogue());
  }
  // The usual catalogue: "engine" (engine-managed, the start game, so installed in the launcher folder) and
  // "plain" (started directly), in the folder of catalogue number 7; the folder of number 8 has a version file
  // that raises "engine" to version 4. `http_script`: faults of the file server.
  void ServeUsualCatalogue(const std::string& version_script, const std::string& http_script = "{}") {
    ServeAndLoad(version_script,
                 {{"GameInfo/7/MLI_5.info", "1\n1|PostOfHome|http://home/|1\n"},
                  {"GameInfo/7/GLI_5.info", "2\n" + GameLine("engine", 1, 3) + GameLine("plain", 0, 1)},
                  {"GameInfo/8/GBI_5.info", "1\nengine|4|1|0\n"}},
                 http_script);
  }
  std::string Requests() {
    std::string log;
    testing_support::ReadFileBytes(http_.folder().Join(L"requests.log"), &log);
    return log;
  }
  void SetInstalledVersion(const char* id, int version) {
    std::wstring ini = launcher_.Join(L"VersionInfo_" + testing_support::Utf8ToWide(id) + L".ini");
    ASSERT_TRUE(WritePrivateProfileStringW(L"UpdInfo", L"CurrentVersion", std::to_wstring(version).c_str(),
                                           ini.c_str()));
  }
  static void SetState(GameInfo* game, int32_t state) {
    ScopedLock hold(game->lock());
    game->SetState(state);
  }

  TempFolder launcher_{L"ticklauncher"};
  catalogue_testing::CatalogueProcessState process_{launcher_.path()};
  tick_testing::ScopedTickSettings settings_{launcher_, L"Software\\OrvaneCatalogueTickTest"};
  TempFolder root_{L"tickroot"};
  PatchServerProcess version_;
  FixtureServer http_;
  tick_testing::FakeSystem system_;
  tick_testing::RecordingTickView view_;
  tick_testing::RecordingActionView actions_;
};

TEST_F(CatalogueTickTest, CheckInstallationsFollowsWhereEachGameIsInstalled) {
  ServeUsualCatalogue(R"({"game_info_reply": {"number": 7}})");
  struct Case {
    const char* id;
    bool installed;  // the game is the start game now, so found in the launcher folder
    int32_t before, after;
  } cases[] = {
      {"engine", true, kGameNotInstalled,
       kGameNeedsUpdate},                               // found: an engine-managed game needs its update
      {"plain", true, kGameNotInstalled, kGameLatest},  // a game started directly is ready
      {"engine", true, kGameLatest, kGameLatest},
      {"engine", true, kGameInstallerStarted, kGameInstallerStarted},
      {"engine", false, kGameLatest, kGameNotInstalled},
      {"plain", false, kGameInstallerStarted, kGameNotInstalled},
      {"engine", false, kGameUpdating, kGameUpdating},  // left alone while updating or in error
      {"engine", false, kGameError, kGameError},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.id << " installed " << c.installed << " from " << c.before);
    CopyToField(GetSessionValues().StartGameID,
                c.installed ? testing_support::Utf8ToWide(c.id).c_str() : L"none");
    GameInfo* game = FindCatalogueGameInfo(testing_support::Utf8ToWide(c.id).c_str());
    ASSERT_NE(nullptr, game);
    SetState(game, c.before);
    CheckInstallations();
    EXPECT_EQ(c.after, game->GetState());
    if (c.before != kGameUpdating && c.before != kGameError) {
      EXPECT_EQ(c.installed ? 1 : 0, game->IsStartGame());
    }
  }
}

TEST_F(CatalogueTickTest, RecheckCatalogueTakesEachGamesStateFromTheCatalogueVersions) {
  ServeUsualCatalogue(R"({"game_info_reply": {"number": 7}})");
  SetInstalledVersion("engine", 3);
  struct Case {
    const char* versions;  // the version file's game lines
    const wchar_t* admin_mode;
    int32_t before, after;
  } cases[] = {
      {"engine|4|1|0", L"", kGameLatest, kGameNeedsUpdate},
      {"engine|3|1|0", L"", kGameNeedsUpdate, kGameLatest},
      {"engine|3|0|0", L"", kGameLatest, kGameBlocked},     // closed to the public
      {"engine|3|0|0", L"1", kGameBlocked, kGameLatest},    // but not to an administrator
      {"engine|9|1|0", L"", kGameUpdating, kGameUpdating},  // left alone
      {"engine|9|1|0", L"", kGameInstallerDownloading, kGameInstallerDownloading},
      {"engine|9|1|0", L"", kGameInstallerStarted, kGameInstallerStarted},
      {"engine|9|1|0", L"", kGameError, kGameError},
  };
  GameInfo* engine = FindCatalogueGameInfo(L"engine");
  GameInfo* plain = FindCatalogueGameInfo(L"plain");
  ASSERT_NE(nullptr, engine);
  ASSERT_NE(nullptr, plain);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.versions);
    std::string text = std::string("2\n") + c.versions + "\nplain|9|0|0\n";
    ASSERT_EQ(kCatalogueOk, ApplyGameVersionsText(&text[0], text.size()));
    CopyToField(GetSessionValues().AdminMode, c.admin_mode);
    SetState(engine, c.before);
    SetState(plain, kGameNotInstalled);
    RecheckCatalogue();
    EXPECT_EQ(c.after, engine->GetState());
    EXPECT_EQ(kGameNotInstalled, plain->GetState());  // a game that is not installed keeps its state
  }
}

TEST_F(CatalogueTickTest, TheTenthPeriodAsksTheUpdateHostWithoutHoldingTheTick) {
  // The start-up's query is answered; the re-check's connection is accepted and never answered.
  ServeUsualCatalogue(
      R"([{"game_info_reply": {"number": 7}}, {"end": {"at": "game_info_request", "how": "stall"}}])");
  SetTickSystem(nullptr);  // the program's: the real query and download
  SetCatalogueRecheckQueryLimit(1500);
  TickState().recheck_counter = 9;
  DWORD start = GetTickCount();
  RecheckCatalogue();
  EXPECT_LT(GetTickCount() - start, 1000u);
  EXPECT_EQ(7u, GameInfoNumber());  // nothing is known yet
  EXPECT_TRUE(version_.WaitForLogLine(2, "received 340"));
  // The tick goes on meanwhile; once the query has given up, the next tick takes its result.
  EXPECT_TRUE(WaitUntil(10000, [] {
    PeriodicTick();
    return GameInfoNumber() == 0;
  }));
}

TEST_F(CatalogueTickTest, AFinishedRecheckIsAppliedOnTheNextTick) {
  SetInstalledVersion("engine", 3);  // as the catalogue of number 7 has it
  ServeUsualCatalogue(R"([{"game_info_reply": {"number": 7}}, {"game_info_reply": {"number": 8}}])");
  SetTickSystem(nullptr);
  GameInfo* engine = FindCatalogueGameInfo(L"engine");
  ASSERT_NE(nullptr, engine);
  ASSERT_EQ(kGameLatest, engine->GetState());
  TickState().recheck_counter = 9;
  RecheckCatalogue();
  // The folder of number 8 says version 4: the game needs its update from the tick that took the result on.
  EXPECT_TRUE(WaitUntil(10000, [engine] {
    PeriodicTick();
    return engine->GetState() == kGameNeedsUpdate;
  }));
  EXPECT_EQ(8u, GameInfoNumber());
  EXPECT_NE(std::string::npos, Requests().find("/GameInfo/8/GBI_5.info")) << Requests();
}

TEST_F(CatalogueTickTest, ReleasingTheCatalogueEndsARunningRecheckAtOnce) {
  struct Case {
    const char* name;
    const char* version_script;  // the second connection is the re-check's
    const char* http_script;
    const char* waits_in;  // what the re-check waits for when the catalogue is released
  } cases[] = {
      {"query",
       R"([{"game_info_reply": {"number": 7}}, {"end": {"at": "game_info_request", "how": "stall"}}])", "{}",
       "query"},
      {"download", R"([{"game_info_reply": {"number": 7}}, {"game_info_reply": {"number": 8}}])",
       R"({"/GameInfo/8/GBI_5.info": {"delay_before": 60}})", "/GameInfo/8/GBI_5.info"},
      // The name server does not answer the re-check's look-up of the update host.
      {"look-up", R"({"game_info_reply": {"number": 7}})", "{}", "look-up"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ServeUsualCatalogue(c.version_script, c.http_script);
    SetTickSystem(nullptr);
    TickState().recheck_counter = 9;
    std::unique_ptr<StuckHostResolver> stuck;
    const long entered = StuckHostResolver::entered();
    if (std::string(c.waits_in) == "look-up")
      stuck.reset(new StuckHostResolver());
    RecheckCatalogue();
    if (std::string(c.waits_in) == "query")
      ASSERT_TRUE(version_.WaitForLogLine(2, "received 340"));
    else if (stuck)
      ASSERT_TRUE(WaitUntil(10000, [entered] { return StuckHostResolver::entered() > entered; }));
    else
      ASSERT_TRUE(WaitUntil(10000, [this, &c] { return Requests().find(c.waits_in) != std::string::npos; }));
    DWORD start = GetTickCount();
    ReleaseCatalogue();
    EXPECT_LT(GetTickCount() - start, 3000u);
    EXPECT_FALSE(FinishCatalogueRecheck());  // its result is dropped
    version_.Stop();
    http_.Stop();
  }
}

}  // namespace

// The periodic tick over fake games, a fake clock and recording views: the period and its wrap, the version
// file on every tenth period, the queue of the update of all games, the power-off rule, the idle rule, the
// error and need-update pop-ups, pending requests, the game order, and the hand-off of a started installer.
#include "app/tick/PeriodicTick.h"

#include <curl/curl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/games/GameHooks.h"
#include "app/games/GameStateMirror.h"
#include "app/games/UpdateQueue.h"
#include "app/session/LauncherGlobals.h"
#include "app/settings/Setting.h"
#include "app/texts/MessageTexts.h"
#include "base/ScopedHandle.h"
#include "base/TextFields.h"
#include "tests/app/games/GameTestSupport.h"
#include "tests/app/startup/TickTestSupport.h"
#include "tests/support/TempFolder.h"

namespace {

using namespace tick_testing;
using game_testing::TestGame;
using testing_support::FileExists;
using testing_support::TempFolder;

std::vector<std::wstring> g_messages;
bool RecordMessage(const wchar_t* text) {
  g_messages.push_back(text);
  return true;
}

class PeriodicTickTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setting_ = Setting::GetInstance();
    setting_->Update = 0;
    SetGameSource(&games_);
    SetGameActionView(&actions_);
    SetTickSystem(&system_);
    SetTickView(&view_);
    SetGameMessagePresenter(&RecordMessage);
    g_messages.clear();
    GlobalUpdate() = UpdateAllState{};
    TickState() = PeriodicTickState{};
    Launcher().LastCatalogueCheckTick = 0;
    Launcher().PowerOffRequested = 0;
    TakeLauncherCloseRequest();
  }
  void TearDown() override {
    GameStateList().RemoveAll();
    ClearUpdateQueue();
    SetGameSource(nullptr);
    SetGameActionView(nullptr);
    SetTickSystem(nullptr);
    SetTickView(nullptr);
    SetGameMessagePresenter(nullptr);
    Launcher().PowerOffRequested = 0;
  }
  void TickAt(uint32_t now) {
    system_.now = now;
    PeriodicTick();
  }

  TempFolder settings_folder_{L"ticksettings"};
  ScopedTickSettings settings_{settings_folder_, L"Software\\OrvaneTickTest"};
  Setting* setting_ = nullptr;
  FakeGames games_;
  FakeSystem system_;
  RecordingTickView view_;
  RecordingActionView actions_;
};

TEST_F(PeriodicTickTest, APeriodOfZeroOrBelowDisablesOnlyThePeriodicPart) {
  for (int32_t period : {0, -5}) {
    SetCatalogueCheckPeriod(period);
    for (uint32_t now = 1000; now < 100000; now += 5000)
      TickAt(now);
    EXPECT_EQ(0, TickState().recheck_counter);
  }
  EXPECT_EQ(0, system_.recheck_starts);
  EXPECT_EQ(40, view_.progress);  // the per-tick work ran every time
}

TEST_F(PeriodicTickTest, TheVersionFileIsReadOnlyEveryTenthPeriodAndAWrapRestartsThePeriod) {
  SetCatalogueCheckPeriod(1000);
  for (uint32_t now = 1000; now <= 20000; now += 500)  // 20 periods, ticks in between
    TickAt(now);
  EXPECT_EQ(2, system_.recheck_starts);
  EXPECT_EQ(0, TickState().recheck_counter);

  // The clock wrapped: the last run lies in the future and counts as 0, so a period later it runs again.
  Launcher().LastCatalogueCheckTick = 0xFFFFFF00u;
  TickAt(999);
  EXPECT_EQ(0, TickState().recheck_counter);
  TickAt(1000);
  EXPECT_EQ(1, TickState().recheck_counter);
  EXPECT_EQ(1000u, Launcher().LastCatalogueCheckTick);
}

TEST_F(PeriodicTickTest, TheFirstPeriodicRunComesOnePeriodAfterTheEndOfStartUp) {
  SetCatalogueCheckPeriod(60000);
  Launcher().LastCatalogueCheckTick = 500000;  // start-up ended here
  struct Case {
    uint32_t now;
    int32_t counter;  // periodic runs so far
  } cases[] = {{500033, 0}, {530000, 0}, {559999, 0}, {560000, 1}, {560033, 1}, {619999, 1}, {620000, 2}};
  for (const Case& c : cases) {
    TickAt(c.now);
    EXPECT_EQ(c.counter, TickState().recheck_counter) << c.now;
  }
}

TEST_F(PeriodicTickTest, TheCloseRequestEndsTheDialogOnlyWithAutoClose) {
  for (int32_t auto_close : {0, 1}) {
    setting_->AutoClose = auto_close;
    system_.closes = 0;
    RequestLauncherClose();
    TickAt(1000);
    EXPECT_EQ(auto_close, system_.closes);
    EXPECT_FALSE(TakeLauncherCloseRequest());
  }
}

TEST_F(PeriodicTickTest, TheQueueStartsEachGameInTurnAndWaitsWhileTheCapacityIsUsed) {
  FakeGame& a = games_.Add(L"a", kGameNeedsUpdate);
  FakeGame& b = games_.Add(L"b", kGameNeedsUpdate);
  FakeGame& busy1 = games_.Add(L"busy1", kGameLatest);
  FakeGame& busy2 = games_.Add(L"busy2", kGameLatest);
  TickAt(1000);
  ASSERT_EQ(kGlobalSomethingToUpdate, GlobalUpdate().global_state);
  ASSERT_EQ(1, UpdateAllGames());
  EXPECT_EQ(1, a.updates);
  UpdateGame* head = GetQueuedUpdateHead();
  ASSERT_NE(nullptr, head);
  EXPECT_EQ(L"a", std::wstring(head->game_id.GetString()));
  EXPECT_EQ(kUpdateStarted, head->status);

  TickAt(1100);  // a is updating now
  EXPECT_EQ(kUpdateRunning, GetQueuedUpdateHead()->status);

  // a is done while two other games took the capacity: b is started but cannot run, and the queue waits.
  a.state = kGameLatest;
  busy1.state = kGameUpdating;
  busy2.state = kGameUpdating;
  TickAt(1200);
  head = GetQueuedUpdateHead();
  ASSERT_NE(nullptr, head);
  EXPECT_EQ(L"b", std::wstring(head->game_id.GetString()));
  EXPECT_EQ(kUpdateStarted, head->status);
  EXPECT_EQ(0, b.updates);
  EXPECT_EQ(1u, g_messages.size());
  TickAt(1300);
  EXPECT_EQ(L"b", std::wstring(GetQueuedUpdateHead()->game_id.GetString()));

  // The capacity frees; the user starts b; it runs and ends; the queue runs empty and the run is over.
  busy1.state = kGameLatest;
  busy2.state = kGameLatest;
  b.state = kGameUpdating;
  TickAt(1400);
  EXPECT_EQ(kUpdateRunning, GetQueuedUpdateHead()->status);
  b.state = kGameLatest;
  TickAt(1500);
  EXPECT_EQ(nullptr, GetQueuedUpdateHead());
  EXPECT_EQ(kGlobalNothingToUpdate, GlobalUpdate().global_state);
}

TEST_F(PeriodicTickTest, PowerOffOnlyAfterAnAutomaticRunWithShutdownAndNothingLeftToUpdate) {
  struct Case {
    int32_t automatic, shutdown, other_state;
    bool power_off;
  } cases[] = {
      {1, 1, kGameLatest, true},       {0, 1, kGameLatest, false},   {1, 0, kGameLatest, false},
      {1, 1, kGameNeedsUpdate, false}, {1, 1, kGameUpdating, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.automatic << c.shutdown << c.other_state);
    games_.games.clear();
    GameStateList().RemoveAll();
    games_.Add(L"other", c.other_state);
    TickAt(1000);
    Launcher().PowerOffRequested = 0;
    system_.closes = 0;
    setting_->Shutdown = c.shutdown;
    GlobalUpdate().global_state = kGlobalUpdatingAll;
    GlobalUpdate().automatic_run = c.automatic;
    TickAt(2000);
    EXPECT_EQ(c.power_off ? 1 : 0, Launcher().PowerOffRequested);
    EXPECT_EQ(c.power_off ? 1 : 0, system_.closes);
    // Whatever happened, the run is over: a later update of all games by hand never powers off.
    EXPECT_EQ(0, GlobalUpdate().automatic_run);
  }
}

TEST_F(PeriodicTickTest, TheAutomaticUpdateStartsOnlyWhenTheComputerIsIdle) {
  setting_->Update = 2;
  setting_->IdleTime = 5;
  setting_->CPUUse = 50;
  setting_->NetworkUse = 40;
  struct Case {
    int sample_ok;
    uint32_t idle_ms;
    int processor, network;
    bool starts;
  } cases[] = {
      {1, 300000, 49, 39, true},  {1, 299999, 10, 10, false}, {1, 300000, 50, 10, false},
      {1, 300000, 10, 40, false}, {0, 900000, 0, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.idle_ms << " " << c.processor << " " << c.network);
    games_.games.clear();
    GameStateList().RemoveAll();
    ClearUpdateQueue();
    GlobalUpdate() = UpdateAllState{};
    FakeGame& game = games_.Add(L"g", kGameNeedsUpdate);
    game.update_starts = false;
    system_.sample_ok = c.sample_ok;
    system_.idle_ms = c.idle_ms;
    system_.sample = {c.processor, c.network};
    TickAt(1000);
    TickAt(1100);
    EXPECT_EQ(c.starts ? 1 : 0, game.updates);
    EXPECT_EQ(c.starts ? 1 : 0, GlobalUpdate().automatic_run);
  }
}

TEST_F(PeriodicTickTest, TheNeedUpdatePopUpIsShownUntilTheUserClosedItOnce) {
  setting_->Update = 1;
  games_.Add(L"g", kGameNeedsUpdate);
  TickAt(1000);
  ASSERT_EQ(1u, system_.need_update_popups.size());
  OnNeedUpdatePopupClosed(L"need_update", 0);
  TickAt(1100);
  TickAt(1200);
  EXPECT_EQ(1u, system_.need_update_popups.size());
  EXPECT_EQ(1, TickState().need_update_shown);
}

TEST_F(PeriodicTickTest, AGameEnteringTheErrorStateGetsOnePopUpAndClosingItClearsTheError) {
  FakeGame& game = games_.Add(L"g", kGameNeedsUpdate);
  game.title = L"Alpha";
  TickAt(1000);
  game.state = kGameError;
  game.error = 0;  // no error number: no pop-up
  TickAt(1100);
  EXPECT_TRUE(system_.error_popups.empty());
  game.state = kGameNeedsUpdate;
  TickAt(1200);
  game.state = kGameError;
  game.error = 3;
  TickAt(1300);
  TickAt(1400);
  ASSERT_EQ(1u, system_.error_popups.size());
  EXPECT_EQ(L"g", system_.error_popups[0].first);
  OnErrorPopupClosed(L"g", 1);
  EXPECT_EQ(1, game.clear_errors);
}

TEST(ErrorPopupText, TheErrorNumberNamesTheTextAndTheTitleFillsIt) {
  TempFolder folder(L"tickmessages");
  ASSERT_TRUE(testing_support::MakeFolders(folder.Join(L"data\\skin")));
  std::wstring ini =
      L"\xFEFF[MESSAGE]\r\nupdate_error_3=%s failed with 3\r\nupdate_unknown_error=%s: unknown\r\n";
  ASSERT_TRUE(testing_support::WriteFileBytes(
      folder.Join(L"data\\skin\\AppMessage.ini"),
      std::string(reinterpret_cast<const char*>(ini.data()), ini.size() * 2)));
  wchar_t previous[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, previous);
  SetCurrentDirectoryW(folder.path().c_str());
  ASSERT_EQ(1, LoadAppMessages());
  SetCurrentDirectoryW(previous);
  EXPECT_EQ(L"", ErrorPopupText(0, L"Alpha"));
  EXPECT_EQ(L"Alpha failed with 3", ErrorPopupText(3, L"Alpha"));
  EXPECT_EQ(L"Alpha: unknown", ErrorPopupText(21, L"Alpha"));
  EXPECT_EQ(L"unknown error", ErrorPopupText(4, L"Alpha"));
  ReleaseAppMessages();
}

TEST_F(PeriodicTickTest, AStopRequestActsOnceAfterItsWait) {
  FakeGame& game = games_.Add(L"g", kGameUpdating);
  TickAt(1000);
  GameState* mirror = FindGameState(L"g");
  ASSERT_NE(nullptr, mirror);
  mirror->pending_action = kPendingStopRequested;
  mirror->wait_time = 1500;
  mirror->stamp = 2000;
  TickAt(3499);
  EXPECT_EQ(0, game.stops);
  TickAt(3500);
  EXPECT_EQ(1, game.stops);
  TickAt(3600);
  TickAt(9000);
  EXPECT_EQ(1, game.stops);
  EXPECT_EQ(kPendingNone, mirror->pending_action);
}

TEST_F(PeriodicTickTest, AStartedGameEnablesItsStopButtonOnceTheWaitPassed) {
  FakeGame& game = games_.Add(L"g", kGameNeedsUpdate);
  actions_.selected = L"g";
  TickAt(1000);
  game.state = kGameUpdating;
  TickAt(2000);  // pending: the stop button is shown disabled for the button wait
  EXPECT_EQ(kButtonDisabled, actions_.buttons[kStopUpdateButton]);
  TickAt(3499);
  EXPECT_EQ(kButtonDisabled, actions_.buttons[kStopUpdateButton]);
  TickAt(3500);
  EXPECT_EQ(kButtonEnabled, actions_.buttons[kStopUpdateButton]);
  EXPECT_EQ(kPendingNone, FindGameState(L"g")->pending_action);
}

TEST_F(PeriodicTickTest, AGameOrderEntryStaysWhileItsGameIsInTheCatalogue) {
  games_.Add(L"installed", kGameLatest, 1);
  games_.Add(L"uninstalled", kGameNotInstalled, 0);
  setting_->SetGameOrder(L"uninstalled", 1);
  setting_->SetGameOrder(L"gone", 2);
  TickAt(1000);
  EXPECT_EQ(1, setting_->GetGameOrder(L"uninstalled"));
  EXPECT_EQ(0, setting_->GetGameOrder(L"gone"));
  // A newly seen installed game goes last; saving renumbered the order.
  EXPECT_EQ(2, setting_->GetGameOrder(L"installed"));
  // A game that leaves the catalogue loses its mirror and its entry.
  games_.games.erase(games_.games.begin());
  TickAt(1100);
  EXPECT_EQ(nullptr, FindGameState(L"installed"));
  EXPECT_EQ(0, setting_->GetGameOrder(L"installed"));
  EXPECT_EQ(1, setting_->GetGameOrder(L"uninstalled"));
}

// Real game records for the tick, where it reaches into a game's record (the installer's hand-off).
struct GameList : GameSource {
  std::vector<IGameInfo*> games;
  size_t Count() override { return games.size(); }
  IGameInfo* At(size_t index) override { return index < games.size() ? games[index] : nullptr; }
};

TEST_F(PeriodicTickTest, AStartedInstallerHandsTheGameBackAndItsFileIsDeletedOnceTheGameIsInstalled) {
  ASSERT_EQ(CURLE_OK, curl_global_init(CURL_GLOBAL_ALL));
  TempFolder downloads(L"tickdownloads");
  TempFolder installed(L"tickinstalled");
  TestGame game(L"new", 0, 1, L"");
  // An installer download that could not reach its server leaves the installer's file name behind; the file
  // stands for the one a finished download leaves.
  CopyToField(game.record.installer_url, L"http://127.0.0.1:9/setup.exe");
  game.Bind();
  game.game.Install(downloads.path().c_str());
  const std::wstring installer = game.game.installer_file();
  ASSERT_TRUE(testing_support::WriteFileBytes(installer, "MZ installer"));
  GameList records;
  records.games.push_back(&game.game);
  SetGameSource(&records);
  game.SetState(kGameInstallerDownloading);
  ProcessGames();
  GameState* mirror = FindGameState(L"new");
  ASSERT_NE(nullptr, mirror);

  // The download finished and started the installer (kGameInstallerStarted): the next tick makes the game
  // not installed again, with the install button held for the button wait, until the installation is found.
  game.SetState(kGameInstallerStarted);
  ProcessGames();
  EXPECT_EQ(kGameNotInstalled, game.game.GetState());
  EXPECT_EQ(kGameNotInstalled, mirror->state);
  EXPECT_EQ(0, mirror->installer_deleted);
  EXPECT_EQ(kPendingStarted, mirror->pending_action);
  EXPECT_EQ(1500u, mirror->wait_time);
  EXPECT_TRUE(FileExists(installer));

  // The installation is found while the installer still holds its file: deleting it fails and is tried again.
  game.record.installed = 1;
  CopyToField(game.record.game_folder, installed.path().c_str());
  {
    UniqueHandle held(CreateFileW(installer.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);
    game.Bind();
    ProcessGames();
    EXPECT_EQ(1, mirror->installed);
    EXPECT_EQ(0, mirror->installer_deleted);
  }
  ProcessGames();
  EXPECT_FALSE(FileExists(installer));
  EXPECT_EQ(1, mirror->installer_deleted);
  // Once: a file of that name that turns up later is the user's.
  ASSERT_TRUE(testing_support::WriteFileBytes(installer, "MZ"));
  ProcessGames();
  EXPECT_TRUE(FileExists(installer));
  curl_global_cleanup();
}

TEST_F(PeriodicTickTest, AGameInstalledDuringTheSessionJoinsTheGameOrderAndTheUpdateOfAllGames) {
  FakeGame& first = games_.Add(L"first", kGameNeedsUpdate, 1);
  FakeGame& later = games_.Add(L"later", kGameNotInstalled, 0);
  ProcessGames();
  EXPECT_EQ(1, setting_->GetGameOrder(L"first"));
  EXPECT_EQ(0, setting_->GetGameOrder(L"later"));

  // A hand-over makes "later" the start game: it is installed now, and needs an update too.
  later.installed = 1;
  later.state = kGameNeedsUpdate;
  ProcessGames();
  EXPECT_EQ(2, setting_->GetGameOrder(L"later"));
  wchar_t saved[16] = {};
  GetPrivateProfileStringW(L"GAME_ORDER", L"2", L"", saved, 16,
                           settings_folder_.Join(L"launcher.ini").c_str());
  EXPECT_STREQ(L"later", saved);

  // The update of all games reaches both; the second waits in the queue.
  ASSERT_EQ(kGlobalSomethingToUpdate, GlobalUpdate().global_state);
  ASSERT_EQ(1, UpdateAllGames());
  EXPECT_EQ(1, first.updates);
  UpdateGame* head = GetQueuedUpdateHead();
  ASSERT_NE(nullptr, head);
  RemoveQueuedUpdate(head);
  ASSERT_NE(nullptr, GetQueuedUpdateHead());
  EXPECT_STREQ(L"later", GetQueuedUpdateHead()->game_id.GetString());
}

}  // namespace

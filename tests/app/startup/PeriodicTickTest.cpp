// The periodic tick over fake games, a fake clock and recording views: the period and its wrap, the version
// file on every tenth period, the queue of the update of all games, the power-off rule, the idle rule, the
// error and need-update pop-ups, pending requests and the game order.
#include "app/startup/PeriodicTick.h"

#include <gtest/gtest.h>

#include <string>

#include "app/games/GameHooks.h"
#include "app/games/GameStateMirror.h"
#include "app/games/UpdateQueue.h"
#include "app/settings/Setting.h"
#include "app/startup/LauncherGlobals.h"
#include "app/texts/MessageTexts.h"
#include "tests/app/startup/TickTestSupport.h"
#include "tests/support/TempFolder.h"

namespace {

using namespace tick_testing;
using testing_support::TempFolder;

std::vector<std::wstring> g_messages;
void RecordMessage(const wchar_t* text) {
  g_messages.push_back(text);
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
  EXPECT_EQ(kButtonDisabled, actions_.buttons[4]);
  TickAt(3499);
  EXPECT_EQ(kButtonDisabled, actions_.buttons[4]);
  TickAt(3500);
  EXPECT_EQ(kButtonEnabled, actions_.buttons[4]);
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

}  // namespace

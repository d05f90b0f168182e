// The game actions over games bound to raw records and the scriptable engine library, with a recording view in
// place of the launcher window and the game list: button tables, the capacity rule, the update of all games
// and its queue, deferred stops, questions refused by the modal guard, and skin changes.
#include "app/games/GameActions.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/games/CDllLoader.h"
#include "app/games/GameHooks.h"
#include "app/games/GameSource.h"
#include "app/games/GameStateMirror.h"
#include "app/games/UpdateQueue.h"
#include "app/session/SessionValues.h"
#include "app/settings/Setting.h"
#include "app/texts/MessageTexts.h"
#include "base/ScopedHandle.h"
#include "base/TextFields.h"
#include "tests/app/games/GameTestSupport.h"
#include "tests/support/TempFolder.h"
#include "ui/browser/OpenUrl.h"
#include "ui/skin/SkinLoader.h"

namespace {

using game_testing::FakeEngineLibrary;
using game_testing::GameMessageRecorder;
using game_testing::TestGame;
using testing_support::TempFolder;

struct RecordingView : GameActionView {
  std::wstring selected;
  std::map<int, int32_t> buttons;                     // by ActionButton; 6 the filecheck button
  std::vector<std::pair<int, int32_t>> button_calls;  // the action buttons, in order
  std::vector<std::pair<int32_t, int32_t>> global;
  std::vector<std::wstring> calls;
  const wchar_t* SelectedGameId() override { return selected.c_str(); }
  void SetActionButton(ActionButton button, int32_t flags) override {
    buttons[button] = flags;
    button_calls.push_back({button, flags});
  }
  void SetFileCheckButton(int32_t flags) override { buttons[6] = flags; }
  void SelectGame(const wchar_t* id) override { calls.push_back(std::wstring(L"select ") + id); }
  void DeselectGame() override { calls.push_back(L"deselect"); }
  void SetGlobalButtons(int32_t update_all, int32_t stop_all) override {
    global.push_back({update_all, stop_all});
  }
  uint32_t ButtonWaitTime() override { return 1500; }
};

struct TestGames : GameSource {
  std::vector<std::unique_ptr<TestGame>> games;
  size_t Count() override { return games.size(); }
  IGameInfo* At(size_t index) override { return index < games.size() ? &games[index]->game : nullptr; }
};

struct RecordingShell : UrlShell {
  std::vector<std::wstring> opened;
  std::wstring ProgramFilesFolder() override { return L""; }
  std::wstring SystemDirectory() override { return L""; }
  bool FileExists(const std::wstring&) override { return false; }
  intptr_t Execute(const wchar_t*, const std::wstring& file, const wchar_t*) override {
    opened.push_back(file);
    return 33;
  }
};

int g_answer = 1;
std::vector<std::wstring> g_questions;
int Answer(const wchar_t* text) {
  g_questions.push_back(text);
  return g_answer;
}

class GameActionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    GetSessionValues() = SessionValues{};
    CopyToField(GetSessionValues().LUpdateAddr, L"update.example:27500/launcher");
    SettingSources sources;
    sources.registry_root = HKEY_CURRENT_USER;
    sources.registry_path = L"Software\\OrvaneActionsTest";
    program_ = settings_folder_.Join(L"launcher.exe");
    sources.program_path = program_.c_str();
    SetSettingSources(sources);
    Setting::GetInstance();
    SetGameSource(&games_);
    SetGameActionView(&view_);
    SetGameActionUrlShell(&shell_);
    SetGameQuestionPresenter(&Answer);
    g_answer = 1;
    g_questions.clear();
    GlobalUpdate() = UpdateAllState{};
  }
  void TearDown() override {
    for (auto& game : games_.games)
      game->game.ReleaseEngine();
    ReleaseDllLoaders();
    GameStateList().RemoveAll();
    ClearUpdateQueue();
    SetGameSource(nullptr);
    SetGameActionView(nullptr);
    SetGameActionUrlShell(nullptr);
    SetGameQuestionPresenter(nullptr);
    Setting::ReleaseInstance();
    ResetSettingSources();
    SetCurrentSkin(nullptr);
    TakeSkinChange();
    GetSessionValues() = SessionValues{};
    ReleaseAppMessages();
  }

  // An installed game of `loader_type` in `state`, with a mirror in the same state.
  TestGame& AddGame(const wchar_t* id, int32_t state, int32_t loader_type = 2) {
    game_testing::WriteInstalledVersion(folder_.path(), id, 1);
    games_.games.push_back(std::make_unique<TestGame>(id, loader_type, 2, folder_.path()));
    TestGame& game = *games_.games.back();
    game.SetState(state);
    GameState* mirror = AddGameState();
    mirror->game_id.Assign(id);
    mirror->state = state;
    mirror->installed = 1;
    return game;
  }

  TempFolder folder_{L"actions"};
  TempFolder messages_{L"actionmessages"};
  TempFolder settings_folder_{L"settings"};
  std::wstring program_;
  TestGames games_;
  RecordingView view_;
  RecordingShell shell_;
};

TEST(GameButtons, TheStateTableGivesEachButtonItsFlags) {
  struct Case {
    int32_t state;
    bool pending, installed;
    GameButtonFlags flags;
  } cases[] = {
      {kGameError, false, true, {0, 0, 1, 0, 0, 3, 1}},
      {kGameError, false, false, {1, 0, 0, 0, 0, 3, 1}},
      {kGameNotInstalled, false, false, {3, 0, 0, 0, 0, 3, 1}},
      {kGameNotInstalled, true, false, {1, 0, 0, 0, 0, 3, 1}},
      {kGameInstallerDownloading, false, false, {0, 3, 0, 0, 0, 7, 1}},  // home page left as it was
      {kGameInstallerDownloading, true, false, {0, 1, 0, 0, 0, 7, 1}},
      {kGameInstallerStarted, false, false, {0, 0, 0, 0, 0, 0, 0}},
      {kGameLatest, true, true, {0, 0, 0, 0, 3, 3, 3}},
      {kGameBlocked, false, true, {0, 0, 0, 0, 1, 3, 3}},
      {kGameNeedsUpdate, false, true, {0, 0, 3, 0, 0, 3, 3}},
      {kGameUpdating, false, true, {0, 0, 0, 3, 0, 3, 1}},
      {kGameUpdating, true, true, {0, 0, 0, 1, 0, 3, 1}},
  };
  for (const Case& c : cases) {
    GameButtonFlags f = GameButtonsFor(c.state, c.pending, c.installed, 7);
    EXPECT_EQ(c.flags.install, f.install) << c.state << c.pending << c.installed;
    EXPECT_EQ(c.flags.cancel_install, f.cancel_install) << c.state << c.pending;
    EXPECT_EQ(c.flags.update, f.update) << c.state << c.installed;
    EXPECT_EQ(c.flags.stop_update, f.stop_update) << c.state << c.pending;
    EXPECT_EQ(c.flags.run, f.run) << c.state;
    EXPECT_EQ(c.flags.home_page, f.home_page) << c.state;
    EXPECT_EQ(c.flags.full_check, f.full_check) << c.state;
  }
}

TEST(GameButtons, TheGlobalStateGivesTheAllGamesButtons) {
  struct Case {
    int32_t state, stop_lock, update_all, stop_all;
  } cases[] = {{0, 0, 1, 0}, {3, 0, 1, 0}, {5, 0, 3, 0}, {6, 0, 0, 3}, {6, 1, 0, 1}, {4, 1, 1, 0}};
  for (const Case& c : cases) {
    GlobalButtonFlags flags = GlobalButtonsFor(c.state, c.stop_lock);
    EXPECT_EQ(c.update_all, flags.update_all) << c.state;
    EXPECT_EQ(c.stop_all, flags.stop_all) << c.state << c.stop_lock;
  }
}

TEST_F(GameActionsTest, ThirdUpdateInstallOrFullCheckIsRefusedWhileTwoGamesAreBusy) {
  FakeEngineLibrary library(2);
  AddGame(L"busy1", kGameUpdating);
  AddGame(L"busy2", kGameInstallerDownloading);
  TestGame& update = AddGame(L"u", kGameNeedsUpdate);
  TestGame& check = AddGame(L"c", kGameLatest);
  GameMessageRecorder recorder;
  UpdateOneGame(L"u");
  FullCheckGame(L"c");
  EXPECT_EQ(kGameNeedsUpdate, update.game.GetState());
  EXPECT_EQ(kGameLatest, check.game.GetState());
  EXPECT_EQ(0, library.Calls().creates);
  EXPECT_EQ(2u, recorder.messages.size());
  EXPECT_TRUE(g_questions.empty());  // refused before the full check's question
}

TEST_F(GameActionsTest, UpdateAllQueuesStateFiveGamesInGameOrderAndStartsTheHead) {
  FakeEngineLibrary library(2);
  AddGame(L"a", kGameNeedsUpdate);
  AddGame(L"b", kGameLatest);
  AddGame(L"c", kGameNeedsUpdate);
  Setting* setting = Setting::GetInstance();
  setting->SetGameOrder(L"c", 1);
  setting->SetGameOrder(L"b", 2);
  setting->SetGameOrder(L"a", 3);
  GlobalUpdate().global_state = kGlobalSomethingToUpdate;

  EXPECT_EQ(1, UpdateAllGames());
  EXPECT_EQ(kGlobalUpdatingAll, GlobalUpdate().global_state);
  EXPECT_EQ(1, GlobalUpdate().stop_lock);
  EXPECT_EQ(1500u, GlobalUpdate().wait_time);
  UpdateGame* head = GetQueuedUpdateHead();
  ASSERT_NE(nullptr, head);
  EXPECT_STREQ(L"c", head->game_id.GetString());
  EXPECT_EQ(kUpdateStarted, head->status);
  EXPECT_EQ(kGameUpdating, FindGameInfo(L"c")->GetState());
  EXPECT_EQ(kGameNeedsUpdate, FindGameInfo(L"a")->GetState());
  ASSERT_FALSE(view_.global.empty());
  EXPECT_EQ(std::make_pair(0, 1), view_.global.back());
  RemoveQueuedUpdate(head);
  ASSERT_NE(nullptr, GetQueuedUpdateHead());
  EXPECT_STREQ(L"a", GetQueuedUpdateHead()->game_id.GetString());
}

TEST_F(GameActionsTest, UpdateAllWithNothingToQueueReportsNoRun) {
  AddGame(L"a", kGameLatest);
  Setting::GetInstance()->SetGameOrder(L"a", 1);
  GlobalUpdate().global_state = kGlobalSomethingToUpdate;
  EXPECT_EQ(0, UpdateAllGames());
  EXPECT_EQ(kGlobalSomethingToUpdate, GlobalUpdate().global_state);
  GlobalUpdate().global_state = kGlobalNothingToUpdate;
  EXPECT_EQ(0, UpdateAllGames());
}

TEST_F(GameActionsTest, StopAllStopsTheStartedHeadThroughTheTickAndEmptiesTheQueue) {
  FakeEngineLibrary library(2);
  AddGame(L"a", kGameNeedsUpdate);
  AddGame(L"b", kGameNeedsUpdate);
  Setting::GetInstance()->SetGameOrder(L"a", 1);
  Setting::GetInstance()->SetGameOrder(L"b", 2);
  GlobalUpdate().global_state = kGlobalSomethingToUpdate;
  ASSERT_EQ(1, UpdateAllGames());
  FindGameState(L"a")->state = kGameUpdating;
  GlobalUpdate().automatic_run = 1;

  StopAllGames();
  EXPECT_TRUE(IsUpdateQueueEmpty());
  EXPECT_EQ(kGlobalNothingToUpdate, GlobalUpdate().global_state);
  EXPECT_EQ(0, GlobalUpdate().automatic_run);
  EXPECT_EQ(kPendingStopRequested, FindGameState(L"a")->pending_action);
  EXPECT_EQ(1500u, FindGameState(L"a")->wait_time);
  EXPECT_EQ(kGameUpdating, FindGameInfo(L"a")->GetState());  // the tick stops it after the wait
}

TEST_F(GameActionsTest, AStopWithoutAMirrorActsAtOnce) {
  FakeEngineLibrary library(2);
  TestGame& game = AddGame(L"a", kGameNeedsUpdate);
  game.game.StartUpdate();
  ASSERT_EQ(kGameUpdating, game.game.GetState());
  GameStateList().RemoveAll();
  StopUpdateGame(L"a");
  EXPECT_EQ(kGameNeedsUpdate, game.game.GetState());
  EXPECT_EQ(1, library.Calls().stops);
}

TEST_F(GameActionsTest, AFullCheckOfAGameWithoutEngineSaysSoAndEnablesTheButtonAgain) {
  TestGame& game = AddGame(L"plain", kGameLatest, 0);
  view_.selected = L"plain";
  GameMessageRecorder recorder;
  FullCheckGame(L"plain");
  ASSERT_EQ(1u, g_questions.size());
  EXPECT_EQ(kGameLatest, game.game.GetState());
  EXPECT_EQ(1u, recorder.messages.size());
  EXPECT_EQ(kButtonEnabled, view_.buttons[6]);
}

TEST_F(GameActionsTest, AQuestionRefusedOrAnsweredNoEndsTheActionWithNothingDone) {
  FakeEngineLibrary library(2);
  AddGame(L"a", kGameLatest);
  view_.selected = L"a";
  for (int answer : {0, 2}) {
    g_answer = answer;
    FullCheckGame(L"a");
  }
  EXPECT_EQ(0, library.Calls().creates);
  EXPECT_TRUE(view_.buttons.empty());
}

TEST_F(GameActionsTest, UnknownIdsAndWrongStatesDoNothing) {
  FakeEngineLibrary library(2);
  AddGame(L"a", kGameLatest);
  for (auto action :
       {&InstallGame, &CancelInstallGame, &UpdateOneGame, &StopUpdateGame, &RunGame, &FullCheckGame})
    action(L"missing");
  for (auto action : {&InstallGame, &CancelInstallGame, &UpdateOneGame, &StopUpdateGame})
    action(L"a");
  EXPECT_EQ(kGameLatest, FindGameInfo(L"a")->GetState());
  EXPECT_EQ(0, library.Calls().creates);
  EXPECT_TRUE(g_questions.empty());
}

TEST_F(GameActionsTest, ButtonStatesReachTheLauncherWindowOnlyForTheShownGame) {
  AddGame(L"a", kGameNeedsUpdate);
  AddGame(L"b", kGameLatest);
  view_.selected = L"b";
  ApplyGameButtonStates(FindGameState(L"a"));
  EXPECT_TRUE(view_.buttons.empty());
  EXPECT_EQ(kButtonEnabled, FindGameState(L"a")->update_button);
  ApplyGameButtonStates(FindGameState(L"b"));
  EXPECT_EQ(kButtonEnabled, view_.buttons[kRunButton]);
  EXPECT_EQ(kButtonHidden, view_.buttons[kUpdateButton]);
  EXPECT_EQ(kButtonEnabled, view_.buttons[6]);
}

TEST_F(GameActionsTest, SelectAndHomeChangeTheSkinOnceUnlessItIsFixed) {
  AddGame(L"a", kGameLatest);
  CopyToField(games_.games[0]->record.skin_name, L"skin_a");
  games_.games[0]->Bind();
  SelectGame(L"a");
  EXPECT_STREQ(L"skin_a", GetCurrentSkin());
  EXPECT_FALSE(TakeSkinChange());  // the broadcast took the change
  EXPECT_EQ(L"select a", view_.calls.back());

  Setting::GetInstance()->FixSkin = 1;
  SelectGame(L"missing");
  EXPECT_STREQ(L"skin_a", GetCurrentSkin());
  Setting::GetInstance()->FixSkin = 0;
  SelectGame(L"missing");
  EXPECT_STREQ(L"", GetCurrentSkin());
}

TEST_F(GameActionsTest, TheHomePageOpensOutsideThroughTheShell) {
  AddGame(L"a", kGameLatest);
  CopyToField(games_.games[0]->record.home_url, L"http://portal.example/a");
  games_.games[0]->Bind();
  OpenGameHomePage(L"a");
  OpenGameHomePage(L"missing");
  ASSERT_EQ(1u, shell_.opened.size());
  EXPECT_EQ(L"http://portal.example/a", shell_.opened[0]);
}

TEST_F(GameActionsTest, InstallHoldsItsButtonWhileStartingAndRefusesARunningInstallerOrAFullCapacity) {
  game_testing::LoadMessagesNamedByTheirKeys(
      messages_.path(),
      {L"installer_is_running", L"exceed_max_update_count", L"download_installer_from_web"});
  games_.games.push_back(std::make_unique<TestGame>(L"new", 1, 1, L""));
  TestGame& game = *games_.games.back();
  AddGameState()->game_id.Assign(L"new");
  view_.selected = L"new";
  GameMessageRecorder recorder;
  // Binding again makes the game kGameNotInstalled with the installer URL given.
  auto install = [&](const wchar_t* installer_url) {
    CopyToField(game.record.installer_url, installer_url);
    game.Bind();
    view_.button_calls.clear();
    recorder.messages.clear();
    InstallGame(L"new");
  };
  using Calls = std::vector<std::pair<int, int32_t>>;
  using Messages = std::vector<std::wstring>;
  // The URL names no file: the button is held while the install starts and given back, the game being still
  // not installed.
  install(L"http://127.0.0.1:9/");
  EXPECT_EQ((Calls{{kInstallButton, kButtonDisabled}, {kInstallButton, kButtonEnabled}}), view_.button_calls);
  EXPECT_EQ(Messages{L"download_installer_from_web"}, recorder.messages);
  EXPECT_EQ(kGameNotInstalled, game.game.GetState());
  // No server answers: the download fails (kGameError) and the button stays held.
  install(L"http://127.0.0.1:9/setup.exe");
  EXPECT_EQ((Calls{{kInstallButton, kButtonDisabled}}), view_.button_calls);
  EXPECT_TRUE(recorder.messages.empty());
  EXPECT_EQ(kGameError, game.game.GetState());
  {
    // That installer's file is open elsewhere (the installer runs): refused before anything else.
    UniqueHandle held(CreateFileW(game.game.installer_file(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(held);
    install(L"http://127.0.0.1:9/setup.exe");
    EXPECT_EQ(Messages{L"installer_is_running"}, recorder.messages);
    EXPECT_TRUE(view_.button_calls.empty());
    EXPECT_EQ(kGameNotInstalled, game.game.GetState());
  }
  // Two other games use the capacity.
  AddGame(L"busy1", kGameUpdating);
  AddGame(L"busy2", kGameInstallerDownloading);
  install(L"http://127.0.0.1:9/");
  EXPECT_EQ(Messages{L"exceed_max_update_count"}, recorder.messages);
  EXPECT_TRUE(view_.button_calls.empty());
  EXPECT_EQ(kGameNotInstalled, game.game.GetState());
}

TEST_F(GameActionsTest, AGameWhoseProgramRunsIsStartedAgainOnlyWhenTheQuestionIsAnsweredWithItsFirstButton) {
  game_testing::LoadMessagesNamedByTheirKeys(messages_.path(), {L"game_is_running"});
  FakeEngineLibrary library(2);
  TestGame& game = AddGame(L"a", kGameLatest);
  view_.selected = L"a";
  // The program (bin\game.exe of an engine-managed game) is open elsewhere: the game runs.
  std::wstring program = folder_.Join(L"bin\\game.exe");
  ASSERT_TRUE(testing_support::WriteFileBytes(program, "MZ"));
  UniqueHandle held(CreateFileW(program.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(held);
  struct Case {
    int answer;  // 0: not asked (another modal is open), 2: second button, 1: first button
    bool runs;
  } cases[] = {{0, false}, {2, false}, {1, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer);
    g_answer = c.answer;
    g_questions.clear();
    view_.buttons.clear();
    RunGame(L"a");
    EXPECT_EQ(std::vector<std::wstring>{L"game_is_running"}, g_questions);
    // A start of an engine-managed game updates it first: it leaves kGameLatest.
    EXPECT_EQ(c.runs, game.game.GetState() != kGameLatest);
    EXPECT_EQ(c.runs ? 1u : 0u, view_.buttons.count(kRunButton));
    if (c.runs) {
      EXPECT_EQ(kButtonDisabled, view_.buttons[kRunButton]);
    }
  }
}

}  // namespace

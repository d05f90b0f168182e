// A game's update through the scriptable engine library: binding by loader type, the parameters of a new
// engine, starting, stopping and full checks, and the events that the engine sends from its own thread while
// it holds its own lock.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <memory>
#include <thread>

#include "app/games/CDllLoader.h"
#include "app/games/GameHooks.h"
#include "app/session/SessionValues.h"
#include "app/texts/MessageTexts.h"
#include "base/TextFields.h"
#include "tests/app/games/GameTestSupport.h"
#include "tests/support/TempFolder.h"
#include "ui/base/VirtualFile.h"

namespace {

using game_testing::FakeEngineLibrary;
using game_testing::GameMessageRecorder;
using game_testing::Step;
using game_testing::TestGame;
using game_testing::WaitFor;
using game_testing::WriteInstalledVersion;
using testing_support::TempFolder;

class GameUpdateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    GetSessionValues() = SessionValues{};
    CopyToField(GetSessionValues().LUpdateAddr, L"update.example:27500/launcher");
  }
  void TearDown() override {
    for (auto& game : games_)
      game->game.ReleaseEngine();
    ReleaseDllLoaders();
    GetSessionValues() = SessionValues{};
  }
  // A game of `loader_type` installed at version 1 that needs catalogue version 2.
  TestGame& AddGame(int32_t loader_type = 2, const wchar_t* id = L"g1") {
    game_testing::WriteInstalledVersion(folder_.path(), id, 1);
    games_.push_back(std::make_unique<TestGame>(id, loader_type, 2, folder_.path()));
    return *games_.back();
  }
  int32_t State(size_t index = 0) { return games_[index]->game.GetState(); }
  // The application message table with "file_changed" = "Changed: %s".
  void LoadFileChangedText() {
    std::wstring ini = L"\uFEFF[MESSAGE]\r\nfile_changed=Changed: %s\r\n";
    ASSERT_TRUE(testing_support::WriteFileBytes(
        skin_.Join(L"data\\skin\\AppMessage.ini"),
        std::string(reinterpret_cast<const char*>(ini.data()), ini.size() * 2)));
    wchar_t previous_folder[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, previous_folder);
    SetCurrentDirectoryW(skin_.path().c_str());
    ASSERT_EQ(1, LoadAppMessages());
    SetCurrentDirectoryW(previous_folder);
  }

  TempFolder folder_{L"update"};
  TempFolder skin_{L"skin"};
  std::vector<std::unique_ptr<TestGame>> games_;
};

TEST_F(GameUpdateTest, EachLoaderTypeBindsItsLibraryAndFillsTheEngineParameters) {
  for (int32_t loader_type : {2, 3, 4}) {
    FakeEngineLibrary library(loader_type);
    TestGame& game = AddGame(loader_type);
    game.game.StartUpdate();
    EXPECT_EQ(kGameUpdating, game.game.GetState());
    FakeEngineCalls calls = library.Calls();
    EXPECT_EQ(1, calls.creates);
    EXPECT_EQ(1, calls.starts);
    EXPECT_EQ(1, calls.download_infos);
    const UpdaterParams& params = calls.last_params;
    EXPECT_EQ(0, params.reserved0);
    EXPECT_EQ(1, params.noSelfUpdate);
    EXPECT_EQ(&game.game, params.userValue);
    EXPECT_EQ(&GameInfo::OnEngineEvent, params.callback);
    EXPECT_STREQ(L"g1", params.productCode);
    EXPECT_STREQ(L"game", params.programFileName);
    EXPECT_STREQ(folder_.path().c_str(), params.installRoot);
    EXPECT_EQ(27500, params.patchServerPort);
    EXPECT_STREQ("", params.patchServerIp);
    EXPECT_STREQ("files.example:8080", params.downloadHost);
    EXPECT_STREQ("update.example", params.patchServerHost);
    EXPECT_EQ(2, params.catalogueVersion);
    game.game.ReleaseEngine();
    ReleaseDllLoaders();
    games_.clear();
  }
}

TEST_F(GameUpdateTest, ValuesThatDoNotFitTheEngineRecordAreRefusedNotCut) {
  FakeEngineLibrary library(2);
  TestGame& long_exe = AddGame();
  CopyToField(long_exe.record.exe_name, std::wstring(64, L'e').c_str());
  TestGame& long_host = AddGame();
  CopyToField(long_host.record.file_host, std::wstring(100, L'h').c_str());
  TestGame& foreign_host = AddGame();
  CopyToField(foreign_host.record.file_host, L"\u0444\u0430\u0439\u043b.example");
  for (auto& game : games_) {
    game->Bind();
    game->game.StartUpdate();
    EXPECT_EQ(kGameError, game->game.GetState());
    EXPECT_EQ(kGameErrorEngineUnavailable, game->game.GetError());
  }
  EXPECT_EQ(0, library.Calls().creates);
}

TEST_F(GameUpdateTest, StartUpdateActsOnlyInStateFive) {
  FakeEngineLibrary library(2);
  TestGame& game = AddGame();
  for (int32_t state : {-1, 0, 1, 2, 3, 4, 6}) {
    game.SetState(state);
    game.game.StartUpdate();
    EXPECT_EQ(state, game.game.GetState());
  }
  EXPECT_EQ(0, library.Calls().creates);
  game.SetState(kGameNeedsUpdate);
  game.game.StartUpdate();
  EXPECT_EQ(kGameUpdating, game.game.GetState());
}

TEST_F(GameUpdateTest, PartialBindingFailsWithoutCreateAndSkipsTheOtherMissingExports) {
  {
    FakeEngineLibrary library(2, L"engine-fakes\\without-create");
    TestGame& first = AddGame();
    TestGame& second = AddGame();
    first.game.StartUpdate();  // the binding stops at the missing create export
    EXPECT_EQ(kGameErrorEngineUnavailable, first.game.GetError());
    second.game.StartUpdate();  // loaded already: no create pointer
    EXPECT_EQ(kGameErrorEngineUnavailable, second.game.GetError());
    EXPECT_EQ(0, library.Calls().starts);
    games_.clear();
    ReleaseDllLoaders();
  }
  FakeEngineLibrary library(2, L"engine-fakes\\without-pause");
  FakeEngineScript script{};
  script.worker_step_count = 1;
  script.worker_steps[0] = Step(UpdateEventProgress, UpdateProgressFile, 0, 50);
  script.status.fileTotalBytes = 100;
  library.SetScript(script);
  TestGame& first = AddGame();
  TestGame& second = AddGame();
  first.game.StartUpdate();  // pause is missing: resume, full check and download info stay unbound
  EXPECT_EQ(kGameErrorEngineUnavailable, first.game.GetError());
  second.game.StartUpdate();
  EXPECT_EQ(kGameUpdating, second.game.GetState());
  ASSERT_TRUE(WaitFor([&] { return library.Calls().events_sent == 1; }));
  FakeEngineCalls calls = library.Calls();
  EXPECT_EQ(1, calls.creates);
  EXPECT_EQ(1, calls.starts);
  EXPECT_EQ(0, calls.download_infos);
  GameProgress progress{};
  second.game.GetProgress(&progress);
  EXPECT_EQ(0, progress.total_bytes);  // no status without the download-info export
  second.game.StopUpdate();
  EXPECT_EQ(1, library.Calls().stops);
  EXPECT_EQ(kGameNeedsUpdate, second.game.GetState());
  EXPECT_EQ(1, second.game.StartFullCheck());  // no full-check export: nothing would run
  EXPECT_EQ(kGameErrorEngineUnavailable, second.game.GetError());
}

TEST_F(GameUpdateTest, AStartThatFailsEndsInErrorTwentyOneAndDropsTheRunWish) {
  FakeEngineLibrary library(2);
  FakeEngineScript script{};
  script.start_result = UpdaterResultStartFailed;
  library.SetScript(script);
  TestGame& game = AddGame();
  WriteInstalledVersion(folder_.path(), L"g1", 2);
  game.Bind();
  ASSERT_EQ(kGameLatest, game.game.GetState());
  game.game.Run();
  EXPECT_EQ(kGameError, game.game.GetState());
  EXPECT_EQ(kGameErrorUnknown, game.game.GetError());
  EXPECT_FALSE(game.game.run_after_update());

  script.create_fails = 1;
  library.SetScript(script);
  game.game.ClearError();
  game.SetState(kGameNeedsUpdate);
  game.game.StartUpdate();
  EXPECT_EQ(kGameErrorEngineUnavailable, game.game.GetError());
}

TEST_F(GameUpdateTest, TheRunWishEndsWithAnEngineErrorOrABindFailure) {
  {
    FakeEngineLibrary library(2);
    FakeEngineScript script{};
    script.worker_step_count = 1;
    script.worker_steps[0] = Step(UpdateEventError, UpdateErrorConnectionLost);
    library.SetScript(script);
    TestGame& game = AddGame();
    WriteInstalledVersion(folder_.path(), L"g1", 2);
    game.Bind();
    game.game.Run();
    ASSERT_TRUE(WaitFor([&] { return game.game.GetState() == kGameError; }));
    EXPECT_EQ(10, game.game.GetError());
    EXPECT_FALSE(game.game.run_after_update());
    game.game.ReleaseEngine();
    ReleaseDllLoaders();
  }
  SetEngineLibraryFolder(folder_.path().c_str());  // holds no library
  TestGame& unbound = AddGame(3);
  WriteInstalledVersion(folder_.path(), L"g1", 2);
  unbound.Bind();
  unbound.game.Run();
  EXPECT_EQ(kGameErrorEngineUnavailable, unbound.game.GetError());
  EXPECT_FALSE(unbound.game.run_after_update());
  SetEngineLibraryFolder(nullptr);
}

TEST_F(GameUpdateTest, EventsSentDuringTheStartAreNotOverwrittenByUpdating) {
  FakeEngineLibrary library(2);
  FakeEngineScript script{};
  script.start_step_count = 1;
  script.start_steps[0] = Step(UpdateEventCompleted);
  library.SetScript(script);
  TestGame& completes = AddGame();
  completes.game.StartUpdate();
  EXPECT_EQ(kGameLatest, completes.game.GetState());

  script.start_steps[0] = Step(UpdateEventError, UpdateErrorDownload);
  library.SetScript(script);
  TestGame& fails = AddGame();
  fails.game.StartUpdate();
  EXPECT_EQ(kGameError, fails.game.GetState());
  EXPECT_EQ(16, fails.game.GetError());
}

TEST_F(GameUpdateTest, ProgressComesFromTheStatusTakenOnceAfterCreation) {
  FakeEngineLibrary library(2);
  FakeEngineScript script{};
  script.status.entryCount = 4;
  script.status.currentEntry = 3;
  script.status.fileTotalBytes = 5000000000ll;
  script.status.fileDoneBytes = 2500000000ll;
  script.status.unused0 = 2.9;
  script.status.unused1 = 7;
  script.status.unused2 = 8;
  FakeEngineStep steps[] = {
      Step(UpdateEventCurrentFile, 0, 0, 0, L"C:\\game\\data.pak"),
      Step(UpdateEventProgress, UpdateProgressFile, 0, 50),
      Step(UpdateEventProgress, UpdateProgressRun, UpdateProgressRunEntryDone, 1),
      Step(UpdateEventStatusChanged, 1),
      Step(FAKE_ENGINE_WAIT_FOR_RELEASE),
      Step(UpdateEventProgress, UpdateProgressRun, UpdateProgressRunFinished, 0),
      Step(FAKE_ENGINE_WAIT_FOR_RELEASE),
  };
  script.worker_step_count = sizeof(steps) / sizeof(steps[0]);
  std::copy(std::begin(steps), std::end(steps), script.worker_steps);
  library.SetScript(script);
  TestGame& game = AddGame();
  game.game.StartUpdate();
  ASSERT_TRUE(WaitFor([&] { return library.Calls().events_sent == 4; }));
  GameProgress progress{};
  game.game.GetProgress(&progress);
  EXPECT_STREQ(L"C:\\game\\data.pak", progress.current_file);
  EXPECT_EQ(5000000000ll, progress.total_bytes);
  EXPECT_EQ(2500000000ll, progress.done_bytes);
  EXPECT_EQ(7, progress.status_a);
  EXPECT_EQ(8, progress.status_b);
  EXPECT_EQ(2, progress.file_fraction);
  EXPECT_DOUBLE_EQ(0.75, progress.overall_fraction);
  EXPECT_EQ(1, progress.applying);

  library.Release();  // let the worker send the finish
  ASSERT_TRUE(WaitFor([&] { return library.Calls().events_sent == 5; }));
  game.game.GetProgress(&progress);
  EXPECT_DOUBLE_EQ(1.0, progress.overall_fraction);
  EXPECT_EQ(0, progress.status_b);
  EXPECT_EQ(7, progress.status_a);
  EXPECT_EQ(1, library.Calls().download_infos);

  // Outside "updating" the status is not read; an entry count of 0 counts as all done.
  UpdateProgress file{UpdateProgressFile, 0, 10};
  game.SetState(kGameNeedsUpdate);
  GameInfo::OnEngineEvent(&game.game, UpdateEventProgress, &file);
  game.game.GetProgress(&progress);
  EXPECT_EQ(0, progress.total_bytes);
  EXPECT_EQ(0, progress.status_a);
  UpdateProgress started{UpdateProgressRun, UpdateProgressRunEntryCount, 3};
  GameInfo::OnEngineEvent(&game.game, UpdateEventProgress, &started);
  game.game.GetProgress(&progress);
  EXPECT_DOUBLE_EQ(0.0, progress.overall_fraction);
  UpdateProgress done{UpdateProgressRun, UpdateProgressRunEntryDone, 1};
  GameInfo::OnEngineEvent(&game.game, UpdateEventProgress, &done);
  game.game.GetProgress(&progress);
  EXPECT_DOUBLE_EQ(1.0, progress.overall_fraction);
}

TEST_F(GameUpdateTest, StoppingWhileTheEngineSendsUnderItsLockDoesNotDeadlock) {
  FakeEngineLibrary library(2);
  FakeEngineScript script{};
  script.repeat_until_stopped = 1;
  script.worker_step_count = 2;
  script.worker_steps[0] = Step(UpdateEventProgress, UpdateProgressFile, 0, 1);
  script.worker_steps[1] = Step(UpdateEventCurrentFile, 0, 0, 0, L"file");
  library.SetScript(script);
  TestGame& game = AddGame();
  game.game.StartUpdate();
  for (int round = 0; round < 20; ++round) {
    ASSERT_TRUE(WaitFor([&] { return library.Calls().events_sent > 50 * (round + 1); }));
    std::atomic<bool> stopped{false};
    std::thread stopper([&] {
      game.game.StopUpdate();
      stopped = true;
    });
    bool finished = WaitFor([&] { return stopped.load(); }, 10000);
    if (!finished) {
      // The two threads hold each other's locks for good, and so would the clean-up: end here.
      std::fprintf(stderr, "StopUpdate deadlocked with the engine's event thread\n");
      std::fflush(stderr);
      TerminateProcess(GetCurrentProcess(), 3);
    }
    stopper.join();
    EXPECT_EQ(kGameNeedsUpdate, game.game.GetState());
    game.game.StartUpdate();  // a fresh engine; the stopped one is removed first
    ASSERT_EQ(kGameUpdating, game.game.GetState());
  }
  EXPECT_EQ(1, library.Calls().live_engines);
}

TEST_F(GameUpdateTest, StopKeepsTheEngineUntilTheNextStartAndDropsTheRunWish) {
  FakeEngineLibrary library(2);
  FakeEngineScript script{};
  script.worker_step_count = 1;
  script.worker_steps[0] = Step(FAKE_ENGINE_WAIT_FOR_RELEASE);
  library.SetScript(script);
  TestGame& game = AddGame();
  WriteInstalledVersion(folder_.path(), L"g1", 2);
  game.Bind();
  game.game.Run();
  ASSERT_EQ(kGameUpdating, game.game.GetState());
  EXPECT_TRUE(game.game.run_after_update());
  game.game.StopUpdate();
  EXPECT_EQ(kGameLatest, game.game.GetState());  // installed version 2 is the catalogue's
  EXPECT_FALSE(game.game.run_after_update());
  EXPECT_NE(nullptr, game.game.engine_handle());
  EXPECT_EQ(0, library.Calls().removes);
  game.game.StopUpdate();  // not updating: nothing
  EXPECT_EQ(1, library.Calls().stops);

  game.SetState(kGameUpdating);
  game.game.ReleaseEngine();
  FakeEngineCalls calls = library.Calls();
  EXPECT_EQ(2, calls.stops);
  EXPECT_EQ(1, calls.removes);
  EXPECT_EQ(0, calls.live_engines);
  game.game.StopUpdate();  // updating without an engine: the error state, error number unchanged
  EXPECT_EQ(kGameError, game.game.GetState());
}

TEST_F(GameUpdateTest, FullCheckRunsInAnyStateAndNeedsAnEngine) {
  FakeEngineLibrary library(2);
  TestGame& plain = AddGame(0, L"plain");
  plain.SetState(kGameNeedsUpdate);
  EXPECT_EQ(0, plain.game.StartFullCheck());
  EXPECT_EQ(kGameLatest, plain.game.GetState());
  EXPECT_FALSE(GetDllLoader(2)->IsLoaded());

  TestGame& game = AddGame(2);
  game.SetState(kGameLatest);
  EXPECT_EQ(1, game.game.StartFullCheck());
  EXPECT_EQ(kGameUpdating, game.game.GetState());
  EXPECT_EQ(1, game.game.StartFullCheck());  // again, over the running check
  FakeEngineCalls calls = library.Calls();
  EXPECT_EQ(2, calls.full_checks);
  EXPECT_EQ(0, calls.starts);
  EXPECT_EQ(1, calls.removes);
}

TEST_F(GameUpdateTest, ChangedFilesAreShownAfterTheStartOutsideTheGameLock) {
  FakeEngineLibrary library(2);
  FakeEngineScript script{};
  script.start_step_count = 2;
  script.start_steps[0] = Step(UpdateEventFileMismatch, 0, 0, 0, L"data\\maps\\a.map");
  script.start_steps[1] = Step(UpdateEventFileMismatch, 0, 0, 0, L"b.dat");
  library.SetScript(script);
  TestGame& game = AddGame();
  ASSERT_NO_FATAL_FAILURE(LoadFileChangedText());
  GameMessageRecorder recorder([&](const wchar_t*) {
    // Another thread must be able to take the game's lock while the message is up.
    std::atomic<bool> taken{false};
    std::thread reader([&] {
      GameProgress progress;
      game.game.GetProgress(&progress);
      taken = true;
    });
    if (!WaitFor([&] { return taken.load(); }, 3000)) {
      std::fprintf(stderr, "a message was shown while the game's lock was held\n");
      std::fflush(stderr);
      TerminateProcess(GetCurrentProcess(), 3);
    }
    reader.join();
  });
  game.game.StartUpdate();
  ASSERT_EQ(2u, recorder.messages.size());
  EXPECT_EQ(L"Changed: data/maps/a.map", recorder.messages[0]);
  EXPECT_EQ(L"Changed: b.dat", recorder.messages[1]);
  EXPECT_EQ(kGameUpdating, game.game.GetState());
  ReleaseAppMessages();
  ReleaseAllVirtualFiles();
}

TEST_F(GameUpdateTest, ChangedFilesRefusedWhileAnotherDialogIsOpenStayPendingInOrderAndAreShownOnce) {
  FakeEngineLibrary library(2);
  FakeEngineScript script{};
  script.start_step_count = 3;
  script.start_steps[0] = Step(UpdateEventFileMismatch, 0, 0, 0, L"a.pak");
  script.start_steps[1] = Step(UpdateEventFileMismatch, 0, 0, 0, L"b.pak");
  script.start_steps[2] = Step(UpdateEventFileMismatch, 0, 0, 0, L"c.pak");
  library.SetScript(script);
  TestGame& game = AddGame();
  ASSERT_NO_FATAL_FAILURE(LoadFileChangedText());
  // A question opens while the first message is up and stays open: the guard refuses the others.
  GameMessageRecorder recorder(
      [&recorder](const wchar_t*) { recorder.refusing = recorder.messages.size() == 1; });
  game.game.StartUpdate();
  EXPECT_EQ(std::vector<std::wstring>{L"Changed: a.pak"}, recorder.messages);

  // The engine finds one more meanwhile; while the guard is held nothing is shown and nothing lost.
  FileRecord record{};
  CopyToField(record.name, L"d\\e.pak");
  EXPECT_EQ(0, GameInfo::OnEngineEvent(&game.game, UpdateEventFileMismatch, &record));
  game.game.ShowPendingFileMessages();
  EXPECT_EQ(1u, recorder.messages.size());

  recorder.refusing = false;
  game.game.ShowPendingFileMessages();
  game.game.ShowPendingFileMessages();
  const std::vector<std::wstring> expected = {L"Changed: a.pak", L"Changed: b.pak", L"Changed: c.pak",
                                              L"Changed: d/e.pak"};
  EXPECT_EQ(expected, recorder.messages);
  ReleaseAppMessages();
  ReleaseAllVirtualFiles();
}

}  // namespace

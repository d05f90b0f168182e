// Starting a game: program path and command line by loader type, the environment the game inherits, a real
// start of the stand-in game program, the browser-ending list and the in-use test.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>

#include "app/games/CDllLoader.h"
#include "app/games/CIEKillerForGame.h"
#include "app/games/GameHooks.h"
#include "app/games/GameStart.h"
#include "app/session/GameArgs.h"
#include "app/session/SessionValues.h"
#include "base/TextFields.h"
#include "tests/app/games/GameTestSupport.h"
#include "tests/support/TempFolder.h"
#include "tests/support/WinePaths.h"
#include "ui/base/VirtualFile.h"

namespace {

using game_testing::FakeEngineLibrary;
using game_testing::Step;
using game_testing::TestGame;
using game_testing::TestProgramFolder;
using game_testing::WaitFor;
using testing_support::TempFolder;

const wchar_t kTail[] = L"/SessKey:\"k\"";

TEST(GameCommandLine, DependsOnTheLoaderTypeAndTheShortcutArgs) {
  GameStartValues values{0, L"C:\\G", L"game", L"bin\\game.exe", L"-w", L"1.2.3.4:5", L"g1", L"repo"};
  const std::wstring tail_and_values =
      std::wstring(kTail) +
      L" /ServerAddr:\"1.2.3.4:5\" /StartGameID:\"g1\" /RepositorySub:\"repo\" /GamePath:\"C:\\G\"";
  struct Case {
    int32_t loader;
    const wchar_t* args;
    std::wstring line;
  } cases[] = {
      {2, L"-w", L"\"P\" -w"},
      {4, L"0", L"\"P\""},
      {2, L"", L"\"P\""},
      {4, nullptr, L"\"P\""},
      {0, L"-w", L"\"P\" -w " + tail_and_values},
      {1, L"0", L"\"P\" " + tail_and_values},
      {3, L"", L"\"P\" " + tail_and_values},
  };
  for (const Case& c : cases) {
    values.loader_type = c.loader;
    values.shortcut_args = c.args;
    EXPECT_EQ(c.line, GameCommandLine(values, L"P", kTail)) << c.loader;
  }
  // A value can never close its quotes early.
  GameStartValues hostile{0, L"C:\\", L"game", L"", L"", L"a\" /Evil:\"1", L"g1", L"dir\\"};
  EXPECT_EQ(
      L"\"P\" t /ServerAddr:\"a /Evil:1\" /StartGameID:\"g1\" /RepositorySub:\"dir\\\\\" "
      L"/GamePath:\"C:\\\\\"",
      GameCommandLine(hostile, L"P", L"t"));
}

TEST(GameProgramPath, StaysInsideTheGameFolder) {
  const std::wstring too_long(260, L'x');
  struct Case {
    int32_t loader;
    const wchar_t* exe_name;
    const wchar_t* relative;
    const wchar_t* path;  // null: refused
  } cases[] = {
      {0, L"game", L"..\\x.exe", L"C:\\G\\game.exe"},
      {1, L"..", L"bin\\game.exe", L"C:\\G\\bin\\game.exe"},
      {4, L"game", L"bin/game.exe", L"C:\\G\\bin/game.exe"},
      {0, L"..\\game", L"", nullptr},
      {0, L"", L"", nullptr},
      {2, L"game", L"..\\x.exe", nullptr},
      {2, L"game", L"bin\\..\\..\\x.exe", nullptr},
      {2, L"game", L"\\x.exe", nullptr},
      {2, L"game", L"/x.exe", nullptr},
      {2, L"game", L"C:\\x.exe", nullptr},
      {2, L"game", L"bin\\\\x.exe", nullptr},
      {2, L"game", L"", nullptr},
      {2, L"game", too_long.c_str(), nullptr},
  };
  for (const Case& c : cases) {
    GameStartValues values{c.loader, L"C:\\G", c.exe_name, c.relative, L"", L"", L"g1", L""};
    wchar_t path[MAX_PATH] = L"left over";
    EXPECT_EQ(c.path != nullptr, GameProgramPath(values, path, MAX_PATH)) << c.relative;
    EXPECT_STREQ(c.path != nullptr ? c.path : L"", path);
  }
  GameStartValues no_folder{0, nullptr, L"game", L"", L"", L"", L"g1", L""};
  wchar_t path[MAX_PATH];
  EXPECT_FALSE(GameProgramPath(no_folder, path, MAX_PATH));
}

class GameStartTest : public ::testing::Test {
 protected:
  void SetUp() override {
    GetSessionValues() = SessionValues{};
    SessionValues& session = GetSessionValues();
    CopyToField(session.SessKey, L"key");
    CopyToField(session.MacAddr, L"00-11");
    CopyToField(session.ChannelGroupIndex, L"-1");
    BuildGameArgs();
    SetEnvironmentVariableW(L"ORVANE_FAKE_GAME_RECORD", record_.c_str());
    TakeLauncherCloseRequest();
  }
  void TearDown() override {
    for (auto& game : games_)
      game->game.ReleaseEngine();
    ReleaseDllLoaders();
    SetEnvironmentVariableW(L"ORVANE_FAKE_GAME_RECORD", nullptr);
    GetSessionValues() = SessionValues{};
    BuildGameArgs();
    CIEKillerForGame::GetInstance().LoadFrom(L"");
    ReleaseAllVirtualFiles();
  }
  // A game whose program is the stand-in game, installed and up to date.
  TestGame& AddGame(int32_t loader_type, const wchar_t* id = L"g1") {
    games_.push_back(std::make_unique<TestGame>(id, loader_type, 1, folder_.path()));
    TestGame& game = *games_.back();
    CopyToField(game.record.server_addr, L"10.0.0.1:7000");
    CopyToField(game.record.shortcut_args, L"-window");
    CopyToField(game.record.repository_sub, L"repo");
    game_testing::WriteInstalledVersion(folder_.path(), id, 1);
    std::wstring program = folder_.Join(loader_type == 0 ? L"game.exe" : L"bin\\game.exe");
    testing_support::MakeFolders(folder_.Join(L"bin"));
    // The games of one test share the program file, which an earlier game's process may still be running.
    if (!testing_support::FileExists(program)) {
      EXPECT_TRUE(
          CopyFileW((TestProgramFolder() + L"\\orvane_fake_game.exe").c_str(), program.c_str(), TRUE));
    }
    game.Bind();
    return game;
  }
  // What the stand-in game recorded, key -> value; empty when it did not run within the time-out.
  std::map<std::wstring, std::wstring> Recorded(unsigned timeout_ms = 10000) {
    std::map<std::wstring, std::wstring> values;
    std::string bytes;
    if (!WaitFor([&] { return testing_support::ReadFileBytes(record_, &bytes); }, timeout_ms))
      return values;
    DeleteFileW(record_.c_str());
    std::wistringstream lines(testing_support::Utf8ToWide(bytes));
    for (std::wstring line; std::getline(lines, line);)
      values[line.substr(0, line.find(L'='))] = line.substr(line.find(L'=') + 1);
    return values;
  }

  TempFolder folder_{L"start"};
  TempFolder records_{L"record"};
  std::wstring record_ = records_.Join(L"record.txt");
  std::vector<std::unique_ptr<TestGame>> games_;
};

TEST_F(GameStartTest, StartsThePlainGameWithItsCommandLineEnvironmentAndFolder) {
  TestGame& game = AddGame(0);
  game.game.Run();
  auto recorded = Recorded();
  ASSERT_FALSE(recorded.empty());
  const std::wstring folder = folder_.path();
  EXPECT_EQ(L"\"" + folder + L"\\game.exe\" -window " + GetGameArgsTail() +
                L" /ServerAddr:\"10.0.0.1:7000\" /StartGameID:\"g1\" /RepositorySub:\"repo\" /GamePath:\"" +
                folder + L"\"",
            recorded[L"command_line"]);
  EXPECT_EQ(folder, recorded[L"current_folder"]);
  EXPECT_EQ(L"10.0.0.1:7000", recorded[L"ServerAddr"]);
  EXPECT_EQ(L"-window", recorded[L"ShortcutArgs"]);
  EXPECT_EQ(L"g1", recorded[L"StartGameID"]);
  EXPECT_EQ(L"repo", recorded[L"RepositorySub"]);
  EXPECT_EQ(folder, recorded[L"GamePath"]);
  EXPECT_EQ(kGameLatest, game.game.GetState());
  EXPECT_EQ(1, game.game.launched());
  EXPECT_TRUE(TakeLauncherCloseRequest());
}

TEST_F(GameStartTest, EngineManagedGamesStartTheirRelativeProgramWithTheirOwnLine) {
  for (int32_t loader : {1, 2, 3, 4}) {
    TestGame& game = AddGame(loader);
    game.game.Launch();
    auto recorded = Recorded();
    ASSERT_FALSE(recorded.empty()) << loader;
    std::wstring program = L"\"" + folder_.path() + L"\\bin\\game.exe\" -window";
    if (loader == 2 || loader == 4)
      EXPECT_EQ(program, recorded[L"command_line"]);
    else
      EXPECT_EQ(0u, recorded[L"command_line"].find(program + L" " + GetGameArgsTail() + L" /ServerAddr:"));
  }
}

TEST_F(GameStartTest, EngineManagedGameStartsOnlyAfterItsUpdateCompletes) {
  FakeEngineLibrary library(2);
  FakeEngineScript script{};
  script.worker_step_count = 2;
  script.worker_steps[0] = Step(FAKE_ENGINE_WAIT_FOR_RELEASE);
  script.worker_steps[1] = Step(UpdateEventCompleted);
  library.SetScript(script);
  TestGame& game = AddGame(2);
  for (int32_t state : {kGameNeedsUpdate, kGameUpdating, kGameError, kGameBlocked}) {
    game.SetState(state);
    game.game.Run();  // only a game in kGameLatest runs
    EXPECT_EQ(state, game.game.GetState());
  }
  EXPECT_EQ(0, library.Calls().creates);
  game.SetState(kGameLatest);
  game.game.Run();
  EXPECT_EQ(kGameUpdating, game.game.GetState());
  EXPECT_TRUE(Recorded(500).empty());
  EXPECT_FALSE(TakeLauncherCloseRequest());
  library.Release();
  EXPECT_FALSE(Recorded().empty());
  EXPECT_EQ(kGameLatest, game.game.GetState());
  EXPECT_FALSE(game.game.run_after_update());
  EXPECT_TRUE(TakeLauncherCloseRequest());
}

TEST_F(GameStartTest, AProgramThatCannotStartLeavesNoCloseRequest) {
  TestGame& game = AddGame(0);
  DeleteFileW(folder_.Join(L"game.exe").c_str());
  game.game.Run();
  EXPECT_EQ(kGameLatest, game.game.GetState());
  EXPECT_EQ(0, game.game.launched());
  EXPECT_FALSE(TakeLauncherCloseRequest());
}

// Writes a KILL.ini of UTF-16 `text`, with or without the byte-order mark, and loads it.
int LoadKillList(const TempFolder& folder, const std::wstring& text, bool mark = true) {
  std::wstring content = (mark ? L"\uFEFF" : L"") + text;
  std::wstring path = folder.Join(L"KILL.ini");
  ReleaseAllVirtualFiles();
  EXPECT_TRUE(testing_support::WriteFileBytes(
      path, std::string(reinterpret_cast<const char*>(content.data()), content.size() * 2)));
  return CIEKillerForGame::GetInstance().LoadFrom(path.c_str());
}

TEST_F(GameStartTest, KillListNeedsItsMarkItsCountAndEveryEntry) {
  const std::wstring two =
      L"[KILL_IE_GAME_ID]\r\ncount=2\r\n[KILL_IE_GAME_ID_0]\r\ngame_id=g1\r\n"
      L"[KILL_IE_GAME_ID_1]\r\ngame_id=g2\r\n";
  CIEKillerForGame& list = CIEKillerForGame::GetInstance();
  ASSERT_EQ(1, LoadKillList(folder_, two));
  EXPECT_EQ(2, list.count());
  EXPECT_TRUE(list.Contains(L"g2"));
  EXPECT_FALSE(list.Contains(L"G2"));
  struct Case {
    std::wstring text;
    bool mark;
  } failures[] = {
      {two, false},
      {L"[KILL_IE_GAME_ID]\r\ncount=0\r\n", true},
      {L"[KILL_IE_GAME_ID]\r\n", true},
      {L"[KILL_IE_GAME_ID]\r\ncount=3\r\n[KILL_IE_GAME_ID_0]\r\ngame_id=g1\r\n", true},
      {L"[KILL_IE_GAME_ID]\r\ncount=2000000000\r\n[KILL_IE_GAME_ID_0]\r\ngame_id=g1\r\n", true},
  };
  for (const Case& c : failures) {
    EXPECT_EQ(0, LoadKillList(folder_, c.text, c.mark));
    EXPECT_EQ(0, list.count());
    EXPECT_FALSE(list.Contains(L"g1"));
  }
  EXPECT_EQ(0, CIEKillerForGame::GetInstance().LoadFrom(folder_.Join(L"missing.ini").c_str()));
}

TEST_F(GameStartTest, TheCallingBrowserEndsOnlyForListedGamesAndNeverTheLauncher) {
  ASSERT_EQ(1,
            LoadKillList(folder_, L"[KILL_IE_GAME_ID]\r\ncount=1\r\n[KILL_IE_GAME_ID_0]\r\ngame_id=g1\r\n"));
  // The launcher's own window: the game starts and this process lives on.
  HWND own = CreateWindowExW(0, L"STATIC", L"own", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(nullptr, own);
  GetSessionValues().Handle = static_cast<int32_t>(reinterpret_cast<uintptr_t>(own));
  TestGame& listed = AddGame(0, L"g1");
  listed.game.Run();
  EXPECT_FALSE(Recorded().empty());
  DestroyWindow(own);

  for (const wchar_t* id : {L"g2", L"g1"}) {
    std::wstring handle_file = records_.Join(L"browser.txt");
    std::wstring line =
        L"\"" + TestProgramFolder() + L"\\orvane_fake_game.exe\" --browser-window \"" + handle_file + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION browser{};
    ASSERT_TRUE(
        CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &browser));
    CloseHandle(browser.hThread);
    std::string handle_text;
    ASSERT_TRUE(WaitFor([&] { return testing_support::ReadFileBytes(handle_file, &handle_text); }, 10000));
    DeleteFileW(handle_file.c_str());
    GetSessionValues().Handle = static_cast<int32_t>(std::stoul(handle_text));
    TestGame& game = AddGame(0, id);
    game.game.Run();
    EXPECT_FALSE(Recorded().empty());
    DWORD exit_code = 0;
    bool ended = WaitForSingleObject(browser.hProcess, 5000) == WAIT_OBJECT_0;
    GetExitCodeProcess(browser.hProcess, &exit_code);
    if (std::wstring(id) == L"g1") {
      EXPECT_TRUE(ended);
      EXPECT_EQ(0xFFFFFFFFu, exit_code);
    } else {
      EXPECT_FALSE(ended);
      TerminateProcess(browser.hProcess, 0);
    }
    CloseHandle(browser.hProcess);
  }
}

TEST(IsFileInUse, AbsentFreeAndHeldFiles) {
  TempFolder folder(L"inuse");
  std::wstring path = folder.Join(L"game.exe");
  EXPECT_FALSE(IsFileInUse(path.c_str()));
  ASSERT_TRUE(testing_support::WriteFileBytes(path, "MZ"));
  EXPECT_FALSE(IsFileInUse(path.c_str()));
  EXPECT_FALSE(IsFileInUseIn(folder.path().c_str(), L"game.exe"));
  HANDLE held = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, held);
  EXPECT_TRUE(IsFileInUse(path.c_str()));
  EXPECT_TRUE(IsFileInUseIn(folder.path().c_str(), L"game.exe"));
  CloseHandle(held);
  EXPECT_FALSE(IsFileInUse(path.c_str()));
  EXPECT_FALSE(IsFileInUseIn(folder.path().c_str(), std::wstring(300, L'x').c_str()));
}

}  // namespace

// The icon store and its files against the HTTP fixture: what is fetched when (read from the fixture's request
// log), the loader thread's queue and statuses, a stop during a stalled download, and the game-state mirror.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/games/GameIcon.h"
#include "app/games/GameStateMirror.h"
#include "app/games/IconFile.h"
#include "base/ScopedHandle.h"
#include "base/TextFields.h"
#include "tests/app/games/GameTestSupport.h"
#include "tests/support/FixtureServer.h"
#include "tests/support/TempFolder.h"
#include "tests/support/WinePaths.h"

namespace {

using game_testing::TestGame;
using game_testing::WaitFor;
using testing_support::FileExists;
using testing_support::FixtureServer;
using testing_support::ReadFileBytes;
using testing_support::TempFolder;
using testing_support::WriteFileBytes;

class IconTest : public testing::Test {
 protected:
  void SetUp() override {
    GetCurrentDirectoryW(MAX_PATH, previous_folder_);
    ASSERT_TRUE(SetCurrentDirectoryW(launcher_.path().c_str()));
  }
  void TearDown() override {
    StopIconLoader();
    SetIconGameLookup(nullptr);
    SetCurrentDirectoryW(previous_folder_);
  }
  void StartServer(const std::string& script = "") {
    std::vector<std::string> arguments = {"--root", testing_support::UnixPathOf(root_.path())};
    if (!script.empty()) {
      ASSERT_TRUE(WriteFileBytes(http_.folder().Join(L"script.json"), script));
      arguments.push_back("--script");
      arguments.push_back(http_.UnixPath(L"script.json"));
    }
    ASSERT_TRUE(http_.Start("http_server.py", arguments)) << http_.log();
  }
  // The server re-reads its script when the file's time or size changes: the new script is written with a
  // time one second after the old one's, however quickly it follows.
  void ReplaceScript(const std::string& script) {
    std::wstring path = http_.folder().Join(L"script.json");
    WIN32_FILE_ATTRIBUTE_DATA old_script = {};
    ASSERT_TRUE(GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &old_script));
    ASSERT_TRUE(WriteFileBytes(path, script));
    ULARGE_INTEGER time = {
        {old_script.ftLastWriteTime.dwLowDateTime, old_script.ftLastWriteTime.dwHighDateTime}};
    time.QuadPart += 10000000;  // one second in 100-nanosecond units
    const FILETIME later = {time.LowPart, time.HighPart};
    UniqueHandle file(
        CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(file.valid() && SetFileTime(file.get(), nullptr, nullptr, &later));
  }
  void Serve(const std::wstring& relative, const std::string& bytes) {
    ASSERT_TRUE(WriteFileBytes(root_.Join(relative), bytes));
  }
  std::wstring Base(const std::string& game) {
    return testing_support::Utf8ToWide("http://" + http_.endpoint() + "/" + game);
  }
  std::wstring Url(const std::string& game, const std::string& file) {
    return Base(game) + L"/" + testing_support::Utf8ToWide(file);
  }
  int GetCount(const std::string& path) {
    std::string log;
    ReadFileBytes(http_.folder().Join(L"requests.log"), &log);
    int count = 0;
    std::string line = "GET\t" + path + "\t";
    for (size_t at = log.find(line); at != std::string::npos; at = log.find(line, at + 1))
      ++count;
    return count;
  }
  std::string Local(const std::wstring& relative) {
    std::string bytes;
    ReadFileBytes(launcher_.Join(L"icons\\" + relative), &bytes);
    return bytes;
  }

  TempFolder launcher_{L"icons-launcher"};
  TempFolder root_{L"icons-root"};
  FixtureServer http_;
  wchar_t previous_folder_[MAX_PATH] = {};
};

TEST_F(IconTest, FetchesOncePerVersionAndAgainWhenChangedOrDeleted) {
  Serve(L"g1\\sicon.png", "first");
  StartServer();
  wchar_t path[260] = {};
  std::wstring url = Url("g1", "sicon.png");

  ASSERT_EQ(kIconFetchReady, FetchIconFile(L"g1", url.c_str(), 1, path));
  EXPECT_EQ(launcher_.Join(L"icons\\g1\\sicon.png"), path);
  EXPECT_EQ("first", Local(L"g1\\sicon.png"));
  EXPECT_EQ(1u, GetPrivateProfileIntW(L"icon_version", L"sicon.png", 0,
                                      launcher_.Join(L"icons\\g1\\icon_version.ini").c_str()));
  EXPECT_EQ(1, GetCount("/g1/sicon.png"));

  // The same version: no request.
  ASSERT_EQ(kIconFetchReady, FetchIconFile(L"g1", url.c_str(), 1, path));
  EXPECT_EQ(1, GetCount("/g1/sicon.png"));

  // A changed version: new bytes at the same URL, never the cached copy.
  Serve(L"g1\\sicon.png", "second");
  ASSERT_EQ(kIconFetchReady, FetchIconFile(L"g1", url.c_str(), 2, path));
  EXPECT_EQ(2, GetCount("/g1/sicon.png"));
  EXPECT_EQ("second", Local(L"g1\\sicon.png"));
  EXPECT_EQ(2u, GetPrivateProfileIntW(L"icon_version", L"sicon.png", 0,
                                      launcher_.Join(L"icons\\g1\\icon_version.ini").c_str()));

  // A recorded version whose file is gone.
  ASSERT_TRUE(DeleteFileW(path));
  ASSERT_EQ(kIconFetchReady, FetchIconFile(L"g1", url.c_str(), 2, path));
  EXPECT_EQ(3, GetCount("/g1/sicon.png"));
  EXPECT_EQ("second", Local(L"g1\\sicon.png"));

  // A damaged version file reads as no version: fetched again, and recorded again.
  ASSERT_TRUE(WriteFileBytes(launcher_.Join(L"icons\\g1\\icon_version.ini"), "\xff\xfe[icon_vers\x00\x01=="));
  ASSERT_EQ(kIconFetchReady, FetchIconFile(L"g1", url.c_str(), 2, path));
  EXPECT_EQ(4, GetCount("/g1/sicon.png"));
}

TEST_F(IconTest, AFailedDownloadIsAFailureAndRecordsNoVersion) {
  StartServer();
  wchar_t path[260] = L"untouched";
  std::wstring url = Url("g2", "missing.png");
  EXPECT_EQ(kIconFetchFailed, FetchIconFile(L"g2", url.c_str(), 1, path));
  EXPECT_STREQ(L"untouched", path);
  EXPECT_FALSE(FileExists(launcher_.Join(L"icons\\g2\\missing.png")));
  EXPECT_EQ(0u, GetPrivateProfileIntW(L"icon_version", L"missing.png", 0,
                                      launcher_.Join(L"icons\\g2\\icon_version.ini").c_str()));
}

TEST_F(IconTest, AFailedRefetchKeepsThePreviousIconAndItsVersion) {
  Serve(L"g3\\icon.png", "kept");
  StartServer("{}");
  wchar_t path[260] = {};
  std::wstring url = Url("g3", "icon.png");
  ASSERT_EQ(kIconFetchReady, FetchIconFile(L"g3", url.c_str(), 1, path));
  // The server now answers with an error page, then with a body cut short.
  for (const char* script : {R"({"/g3/icon.png": {"status": 500, "body": "broken"}})",
                             R"({"/g3/icon.png": {"content_length": 5000}})"}) {
    ASSERT_NO_FATAL_FAILURE(ReplaceScript(script));
    EXPECT_EQ(kIconFetchFailed, FetchIconFile(L"g3", url.c_str(), 2, path)) << script;
    EXPECT_EQ("kept", Local(L"g3\\icon.png")) << script;
    EXPECT_EQ(1u, GetPrivateProfileIntW(L"icon_version", L"icon.png", 0,
                                        launcher_.Join(L"icons\\g3\\icon_version.ini").c_str()));
    EXPECT_FALSE(FileExists(launcher_.Join(L"icons\\g3\\icon.png.part")));
  }
}

TEST_F(IconTest, ASilentServerIsGivenUpAfterTheReceiveTimeOut) {
  StartServer(R"({"/g4/icon.png": {"delay_before": 60}})");
  SetIconReceiveTimeout(1000);
  wchar_t path[260] = {};
  std::wstring url = Url("g4", "icon.png");
  DWORD start = GetTickCount();
  EXPECT_EQ(kIconFetchFailed, FetchIconFile(L"g4", url.c_str(), 1, path));
  DWORD took = GetTickCount() - start;
  SetIconReceiveTimeout(0);
  EXPECT_GE(took, 900u);
  EXPECT_LE(took, 10000u);
  EXPECT_FALSE(FileExists(launcher_.Join(L"icons\\g4\\icon.png")));
}

TEST(IconFetch, RefusesBadInputWithoutTouchingAnyFile) {
  TempFolder launcher(L"icons-bad");
  wchar_t previous[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, previous);
  ASSERT_TRUE(SetCurrentDirectoryW(launcher.path().c_str()));
  std::wstring long_url = L"http://127.0.0.1/" + std::wstring(kMaxIconUrlUnits, L'a') + L"/i.png";
  struct Case {
    const wchar_t* id;
    const wchar_t* url;
    int32_t version;
  } cases[] = {
      {nullptr, L"http://127.0.0.1/g/i.png", 1},
      {L"", L"http://127.0.0.1/g/i.png", 1},
      {L"..", L"http://127.0.0.1/g/i.png", 1},
      {L"a\\..\\..\\x", L"http://127.0.0.1/g/i.png", 1},
      {L"a/b", L"http://127.0.0.1/g/i.png", 1},
      {L"c:", L"http://127.0.0.1/g/i.png", 1},
      {L"g", nullptr, 1},
      {L"g", L"", 1},
      {L"g", L"http://127.0.0.1/g/i.png", 0},
      {L"g", L"http://127.0.0.1/g/", 1},
      {L"g", L"no-slash", 1},
      {L"g", L"http://127.0.0.1/g/..", 1},
      {L"g", L"http://127.0.0.1/g/a\\..\\b", 1},
      {L"g", long_url.c_str(), 1},
  };
  for (const Case& c : cases) {
    wchar_t path[260] = {};
    EXPECT_EQ(kIconFetchFailed, FetchIconFile(c.id, c.url, c.version, path)) << (c.id ? c.id : L"(null)");
  }
  wchar_t path[260];
  EXPECT_EQ(kIconFetchFailed, FetchIconFile(L"g", L"http://127.0.0.1/g/i.png", 1, nullptr));
  EXPECT_EQ(kIconFetchFailed, FetchIconFile(L"g", L"http://127.0.0.1/g/i.png", 0, path));
  SetCurrentDirectoryW(previous);
  // Nothing was made: not beside the launcher's folder, and no icons folder for the refused ids.
  EXPECT_FALSE(FileExists(launcher.Join(L"icons\\..")) && FileExists(launcher.Join(L"x")));
  EXPECT_FALSE(FileExists(launcher.Join(L"icons\\a")));
  EXPECT_FALSE(FileExists(launcher.Join(L"icons\\c:")));
}

TEST(IconFetch, ReadsTheAnnouncedLength) {
  struct Case {
    const wchar_t* headers;
    int64_t length;
  } cases[] = {
      {L"HTTP/1.1 200 OK\r\nContent-Length: 5000\r\n\r\n", 5000},
      {L"HTTP/1.1 200 OK\r\ncontent-length:12\r\n", 12},
      {L"HTTP/1.1 200 OK\r\nX-Content-Length: 7\r\n", -1},
      {L"HTTP/1.1 200 OK\r\nContent-Length: x\r\n", -1},
      {L"HTTP/1.1 200 OK\r\nContent-Length: 99999999999999999999\r\n", -1},
      {L"", -1},
      {nullptr, -1},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.length, ContentLengthOf(c.headers))
        << (c.headers ? testing_support::WideToUtf8(c.headers) : "");
}

TEST(CreateFolderChain, SucceedsOnlyWhenTheFolderExistsAfterwards) {
  TempFolder root(L"folder-chain");
  ASSERT_TRUE(WriteFileBytes(root.Join(L"file"), "x"));
  struct Case {
    std::wstring path;
    bool made;
  } cases[] = {
      {root.Join(L"a\\b\\c"), true},   // every level new
      {root.Join(L"a\\b\\c"), true},   // already there
      {root.Join(L"a\\b2"), true},     // one new level under existing ones
      {root.Join(L"file"), false},     // a file stands where the folder should be
      {root.Join(L"file\\x"), false},  // and above it
      {L"", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.made, CreateFolderChain(c.path.c_str())) << testing_support::WideToUtf8(c.path);
    if (c.made) {
      DWORD attributes = GetFileAttributesW(c.path.c_str());
      EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY));
    }
  }
  EXPECT_FALSE(CreateFolderChain(nullptr));
}

// The loader's games: two with icons on the fixture, found through the lookup seam.
TestGame* g_games[2] = {};
IGameInfo* LookUpTestGame(const wchar_t* game_id) {
  for (TestGame* game : g_games) {
    if (game != nullptr && std::wstring(game_id) == game->game.GetGameID())
      return &game->game;
  }
  return nullptr;
}

void GiveIcons(TestGame* game, const std::wstring& base, int32_t version) {
  CopyToField(game->record.icon_url_base, base.c_str());
  game->record.icon_version = version;
  game->Bind();
}

TEST_F(IconTest, LoaderQueuesAnIdOnFirstAskAndReportsThePathLater) {
  Serve(L"g1\\sicon.png", "small");
  Serve(L"g1\\icon.png", "large");
  StartServer();
  TestGame game(L"g1", 0, 1, L"");
  TestGame no_icons(L"g0", 0, 1, L"");
  GiveIcons(&game, Base("g1"), 7);
  g_games[0] = &game;
  g_games[1] = &no_icons;
  SetIconGameLookup(&LookUpTestGame);

  wchar_t path[260] = {};
  EXPECT_EQ(kIconFailed, FindGameIcon(L"g1", 0, path));  // not running
  ASSERT_EQ(1, StartIconLoader());
  EXPECT_EQ(0, StartIconLoader());
  EXPECT_EQ(kIconQueued, FindGameIcon(L"g1", 0, path));
  EXPECT_EQ(kIconFailed, FindGameIcon(L"g1", 2, path));
  EXPECT_EQ(kIconFailed, FindGameIcon(nullptr, 0, path));
  ASSERT_TRUE(WaitFor([&] { return FindGameIcon(L"g1", 1, path) == kIconReady; }));
  EXPECT_EQ(launcher_.Join(L"icons\\g1\\icon.png"), path);
  EXPECT_EQ(kIconReady, FindGameIcon(L"g1", 0, path));
  EXPECT_EQ(launcher_.Join(L"icons\\g1\\sicon.png"), path);
  EXPECT_EQ("small", Local(L"g1\\sicon.png"));
  EXPECT_EQ("large", Local(L"g1\\icon.png"));

  // A game that is not in the catalogue, and one without an icon URL base.
  FindGameIcon(L"unknown", 0, path);
  FindGameIcon(L"g0", 0, path);
  ASSERT_TRUE(WaitFor([&] { return FindGameIcon(L"unknown", 1, path) == kIconFailed; }));
  EXPECT_EQ(kIconFailed, FindGameIcon(L"unknown", 0, path));
  ASSERT_TRUE(WaitFor([&] { return FindGameIcon(L"g0", 1, path) == kIconFailed; }));
  EXPECT_EQ(kIconFailed, FindGameIcon(L"g0", 0, path));
  // An id that could leave the icons folder fails before any folder is made.
  TestGame escaping(L"..", 0, 1, L"");
  GiveIcons(&escaping, Base("g1"), 7);
  g_games[1] = &escaping;
  FindGameIcon(L"..", 0, path);
  ASSERT_TRUE(WaitFor([&] { return FindGameIcon(L"..", 1, path) == kIconFailed; }));
  EXPECT_FALSE(FileExists(launcher_.Join(L"sicon.png")));
  EXPECT_FALSE(FileExists(launcher_.Join(L"icon_version.ini")));

  StopIconLoader();
  EXPECT_EQ(kIconFailed, FindGameIcon(L"g1", 0, path));
  g_games[0] = g_games[1] = nullptr;
}

TEST_F(IconTest, StopDuringAStalledDownloadReturns) {
  // The server accepts the request and then says nothing for a minute.
  StartServer(R"({"/g1/sicon.png": {"delay_before": 60}})");
  TestGame game(L"g1", 0, 1, L"");
  GiveIcons(&game, Base("g1"), 1);
  g_games[0] = &game;
  g_games[1] = nullptr;
  SetIconGameLookup(&LookUpTestGame);
  ASSERT_EQ(1, StartIconLoader());
  wchar_t path[260];
  FindGameIcon(L"g1", 0, path);
  ASSERT_TRUE(WaitFor([&] { return GetCount("/g1/sicon.png") == 1; }));
  ASSERT_EQ(kIconLoading, FindGameIcon(L"g1", 0, path));
  DWORD start = GetTickCount();
  StopIconLoader();
  DWORD took = GetTickCount() - start;
  std::printf("stop during a stalled icon download took %lu ms\n", static_cast<unsigned long>(took));
  EXPECT_LE(took, 5000u);
  EXPECT_FALSE(FileExists(launcher_.Join(L"icons\\g1\\sicon.png")));
  g_games[0] = nullptr;
}

TEST(GameStateMirror, FindsTheFirstMirrorOfAnIdAndStartsZeroed) {
  GameState* first = AddGameState();
  ASSERT_NE(nullptr, first);
  EXPECT_EQ(1, first->installer_deleted);
  EXPECT_EQ(0, first->state);
  EXPECT_EQ(0, first->pending_action);
  EXPECT_EQ(0, first->small_icon_path[0]);
  EXPECT_EQ(0, first->full_check_button);
  first->game_id.Assign(L"Game");
  GameState* second = AddGameState();
  second->game_id.Assign(L"Game");
  EXPECT_EQ(first, FindGameState(L"Game"));
  EXPECT_EQ(nullptr, FindGameState(L"game"));  // case counts
  EXPECT_EQ(nullptr, FindGameState(nullptr));
  EXPECT_EQ(2, GameStateList().count());
  GameStateList().RemoveAll();
}

}  // namespace

// A game's installer download against the HTTP fixture server and its request log: fresh, resumed, restarted
// and complete files, the questions asked, cancels, server and disk faults, and the installer's start.
#include <curl/curl.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <mutex>
#include <string>
#include <vector>

#include "app/games/GameHooks.h"
#include "app/games/GameInstallerDownloader.h"
#include "app/games/InstallerRun.h"
#include "app/texts/MessageTexts.h"
#include "tests/app/games/GameTestSupport.h"
#include "tests/support/HttpFixture.h"
#include "tests/support/TempFolder.h"

namespace {

using game_testing::TestGame;
using game_testing::WaitFor;
using testing_support::HttpFixture;
using testing_support::ReadFileBytes;
using testing_support::TempFolder;
using testing_support::WriteFileBytes;

class CurlEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { ASSERT_EQ(CURLE_OK, curl_global_init(CURL_GLOBAL_ALL)); }
  void TearDown() override { curl_global_cleanup(); }
};
::testing::Environment* const g_curl = ::testing::AddGlobalTestEnvironment(new CurlEnvironment);

std::string InstallerBytes(size_t size) {
  std::string bytes(size, '\0');
  unsigned state = 777;
  for (char& byte : bytes) {
    state = state * 1103515245u + 12345u;
    byte = static_cast<char>(state >> 16);
  }
  return bytes;
}

// What the shell was asked to start, instead of starting it.
struct ShellCall {
  std::wstring file, parameters, folder;
};
std::vector<ShellCall> g_shell_calls;
HINSTANCE WINAPI RecordShellCall(HWND,
                                 const wchar_t*,
                                 const wchar_t* file,
                                 const wchar_t* parameters,
                                 const wchar_t* folder,
                                 int) {
  g_shell_calls.push_back({file, parameters != nullptr ? parameters : L"", folder != nullptr ? folder : L""});
  return reinterpret_cast<HINSTANCE>(33);
}

// The questions asked, answered from a script (1 by default).
std::vector<std::wstring> g_questions;
int g_answer = 1;
int AnswerQuestion(const wchar_t* text) {
  g_questions.push_back(text);
  return g_answer;
}

BOOL WINAPI FailingWrite(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED) {
  SetLastError(ERROR_DISK_FULL);
  return FALSE;
}

class GameInstallerTest : public ::testing::Test {
 protected:
  static constexpr size_t kSize = 400000;

  void SetUp() override {
    LoadMessagesNamedByTheirKeys();
    g_shell_calls.clear();
    g_questions.clear();
    g_answer = 1;
    SetInstallerShellExecute(&RecordShellCall);
    SetGameQuestionPresenter(&AnswerQuestion);
    server_.AddFile(L"setup.exe", bytes_);
  }
  void TearDown() override {
    SetInstallerShellExecute(nullptr);
    SetGameQuestionPresenter(nullptr);
    SetInstallerWriteFunction(nullptr);
    ReleaseAppMessages();
  }

  // Each text is its key, so a test sees which question was asked.
  void LoadMessagesNamedByTheirKeys() {
    game_testing::LoadMessagesNamedByTheirKeys(
        messages_.path(), {L"resume_installer", L"run_installer", L"download_installer_from_web"});
  }

  // A game that is not installed, whose installer is `path` on the server.
  TestGame& Game(const std::string& path = "/setup.exe") {
    game_.reset(new TestGame(L"NEWGAME", 1, 1, L""));
    std::wstring url = server_.Url(path);
    wcscpy_s(game_->record.installer_url, url.c_str());
    game_->Bind();
    return *game_;
  }
  std::wstring LocalFile(const std::wstring& name = L"setup.exe") const { return folder_.Join(name); }
  std::string LocalBytes(const std::wstring& name = L"setup.exe") const {
    std::string bytes;
    ReadFileBytes(LocalFile(name), &bytes);
    return bytes;
  }
  // Runs the tick's step under the game's lock until the state leaves 1 (or the time runs out).
  int32_t StepUntilSettled(GameInfo& game, unsigned timeout_ms = 10000) {
    WaitFor(
        [&] {
          std::lock_guard<CriticalSection> guard(game.lock());
          game.InstallerProgressStep();
          return game.GetState() != kGameInstallerDownloading;
        },
        timeout_ms);
    return game.GetState();
  }

  TempFolder messages_{L"messages"};
  TempFolder folder_{L"install"};
  HttpFixture server_;
  std::string bytes_ = InstallerBytes(kSize);
  std::unique_ptr<TestGame> game_;
};

TEST(InstallerRules, TheFileIsNamedByAPlainUrlTailThatFits) {
  struct Case {
    const wchar_t* url;
    InstallerPathResult result;
    const wchar_t* path;
  } cases[] = {
      {L"http://h/dl/setup.exe", kInstallerPathOk, L"C:\\G\\setup.exe"},
      {L"http://h/dl/", kInstallerPathNoFileName, L""},
      {L"setup.exe", kInstallerPathNoFileName, L""},
      {L"", kInstallerPathNoFileName, L""},
      {L"http://h/dl/a\\..\\b.exe", kInstallerPathNoFileName, L""},
      {L"http://h/x?file=a.exe", kInstallerPathNoFileName, L""},
      {L"http://h/C:evil.exe", kInstallerPathNoFileName, L""},
      {L"http://h/..", kInstallerPathNoFileName, L""},
  };
  for (const Case& c : cases) {
    wchar_t path[260] = L"junk";
    EXPECT_EQ(c.result, InstallerFilePath(L"C:\\G", c.url, path, 260)) << c.url;
    EXPECT_STREQ(c.path, path) << c.url;
  }
  std::wstring long_name = L"http://h/" + std::wstring(251, L'a') + L".exe";
  wchar_t path[260];
  EXPECT_EQ(kInstallerPathTooLong, InstallerFilePath(L"C:\\G", long_name.c_str(), path, 260));
  long_name.erase(9, 1);  // 259 units with the folder: fits
  EXPECT_EQ(kInstallerPathOk, InstallerFilePath(L"C:\\G", long_name.c_str(), path, 260));
}

TEST(InstallerRules, ErrorsMapToTheGameErrors) {
  EXPECT_EQ(5, InstallerErrorNumber(kDownloaderErrorNoHandle));
  EXPECT_EQ(7, InstallerErrorNumber(kDownloaderErrorSink));
  EXPECT_EQ(0, InstallerErrorNumber(kDownloaderErrorCancelled));
  for (DownloaderError error : {kDownloaderErrorStalled, kDownloaderErrorTransfer, kDownloaderErrorBusy})
    EXPECT_EQ(8, InstallerErrorNumber(error));
}

TEST(InstallerRules, OnlyExeAndMsiAreRunOtherwiseTheFolderIsShown) {
  g_shell_calls.clear();
  SetInstallerShellExecute(&RecordShellCall);
  for (const wchar_t* file :
       {L"C:\\G\\setup.exe", L"C:\\G\\pack.msi", L"C:\\G\\pack.zip", L"C:\\G\\SETUP.EXE", L"C:\\G.d\\setup"})
    RunInstaller(file);
  SetInstallerShellExecute(nullptr);
  ASSERT_EQ(5u, g_shell_calls.size());
  EXPECT_EQ(L"C:\\G\\setup.exe", g_shell_calls[0].file);
  EXPECT_EQ(L"C:\\G", g_shell_calls[0].folder);
  EXPECT_EQ(L"C:\\G\\pack.msi", g_shell_calls[1].file);
  for (size_t i = 2; i < 5; ++i)
    EXPECT_EQ(L"explorer", g_shell_calls[i].file) << i;
  EXPECT_EQ(L"C:\\G", g_shell_calls[2].parameters);
  EXPECT_EQ(L"C:\\G.d", g_shell_calls[4].parameters);
}

TEST_F(GameInstallerTest, AFreshDownloadIsByteIdenticalAndTheNextStepRunsTheInstallerForReal) {
  // The stand-in game program records how it was started: it serves as the installer here.
  std::string program;
  ASSERT_TRUE(ReadFileBytes(game_testing::TestProgramFolder() + L"\\orvane_fake_game.exe", &program));
  server_.AddFile(L"setup.exe", program);
  ASSERT_TRUE(server_.Start("{}"));
  TempFolder record_folder(L"record");
  std::wstring record = record_folder.Join(L"record.txt");
  SetEnvironmentVariableW(L"ORVANE_FAKE_GAME_RECORD", record.c_str());
  SetInstallerShellExecute(nullptr);

  TestGame& game = Game();
  game.game.Install(folder_.path().c_str());
  EXPECT_EQ(kGameInstallerDownloading, game.game.GetState());
  EXPECT_EQ(kGameInstallerStarted, StepUntilSettled(game.game));
  EXPECT_TRUE(LocalBytes() == program);
  EXPECT_TRUE(g_questions.empty());
  EXPECT_EQ("HEAD -, GET -", server_.RequestsFor("/setup.exe"));
  ASSERT_TRUE(WaitFor([&] { return testing_support::FileExists(record); }, 10000));
  std::string text;
  ReadFileBytes(record, &text);
  SetEnvironmentVariableW(L"ORVANE_FAKE_GAME_RECORD", nullptr);
  EXPECT_NE(std::string::npos, text.find("setup.exe")) << text;
  std::string folder(folder_.path().begin(), folder_.path().end());
  EXPECT_NE(std::string::npos, text.find("current_folder=" + folder)) << text;
}

TEST_F(GameInstallerTest, ACutTransferFailsAndTheNextInstallResumesWithARange) {
  ASSERT_TRUE(server_.Start(R"({"/setup.exe": {"methods": ["GET"], "times": 1, "close_after": 150000}})"));
  TestGame& game = Game();
  game.game.Install(folder_.path().c_str());
  ASSERT_EQ(kGameError, StepUntilSettled(game.game));
  EXPECT_EQ(8, game.game.GetError());
  EXPECT_EQ(150000u, LocalBytes().size());

  game.game.ClearError();
  ASSERT_EQ(kGameNotInstalled, game.game.GetState());
  game.game.Install(folder_.path().c_str());
  ASSERT_EQ(1u, g_questions.size());
  EXPECT_EQ(L"resume_installer", g_questions[0]);
  EXPECT_EQ(kGameInstallerStarted, StepUntilSettled(game.game));
  EXPECT_TRUE(LocalBytes() == bytes_);
  EXPECT_EQ("HEAD -, GET -, HEAD -, GET bytes=150000-", server_.RequestsFor("/setup.exe"));
}

TEST_F(GameInstallerTest, TheSecondAnswerToResumeStartsFromZero) {
  ASSERT_TRUE(server_.Start("{}"));
  ASSERT_TRUE(WriteFileBytes(LocalFile(), std::string(1000, 'x')));
  g_answer = 2;
  TestGame& game = Game();
  game.game.Install(folder_.path().c_str());
  EXPECT_EQ(kGameInstallerStarted, StepUntilSettled(game.game));
  EXPECT_TRUE(LocalBytes() == bytes_);
  EXPECT_EQ("HEAD -, GET -", server_.RequestsFor("/setup.exe"));
}

TEST_F(GameInstallerTest, ALargerLocalFileRestartsWithoutAsking) {
  ASSERT_TRUE(server_.Start("{}"));
  ASSERT_TRUE(WriteFileBytes(LocalFile(), std::string(kSize + 5000, 'x')));
  TestGame& game = Game();
  game.game.Install(folder_.path().c_str());
  EXPECT_EQ(kGameInstallerStarted, StepUntilSettled(game.game));
  EXPECT_TRUE(g_questions.empty());
  EXPECT_TRUE(LocalBytes() == bytes_);  // no old tail left
}

TEST_F(GameInstallerTest, ACompleteFileAsksToRunAndAsksForNoBody) {
  ASSERT_TRUE(server_.Start("{}"));
  ASSERT_TRUE(WriteFileBytes(LocalFile(), bytes_));
  TestGame& game = Game();
  game.game.Install(folder_.path().c_str());
  ASSERT_EQ(1u, g_questions.size());
  EXPECT_EQ(L"run_installer", g_questions[0]);
  EXPECT_EQ(kGameInstallerStarted, StepUntilSettled(game.game));
  EXPECT_EQ("HEAD -", server_.RequestsFor("/setup.exe"));
  ASSERT_EQ(1u, g_shell_calls.size());
  EXPECT_EQ(LocalFile(), g_shell_calls[0].file);
}

TEST_F(GameInstallerTest, AQuestionThatCannotBeAskedEndsTheActionWithTheFileKept) {
  ASSERT_TRUE(server_.Start("{}"));
  ASSERT_TRUE(WriteFileBytes(LocalFile(), std::string(1000, 'x')));
  g_answer = 0;
  TestGame& game = Game();
  game.game.Install(folder_.path().c_str());
  EXPECT_EQ(kGameNotInstalled, game.game.GetState());
  EXPECT_EQ(1000u, LocalBytes().size());
  EXPECT_EQ("HEAD -", server_.RequestsFor("/setup.exe"));
}

TEST_F(GameInstallerTest, AZipIsDownloadedAndItsFolderShown) {
  server_.AddFile(L"pack.zip", bytes_);
  ASSERT_TRUE(server_.Start("{}"));
  TestGame& game = Game("/pack.zip");
  game.game.Install(folder_.path().c_str());
  EXPECT_EQ(kGameInstallerStarted, StepUntilSettled(game.game));
  ASSERT_EQ(1u, g_shell_calls.size());
  EXPECT_EQ(L"explorer", g_shell_calls[0].file);
  EXPECT_EQ(folder_.path(), g_shell_calls[0].parameters);
}

TEST_F(GameInstallerTest, AUrlWithoutAFileNameSendsTheUserToTheWeb) {
  ASSERT_TRUE(server_.Start("{}"));
  game_testing::GameMessageRecorder recorder;
  for (const char* path : {"/", "/a/..", "/x?y"}) {
    TestGame& game = Game(path);
    game.game.Install(folder_.path().c_str());
    EXPECT_EQ(kGameNotInstalled, game.game.GetState()) << path;
  }
  EXPECT_EQ(3u, recorder.messages.size());
  EXPECT_EQ(L"download_installer_from_web", recorder.messages[0]);
  EXPECT_EQ("", server_.RequestsFor("/"));
}

TEST_F(GameInstallerTest, CancelBeforeAnyDataDeletesTheEmptyFile) {
  ASSERT_TRUE(server_.Start(R"({"/setup.exe": {"methods": ["GET"], "delay_before": 30}})"));
  TestGame& game = Game();
  game.game.Install(folder_.path().c_str());
  ASSERT_EQ(kGameInstallerDownloading, game.game.GetState());
  game.game.CancelInstall();
  EXPECT_EQ(kGameNotInstalled, game.game.GetState());
  EXPECT_TRUE(WaitFor([&] { return !testing_support::FileExists(LocalFile()); }, 5000));
  {
    std::lock_guard<CriticalSection> guard(game.game.lock());
    game.game.InstallerProgressStep();  // a cancelled transfer changes nothing
  }
  EXPECT_EQ(kGameNotInstalled, game.game.GetState());
}

TEST_F(GameInstallerTest, CancelMidTransferEndsTheThreadPromptly) {
  ASSERT_TRUE(
      server_.Start(R"({"/setup.exe": {"methods": ["GET"], "stall_after": 100000, "stall_seconds": 30}})"));
  TestGame& game = Game();
  game.game.Install(folder_.path().c_str());
  ASSERT_TRUE(WaitFor([&] {
    GameProgress progress{};
    std::lock_guard<CriticalSection> guard(game.game.lock());
    game.game.InstallerProgressStep();
    game.game.GetProgress(&progress);
    return progress.done_bytes >= 100000;
  }));
  DWORD start = GetTickCount();
  game.game.CancelInstall();
  game_.reset();  // waits for the thread
  EXPECT_LT(GetTickCount() - start, 3000u);
  EXPECT_EQ(100000u, LocalBytes().size());  // a partial file stays for a later resume
}

TEST_F(GameInstallerTest, ServerFaultsAreErrorEightAndNeverAppendToThePartialFile) {
  struct Case {
    const char* script;
    size_t local_size;
  } cases[] = {
      {R"({"/setup.exe": {"status": 404}})", 0},
      {R"({"/setup.exe": {"methods": ["HEAD"], "status": 500}})", 0},
      {R"({"/setup.exe": {"methods": ["GET"], "stall_after": 1000, "stall_seconds": 30}})", 0},
      {R"({"/setup.exe": {"methods": ["GET"], "ignore_range": true}})", 5000},
      {R"({"/setup.exe": {"no_content_length": true}})", 0},
  };
  ASSERT_TRUE(server_.Start("{}"));
  for (const Case& c : cases) {
    server_.SetScript(c.script);
    DeleteFileW(LocalFile().c_str());
    if (c.local_size > 0) {
      ASSERT_TRUE(WriteFileBytes(LocalFile(), bytes_.substr(0, c.local_size)));
    }
    TestGame& game = Game();
    game.game.Install(folder_.path().c_str());
    EXPECT_EQ(kGameError, StepUntilSettled(game.game, 20000)) << c.script;
    EXPECT_EQ(8, game.game.GetError()) << c.script;
    game_.reset();
    EXPECT_LE(LocalBytes().size(), c.local_size > 0 ? c.local_size : 1000u) << c.script;
    if (c.local_size > 0) {
      EXPECT_TRUE(LocalBytes() == bytes_.substr(0, c.local_size)) << c.script;
    }
  }
}

TEST_F(GameInstallerTest, ASilentServerAtTheSizeRequestIsErrorEightWithoutFreezingTheCaller) {
  ASSERT_TRUE(server_.Start(R"({"/setup.exe": {"methods": ["HEAD"], "delay_before": 60}})"));
  TestGame& game = Game();
  DWORD start = GetTickCount();
  game.game.Install(folder_.path().c_str());
  EXPECT_LT(GetTickCount() - start, GameInstallerDownloader::kFirstAnswerLimitMs + 5000);
  EXPECT_EQ(kGameError, game.game.GetState());
  EXPECT_EQ(8, game.game.GetError());
  EXPECT_EQ("HEAD -", server_.RequestsFor("/setup.exe"));
}

TEST_F(GameInstallerTest, AFailingWriteIsErrorSeven) {
  ASSERT_TRUE(server_.Start("{}"));
  SetInstallerWriteFunction(&FailingWrite);
  TestGame& game = Game();
  game.game.Install(folder_.path().c_str());
  EXPECT_EQ(kGameError, StepUntilSettled(game.game));
  EXPECT_EQ(7, game.game.GetError());
  game_.reset();
  EXPECT_FALSE(testing_support::FileExists(LocalFile()));  // the empty leftover went
}

TEST_F(GameInstallerTest, AnUnopenableFileOrAPathThatDoesNotFitIsErrorFive) {
  ASSERT_TRUE(server_.Start("{}"));
  TestGame& game = Game();
  game.game.Install(folder_.Join(L"missing\\folder").c_str());
  EXPECT_EQ(kGameError, game.game.GetState());
  EXPECT_EQ(5, game.game.GetError());
  game.game.ClearError();
  std::wstring deep = folder_.path() + L"\\" + std::wstring(250, L'd');
  game.game.Install(deep.c_str());
  EXPECT_EQ(5, game.game.GetError());
  EXPECT_EQ("", server_.RequestsFor("/setup.exe"));
}

TEST_F(GameInstallerTest, DestroyingTheGameWhileItsThreadRunsWaitsForIt) {
  ASSERT_TRUE(
      server_.Start(R"({"/setup.exe": {"methods": ["GET"], "stall_after": 50000, "stall_seconds": 30}})"));
  TestGame& game = Game();
  game.game.Install(folder_.path().c_str());
  ASSERT_TRUE(WaitFor([&] {
    GameProgress progress{};
    std::lock_guard<CriticalSection> guard(game.game.lock());
    game.game.InstallerProgressStep();
    game.game.GetProgress(&progress);
    return progress.done_bytes >= 50000;
  }));
  game_.reset();
  // The file was closed by the thread: it can be opened unshared again.
  HANDLE file = CreateFileW(LocalFile().c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_NE(INVALID_HANDLE_VALUE, file);
  CloseHandle(file);
}

}  // namespace

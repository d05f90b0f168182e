#include "tests/app/games/GameTestSupport.h"

#include <gtest/gtest.h>

#include <mutex>

#include "app/games/CDllLoader.h"
#include "app/games/GameHooks.h"
#include "app/texts/MessageTexts.h"
#include "base/TextFields.h"
#include "tests/support/TempFolder.h"

namespace game_testing {

namespace {

GameMessageRecorder* g_recorder = nullptr;

void RecordMessage(const wchar_t* text) {
  g_recorder->messages.push_back(text);
}

}  // namespace

std::wstring TestProgramFolder() {
  wchar_t path[MAX_PATH];
  DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring program(path, length);
  return program.substr(0, program.rfind(L'\\'));
}

TestGame::TestGame(const wchar_t* id,
                   int32_t loader_type,
                   int32_t catalogue_version,
                   const std::wstring& folder) {
  CopyToField(record.game_id, id);
  CopyToField(record.exe_name, L"game");
  CopyToField(record.exe_relative_path, L"bin\\game.exe");
  CopyToField(record.file_host, L"files.example:8080");
  CopyToField(record.title, id);
  record.loader_type = loader_type;
  record.catalogue_version = catalogue_version;
  record.open = 1;
  record.installed = folder.empty() ? 0 : 1;
  CopyToField(record.game_folder, folder.c_str());
  Bind();
}

void TestGame::SetState(int32_t state) {
  std::lock_guard<CriticalSection> guard(game.lock());
  game.SetState(state);
}

void WriteInstalledVersion(const std::wstring& folder, const wchar_t* id, int32_t version) {
  std::wstring path = folder + L"\\VersionInfo_" + id + L".ini";
  ASSERT_TRUE(WritePrivateProfileStringW(L"UpdInfo", L"CurrentVersion", std::to_wstring(version).c_str(),
                                         path.c_str()));
}

FakeEngineLibrary::FakeEngineLibrary(int32_t loader_type, const wchar_t* subfolder) {
  std::wstring folder = TestProgramFolder();
  if (subfolder[0] != 0)
    folder += std::wstring(L"\\") + subfolder;
  SetEngineLibraryFolder(folder.c_str());
  module_ = LoadLibraryW((folder + L"\\" + EngineLibraryName(loader_type)).c_str());
  EXPECT_NE(nullptr, module_);
  SetScript(FakeEngineScript{});
}

FakeEngineLibrary::~FakeEngineLibrary() {
  if (module_ != nullptr)
    FreeLibrary(module_);
  SetEngineLibraryFolder(nullptr);
}

void FakeEngineLibrary::SetScript(const FakeEngineScript& script) {
  auto set = reinterpret_cast<fakeEngineSetScriptFunction>(
      reinterpret_cast<void*>(GetProcAddress(module_, "fakeEngineSetScript")));
  ASSERT_NE(nullptr, set);
  set(&script);
}

FakeEngineCalls FakeEngineLibrary::Calls() {
  FakeEngineCalls calls{};
  auto get = reinterpret_cast<fakeEngineGetCallsFunction>(
      reinterpret_cast<void*>(GetProcAddress(module_, "fakeEngineGetCalls")));
  if (get != nullptr)
    get(&calls);
  return calls;
}

void FakeEngineLibrary::Release() {
  auto release = reinterpret_cast<fakeEngineReleaseFunction>(
      reinterpret_cast<void*>(GetProcAddress(module_, "fakeEngineRelease")));
  if (release != nullptr)
    release();
}

FakeEngineStep Step(int32_t event, int32_t a, int32_t b, int32_t c, const wchar_t* text) {
  FakeEngineStep step{};
  step.event = event;
  step.a = a;
  step.b = b;
  step.c = c;
  CopyToField(step.text, text);
  return step;
}

void LoadMessagesNamedByTheirKeys(const std::wstring& folder, std::initializer_list<const wchar_t*> keys) {
  std::wstring ini = L"\uFEFF[MESSAGE]\r\n";
  for (const wchar_t* key : keys)
    ini += std::wstring(key) + L"=" + key + L"\r\n";
  ASSERT_TRUE(testing_support::WriteFileBytes(
      folder + L"\\data\\skin\\AppMessage.ini",
      std::string(reinterpret_cast<const char*>(ini.data()), ini.size() * sizeof(wchar_t))));
  wchar_t previous[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, previous);
  SetCurrentDirectoryW(folder.c_str());
  EXPECT_EQ(1, LoadAppMessages());
  SetCurrentDirectoryW(previous);
}

bool WaitFor(const std::function<bool()>& condition, unsigned timeout_ms) {
  for (unsigned waited = 0;; waited += 10) {
    if (condition())
      return true;
    if (waited >= timeout_ms)
      return false;
    Sleep(10);
  }
}

GameMessageRecorder::GameMessageRecorder(std::function<void(const wchar_t*)> on_message)
    : on_message_(std::move(on_message)) {
  g_recorder = this;
  SetGameMessagePresenter([](const wchar_t* text) {
    if (g_recorder->refusing)
      return false;
    RecordMessage(text);
    if (g_recorder->on_message_)
      g_recorder->on_message_(text);
    return true;
  });
}

GameMessageRecorder::~GameMessageRecorder() {
  SetGameMessagePresenter(nullptr);
  g_recorder = nullptr;
}

}  // namespace game_testing

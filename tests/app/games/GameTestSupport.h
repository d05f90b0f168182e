// Shared by the game record tests: a bound game over its own raw record, the scriptable engine library, and
// a recorder for the messages that games show.
#pragma once

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "app/games/GameInfo.h"
#include "tests/app/games/FakeEngineScript.h"

namespace game_testing {

// The folder of the running test program (the fakes are built beside it).
std::wstring TestProgramFolder();

// A game bound to a record of its own. The record is installed in `folder` when that is not empty.
struct TestGame {
  TestGame(const wchar_t* id, int32_t loader_type, int32_t catalogue_version, const std::wstring& folder);
  RawGameRecord record{};
  GameInfo game;
  void Bind() { game.Bind(&record); }
  void SetState(int32_t state);
};

// Writes "[UpdInfo] CurrentVersion=<version>" into the version ini that the game reads.
void WriteInstalledVersion(const std::wstring& folder, const wchar_t* id, int32_t version);

// The fake engine library of `loader_type`, loaded from `subfolder` of the test program's folder, which
// becomes the engine library folder. The destructor frees the test's reference and resets the folder.
class FakeEngineLibrary {
 public:
  explicit FakeEngineLibrary(int32_t loader_type, const wchar_t* subfolder = L"");
  ~FakeEngineLibrary();
  void SetScript(const FakeEngineScript& script);
  FakeEngineCalls Calls();
  void Release();
  bool loaded() const { return module_ != nullptr; }

 private:
  HMODULE module_ = nullptr;
};

// A script step.
FakeEngineStep Step(int32_t event, int32_t a = 0, int32_t b = 0, int32_t c = 0, const wchar_t* text = L"");

// Loads the application message table (written as "data\skin\AppMessage.ini" below `folder`) with each of
// `keys` as its own text, so that a test sees which message or question was shown.
void LoadMessagesNamedByTheirKeys(const std::wstring& folder, std::initializer_list<const wchar_t*> keys);

// Polls `condition` every 10 ms for up to `timeout_ms`.
bool WaitFor(const std::function<bool()>& condition, unsigned timeout_ms = 5000);

// Records every game message instead of showing it, while it lives. `on_message` (optional) runs for each.
// While `refusing` is set it refuses every message, as the launcher's presenter does while another guarded
// dialog is open.
class GameMessageRecorder {
 public:
  explicit GameMessageRecorder(std::function<void(const wchar_t*)> on_message = nullptr);
  ~GameMessageRecorder();
  std::vector<std::wstring> messages;
  bool refusing = false;

 private:
  std::function<void(const wchar_t*)> on_message_;
};

}  // namespace game_testing

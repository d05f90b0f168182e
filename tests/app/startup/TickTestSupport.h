// Test doubles of the periodic tick: games whose state the test sets, a system with a clock the test moves,
// and a view that records what the launcher window and game list were told.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/games/GameActions.h"
#include "app/games/GameSource.h"
#include "app/games/IGameInfo.h"
#include "app/settings/Setting.h"
#include "app/system/IdleMonitor.h"
#include "app/tick/PeriodicTick.h"
#include "tests/support/TempFolder.h"

namespace tick_testing {

// While it lives: the settings come from a registry key of the test and an ini beside a program path in
// `folder`, so that no test reads or writes the user's.
class ScopedTickSettings {
 public:
  ScopedTickSettings(const testing_support::TempFolder& folder, const wchar_t* registry_path)
      : program_(folder.Join(L"launcher.exe")) {
    SettingSources sources;
    sources.registry_root = HKEY_CURRENT_USER;
    sources.registry_path = registry_path;
    sources.program_path = program_.c_str();
    SetSettingSources(sources);
  }
  ~ScopedTickSettings() {
    Setting::ReleaseInstance();
    ResetSettingSources();
  }
  ScopedTickSettings(const ScopedTickSettings&) = delete;
  ScopedTickSettings& operator=(const ScopedTickSettings&) = delete;

 private:
  std::wstring program_;
};

class FakeGame : public IGameInfo {
 public:
  FakeGame(const std::wstring& id, int32_t state, int32_t installed)
      : state(state), installed(installed), id_(id) {}
  const wchar_t* GetGameID() override { return id_.c_str(); }
  const wchar_t* GetTitle() override { return title.c_str(); }
  const wchar_t* GetPostPage1Url() override { return L""; }
  const wchar_t* GetPostPage2Url() override { return L""; }
  const wchar_t* GetHomeUrl() override { return L""; }
  const wchar_t* GetField27() override { return L""; }
  const wchar_t* GetSkinID() override { return skin.c_str(); }
  const wchar_t* GetEmptyText() override { return L""; }
  const wchar_t* FetchSmallIcon() override { return nullptr; }
  const wchar_t* FetchIcon() override { return nullptr; }
  int32_t GetOptionFlag1() override { return 0; }
  int32_t GetOptionFlag0() override { return 0; }
  int32_t GetOptionFlag2() override { return 0; }
  int32_t GetOptionFlag3() override { return 0; }
  int32_t GetState() override { return state; }
  int32_t IsStartGame() override { return installed; }
  void GetProgress(GameProgress*) override {}
  const wchar_t* GetGamePath() override { return L""; }
  void Install(const wchar_t*) override {}
  void CancelInstall() override { ++cancels; }
  void StartUpdate() override {
    ++updates;
    if (update_starts)
      state = kGameUpdating;
  }
  void StopUpdate() override { ++stops; }
  int32_t StartFullCheck() override { return 0; }
  void Run() override {}
  int32_t GetError() override { return error; }
  void ClearError() override {
    error = 0;
    ++clear_errors;
  }

  std::wstring title = L"Game";
  std::wstring skin;
  int32_t state;
  int32_t installed;
  int32_t error = 0;
  bool update_starts = true;
  int cancels = 0, updates = 0, stops = 0, clear_errors = 0;

 private:
  std::wstring id_;
};

struct FakeGames : GameSource {
  std::vector<std::unique_ptr<FakeGame>> games;
  size_t Count() override { return games.size(); }
  IGameInfo* At(size_t index) override { return index < games.size() ? games[index].get() : nullptr; }
  FakeGame& Add(const std::wstring& id, int32_t state, int32_t installed = 1) {
    games.push_back(std::make_unique<FakeGame>(id, state, installed));
    return *games.back();
  }
};

struct FakeSystem : TickSystem {
  uint32_t now = 100000;
  int closes = 0, recheck_starts = 0;
  // The next FinishCatalogueRecheck answers this once (a re-check that ended).
  bool recheck_finished = false;
  int sample_ok = 1;
  LoadSample sample = {5, 5};
  uint32_t idle_ms = 0;
  std::vector<std::pair<std::wstring, std::wstring>> error_popups;
  std::vector<std::wstring> need_update_popups;
  uint32_t Now() override { return now; }
  void CloseMainDialog() override { ++closes; }
  void StartCatalogueRecheck() override { ++recheck_starts; }
  // Periodic ticks so far: the tick asks FinishCatalogueRecheck first on every run.
  int ticks = 0;
  bool FinishCatalogueRecheck() override {
    ++ticks;
    bool finished = recheck_finished;
    recheck_finished = false;
    return finished;
  }
  int SampleLoad(LoadSample* out) override {
    *out = sample;
    return sample_ok;
  }
  uint32_t IdleMilliseconds() override { return idle_ms; }
  void ShowErrorPopup(const wchar_t* id, const wchar_t* text) override { error_popups.push_back({id, text}); }
  bool ShowNeedUpdatePopup(const wchar_t* text) override {
    need_update_popups.push_back(text);
    return true;
  }
};

struct RecordingTickView : TickView {
  std::vector<std::wstring> refreshed;
  int progress = 0;
  void RefreshGame(const wchar_t* id) override { refreshed.push_back(id); }
  void UpdateProgress() override { ++progress; }
};

struct RecordingActionView : GameActionView {
  std::wstring selected;
  std::map<int, int32_t> buttons;  // by ActionButton; 6 the filecheck button
  std::vector<std::pair<int32_t, int32_t>> global;
  const wchar_t* SelectedGameId() override { return selected.c_str(); }
  void SetActionButton(ActionButton button, int32_t flags) override { buttons[button] = flags; }
  void SetFileCheckButton(int32_t flags) override { buttons[6] = flags; }
  void SelectGame(const wchar_t*) override {}
  void DeselectGame() override {}
  void SetGlobalButtons(int32_t update_all, int32_t stop_all) override {
    global.push_back({update_all, stop_all});
  }
  uint32_t ButtonWaitTime() override { return 1500; }
};

}  // namespace tick_testing

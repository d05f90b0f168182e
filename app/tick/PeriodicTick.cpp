#include "app/tick/PeriodicTick.h"

#include <windows.h>

#include "app/games/CatalogueInfos.h"
#include "app/games/GameActions.h"
#include "app/games/GameCatalogue.h"
#include "app/games/GameHooks.h"
#include "app/games/GameInfo.h"
#include "app/games/GameStateMirror.h"
#include "app/games/UpdateQueue.h"
#include "app/session/HandOver.h"
#include "app/session/LauncherGlobals.h"
#include "app/session/SessionValues.h"
#include "app/settings/Setting.h"
#include "app/system/IdleMonitor.h"
#include "app/texts/MessageTexts.h"
#include "base/CriticalSection.h"

namespace {

TickSystem* g_system = nullptr;
TickView* g_view = nullptr;

TickSystem& System() {
  return CurrentTickSystem();
}

// True once `wait` ms have passed since `*stamp`; a stamp in the future (the clock wrapped) becomes 0.
bool WaitPassed(uint32_t* stamp, uint32_t wait, uint32_t now) {
  if (*stamp > now)
    *stamp = 0;
  return now - *stamp >= wait;
}

Setting* Settings() {
  return Setting::GetInstance();
}

}  // namespace

void SetTickSystem(TickSystem* system) {
  g_system = system;
}

void SetTickView(TickView* view) {
  g_view = view;
}

TickSystem& CurrentTickSystem() {
  return g_system != nullptr ? *g_system : RealTickSystem();
}

TickView& CurrentTickView() {
  return g_view != nullptr ? *g_view : LauncherTickView();
}

PeriodicTickState& TickState() {
  static PeriodicTickState state;
  return state;
}

void SetCatalogueCheckPeriod(int32_t period) {
  TickState().period = period > 0 ? static_cast<uint32_t>(period) : 0;
}

void PeriodicTick() {
  TickSystem& system = System();
  Setting* setting = Settings();
  if (TakeLauncherCloseRequest() && setting != nullptr && setting->AutoClose) {
    system.CloseMainDialog();
    return;
  }
  // A re-check that ended since the last tick: the versions it brought count from this tick on.
  if (system.FinishCatalogueRecheck())
    RefreshGameVersionStates();
  PeriodicTickState& state = TickState();
  if (state.period != 0) {
    uint32_t now = system.Now();
    uint32_t& last_run = Launcher().LastCatalogueCheckTick;
    if (last_run > now)
      last_run = 0;
    if (now >= last_run + state.period) {
      last_run = now;
      PrepareHandOverRecord();
      RecheckCatalogue();
      RefreshNotices();
      ShowKeywordHint();
    }
  }
  CheckInstallations();
  ProcessGames();
  AutoUpdate();
  ProcessPendingActions();
  CurrentTickView().UpdateProgress();
}

void RecheckCatalogue() {
  PeriodicTickState& state = TickState();
  if (++state.recheck_counter >= 10) {
    state.recheck_counter = 0;
    System().StartCatalogueRecheck();
  }
  RefreshGameVersionStates();
}

void RefreshGameVersionStates() {
  for (size_t i = 0; i < GameCount(); ++i) {
    GameInfo* game = GameAt(i);
    if (game == nullptr)
      continue;
    ScopedLock hold(game->lock());
    int32_t current = game->GetState();
    if (current == 6 || current == 1 || current == 2 || current == -1)
      continue;
    bool needs_update = game->RefreshVersionInfo();
    if (!game->IsStartGame())
      continue;
    if (needs_update)
      game->SetState(5);
    else if (GetSessionValues().AdminMode[0] == L'\0' && !game->open())
      game->SetState(4);
    else
      game->SetState(3);
  }
}

void RefreshNotices() {
  if (Launcher().LauncherWindow != nullptr)
    CurrentTickView().RefreshNotices();
}

void ShowKeywordHint() {
  size_t count = KeywordCount();
  if (Launcher().LauncherWindow == nullptr || count == 0)
    return;
  int32_t& index = Launcher().SearchKeywordIndex;
  if (index < 0 || static_cast<size_t>(index) >= count)
    index = 0;
  const KeywordInfo* keyword = KeywordAt(static_cast<size_t>(index));
  if (keyword != nullptr)
    CurrentTickView().SetSearchHint(keyword->view_content);
}

void CheckInstallations() {
  for (size_t i = 0; i < GameCount(); ++i) {
    GameInfo* game = GameAt(i);
    if (game == nullptr)
      continue;
    ScopedLock hold(game->lock());
    int32_t state = game->GetState();
    if (state == 6 || state == -1)
      continue;
    if (state == 1) {
      game->InstallerProgressStep();
      continue;
    }
    if (!game->RefreshInstalled()) {
      game->SetState(0);
      continue;
    }
    if (state == 0)
      game->SetState(game->loader_type() != 0 ? 5 : 3);
    if (game->launched()) {
      game->ClearLaunched();
      ApplyGameButtonStates(FindGameState(game->GetGameID()));
    }
  }
}

void QueueStep(int32_t installed, bool any_needs_update) {
  UpdateAllState& global = GlobalUpdate();
  if (global.global_state != kGlobalUpdatingAll) {
    global.global_state = installed == 0
                              ? kGlobalNoInstalledGame
                              : (any_needs_update ? kGlobalSomethingToUpdate : kGlobalNothingToUpdate);
    ApplyGlobalButtons();
    return;
  }
  for (;;) {
    UpdateGame* head = GetQueuedUpdateHead();
    if (head == nullptr) {
      bool automatic = global.automatic_run != 0;
      // The run is over: a later update of all games started by hand must never power off.
      global.automatic_run = 0;
      Setting* setting = Settings();
      bool busy = any_needs_update;
      for (TLinkedList<GameState>::Node* node = GameStateList().head(); node != nullptr; node = node->next)
        busy = busy || node->item->state == 5 || node->item->state == 6;
      if (automatic && setting != nullptr && setting->Shutdown && !busy) {
        Launcher().PowerOffRequested = 1;
        System().CloseMainDialog();
        return;
      }
      global.global_state = kGlobalNothingToUpdate;
      ApplyGlobalButtons();
      return;
    }
    GameState* mirror = FindGameState(head->game_id.GetString());
    if (mirror == nullptr) {
      RemoveQueuedUpdate(head);
      continue;
    }
    if (head->status == kUpdateQueued) {
      head->status = kUpdateStarted;
      UpdateOneGame(head->game_id.GetString());
      return;
    }
    if (head->status == kUpdateStarted) {
      if (mirror->state == 5)
        return;
      if (mirror->state == 6) {
        head->status = kUpdateRunning;
        return;
      }
    } else if (mirror->state == 6) {
      return;
    }
    RemoveQueuedUpdate(head);
  }
}

void AutoUpdate() {
  Setting* setting = Settings();
  if (setting == nullptr || setting->Update == 0 || GlobalUpdate().global_state != kGlobalSomethingToUpdate)
    return;
  PeriodicTickState& state = TickState();
  if (setting->Update == 1) {
    if (!state.need_update_shown)
      System().ShowNeedUpdatePopup(GetAppMessageOrUnknown(L"need_update"));
    return;
  }
  if (setting->Update != 2)
    return;
  LoadSample sample = {};
  if (!System().SampleLoad(&sample))
    return;
  uint64_t idle_needed = static_cast<uint64_t>(setting->IdleTime) * 60000u;
  if (System().IdleMilliseconds() < idle_needed || sample.processor_percent >= setting->CPUUse ||
      sample.network_percent >= setting->NetworkUse)
    return;
  if (UpdateAllGames() == 1)
    GlobalUpdate().automatic_run = 1;
}

void ProcessPendingActions() {
  uint32_t now = System().Now();
  for (TLinkedList<GameState>::Node* node = GameStateList().head(); node != nullptr; node = node->next) {
    GameState* mirror = node->item;
    if (mirror->pending_action == kPendingNone)
      continue;
    IGameInfo* game = FindGameInfo(mirror->game_id.GetString());
    if (game == nullptr || !WaitPassed(&mirror->stamp, mirror->wait_time, now))
      continue;
    int32_t pending = mirror->pending_action;
    // A request acts once; the buttons follow from the state it leads to.
    mirror->pending_action = kPendingNone;
    if (pending == kPendingStopRequested) {
      int32_t state = game->GetState();
      if (state == 1)
        game->CancelInstall();
      else if (state == 6)
        game->StopUpdate();
    } else {
      ApplyGameButtonStates(mirror);
    }
  }
  UpdateAllState& global = GlobalUpdate();
  if (global.global_state == kGlobalUpdatingAll && global.stop_lock == 1 &&
      WaitPassed(&global.start_tick, global.wait_time, now)) {
    global.stop_lock = 0;
    ApplyGlobalButtons();
  }
}

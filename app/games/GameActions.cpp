// The game actions, the button states they apply, and the update of all games.
#include "app/games/GameActions.h"

#include <windows.h>

#include <cwchar>
#include <mutex>
#include <string>
#include <vector>

#include "app/games/GameCatalogue.h"
#include "app/games/GameHooks.h"
#include "app/games/GameInfo.h"
#include "app/games/GamePopupMenu.h"
#include "app/games/GameStateMirror.h"
#include "app/games/UpdateQueue.h"
#include "app/settings/Setting.h"
#include "app/texts/MessageFormat.h"
#include "app/texts/MessageTexts.h"
#include "ui/browser/OpenUrl.h"
#include "ui/skin/SkinListeners.h"
#include "ui/skin/SkinLoader.h"

namespace {

const int32_t kMaxConcurrentUpdates = 2;

GameActionView* g_view = nullptr;
UrlShell* g_url_shell = nullptr;

bool IsShown(const wchar_t* game_id) {
  const wchar_t* shown = g_view != nullptr ? g_view->SelectedGameId() : nullptr;
  return shown != nullptr && shown[0] != 0 && std::wcscmp(shown, game_id) == 0;
}

// Disables (still showing) a launcher-window button of the game it shows.
void DisableShownButton(const wchar_t* game_id, ActionButton button) {
  if (IsShown(game_id))
    g_view->SetActionButton(button, kButtonDisabled);
}

// The game in `state` (or one of `states`), or null.
IGameInfo* GameIn(const wchar_t* game_id, std::initializer_list<int32_t> states) {
  IGameInfo* game = FindGameInfo(game_id);
  if (game == nullptr)
    return nullptr;
  int32_t state = game->GetState();
  for (int32_t wanted : states) {
    if (state == wanted)
      return game;
  }
  return nullptr;
}

bool IsProgramInUse(IGameInfo* game) {
  auto* record = dynamic_cast<GameInfo*>(game);
  return record != nullptr && record->IsProgramInUse();
}

// A stop or cancel waits for the button wait time when the game has a mirror (the tick carries it out).
bool DeferToTick(const wchar_t* game_id) {
  GameState* mirror = FindGameState(game_id);
  if (mirror == nullptr)
    return false;
  mirror->pending_action = kPendingStopRequested;
  mirror->wait_time = g_view != nullptr ? g_view->ButtonWaitTime() : 0;
  mirror->stamp = GetTickCount();
  return true;
}

bool FixedSkin() {
  Setting* setting = Setting::PeekInstance();
  return setting != nullptr && setting->FixSkin != 0;
}

// The installed games' ids by GAME_ORDER number 1 .. count (the first entry of each number; none for numbers
// that no entry has), in one pass.
std::vector<const wchar_t*> IdsInGameOrder() {
  std::vector<const wchar_t*> ids;
  Setting* setting = Setting::PeekInstance();
  if (setting == nullptr)
    return ids;
  const TLinkedList<GAME_ORDER>& order = setting->GameOrder();
  ids.assign(static_cast<size_t>(order.count()), nullptr);
  for (TLinkedList<GAME_ORDER>::Node* node = order.head(); node != nullptr; node = node->next) {
    int32_t number = node->item != nullptr ? node->item->order : 0;
    if (number >= 1 && number <= order.count() && ids[number - 1] == nullptr)
      ids[number - 1] = node->item->game_id;
  }
  return ids;
}

}  // namespace

void SetGameActionView(GameActionView* view) {
  g_view = view;
}

GameActionView* GetGameActionView() {
  return g_view;
}

void SetGameActionUrlShell(UrlShell* shell) {
  g_url_shell = shell;
}

UpdateAllState& GlobalUpdate() {
  static UpdateAllState state;
  return state;
}

bool CheckUpdateCapacity() {
  int32_t busy = 0;
  for (TLinkedList<GameState>::Node* node = GameStateList().head(); node != nullptr; node = node->next) {
    if (node->item != nullptr &&
        (node->item->state == kGameInstallerDownloading || node->item->state == kGameUpdating))
      ++busy;
  }
  if (busy < kMaxConcurrentUpdates)
    return true;
  std::wstring text = FormatMessageNumber(GetAppMessage(L"exceed_max_update_count"), kMaxConcurrentUpdates);
  ShowGameMessage(text.c_str());
  return false;
}

void ApplyGameButtonStates(GameState* mirror) {
  if (mirror == nullptr)
    return;
  GameButtonFlags flags = GameButtonsFor(mirror->state, mirror->pending_action != kPendingNone,
                                         mirror->installed != 0, mirror->home_page_button);
  mirror->install_button = flags.install;
  mirror->cancel_install_button = flags.cancel_install;
  mirror->update_button = flags.update;
  mirror->stop_update_button = flags.stop_update;
  mirror->run_button = flags.run;
  mirror->home_page_button = flags.home_page;
  mirror->full_check_button = flags.full_check;
  if (!IsShown(mirror->game_id.GetString()))
    return;
  g_view->SetActionButton(kInstallButton, flags.install);
  g_view->SetActionButton(kCancelInstallButton, flags.cancel_install);
  g_view->SetActionButton(kUpdateButton, flags.update);
  g_view->SetActionButton(kStopUpdateButton, flags.stop_update);
  g_view->SetActionButton(kRunButton, flags.run);
  g_view->SetFileCheckButton(flags.full_check);
}

void ApplyGlobalButtons() {
  UpdateAllState& global = GlobalUpdate();
  global.buttons = GlobalButtonsFor(global.global_state, global.stop_lock);
  if (g_view != nullptr)
    g_view->SetGlobalButtons(global.buttons.update_all, global.buttons.stop_all);
}

void InstallGame(const wchar_t* game_id) {
  IGameInfo* game = GameIn(game_id, {kGameNotInstalled});
  if (game == nullptr)
    return;
  auto* record = dynamic_cast<GameInfo*>(game);
  if (record != nullptr && record->IsInstallerInUse()) {
    ShowGameMessage(GetAppMessage(L"installer_is_running"));
    return;
  }
  if (!CheckUpdateCapacity())
    return;
  DisableShownButton(game_id, kInstallButton);
  Setting* setting = Setting::PeekInstance();
  const wchar_t* folder = setting != nullptr ? setting->PrepareInstallFilePath() : nullptr;
  game->Install(folder);
  if (game->GetState() == kGameNotInstalled && IsShown(game_id))
    g_view->SetActionButton(kInstallButton, kButtonEnabled);
}

void CancelInstallGame(const wchar_t* game_id) {
  IGameInfo* game = GameIn(game_id, {kGameInstallerDownloading});
  if (game == nullptr)
    return;
  DisableShownButton(game_id, kCancelInstallButton);
  if (!DeferToTick(game_id))
    game->CancelInstall();
}

void UpdateOneGame(const wchar_t* game_id) {
  IGameInfo* game = GameIn(game_id, {kGameNeedsUpdate});
  if (game == nullptr || !CheckUpdateCapacity())
    return;
  DisableShownButton(game_id, kUpdateButton);
  game->StartUpdate();
}

void StopUpdateGame(const wchar_t* game_id) {
  IGameInfo* game = GameIn(game_id, {kGameUpdating});
  if (game == nullptr)
    return;
  DisableShownButton(game_id, kStopUpdateButton);
  if (!DeferToTick(game_id))
    game->StopUpdate();
}

void RunGame(const wchar_t* game_id) {
  IGameInfo* game = GameIn(game_id, {kGameLatest});
  if (game == nullptr)
    return;
  if (IsProgramInUse(game) && AskGameQuestion(GetAppMessage(L"game_is_running")) != 1)
    return;
  DisableShownButton(game_id, kRunButton);
  game->Run();
}

void FullCheckGame(const wchar_t* game_id) {
  IGameInfo* game = GameIn(game_id, {kGameLatest, kGameBlocked, kGameNeedsUpdate});
  if (game == nullptr)
    return;
  if (IsProgramInUse(game)) {
    ShowGameMessage(GetAppMessage(L"game_is_running_cannot_check"));
    return;
  }
  if (!CheckUpdateCapacity() || AskGameQuestion(GetAppMessage(L"file check takes a long time")) != 1)
    return;
  bool shown = IsShown(game_id);
  if (shown)
    g_view->SetFileCheckButton(kButtonDisabled);
  if (game->StartFullCheck() != 0)
    return;
  ShowGameMessage(GetAppMessage(L"file check is not supported"));
  if (shown)
    g_view->SetFileCheckButton(kButtonEnabled);
}

void OpenGameHomePage(const wchar_t* game_id) {
  IGameInfo* game = FindGameInfo(game_id);
  if (game != nullptr)
    OpenUrlWithInternetExplorer(game->GetHomeUrl(), g_url_shell);
}

int UpdateAllGames() {
  UpdateAllState& global = GlobalUpdate();
  if (global.global_state != kGlobalSomethingToUpdate || !CheckUpdateCapacity())
    return 0;
  ClearUpdateQueue();
  for (const wchar_t* id : IdsInGameOrder()) {
    GameState* mirror = id != nullptr ? FindGameState(id) : nullptr;
    if (mirror != nullptr && mirror->state == kGameNeedsUpdate)
      QueueUpdate(id);
  }
  UpdateGame* head = GetQueuedUpdateHead();
  // Nothing queued is no run: reporting one would leave the automatic-run flag set with nothing to end it.
  if (head == nullptr)
    return 0;
  global.global_state = kGlobalUpdatingAll;
  global.stop_lock = 1;
  global.start_tick = GetTickCount();
  global.wait_time = g_view != nullptr ? g_view->ButtonWaitTime() : 0;
  head->status = kUpdateStarted;
  UpdateOneGame(head->game_id.GetString());
  ApplyGlobalButtons();
  return 1;
}

void StopAllGames() {
  UpdateAllState& global = GlobalUpdate();
  global.automatic_run = 0;
  if (global.global_state != kGlobalUpdatingAll)
    return;
  UpdateGame* head = GetQueuedUpdateHead();
  if (head != nullptr && head->status != kUpdateQueued)
    StopUpdateGame(head->game_id.GetString());
  ClearUpdateQueue();
  global.global_state = kGlobalNothingToUpdate;
  ApplyGlobalButtons();
}

void GoHome() {
  if (FindTopMenuInfo(L"PostOfHome") == nullptr)
    return;
  if (!FixedSkin()) {
    SetCurrentSkin(nullptr);
    BroadcastSkinChange();
  }
  if (g_view != nullptr)
    g_view->DeselectGame();
}

void SelectGame(const wchar_t* game_id) {
  if (!FixedSkin()) {
    IGameInfo* game = FindGameInfo(game_id);
    SetCurrentSkin(game != nullptr ? game->GetSkinID() : nullptr);
    BroadcastSkinChange();
  }
  if (g_view != nullptr)
    g_view->SelectGame(game_id);
  ApplyGameButtonStates(FindGameState(game_id));
}

GamePopupMenuRows ComputeGamePopupMenuRows(const GameState& mirror) {
  GamePopupMenuRows rows = {};
  const int32_t flags[7] = {
      mirror.install_button, mirror.cancel_install_button, mirror.update_button,   mirror.stop_update_button,
      mirror.run_button,     mirror.full_check_button,     mirror.home_page_button};
  for (int i = 0; i < 7; ++i) {
    rows.enabled[i] = (flags[i] & 2) != 0 ? 1 : 0;
    rows.shown[i] = 1;
  }
  // Install and cancel install exclude each other, as update and stop update do.
  const bool installing = mirror.state == kGameInstallerDownloading;
  const bool updating = mirror.state == kGameUpdating;
  rows.shown[0] = installing ? 0 : 1;
  rows.shown[1] = installing ? 1 : 0;
  rows.shown[2] = updating ? 0 : 1;
  rows.shown[3] = updating ? 1 : 0;
  return rows;
}

void RunGamePopupMenuCommand(uint32_t command_id) {
  GamePopupMenu* menu = ProcessGamePopupMenu();
  if (menu == nullptr || command_id == 0)
    return;
  // A copy: the action may open the menu again (a message loop) and change its id.
  std::wstring id = menu->game_id().GetString();
  switch (command_id) {
    case 1:
      InstallGame(id.c_str());
      break;
    case 2:
      CancelInstallGame(id.c_str());
      break;
    case 3:
      UpdateOneGame(id.c_str());
      break;
    case 4:
      StopUpdateGame(id.c_str());
      break;
    case 5:
      RunGame(id.c_str());
      break;
    case 6:
      FullCheckGame(id.c_str());
      break;
    case 7:
      OpenGameHomePage(id.c_str());
      break;
    default:
      break;
  }
}

int ShowGamePopupMenu(const wchar_t* game_id) {
  GameState* mirror = FindGameState(game_id);
  GamePopupMenu* menu = ProcessGamePopupMenu();
  if (mirror == nullptr || menu == nullptr)
    return 0;
  menu->game_id().Assign(game_id);
  if (menu->GetHwnd() == nullptr) {
    menu->SetSkin(L"etc", L"game_popup_menu");
    menu->SetCommandCallback(&RunGamePopupMenuCommand);
    menu->ResetItems(&RunGamePopupMenuCommand);
    if (menu->CreatePopup(0, 0, 1, 1, nullptr, NPopup::kToolWindow | NPopup::kTopmost) != 1)
      return 0;
  }
  GamePopupMenuRows rows = ComputeGamePopupMenuRows(*mirror);
  for (uint32_t command = 1; command <= 7; ++command) {
    menu->EnableItem(command, rows.enabled[command - 1]);
    menu->ShowItem(command, rows.shown[command - 1]);
  }
  menu->UpdateSize();
  menu->Show(1, 1);
  return 1;
}

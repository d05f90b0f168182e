// ProcessGames: the game-state mirror against the games, once per tick.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/games/GameActions.h"
#include "app/games/GameIcon.h"
#include "app/games/GameInfo.h"
#include "app/games/GameSource.h"
#include "app/games/GameStateMirror.h"
#include "app/games/IGameInfo.h"
#include "app/settings/Setting.h"
#include "app/tick/PeriodicTick.h"
#include "base/CriticalSection.h"

namespace {

using MirrorNode = TLinkedList<GameState>::Node;

bool DiffersFrom(const GameState& mirror, IGameInfo* game) {
  return mirror.state != game->GetState() || mirror.installed != game->IsStartGame() ||
         mirror.option_flag3 != game->GetOptionFlag3() || mirror.option_flag1 != game->GetOptionFlag1() ||
         mirror.option_flag0 != game->GetOptionFlag0() || mirror.option_flag2 != game->GetOptionFlag2();
}

void CopyFrom(GameState* mirror, IGameInfo* game) {
  mirror->state = game->GetState();
  mirror->installed = game->IsStartGame();
  mirror->option_flag3 = game->GetOptionFlag3();
  mirror->option_flag1 = game->GetOptionFlag1();
  mirror->option_flag0 = game->GetOptionFlag0();
  mirror->option_flag2 = game->GetOptionFlag2();
}

void RefreshViews(const wchar_t* id) {
  TickView& view = CurrentTickView();
  view.RefreshGame(id);
  if (view.UpdateGameButton(id))
    view.ClampScrollAndLayOut();
}

void StampPending(GameState* mirror, uint32_t now) {
  GameActionView* view = GetGameActionView();
  mirror->pending_action = kPendingStarted;
  mirror->wait_time = view != nullptr ? view->ButtonWaitTime() : 0;
  mirror->stamp = now;
}

bool IsSelected(const wchar_t* id) {
  GameActionView* view = GetGameActionView();
  const wchar_t* selected = view != nullptr ? view->SelectedGameId() : nullptr;
  return selected != nullptr && lstrcmpW(selected, id) == 0;
}

void ShowErrorPopupFor(IGameInfo* game) {
  std::wstring text = ErrorPopupText(game->GetError(), game->GetTitle());
  if (!text.empty())
    CurrentTickSystem().ShowErrorPopup(game->GetGameID(), text.c_str());
}

// An installed game without a GAME_ORDER entry goes last, so that the update of all games reaches it.
void KeepInGameOrder(const GameState& mirror, bool* order_changed) {
  Setting* setting = Setting::GetInstance();
  const wchar_t* id = mirror.game_id.GetString();
  if (!mirror.installed || setting == nullptr || setting->GetGameOrder(id) != 0)
    return;
  setting->SetGameOrder(id, setting->NextGameOrder());
  *order_changed = true;
}

// A game seen for the first time.
GameState* AddMirror(IGameInfo* game, bool* order_changed) {
  GameState* mirror = AddGameState();
  if (mirror == nullptr)
    return nullptr;
  const wchar_t* id = game->GetGameID();
  mirror->game_id.Assign(id);
  CopyFrom(mirror, game);
  RefreshViews(id);
  ApplyGameButtonStates(mirror);
  KeepInGameOrder(*mirror, order_changed);
  return mirror;
}

// A known game whose state or flags changed. True when the selected game's installed flag changed.
bool FollowChange(GameState* mirror, IGameInfo* game, uint32_t now) {
  const wchar_t* id = game->GetGameID();
  mirror->pending_action = kPendingNone;
  mirror->wait_time = 0;
  mirror->stamp = 0;
  auto* record = dynamic_cast<GameInfo*>(game);
  bool installer_started = false;
  if (record != nullptr) {
    ScopedLock hold(record->lock());
    if (record->GetState() == kGameInstallerStarted) {
      record->SetState(kGameNotInstalled);
      installer_started = true;
    }
  }
  if (installer_started) {
    mirror->installer_deleted = 0;
    StampPending(mirror, now);
  }
  bool selected_changed = mirror->installed != game->IsStartGame() && IsSelected(id);
  int32_t old_state = mirror->state;
  CopyFrom(mirror, game);
  if (mirror->state != old_state) {
    if (mirror->state == kGameError)
      ShowErrorPopupFor(game);
    if (mirror->state == kGameInstallerDownloading || mirror->state == kGameUpdating)
      StampPending(mirror, now);
  }
  RefreshViews(id);
  ApplyGameButtonStates(mirror);
  return selected_changed;
}

bool HasInstallerSuffix(const wchar_t* path) {
  size_t length = wcslen(path);
  return length >= 4 && (wcscmp(path + length - 4, L".exe") == 0 || wcscmp(path + length - 4, L".msi") == 0);
}

// Once per installation: the finished installer's file goes when the settings say so.
void DeleteInstallerOnce(GameState* mirror, IGameInfo* game) {
  if (!mirror->installed || mirror->installer_deleted)
    return;
  mirror->installer_deleted = 1;
  Setting* setting = Setting::GetInstance();
  auto* record = dynamic_cast<GameInfo*>(game);
  if (setting == nullptr || !setting->DeleteInstallFile || record == nullptr)
    return;
  const wchar_t* file = record->installer_file();
  if (HasInstallerSuffix(file) && GetFileAttributesW(file) != INVALID_FILE_ATTRIBUTES && !DeleteFileW(file))
    mirror->installer_deleted = 0;
}

void FetchIcons(GameState* mirror) {
  auto settled = [](int32_t status) { return status == kIconReady || status == kIconFailed; };
  if (settled(mirror->small_icon_status) && settled(mirror->large_icon_status))
    return;
  const wchar_t* id = mirror->game_id.GetString();
  if (!settled(mirror->small_icon_status))
    mirror->small_icon_status = FindGameIcon(id, 0, mirror->small_icon_path);
  if (!settled(mirror->large_icon_status))
    mirror->large_icon_status = FindGameIcon(id, 1, mirror->large_icon_path);
  if (settled(mirror->small_icon_status) && settled(mirror->large_icon_status))
    CurrentTickView().SetGameIcons(id, mirror->small_icon_path, mirror->large_icon_path);
}

// Changed-file messages that an open dialog held back (the settings dialog, a question). A game with none
// costs a look under its lock.
GameInfo* WithHeldBackMessages(IGameInfo* game) {
  auto* record = dynamic_cast<GameInfo*>(game);
  return record != nullptr && record->HasPendingFileMessages() ? record : nullptr;
}

// The mirror of `id`: first the node after the previous game's (the mirrors keep the games' order), else a
// search, so that a steady list costs one comparison per game.
GameState* FindMirror(const wchar_t* id, MirrorNode** cursor) {
  MirrorNode* node = *cursor != nullptr ? (*cursor)->next : GameStateList().head();
  if (node != nullptr && node->item != nullptr && lstrcmpW(node->item->game_id.GetString(), id) == 0) {
    *cursor = node;
    return node->item;
  }
  return FindGameState(id);
}

// What this tick saw, sorted for binary searches; the buffers keep their capacity from tick to tick.
struct SeenThisTick {
  std::vector<const GameState*> mirrors;
  std::vector<const wchar_t*> game_ids;

  void Clear() {
    mirrors.clear();
    game_ids.clear();
  }
  void Sort() {
    std::sort(mirrors.begin(), mirrors.end());
    std::sort(game_ids.begin(), game_ids.end(),
              [](const wchar_t* a, const wchar_t* b) { return wcscmp(a, b) < 0; });
  }
  bool HasMirror(const GameState* mirror) const {
    return std::binary_search(mirrors.begin(), mirrors.end(), mirror);
  }
  bool HasGame(const wchar_t* id) const {
    return std::binary_search(game_ids.begin(), game_ids.end(), id,
                              [](const wchar_t* a, const wchar_t* b) { return wcscmp(a, b) < 0; });
  }
};

SeenThisTick& Seen() {
  static SeenThisTick seen;
  return seen;
}

// Drops the mirrors of games that left the game source; counts the installed ones and notes one in
// kGameNeedsUpdate.
void DropVanishedMirrors(int32_t* installed, bool* any_needs_update) {
  MirrorNode* node = GameStateList().head();
  while (node != nullptr) {
    MirrorNode* next = node->next;
    const wchar_t* id = node->item->game_id.GetString();
    if (!Seen().HasMirror(node->item)) {
      RefreshViews(id);
      GameStateList().Remove(node);
    } else {
      *installed += node->item->installed != 0;
      *any_needs_update = *any_needs_update || node->item->state == kGameNeedsUpdate;
    }
    node = next;
  }
}

// A GAME_ORDER entry lives as long as its game is in the catalogue: uninstalling keeps the user's order.
void DropOrdersOfVanishedGames(bool order_changed) {
  Setting* setting = Setting::GetInstance();
  if (setting == nullptr)
    return;
  for (;;) {
    const wchar_t* vanished = nullptr;
    for (auto* node = setting->GameOrder().head(); node != nullptr && vanished == nullptr;
         node = node->next) {
      if (!Seen().HasGame(node->item->game_id))
        vanished = node->item->game_id;
    }
    if (vanished == nullptr)
      break;
    setting->RemoveGameOrder(vanished);
    order_changed = true;
  }
  if (order_changed)
    setting->Save();
}

}  // namespace

void ProcessGames() {
  uint32_t now = CurrentTickSystem().Now();
  bool order_changed = false;
  bool selected_changed = false;
  bool held_back = false;
  MirrorNode* cursor = nullptr;
  SeenThisTick& seen = Seen();
  seen.Clear();
  size_t count = VisibleGameCount();
  for (size_t i = 0; i < count; ++i) {
    IGameInfo* game = VisibleGameAt(i);
    if (game == nullptr)
      continue;
    seen.game_ids.push_back(game->GetGameID());
    held_back = held_back || WithHeldBackMessages(game) != nullptr;
    GameState* mirror = FindMirror(game->GetGameID(), &cursor);
    if (mirror == nullptr) {
      seen.mirrors.push_back(AddMirror(game, &order_changed));
      cursor = GameStateList().tail();
      continue;
    }
    seen.mirrors.push_back(mirror);
    if (DiffersFrom(*mirror, game)) {
      selected_changed = FollowChange(mirror, game, now) || selected_changed;
      KeepInGameOrder(*mirror, &order_changed);
    }
    DeleteInstallerOnce(mirror, game);
    FetchIcons(mirror);
  }
  seen.Sort();
  int32_t installed = 0;
  bool any_needs_update = false;
  DropVanishedMirrors(&installed, &any_needs_update);
  QueueStep(installed, any_needs_update);
  DropOrdersOfVanishedGames(order_changed);
  if (selected_changed)
    CurrentTickView().EnsureCurrentGameVisible();
  // A message is a modal dialog: it must not run inside the frame's update pass, which would stop every
  // frame of the main window (and this tick) while the user reads it.
  if (held_back && !TickState().held_back_messages_asked)
    TickState().held_back_messages_asked = CurrentTickView().ShowHeldBackMessagesLater() ? 1 : 0;
}

void ShowHeldBackMessages() {
  TickState().held_back_messages_asked = 0;
  const size_t count = VisibleGameCount();
  for (size_t i = 0; i < count; ++i) {
    if (GameInfo* record = WithHeldBackMessages(VisibleGameAt(i)))
      record->ShowPendingFileMessages();
  }
}

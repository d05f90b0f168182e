#include "app/gamelist/GameButtonList.h"

#include <unordered_set>
#include <vector>

#include "app/gamelist/GameButton.h"
#include "app/gamelist/GameButtonInfo.h"
#include "app/games/GameSource.h"
#include "app/games/IGameInfo.h"
#include "app/settings/Setting.h"

GameButton* GameButtonList::FindButton(const wchar_t* game_id) const {
  if (game_id == nullptr)
    return nullptr;
  auto found = by_id_.find(game_id);
  return found != by_id_.end() ? found->second : nullptr;
}

bool GameButtonList::Contains(const TPLinkedList<GameButton>& list, const GameButton* button) {
  for (auto* node = list.head(); node != nullptr; node = node->next) {
    if (node->item == button)
      return true;
  }
  return false;
}

void GameButtonList::Unlink(TPLinkedList<GameButton>& list, const GameButton* button) {
  for (auto* node = list.head(); node != nullptr; node = node->next) {
    if (node->item == button) {
      list.Unlink(node);
      delete node;
      return;
    }
  }
}

int32_t GameButtonList::InstalledIndex(const GameButton* button) const {
  int32_t index = 0;
  for (auto* node = installed_.head(); node != nullptr; node = node->next, ++index) {
    if (node->item == button)
      return index;
  }
  return -1;
}

void GameButtonList::RemoveVanished() {
  std::unordered_set<std::wstring> ids;
  size_t count = VisibleGameCount();
  for (size_t i = 0; i < count; ++i) {
    if (IGameInfo* game = VisibleGameAt(i))
      ids.insert(game->GetGameID());
  }
  // One pass over each list: a vanished button leaves both shown lists, then the all list deletes it.
  for (TPLinkedList<GameButton>* list : {&installed_, &not_installed_}) {
    for (auto* node = list->head(); node != nullptr;) {
      auto* next = node->next;
      if (ids.count(node->item->GetGameId()) == 0) {
        list->Unlink(node);
        delete node;
      }
      node = next;
    }
  }
  for (auto* node = all_.head(); node != nullptr;) {
    auto* next = node->next;
    GameButton* button = node->item;
    if (button != nullptr && ids.count(button->GetGameId()) == 0) {
      if (hover == button)
        hover = nullptr;
      if (selected == button)
        selected = nullptr;
      by_id_.erase(button->GetGameId());
      all_.Remove(node);
    }
    node = next;
  }
}

GameButton* GameButtonList::AddButton(IGameInfo* game) {
  auto* node = all_.AddNew();
  if (node == nullptr)
    return nullptr;
  GameButton* button = node->item;
  if (button == nullptr) {
    all_.Remove(node);
    return nullptr;
  }
  button->Bind(game->GetGameID(), game->GetTitle(), game->GetOptionFlag3(), game->GetOptionFlag1(),
               game->GetOptionFlag0(), game->GetOptionFlag2());
  TPLinkedList<GameButton>& list = game->IsStartGame() != 0 ? installed_ : not_installed_;
  if (list.AddTail(button) == nullptr) {
    all_.Remove(node);
    return nullptr;
  }
  by_id_[button->GetGameId()] = button;
  return button;
}

void GameButtonList::TakeState(GameButton* button, IGameInfo* game, const GameButtonInfo* layout) {
  button->SetState(GameStateKey(game->GetState()), layout, game->IsStartGame(), game->GetOptionFlag3(),
                   game->GetOptionFlag1(), game->GetOptionFlag0(), game->GetOptionFlag2());
}

void GameButtonList::Sync(const GameButtonInfo* layout) {
  RemoveVanished();
  size_t count = VisibleGameCount();
  for (size_t i = 0; i < count; ++i) {
    IGameInfo* game = VisibleGameAt(i);
    if (game == nullptr)
      continue;
    GameButton* button = FindButton(game->GetGameID());
    if (button == nullptr)
      button = AddButton(game);
    if (button == nullptr)
      continue;
    TakeState(button, game, layout);
    if (layout != nullptr) {
      button->ApplyLayout(layout);
      button->Render();
    }
  }
  ReorderInstalled();
}

void GameButtonList::MoveToItsList(GameButton* button) {
  bool in_installed = Contains(installed_, button);
  if (button->installed() != 0 && !in_installed) {
    Unlink(not_installed_, button);
    installed_.AddTail(button);
  } else if (button->installed() == 0 && in_installed) {
    Unlink(installed_, button);
    not_installed_.AddTail(button);
    // Not drawn any more: it need not hold pictures.
    button->ReleasePictures();
  }
}

int GameButtonList::UpdateButton(const wchar_t* game_id, const GameButtonInfo* layout) {
  GameButton* button = FindButton(game_id);
  IGameInfo* game = FindGameInfo(game_id);
  if (button == nullptr && game == nullptr)
    return 0;
  if (button == nullptr || game == nullptr) {
    Sync(layout);
    return 1;
  }
  TakeState(button, game, layout);
  button->Render();
  MoveToItsList(button);
  return 1;
}

void GameButtonList::ApplyLayoutToAll(const GameButtonInfo* layout) {
  for (auto* node = all_.head(); node != nullptr; node = node->next) {
    if (node->item == nullptr)
      continue;
    node->item->ApplyLayout(layout);
    node->item->Render();
  }
}

void GameButtonList::RenderAll() {
  for (auto* node = all_.head(); node != nullptr; node = node->next) {
    if (node->item != nullptr)
      node->item->Render();
  }
}

int GameButtonList::ReorderInstalled() {
  Setting* setting = Setting::PeekInstance();
  if (setting == nullptr)
    setting = Setting::GetInstance();
  return setting != nullptr ? ReorderInstalledBy(setting->GameOrder()) : 0;
}

int GameButtonList::ReorderInstalledBy(const TLinkedList<GAME_ORDER>& order) {
  // The wanted id of each position (the first entry with that number), and where each button stands now;
  // both kept as maps so the walk stays linear in the number of installed games.
  std::unordered_map<int32_t, const wchar_t*> wanted_at;
  for (auto* node = order.head(); node != nullptr; node = node->next) {
    if (node->item != nullptr)
      wanted_at.emplace(node->item->order, node->item->game_id);
  }
  std::vector<TListNode<GameButton>*> slots;
  std::unordered_map<std::wstring, size_t> position_of;
  for (auto* node = installed_.head(); node != nullptr; node = node->next) {
    position_of.emplace(node->item->GetGameId(), slots.size());
    slots.push_back(node);
  }
  int changed = 0;
  for (size_t p = 0; p < slots.size(); ++p) {
    auto wanted = wanted_at.find(static_cast<int32_t>(p + 1));
    const wchar_t* wanted_id = wanted != wanted_at.end() ? wanted->second : L"";
    GameButton* here = slots[p]->item;
    if (std::wstring(here->GetGameId()) == wanted_id)
      continue;
    auto there = position_of.find(wanted_id);
    if (there == position_of.end())
      continue;
    size_t q = there->second;
    slots[p]->item = slots[q]->item;
    slots[q]->item = here;
    position_of[slots[p]->item->GetGameId()] = p;
    position_of[here->GetGameId()] = q;
    changed = 1;
  }
  return changed;
}

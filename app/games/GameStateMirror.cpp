#include "app/games/GameStateMirror.h"

TLinkedList<GameState>& GameStateList() {
  static TLinkedList<GameState> list;
  return list;
}

GameState* FindGameState(const wchar_t* game_id) {
  if (game_id == nullptr)
    return nullptr;
  for (TLinkedList<GameState>::Node* node = GameStateList().head(); node != nullptr; node = node->next) {
    if (node->item != nullptr && String::EqualsUpTo(node->item->game_id.GetString(), game_id, -1))
      return node->item;
  }
  return nullptr;
}

GameState* AddGameState() {
  TLinkedList<GameState>::Node* node = GameStateList().AddNew();
  if (node == nullptr)
    return nullptr;
  if (node->item == nullptr) {
    GameStateList().Remove(node);
    return nullptr;
  }
  return node->item;
}

#include "app/games/GameSource.h"

#include <cwchar>

#include "app/games/GameCatalogue.h"
#include "app/games/IGameInfo.h"

namespace {

GameSource* g_source = nullptr;

}  // namespace

void SetGameSource(GameSource* source) {
  g_source = source;
}

size_t VisibleGameCount() {
  return g_source != nullptr ? g_source->Count() : GameCount();
}

IGameInfo* VisibleGameAt(size_t index) {
  if (g_source != nullptr)
    return g_source->At(index);
  return index < GameCount() ? GameAt(index) : nullptr;
}

IGameInfo* FindGameInfo(const wchar_t* game_id) {
  if (game_id == nullptr)
    return nullptr;
  size_t count = VisibleGameCount();
  for (size_t index = 0; index < count; ++index) {
    IGameInfo* game = VisibleGameAt(index);
    if (game != nullptr && std::wcscmp(game->GetGameID(), game_id) == 0)
      return game;
  }
  return nullptr;
}

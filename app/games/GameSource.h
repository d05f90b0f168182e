// Where the user interface finds its games: the catalogue's games by default. Tests give their own game
// objects (the catalogue counts only the start game as installed, so it cannot stand for many installed games).
//
// Thread: the user-interface thread.
#pragma once

#include <cstddef>

class IGameInfo;

class GameSource {
 public:
  virtual ~GameSource() = default;
  virtual size_t Count() = 0;
  // Null past the end.
  virtual IGameInfo* At(size_t index) = 0;
};

// Null restores the catalogue. The source must outlive its use.
void SetGameSource(GameSource* source);
size_t VisibleGameCount();
IGameInfo* VisibleGameAt(size_t index);

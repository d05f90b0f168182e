// The queue of the update of all games: first in, first out, one record per game id. The actions fill it and
// start its head; the periodic tick follows the head through its statuses and removes it when it is done.
//
// Thread: the user-interface thread.
#pragma once

#include <cstdint>

#include "ui/base/String.h"

enum UpdateGameStatus : int32_t {
  kUpdateQueued = 0,
  kUpdateStarted = 1,  // the update was asked for; the game is not updating yet
  kUpdateRunning = 2,
};

struct UpdateGame {
  virtual ~UpdateGame() = default;
  String game_id;
  int32_t status = kUpdateQueued;
};

// Appends a record for `game_id`; null when it cannot be allocated.
UpdateGame* QueueUpdate(const wchar_t* game_id);
// The first record, or null.
UpdateGame* GetQueuedUpdateHead();
// Unlinks and deletes `record` (a record not in the queue is ignored).
void RemoveQueuedUpdate(UpdateGame* record);
// Deletes every record.
void ClearUpdateQueue();
bool IsUpdateQueueEmpty();

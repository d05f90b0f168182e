// The icon store: each game's small and large icon, fetched on a loader thread of its own so that the
// user-interface thread never waits for a download. The UI asks with FindGameIcon; an id it asks for the first
// time is queued, and a later call returns the fetched path.
//
// Threads: StartIconLoader, StopIconLoader and FindGameIcon are called on the user-interface thread; the
// loader thread fetches, and sleeps on an event while nothing is queued. The store's lock guards the list, every GameIcon's statuses and paths and the run
// state; the loader never holds it while it downloads, and it is taken after no other lock.
#pragma once

#include <cstdint>

#include "ui/base/String.h"
#include "ui/base/TLinkedList.h"

class IGameInfo;

// Icon statuses. Frozen values.
enum GameIconStatus : int32_t {
  kIconQueued = 0,
  kIconLoading = 1,
  kIconReady = 2,
  kIconFailed = 3,
};

// One game's two icons.
struct GameIcon {
  virtual ~GameIcon() = default;
  String game_id;
  int32_t small_status = kIconQueued;
  int32_t large_status = kIconQueued;
  String small_path;
  String large_path;
};

using GameIconList = TLinkedList<GameIcon>;

// Creates the store and starts the loader thread: 1. 0 when the store already runs (nothing changes) or the
// thread cannot be started (the store is removed again).
int StartIconLoader();
// Asks the loader to stop, aborts a download in progress, waits until the loader has ended and removes the
// store. Nothing when it does not run.
void StopIconLoader();

// The status of game `game_id`'s small (`which` 0) or large (1) icon, with its path copied into `path` (260
// units, may be null) when the status is kIconReady. An id not seen before is queued (status 0). 3 when the
// store does not run, the id is null or `which` is above 1.
int32_t FindGameIcon(const wchar_t* game_id, int32_t which, wchar_t* path);

// True once a stop of the loader was asked and until it has stopped: downloads abort (IconFile.h).
bool IconDownloadStopRequested();
// The binding of the icon download in progress (null when it ends), so that a stop can abort a download that
// waits for a silent server. Called by the download's callback on the loader thread.
struct IBinding;
void RegisterIconDownload(IBinding* binding);

// Where the loader finds a game by id; the default is the catalogue (FindCatalogueGameInfo). Tests install
// their own lookup; null restores the default. Set it while the loader is stopped.
typedef IGameInfo* (*IconGameLookup)(const wchar_t* game_id);
void SetIconGameLookup(IconGameLookup lookup);

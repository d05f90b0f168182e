// One game of the portal's catalogue as the rest of the launcher sees it: its catalogue texts, its state, its
// update progress and error, and the operations that install, update and start it. GameInfo is the one
// implementation; the catalogue (GameCatalogue.h) owns every game for the program's lifetime, and
// FindGameInfo looks one up by id.
//
// Threads: the operations run on the user-interface thread. The update engine's threads write the state,
// progress and error through the engine callback under the game's lock; GetProgress, Run and ClearError take
// that lock too. Lock order: an engine's own lock, then the game's lock; no operation calls into an engine
// while it holds a game's lock.
#pragma once

#include <cstdint>

// Game states (the state word). Frozen values. (GameState names the user interface's per-game mirror,
// GameStateMirror.h.)
enum GameStateValue : int32_t {
  kGameError = -1,  // the error number says which
  kGameNotInstalled = 0,
  kGameInstallerDownloading = 1,
  kGameInstallerStarted = 2,  // passing: the next check makes it 0, 5 or 3
  kGameLatest = 3,            // ready to run
  kGameBlocked = 4,           // not open, and no administrator session
  kGameNeedsUpdate = 5,
  kGameUpdating = 6,
};

// Error numbers, set together with kGameError. Frozen values.
//   1..8    installer phase (an engine error while the installer downloads keeps its code 1..8)
//   9..16   update failed: engine error code 1..8
//   17      update failed: engine error code 10 (a downloaded entry could not be applied)
//   18, 19  engine error codes 100 and 101
//   20      the engine library could not be bound, or it made no engine
//   21      any other engine error, or the engine could not start the update
enum GameErrorNumber : int32_t {
  kGameErrorNone = 0,
  kGameErrorUpdateFirst = 9,
  kGameErrorApply = 17,
  kGameErrorEngine100 = 18,
  kGameErrorEngine101 = 19,
  kGameErrorEngineUnavailable = 20,
  kGameErrorUnknown = 21,
};

// The progress of a game's update or installer download, copied out under the game's lock.
struct GameProgress {
  wchar_t current_file[260];  // the file being handled
  int64_t total_bytes;        // of the current file
  int64_t done_bytes;         // of the current file
  int32_t status_a;           // the engine status record's two trailing integers
  int32_t status_b;
  int64_t file_fraction;    // the engine status record's progress value, truncated
  double overall_fraction;  // 0.0 .. 1.0 over all files
  int32_t applying;         // 1 while a downloaded file is applied
};

class IGameInfo {
 public:
  virtual ~IGameInfo() = default;

  virtual const wchar_t* GetGameID() = 0;
  virtual const wchar_t* GetTitle() = 0;
  virtual const wchar_t* GetPostPage1Url() = 0;
  virtual const wchar_t* GetPostPage2Url() = 0;
  virtual const wchar_t* GetHomeUrl() = 0;
  virtual const wchar_t* GetField27() = 0;
  virtual const wchar_t* GetSkinID() = 0;
  virtual const wchar_t* GetEmptyText() = 0;  // always ""
  // The local path of the game's small (large) icon, fetched when its icon version changed; null on failure.
  virtual const wchar_t* FetchSmallIcon() = 0;
  virtual const wchar_t* FetchIcon() = 0;
  // Bits 1, 0, 2 and 3 of the catalogue's option bits.
  virtual int32_t GetOptionFlag1() = 0;
  virtual int32_t GetOptionFlag0() = 0;
  virtual int32_t GetOptionFlag2() = 0;
  virtual int32_t GetOptionFlag3() = 0;
  virtual int32_t GetState() = 0;
  // 1 when the game's installation was found.
  virtual int32_t IsStartGame() = 0;
  // Under the game's lock: copies the progress into `progress` (null is ignored).
  virtual void GetProgress(GameProgress* progress) = 0;
  // The game folder, or null while the game is not installed.
  virtual const wchar_t* GetGamePath() = 0;
  // Downloads and starts the game's installer into `folder` (kGameNotInstalled only).
  virtual void Install(const wchar_t* folder) = 0;
  virtual void CancelInstall() = 0;
  // kGameNeedsUpdate only: binds the game's engine library, makes a fresh engine and starts the update
  // (kGameUpdating).
  virtual void StartUpdate() = 0;
  // kGameUpdating only: stops the engine; the state becomes kGameNeedsUpdate or kGameLatest by the installed
  // version.
  virtual void StopUpdate() = 0;
  // Checks every file of the game through its engine, in any state. 0 for a game without an engine (its state
  // becomes kGameLatest), else 1 (started, or kGameError with the error number set).
  virtual int32_t StartFullCheck() = 0;
  // kGameLatest only: a game with an engine is updated first and starts when the update completes; a game
  // without one starts at once.
  virtual void Run() = 0;
  // The error number in kGameError, else 0.
  virtual int32_t GetError() = 0;
  // Under the game's lock: leaves the error state where the error allows it (installer errors -> 0, update
  // errors -> 5 or 3 by the installed version; 18, 20 and 21 stay in -1) and clears the error number.
  virtual void ClearError() = 0;
};

// The first game of the game source (GameSource.h: the catalogue unless a test set another) whose id equals
// `game_id` exactly (case counts); null when none or when `game_id` is null.
IGameInfo* FindGameInfo(const wchar_t* game_id);

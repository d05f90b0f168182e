// The game actions: what a click in the launcher window, the game list or the game popup menu does to a game,
// addressed by game id (an unknown id does nothing), with the checks and questions before it; the button
// states that follow from a game's state; and the update of all games with its queue.
//
// At most two games may be updating or downloading their installer at the same time (the capacity check).
// Messages and questions go through the game hooks (GameHooks.h): a question that cannot be asked because
// another modal question is open ends the action with nothing done.
//
// Thread: the user-interface thread only.
#pragma once

#include <cstdint>

#include "app/games/GameButtonStates.h"

struct GameState;
class UrlShell;

// The launcher window's five action buttons (its skin's buttons 110 .. 114, in this order).
enum ActionButton : int32_t {
  kInstallButton = 1,
  kCancelInstallButton = 2,
  kUpdateButton = 3,
  kStopUpdateButton = 4,
  kRunButton = 5,
};

// What the actions need of the launcher window and the game list: the launcher window and the game list header
// implement it; tests record the calls.
class GameActionView {
 public:
  virtual ~GameActionView() = default;
  // The id of the game the launcher window shows; null or "" when none.
  virtual const wchar_t* SelectedGameId() = 0;
  // The launcher window's action button `button` and its filecheck button get `flags` (ButtonFlags: bit 0
  // shown, bit 1 enabled).
  virtual void SetActionButton(ActionButton button, int32_t flags) = 0;
  virtual void SetFileCheckButton(int32_t flags) = 0;
  // Shows `game_id` in the launcher window.
  virtual void SelectGame(const wchar_t* game_id) = 0;
  // No game in the launcher window and none selected in the game list.
  virtual void DeselectGame() = 0;
  // The game list header's "update_all_btn" and "stop_update_all_btn".
  virtual void SetGlobalButtons(int32_t update_all, int32_t stop_all) = 0;
  // The launcher window's BUTTON_WAIT (ms): how long stop and cancel requests wait.
  virtual uint32_t ButtonWaitTime() = 0;
};

// The view the actions talk to (null: none, the launcher window is not there). Not owned.
void SetGameActionView(GameActionView* view);
GameActionView* GetGameActionView();
// The shell that OpenGameHomePage hands its URL to; null is the real one (tests never start a browser).
void SetGameActionUrlShell(UrlShell* shell);

// The process-wide state of the update of all games.
struct UpdateAllState {
  int32_t global_state = kGlobalNoInstalledGame;  // GlobalUpdateState
  GlobalButtonFlags buttons = {kButtonDisabled, kButtonHidden};
  int32_t stop_lock = 0;      // 1 from the start of an update of all games until its stop button is enabled
  uint32_t start_tick = 0;    // when the update of all games started
  uint32_t wait_time = 0;     // the button wait time at its start (ms)
  int32_t automatic_run = 0;  // 1 while an update of all games runs that the idle rule started
};
UpdateAllState& GlobalUpdate();

// Each acts only in the game state given.
void InstallGame(const wchar_t* game_id);        // kGameNotInstalled
void CancelInstallGame(const wchar_t* game_id);  // kGameInstallerDownloading
void UpdateOneGame(const wchar_t* game_id);      // kGameNeedsUpdate
void StopUpdateGame(const wchar_t* game_id);     // kGameUpdating
void RunGame(const wchar_t* game_id);            // kGameLatest
void FullCheckGame(const wchar_t* game_id);      // kGameLatest, kGameBlocked, kGameNeedsUpdate
void OpenGameHomePage(const wchar_t* game_id);   // any
// kGlobalSomethingToUpdate: queues every game in kGameNeedsUpdate in the order of the settings' GAME_ORDER
// and starts the first. 1 when a run started; 0 in another global state, when the capacity is used up, or
// when no game was queued.
int UpdateAllGames();
// kGlobalUpdatingAll: stops the started head of the queue and empties it; the automatic-run flag is cleared
// in any state.
void StopAllGames();
// Unless the skin is fixed: back to the portal's own skin with a skin change; no game selected.
void GoHome();
// Unless the skin is fixed: the game's skin (or the portal's own for an unknown id) with a skin change; the
// game shown in the launcher window with its button states.
void SelectGame(const wchar_t* game_id);

// The game popup menu's rows for a game's mirror: row i (command i + 1) is shown when shown[i] and enabled when
// enabled[i]. Commands: 1 install, 2 cancel install, 3 update, 4 stop update, 5 run, 6 full check, 7 home page.
struct GamePopupMenuRows {
  int32_t shown[7];
  int32_t enabled[7];
};
GamePopupMenuRows ComputeGamePopupMenuRows(const GameState& mirror);
// Opens the game popup menu (GamePopupMenu.h) at the cursor for a game that has a mirror; nothing otherwise.
// Its commands run the actions above on that game. 1 when the menu was opened.
int ShowGamePopupMenu(const wchar_t* game_id);
// What a command of the popup menu does, for the game it was opened for (0: closed without a choice).
void RunGamePopupMenuCommand(uint32_t command_id);

// The capacity check: true when fewer than two mirrors are in kGameInstallerDownloading or kGameUpdating;
// otherwise the "exceed_max_update_count" message was shown and the caller ends.
bool CheckUpdateCapacity();
// Computes the mirror's seven button flags from its state and hands them to the launcher window when the game
// is the one it shows.
void ApplyGameButtonStates(GameState* mirror);
// The two global buttons from the global state, to the game list header.
void ApplyGlobalButtons();

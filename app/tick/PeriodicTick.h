// The launcher's periodic work, run by the main dialog on every frame: closing after a game start, the
// catalogue re-check every UPDATE_TIMER period (the version file only every tenth time), the notices and the
// keyword hint, installer progress and installation detection, the game-state mirror with its buttons and
// error pop-ups, the changed-file messages that an open dialog held back, the delayed stop, cancel and enable
// requests, the queue of the update of all games, the automatic update when the computer is idle, and the
// power-off request after an automatic run.
//
// Tick counts wrap after about 49 days: a remembered tick that lies in the future is taken as 0, so that a wrap
// never makes anything wait that long.
//
// The period is measured from the launcher's LastCatalogueCheckTick (LauncherGlobals.h): start-up sets it when
// it ends, so the first periodic run comes one period after start-up, and every run moves it on.
//
// No window waits for a server here: on every tenth period the catalogue-folder query and the download of the
// game version file start on a worker (app/games/CatalogueRecheck.h), and a later tick applies what they found
// and refreshes the game states from it at once.
//
// Thread: user-interface thread only.
#pragma once

#include <cstdint>
#include <string>

struct LoadSample;

// What the tick asks of the system and the main dialog; tests give their own.
class TickSystem {
 public:
  virtual ~TickSystem() = default;
  virtual uint32_t Now() = 0;
  // Ends the main dialog through its OK operation.
  virtual void CloseMainDialog() = 0;
  // Starts the catalogue-folder number query and the download of the game version file off this thread
  // (nothing when a start is still running).
  virtual void StartCatalogueRecheck() = 0;
  // True, once, when a started re-check has ended and its result is applied to the catalogue.
  virtual bool FinishCatalogueRecheck() = 0;
  virtual int SampleLoad(LoadSample* sample) = 0;
  virtual uint32_t IdleMilliseconds() = 0;
  // Queues the error pop-up `text` for `game_id`, replacing one of the same game.
  virtual void ShowErrorPopup(const wchar_t* game_id, const wchar_t* text) = 0;
  // Shows the need-update pop-up unless one exists; false when it could not be made.
  virtual bool ShowNeedUpdatePopup(const wchar_t* text) = 0;
};

// What the tick tells the launcher window and the game list beyond the game actions' view (GameActions.h).
// Every operation does nothing by default.
class TickView {
 public:
  virtual ~TickView() = default;
  virtual void RefreshGame(const wchar_t* /*game_id*/) {}
  // True when the game's button in the game list changed (the list then keeps its scroll offset valid).
  virtual bool UpdateGameButton(const wchar_t* /*game_id*/) { return false; }
  virtual void ClampScrollAndLayOut() {}
  virtual void SetGameIcons(const wchar_t* /*game_id*/, const wchar_t* /*small*/, const wchar_t* /*large*/) {}
  virtual void EnsureCurrentGameVisible() {}
  virtual void RefreshNotices() {}
  virtual void SetSearchHint(const wchar_t* /*hint*/) {}
  virtual void UpdateProgress() {}
  // The game list panel reads its games and order again.
  virtual void RefreshGameList() {}
  // Asks for ShowHeldBackMessages once the frame is over, outside its update pass; true when asked (the
  // launcher's view asks the main dialog, and only while no guarded dialog is open).
  virtual bool ShowHeldBackMessagesLater() { return false; }
};

// The program's: the real clock, the main dialog, the catalogue, the idle monitor and the pop-up queue.
TickSystem& RealTickSystem();
// Null restores the real one. Not owned.
void SetTickSystem(TickSystem* system);
// The program's: the launcher window and the game list while they exist.
TickView& LauncherTickView();
// Null restores the program's. Not owned.
void SetTickView(TickView* view);
TickView& CurrentTickView();
TickSystem& CurrentTickSystem();

// The state the tick keeps between frames.
struct PeriodicTickState {
  uint32_t period = 0;          // ms; 0 disables the periodic part
  int32_t recheck_counter = 0;  // 0..9
  int32_t need_update_shown = 0;
  int32_t held_back_messages_asked = 0;  // ShowHeldBackMessagesLater asked, ShowHeldBackMessages not run yet
};
PeriodicTickState& TickState();
// The skin's UPDATE_TIMER "time"; a negative value counts as 0.
void SetCatalogueCheckPeriod(int32_t period);

void PeriodicTick();

// The steps, in the order PeriodicTick runs them.
// Every tenth call starts the re-check of the catalogue; every call refreshes the game states from the
// catalogue versions (RefreshGameVersionStates).
void RecheckCatalogue();
// For every game, under its lock, unless its state is 6, 1, 2 or -1: the catalogue version, open flag and
// option bits are taken again; an installed game becomes 5 when it needs an update, else 4 when it is
// neither open nor an administrator session, else 3.
void RefreshGameVersionStates();
void RefreshNotices();
void ShowKeywordHint();
void CheckInstallations();
void ProcessGames();
// Shows the changed-file messages that a guarded dialog held back, game by game; those refused again stay.
// Runs outside the frame (the main dialog's command), on the user-interface thread.
void ShowHeldBackMessages();
// `installed`: installed games in the mirror; `any_needs_update`: one is in kGameNeedsUpdate.
void QueueStep(int32_t installed, bool any_needs_update);
void AutoUpdate();
void ProcessPendingActions();

// The error pop-up's text for a game's error number (0: none, the result is empty): the AppMessage text of
// "update_error_<n>" ("update_unknown_error" for 21, "unknown error" when missing) with the title in its "%s".
std::wstring ErrorPopupText(int32_t error, const wchar_t* title);
// The error pop-up's answer: clears the game's error and removes the pop-up.
void OnErrorPopupClosed(const wchar_t* game_id, int32_t answer);
// The need-update pop-up's answer: clicked starts the update of all games; any close marks it shown.
void OnNeedUpdatePopupClosed(const wchar_t* key, int32_t answer);
// Deletes the need-update pop-up when one exists (shutdown).
void DeleteNeedUpdatePopup();

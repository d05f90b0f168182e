// The modal guard: one guarded modal dialog at a time (the settings dialog, every skinned question, every
// game message and a web page's message box).
// While it is held the main dialog's tray items 19 (settings), 20 (restore) and 21 (exit) are disabled and
// grey, so that the tray cannot open a second dialog or end the launcher under a question.
//
// Thread: user-interface thread only.
#pragma once

#include <windows.h>

#include <cstdint>

// Tray menu commands of the main dialog.
const UINT kTraySettingItem = 19;
const UINT kTrayRestoreItem = 20;
const UINT kTrayExitItem = 21;

// 0 when a guarded modal dialog is open already; otherwise takes the guard, greys the tray items and
// returns 1.
int32_t EnterModal();
// Enables tray items 19 and 21, and 20 only while the main dialog is minimised (restoring a shown window
// means nothing); releases the guard.
void LeaveModal();
// 1 while the guard is held.
int32_t IsModalOpen();

// A guarded question: 2 (cancel) at once when another guarded dialog is open, without showing anything;
// otherwise the message dialog's result (IDOK 1, IDCANCEL 2; -1 when it could not be made).
INT_PTR ShowModalMessage(const wchar_t* text, int32_t kind);

// Shows a game's message (a refused action, a changed or missing file) in the one-button message dialog as a
// guarded modal. False, showing nothing, while another guarded dialog is open; true once the message was
// dismissed, and also when its dialog could not be made (its skin is missing), since waiting would not bring
// the skin back.
bool PresentGameMessage(const wchar_t* text);
// Makes PresentGameMessage the game records' message presenter (app/games/GameHooks.h); start-up calls it.
void InstallGameMessagePresenter();
// Makes a web page's message box (ui/browser/CHtmlHostHandler.h) a guarded dialog; start-up calls it.
void InstallPageMessageGuard();

// Where the game records reach the launcher's user interface: the close request that a game start leaves for
// the periodic tick, and the one-button messages that an update shows (a changed or missing file).
//
// Thread: the close request may be set on an engine thread (a game started on update completion) and is read
// on the user-interface thread. Messages are shown on the user-interface thread only.
#pragma once

// Asks the launcher to close after a game start (the periodic tick closes it when the AutoClose setting is
// on).
void RequestLauncherClose();
// Reads and clears the close request: true when a game was started since the last call.
bool TakeLauncherCloseRequest();

// Shows `text` to the user and returns true when the user has dismissed it. The launcher's presenter shows it
// only when no other modal dialog or question is open; otherwise it returns false at once, showing nothing, and
// a caller that must not lose the message keeps it and offers it again later.
typedef bool (*GameMessagePresenter)(const wchar_t* text);
// Replaces the presenter; null restores the default, a system message box owned by no window. The launcher's
// skinned message dialog installs itself here; tests install a recorder, so that no modal box ever blocks.
void SetGameMessagePresenter(GameMessagePresenter presenter);
bool ShowGameMessage(const wchar_t* text);

// Asks `text` with two buttons and returns the answer: 1 the first button, 2 the second, 0 when the question
// could not be asked (another modal question is open), which the caller treats as "do nothing".
typedef int (*GameQuestionPresenter)(const wchar_t* text);
// Null restores the default, a system OK / Cancel box owned by no window; the launcher's skinned message dialog
// installs itself here and tests install a scripted answer.
void SetGameQuestionPresenter(GameQuestionPresenter presenter);
int AskGameQuestion(const wchar_t* text);

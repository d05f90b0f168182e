// The update-server selection: downloads the server list "locallist.xml" into the launcher folder (from the
// update address that the command line gave, CurrentUpdateAddr), lets the user pick a server in
// UpdateServerSelectDialog, stores it in the launcher-info ini and restarts the launcher when it changed.
//
// The list's download runs on a worker thread, within the downloader's first-answer, stall and speed limits,
// so that a window can go on while the server is slow: Begin starts it, the window's tick asks whether it
// has arrived, and Finish runs the rest (the list, the dialog, the choice) on the user-interface thread.
// One selection at a time.
//
// Thread: user-interface thread; the worker touches only its own download.
#pragma once

#include "app/launcherupdate/ServerSelectionResult.h"

// Starts the list's download. False when a selection is on its way already, or no worker could start.
bool BeginUpdateServerSelection();
// True once the started selection's download has ended (whether it got the list or not).
bool UpdateServerListArrived();
// Waits for the download when it has not ended yet, then runs the rest of the selection and gives its result
// (kServerListNotDownloaded when none was started). The selection is over afterwards.
SelectUpdateServerResult FinishUpdateServerSelection();
// Drops a selection on its way: cancels its download and waits for its worker (about a second at most).
void CancelUpdateServerSelection();

// Begin and Finish in one: start-up asks before any window exists.
SelectUpdateServerResult SelectUpdateServer();

// Runs before the launcher restarts onto a new server, after the settings were saved and the main window's
// tray icon removed: start-up sets it, when it creates the single-instance mutex, to close that mutex, so
// that the new process can own it (whether the selection runs at start-up or from the game list's menu).
// Null (the default) does nothing.
typedef void (*BeforeServerRestart)();
void SetBeforeServerRestart(BeforeServerRestart hook);

// How long the list download waits for the server's first answer.
constexpr unsigned long kServerListFirstAnswerMs = 10000;

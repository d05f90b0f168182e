// The update-server selection: downloads the server list "locallist.xml" into the launcher folder (from the
// update address that the command line gave, CurrentUpdateAddr), lets the user pick a server in
// UpdateServerSelectDialog, stores it in the launcher-info ini and restarts the launcher when it changed.
//
// Thread: user-interface thread (the download blocks it, bounded by the downloader's first-answer limit).
#pragma once

#include "app/launcherupdate/ServerSelectionResult.h"

SelectUpdateServerResult SelectUpdateServer();

// Runs before the launcher restarts onto a new server, after the settings were saved and the main window's
// tray icon removed: start-up sets it, when it creates the single-instance mutex, to close that mutex, so
// that the new process can own it (whether the selection runs at start-up or from the game list's menu).
// Null (the default) does nothing.
typedef void (*BeforeServerRestart)();
void SetBeforeServerRestart(BeforeServerRestart hook);

// How long the list download waits for the server's first answer.
constexpr unsigned long kServerListFirstAnswerMs = 10000;

// What the game list and the launcher window need from outside their own windows: the update server's name
// and its selection dialog (the self-update side), the process tool-tip of the main dialog, and a modal
// message. The defaults are the launcher's own (the launcher-info ini's server name, the server selection
// dialog, the main dialog's tip, search and start game, the guarded message dialog), defined with the windows
// they use (app/windows/GameListServiceDefaults.cpp), so that this room needs nothing above it; tests install
// recorders.
//
// Thread: user-interface thread only.
#pragma once

#include <windows.h>

#include <cstdint>

#include "app/launcherupdate/ServerSelectionResult.h"
#include "selfupdate/LauncherInfo.h"

struct GameListServices {
  // Writes the current update server's name into `text` of kLauncherInfoTextUnits units
  // (selfupdate/LauncherInfo.h), terminated.
  void (*read_update_name)(wchar_t* text) = nullptr;
  // The server selection in its three steps (app/windows/SelectUpdateServer.h): start the list's download,
  // ask whether it has arrived, run the rest once it has. The rest runs a dialog, so FinishRegionSelection
  // runs it as a guarded question.
  bool (*begin_update_server_selection)() = nullptr;
  bool (*update_server_list_arrived)() = nullptr;
  SelectUpdateServerResult (*finish_update_server_selection)() = nullptr;
  // Drops a selection on its way (the panel is going).
  void (*cancel_update_server_selection)() = nullptr;
  // Shows the tool-tip `text` (null: none) for the area `area` (screen coordinates) of the owner `key`.
  void (*show_tool_tip)(const RECT* area, uint32_t key, const wchar_t* text) = nullptr;
  // Shows `text` in the one-button message dialog through the modal guard.
  void (*show_message)(const wchar_t* text) = nullptr;
  // Opens a search for `text`; `from_list` 1 when it is the shown keyword hint (the main dialog's search).
  void (*open_search)(const wchar_t* text, int32_t from_list) = nullptr;
  // Applies the hand-over values to the launcher window (the main dialog's start-game step).
  void (*apply_start_game)() = nullptr;
};

// Replaces the services; a null member takes its default.
void SetGameListServices(const GameListServices& services);
void ReadUpdateServerName(wchar_t* text);
bool StartRegionSelection();
// True once the started selection's list has arrived and its dialog may open: no other guarded dialog
// (app/windows/ModalGuard.h) is open. An arrived list waits meanwhile.
bool RegionListArrived();
// Runs the rest of the selection under the modal guard and writes its result. False, running nothing, while
// another guarded dialog is open (the list waits on).
bool FinishRegionSelection(SelectUpdateServerResult* result);
void CancelRegionSelection();
void ShowLauncherToolTip(const RECT* area, uint32_t key, const wchar_t* text);
void ShowLauncherMessage(const wchar_t* text);
void OpenLauncherSearch(const wchar_t* text, int32_t from_list);
void ApplyLauncherStartGame();

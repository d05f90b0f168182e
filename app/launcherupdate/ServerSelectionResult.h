// How a run of the update-server selection ended. Frozen values: start-up and the game list's menu show their
// messages by them.
#pragma once

enum SelectUpdateServerResult : int {
  kServerChosen = 0,  // stored; the launcher restarted when it changed
  kServerListNotDownloaded = 1,
  kServerListUnreadable = 2,
  kServerNotChosen = 3,     // cancelled, no valid selection, or the choice could not be stored
  kServerDialogFailed = 4,  // the skin gives no window, or the dialog could not run
};

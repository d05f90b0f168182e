// The running launcher, as a second start finds it: the single-instance mutex named after the launcher title,
// and the main dialog that receives the hand-over.
//
// Only a dialog of our own kind receives the session values: a top-level window of the dialog class whose
// title is the launcher title and whose process runs the same program file as this one. A foreign window that
// happens to carry the title gets nothing.
//
// Thread: user-interface thread.
#pragma once

#include <windows.h>

#include "app/session/HandOver.h"
#include "app/startup/InstanceMutexResult.h"

// Creates the mutex `name`, initially owned, into *mutex (null when it failed). When another launcher holds
// it already, *mutex is still the handle to close.
InstanceMutexResult CreateSingleInstanceMutex(const wchar_t* name, HANDLE* mutex);
// The running launcher's main dialog titled `title`, or null.
HWND FindRunningLauncherDialog(const wchar_t* title);
// A dialog titled `title` of a process that runs `program_path`, or null.
HWND FindLauncherDialogOf(const wchar_t* title, const wchar_t* program_path);
// The self-update dialog of this program's temporary copy ("launcher_update_temp" in this program's folder),
// or null. While the copy updates the launcher it takes a second start's hand-over in the main dialog's place.
HWND FindRunningSelfUpdateDialog();
// Waits until `process` shows a dialog titled `title` of `program_path`: the dialog, or null once the
// process has ended or `limit_ms` passed.
HWND WaitForLauncherDialog(HANDLE process, const wchar_t* title, const wchar_t* program_path, DWORD limit_ms);

// The temporary copy's restart after a hand-over reached it: starts `program_path` with `command_line`,
// waits (up to `limit_ms`) for its main dialog titled `title` and hands it `record`, so that the session of
// the second start comes up in the updated launcher. True when the program started, whether or not its dialog
// came in time to take the record; false (GetLastError) when it could not start.
bool RestartAndHandOver(const wchar_t* program_path,
                        const wchar_t* command_line,
                        const wchar_t* title,
                        const HandOverRecord& record,
                        DWORD limit_ms);
// True when `window` belongs to a process of the program file `program_path` (case-insensitive).
bool WindowRunsProgram(HWND window, const wchar_t* program_path);
// The window class of the main dialog: the one class of every dialog host (ui/host/DialogWindow.cpp).
const wchar_t* const kLauncherDialogClass = L"OrvaneDialog";

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

#include "app/startup/InstanceMutexResult.h"

// Creates the mutex `name`, initially owned, into *mutex (null when it failed). When another launcher holds
// it already, *mutex is still the handle to close.
InstanceMutexResult CreateSingleInstanceMutex(const wchar_t* name, HANDLE* mutex);
// The running launcher's main dialog titled `title`, or null.
HWND FindRunningLauncherDialog(const wchar_t* title);
// True when `window` belongs to a process of the program file `program_path` (case-insensitive).
bool WindowRunsProgram(HWND window, const wchar_t* program_path);
// The window class of the main dialog: the one class of every dialog host (ui/host/DialogWindow.cpp).
const wchar_t* const kLauncherDialogClass = L"OrvaneDialog";

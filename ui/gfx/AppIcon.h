// The application's window icon: one process-wide icon, loaded once at start-up and destroyed at shutdown.
//
// Thread: user-interface thread only.
#pragma once

#include <windows.h>

// The resource id of the icon built into the program, used when no icon file lies beside it.
const int kAppIconResourceId = 128;

// Loads "<base>.ico" from disk (`base` is a path without the extension), or, when that fails, icon resource
// 128 of the program; keeps the icon process-wide (destroying one loaded before) and returns it. Null when
// neither exists or the file name does not fit MAX_PATH (it is never cut).
HICON LoadAppIcon(const wchar_t* base);
// Destroys the icon kept by LoadAppIcon, if any.
void FreeAppIcon();

// The "initializing" splash: a small bordered window in the middle of the screen that shows one text while
// the slow part of start-up runs. It has a thread of its own (which owns its window alone) so that it paints
// while the user-interface thread waits on the network.
//
// It shares with the user-interface thread only the launcher message font and the application icon, both
// made before StartSplash and released after StopSplash.
#pragma once

#include <windows.h>

// Starts the splash thread showing `text` (its window class takes `icon`) and returns once its message loop runs, or once the thread ended
// (its window could not be made). Nothing when a splash runs already.
void StartSplash(const wchar_t* text, HICON icon);
// Ends the splash thread and waits for it; nothing when none runs. Every exit path may call it.
void StopSplash();
// The splash thread's id, 0 when none runs.
DWORD SplashThreadId();

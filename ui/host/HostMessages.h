// The window messages and the timer that the window hosts add to the system's: the frame clock and the
// notification-area icon. The numbers are fixed (posted between windows and named in skins' behaviour).
#pragma once

#include <windows.h>

#include <cstdint>

// Posted at most once at a time per window by its frame timer; its handler runs the tree's Update.
const UINT WM_FRAME_TICK = WM_USER + 1;
// The notification-area icon's callback message: wParam the icon id, lParam the mouse message.
const UINT WM_TRAY_NOTIFY = WM_USER + 2;
// The frame timer of dialogs and pop-ups, and its period in milliseconds.
const UINT_PTR FRAME_TIMER_ID = 33;
const UINT kFramePeriodMs = 33;

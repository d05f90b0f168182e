// The second half of a user's journey through orvaneLauncher.exe against the generated demo portal, driven
// with real messages only: clicks at the rectangles that the default-skin script wrote
// (default_skin_rects.json), the tray icon's notification and the tray menu's commands, and second launcher
// processes for the hand-over. Each step saves build/screenshots/<prefix>-NN-<step>.png (prefix "journey"
// unless ORVANE_SCREENSHOT_PREFIX names another) and checks its real effect on files and processes.
//
// Thread: the test's thread. Failures are gtest assertions; callers wrap the walk in ASSERT_NO_FATAL_FAILURE.
#pragma once

#include <windows.h>

#include <string>

#include "tests/launcher/DemoLauncher.h"

namespace testing_support {

// The file in which the stand-in game program (the start game's game.exe and every installer) records its
// start: the launcher passes its environment on, so this must be set before the launcher starts.
std::wstring JourneyStartRecord(const DemoLauncher& demo);
// Names JourneyStartRecord in this process's environment (ORVANE_FAKE_GAME_RECORD), which every launcher
// started afterwards inherits. Call it before starting the launcher that the walk takes over.
void PrepareJourneyEnvironment(const DemoLauncher& demo);

// From the shown main window on: update the start game through the engine, run it (AutoClose ends the
// launcher, which is started again), the full check repairing a corrupted file, the settings dialog, the tray
// and quit, then a new start and a second start that hands over to it. (No install step: the launcher counts
// the session's start game as installed in its own folder, so no game with an installer is ever shown with
// its install button.)
// Precondition: the launcher runs as demo.process() with `main_window` shown, its server named, no
// self-update pending, the start game at the launcher folder's version, PrepareJourneyEnvironment called
// before it started, and the default settings (AutoClose and Minimize on). Screenshots are numbered from
// `first_step_number`. Afterwards no launcher runs; on a failure the screen is saved as "<NN>-failed".
void WalkFromTheMainWindowToTheHandOver(DemoLauncher& demo, HWND main_window, int first_step_number);

}  // namespace testing_support

// Which of a game's seven buttons are shown and enabled, by the game's state, and the two "all games" buttons
// by the global update state. Pure functions: the actions and the periodic tick apply the results.
//
// Button flags: bit 0 shown, bit 1 enabled (0 hidden, 1 shown disabled, 3 shown enabled).
#pragma once

#include <cstdint>

enum ButtonFlags : int32_t {
  kButtonHidden = 0,
  kButtonDisabled = 1,
  kButtonEnabled = 3,
};

struct GameButtonFlags {
  int32_t install;
  int32_t cancel_install;
  int32_t update;
  int32_t stop_update;
  int32_t run;
  int32_t home_page;
  int32_t full_check;
};

// `pending`: a stop, cancel or start is waiting (the button it concerns stays disabled); `installed`: the
// mirror's installed flag; `home_page` is what the home-page button shows now (kGameInstallerDownloading
// leaves it unchanged).
GameButtonFlags GameButtonsFor(int32_t state, bool pending, bool installed, int32_t home_page);

// The global update state (process-wide).
enum GlobalUpdateState : int32_t {
  kGlobalNoInstalledGame = 0,
  kGlobalNothingToUpdate = 3,
  kGlobalSomethingToUpdate = 5,
  kGlobalUpdatingAll = 6,
};

struct GlobalButtonFlags {
  int32_t update_all;
  int32_t stop_all;
};

// `stop_lock` 1: an update of all games started a moment ago, and stopping it waits for the button wait time.
GlobalButtonFlags GlobalButtonsFor(int32_t global_state, int32_t stop_lock);

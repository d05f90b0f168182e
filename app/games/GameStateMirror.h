// The game-state mirror: per catalogue game, what the user interface showed last (state, flags, icons) and
// the states of the game's seven action buttons. The periodic tick compares the games against it to find what
// changed.
//
// Thread: the user-interface thread only; the list is not locked.
#pragma once

#include <cstdint>

#include "ui/base/String.h"
#include "ui/base/TLinkedList.h"

// Pending actions of a mirror.
enum GameStatePending : int32_t {
  kPendingNone = 0,
  kPendingStarted = 1,        // a start just happened
  kPendingStopRequested = 2,  // a stop or cancel was requested
};

struct GameState {
  virtual ~GameState() = default;
  String game_id;
  int32_t state = 0;  // the game's last seen state (GameStateValue)
  int32_t installed = 0;
  int32_t installer_deleted = 1;
  // IGameInfo::GetOptionFlag3, GetOptionFlag1, GetOptionFlag0, GetOptionFlag2, in this order.
  int32_t option_flag3 = 0;
  int32_t option_flag1 = 0;
  int32_t option_flag0 = 0;
  int32_t option_flag2 = 0;
  int32_t small_icon_status = 0;
  int32_t large_icon_status = 0;
  wchar_t small_icon_path[260] = {};
  wchar_t large_icon_path[260] = {};
  // Button flags: bit 0 shown, bit 1 enabled.
  int32_t install_button = 0;
  int32_t cancel_install_button = 0;
  int32_t update_button = 0;
  int32_t stop_update_button = 0;
  int32_t run_button = 0;
  int32_t home_page_button = 0;
  int32_t full_check_button = 0;
  int32_t pending_action = kPendingNone;
  uint32_t wait_time = 0;  // ms
  uint32_t stamp = 0;      // tick count
};

// The process's mirrors, in the order they were added.
TLinkedList<GameState>& GameStateList();
// The first mirror whose id equals `game_id` exactly; null when none or `game_id` is null.
GameState* FindGameState(const wchar_t* game_id);
// A new mirror with every field at its start value, appended to the list; null when it cannot be allocated.
GameState* AddGameState();

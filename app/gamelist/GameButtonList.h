// The game list's buttons: one GameButton per game of the game source (GameSource.h), sorted into the
// installed games (drawn by the game list panel, ordered by the user's game order) and the games that are not
// installed (kept in step, never drawn), with the hover and selected button and the installed list's scroll
// state.
//
// Every button is in the all list (which owns it) and in exactly one of the installed and not-installed lists.
// Buttons are also indexed by game id, so keeping hundreds of games in step stays linear.
//
// Thread: user-interface thread only.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>

#include "app/gamelist/GameButton.h"
#include "ui/base/TLinkedList.h"
#include "ui/base/TPLinkedList.h"

class GameButtonInfo;
class IGameInfo;
struct GAME_ORDER;

class GameButtonList {
 public:
  GameButtonList() = default;
  virtual ~GameButtonList() = default;
  GameButtonList(const GameButtonList&) = delete;
  GameButtonList& operator=(const GameButtonList&) = delete;

  // The button of `game_id` (compared exactly), or null.
  GameButton* FindButton(const wchar_t* game_id) const;
  // Brings the buttons in step with the game source: buttons of vanished games are deleted (and stop being
  // hover or selected), new games get a button at the tail of their list, every button takes its game's state
  // (and, with a layout, the layout), then the installed list is put in the user's game order.
  void Sync(const GameButtonInfo* layout);
  // Brings one game's button in step: 0 when neither a button nor a game exists for the id; a Sync when only
  // one of them exists; else the button takes the game's state and moves between the lists when its
  // installed flag changed (to the tail). 1 otherwise.
  int UpdateButton(const wchar_t* game_id, const GameButtonInfo* layout);
  // Gives every button the layout (null: none, which drops their borrowed images) and marks its picture stale.
  void ApplyLayoutToAll(const GameButtonInfo* layout);
  // Puts the installed button at position p (1-based) that the settings' GAME_ORDER entry p names, by
  // exchanging places; positions without an entry stay. 1 when anything moved.
  int ReorderInstalled();
  int ReorderInstalledBy(const TLinkedList<GAME_ORDER>& order);
  // Marks every button's picture stale (an animation frame or a skin change).
  void RenderAll();

  const TPLinkedList<GameButton>& installed() const { return installed_; }
  const TPLinkedList<GameButton>& not_installed() const { return not_installed_; }
  const TLinkedList<GameButton>& all() const { return all_; }
  // The position of `button` in the installed list counted from 0, or -1.
  int32_t InstalledIndex(const GameButton* button) const;

  int32_t origin_x = 0;
  int32_t origin_y = 0;
  int32_t scroll_offset = 0;  // 0 or negative: minus the number of rows scrolled past
  int32_t visible_rows = 0;
  GameButton* hover = nullptr;     // borrowed from the all list
  GameButton* selected = nullptr;  // borrowed from the all list

 private:
  void RemoveVanished();
  GameButton* AddButton(IGameInfo* game);
  void TakeState(GameButton* button, IGameInfo* game, const GameButtonInfo* layout);
  // Moves `button` from one list to the tail of the other when its installed flag says so.
  void MoveToItsList(GameButton* button);
  static void Unlink(TPLinkedList<GameButton>& list, const GameButton* button);
  static bool Contains(const TPLinkedList<GameButton>& list, const GameButton* button);

  TPLinkedList<GameButton> installed_;
  TPLinkedList<GameButton> not_installed_;
  TLinkedList<GameButton> all_;
  std::unordered_map<std::wstring, GameButton*> by_id_;
};

// The games for which the launcher ends the web browser that called it before the game starts (the portal
// page's browser window is named by the Handle session value).
//
// List file "KILL.ini", read through the virtual files (a loose file or a pack entry) relative to the current
// folder; UTF-16LE with the byte-order mark (ui/base/IniFile.h):
//   [KILL_IE_GAME_ID]      count=<N>
//   [KILL_IE_GAME_ID_0]    game_id=<id>
//   ...                    ... up to [KILL_IE_GAME_ID_<N-1>]
//
// One process-wide instance (GetInstance), loaded at start-up. Thread: loading on the user-interface thread;
// the list is read by game starts, which may run on an engine thread after an update completes (the list does
// not change after start-up).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

class IniContainer;

class CIEKillerForGame {
 public:
  CIEKillerForGame();
  virtual ~CIEKillerForGame();
  CIEKillerForGame(const CIEKillerForGame&) = delete;
  CIEKillerForGame& operator=(const CIEKillerForGame&) = delete;

  static CIEKillerForGame& GetInstance();

  // Reads "KILL.ini". 1 success; 0 when the file is missing or has no byte-order mark, the count is missing
  // or below 1, or an entry has no "game_id" (the list is then empty).
  int Load();
  // The same for the list file at `path`.
  int LoadFrom(const wchar_t* path);

  // True when `game_id` equals one listed id exactly.
  bool Contains(const wchar_t* game_id) const;
  int32_t count() const { return static_cast<int32_t>(game_ids_.size()); }

  // For a listed game: ends the process that owns the window `browser_window` (exit code 0xFFFFFFFF). Nothing
  // happens for other games, for a window that does not exist, or for a window of this process (the launcher
  // never ends itself). Failures are silent.
  void EndCallingBrowser(const wchar_t* game_id, uintptr_t browser_window) const;

 private:
  void Clear();

  std::unique_ptr<IniContainer> list_;  // owns the id texts
  std::vector<const wchar_t*> game_ids_;
};

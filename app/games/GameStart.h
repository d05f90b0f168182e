// Starting a game: its program path, its command line, and the test whether a game's program is running.
//
// Program path: the game folder joined with
//   - loader type 1..4 (an engine-managed game): the catalogue's exe relative path ("bin\game.exe");
//   - loader type 0: the exe name followed by ".exe".
// The relative part comes from the catalogue server and must stay inside the game folder (no "..", no drive,
// no leading separator); a path of 260 characters or more is refused.
//
// Command line (the program path is always quoted; "tail" is the game-argument tail, app/session/GameArgs.h; the
// ShortcutArgs are left out when they are empty or "0"):
//   loader type 2 or 4:     "<path>" [<ShortcutArgs>]
//   loader type 0, 1 or 3:  "<path>" [<ShortcutArgs>] <tail> /ServerAddr:"<ServerAddr>"
//                           /StartGameID:"<game id>" /RepositorySub:"<RepositorySub>" /GamePath:"<GamePath>"
// (one line, single blanks). A quoted value can never break out of its quotes: a '"' in it is dropped and a
// trailing run of backslashes is doubled.
//
// Thread: any (pure functions and file tests).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

struct GameStartValues {
  int32_t loader_type;
  const wchar_t* game_path;          // the game folder
  const wchar_t* exe_name;           // loader type 0
  const wchar_t* exe_relative_path;  // loader types 1..4
  const wchar_t* shortcut_args;
  const wchar_t* server_addr;
  const wchar_t* game_id;
  const wchar_t* repository_sub;
};

// True when `path` is a relative path that stays below the folder it is joined to: not empty, no leading
// separator, no ':', and no empty or ".." component between '\' or '/' separators.
bool IsRelativePathBelow(const wchar_t* path);

// The program path into `path` (`units` long). False (and an empty path) when there is no game folder, the
// relative part would leave it, or the result does not fit.
bool GameProgramPath(const GameStartValues& values, wchar_t* path, size_t units);

// The command line for `program_path` and the game-argument `tail`.
std::wstring GameCommandLine(const GameStartValues& values, const wchar_t* program_path, const wchar_t* tail);

// True when the file exists and cannot be opened for exclusive writing: opened for reading with read sharing
// (failure: absent, false), then for writing with no sharing (failure: in use, true).
bool IsFileInUse(const wchar_t* path);
// IsFileInUse of `folder` + "\" + `name`; false when that path does not fit.
bool IsFileInUseIn(const wchar_t* folder, const wchar_t* name);

// The current-file text of the launcher window, as a pure function: the file the engine is handling, shown
// relative to the game folder when it lies inside it, else by its file name, with '/' separators.
//
// "Inside" means the folder is followed by a backslash or the end (so "C:\G\A" is not a prefix of
// "C:\G\AB\x"), comparing ASCII letters without regard to case as every file name here.
//
// Thread: any.
#pragma once

#include <string>

// At most 260 characters of `current_file` are looked at; `game_folder` may be null or empty.
std::wstring ShownFileText(const wchar_t* current_file, const wchar_t* game_folder);

// The two message tables: every text that the launcher shows comes from one of them, looked up by key in the
// section [MESSAGE].
//
//   "LauncherMessage.ini", beside the program: the texts needed before the skin is loaded (window title,
//   splash text, start-up and shutdown errors) and, in [FONT], the splash window's font and margins:
//       size (16), name ("Arial"), charset (0), gap_x (5), gap_y (5).
//   "data\skin\AppMessage.ini", through the virtual files (loose or in "data\skin.pak"), relative to the
//   current folder: the texts of everything after start-up.
//
// Both files are UTF-16LE with the byte-order mark (ui/base/IniFile.h); any other file (UTF-8, ANSI, empty)
// is treated as missing. The tables are process-wide and live until their release function runs.
//
// Thread: loading and releasing on the user-interface thread. The splash thread reads the launcher font while
// it runs; the font is made before the splash starts and released after it ends.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

class IniContainer;

// The splash window's font (null when none was made) and its margins in pixels.
struct LauncherMessageFont {
  HFONT font = nullptr;
  int32_t gap_x = 5;
  int32_t gap_y = 5;
};

// Writes the path of "LauncherMessage.ini" beside the program at `module_path` into `path` (`units` long):
// the module's file name replaced, or the bare name when the module path has no folder. False when it does
// not fit.
bool LauncherMessagePathFor(const wchar_t* module_path, wchar_t* path, size_t units);

// Loads the launcher table beside this program's module, replacing any loaded one, and makes its font. 1 when
// the table was built, else 0 (every lookup then falls back to its key, and there is no font).
int LoadLauncherMessages();
// The same for a program at `module_path` (tests point it into a temporary folder).
int LoadLauncherMessagesFor(const wchar_t* module_path);
// The same over the `byte_size` bytes of such a file (ParseIniFileContent): no file is read.
int LoadLauncherMessagesFromContent(const wchar_t* content, uint32_t byte_size);
// The launcher [MESSAGE] text of `key`; `key` itself when the table or the key is missing ("" for a null
// key).
const wchar_t* GetLauncherMessage(const wchar_t* key);
const LauncherMessageFont& GetLauncherMessageFont();
// The launcher table, or null.
IniContainer* LauncherMessageTable();
// Deletes the launcher table and its font; lookups fall back to their keys afterwards.
void ReleaseLauncherMessages();

// Loads "data\skin\AppMessage.ini", replacing any loaded table. 1 when the table was built, else 0.
int LoadAppMessages();
// The same over the `byte_size` bytes of such a file: no file is read.
int LoadAppMessagesFromContent(const wchar_t* content, uint32_t byte_size);
// The application [MESSAGE] text of `key`, or null when the table or the key is missing.
const wchar_t* GetAppMessage(const wchar_t* key);
// The same, or "unknown error" when the table or the key is missing.
const wchar_t* GetAppMessageOrUnknown(const wchar_t* key);
// The application table, or null; some readers look up their own keys in it.
IniContainer* AppMessageTable();
// Deletes the application table (the shutdown sequence does this).
void ReleaseAppMessages();

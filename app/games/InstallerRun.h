// The rules around a game's installer download that need no thread: where the file goes, what a failed
// transfer means for the game, and how a finished installer is started.
#pragma once

#include <windows.h>

#include <cstddef>

#include "net/HttpFileDownloader.h"

// Where the installer of `url` goes in `folder`: "<folder>\<the URL's text after its last '/'>".
enum InstallerPathResult {
  kInstallerPathOk = 0,
  // No '/' in the URL, or its tail is no plain file name (empty, "\", ":", "..", "?"): the installer cannot be
  // named, so the user is sent to the web page instead.
  kInstallerPathNoFileName = 1,
  // The joined path does not fit `units` (260): never cut, a cut path names another file.
  kInstallerPathTooLong = 2,
};
InstallerPathResult InstallerFilePath(const wchar_t* folder, const wchar_t* url, wchar_t* path, size_t units);

// The game's error number for a transfer that ended with `error`: 5 when libcurl had no handle for it, 7 when the file could not be written, 8 for anything the server did (status, stall,
// a size that does not add up); 0 for a cancelled transfer, whose state the cancel already set.
int InstallerErrorNumber(DownloaderError error);

// Starts what was downloaded: an ".exe" or ".msi" (exactly these, lower case) is opened in its folder;
// anything else shows the folder in the file explorer. Returns the shell's result (above 32 on success).
typedef HINSTANCE(WINAPI* InstallerShellExecute)(HWND window,
                                                 const wchar_t* verb,
                                                 const wchar_t* file,
                                                 const wchar_t* parameters,
                                                 const wchar_t* folder,
                                                 int show);
// Null restores ShellExecuteW; tests record the call instead of starting anything.
void SetInstallerShellExecute(InstallerShellExecute execute);
INT_PTR RunInstaller(const wchar_t* installer_file);

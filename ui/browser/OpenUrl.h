// OpenUrlWithInternetExplorer: opens a link that must leave the launcher (a page's link, a news item) in the
// system's Internet Explorer, or in the default browser where that is not installed.
//
// Only http:// and https:// links leave (letter case ignored): a page could otherwise start file: links or
// programs through other schemes. The URL goes to the browser as one quoted argument, so a page cannot add
// arguments of its own: '"' becomes %22, control characters are percent-encoded, and backslashes before the
// closing quote are doubled.
//
// The shell calls go through UrlShell, so that tests start no browser.
//
// Thread: any thread that may call the shell (the launcher calls it from the user-interface thread).
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

// The shell calls behind OpenUrlWithInternetExplorer.
class UrlShell {
 public:
  virtual ~UrlShell() = default;
  // The Program Files folder (special folder 38); empty when the system does not know it.
  virtual std::wstring ProgramFilesFolder();
  // The system directory (GetSystemDirectoryW); empty on failure.
  virtual std::wstring SystemDirectory();
  // True when `path` names an existing file.
  virtual bool FileExists(const std::wstring& path);
  // ShellExecuteW (no owner window, no working folder, SW_SHOW); the shell's result (above 32 on success).
  virtual intptr_t Execute(const wchar_t* verb, const std::wstring& file, const wchar_t* parameters);
};

// The answer for a URL that may not leave (SE_ERR_ACCESSDENIED): no shell call was made.
const intptr_t kUrlRefused = 5;

// True when `url` may be handed to an outside browser: it begins with "http://" or "https://" (any case)
// and has more after the scheme.
bool IsOutsideUrlAllowed(const wchar_t* url);
// `url` with '"' and control characters percent-encoded.
std::wstring EscapeUrl(const std::wstring& url);
// `url` as one command-line argument: EscapeUrl in double quotes, backslashes before the closing quote
// doubled.
std::wstring QuoteUrlArgument(const std::wstring& url);
// The browser's path: `program_files`, or when that is empty the drive root of `system_directory` (its first
// three characters) with "Program Files", then "Internet Explorer\IEXPLORE.EXE" as path elements.
std::wstring InternetExplorerPath(const std::wstring& program_files, const std::wstring& system_directory);

// Opens `url` with the verb "open": IEXPLORE.EXE with the quoted URL as its parameters when the program is
// there, else the escaped URL itself (the default browser). The shell's result; kUrlRefused for a URL that
// may not leave. `shell` null uses the real shell.
intptr_t OpenUrlWithInternetExplorer(const wchar_t* url, UrlShell* shell = nullptr);

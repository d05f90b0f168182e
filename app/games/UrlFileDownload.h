// URLDownloadToFileW within a time limit. The system call has no limit of its own: a server that accepts the
// request and never answers holds it, and the start-up that waits for it, for ever.
//
// The call gets a bind-status callback that ends the binding once the limit has passed: its OnProgress answers
// E_ABORT (a transfer that still trickles ends at its next report), and a timer-queue timer aborts the binding
// (IBinding::Abort) for a server that reports nothing at all, as the icon downloads do (IconFile.cpp).
//
// Thread: any thread; the call runs on it. The timer's check runs on a timer-queue thread.
#pragma once

#include <windows.h>

enum UrlFileDownloadResult : int {
  kUrlFileDownloaded = 0,  // URLDownloadToFileW reported S_OK within the limit
  kUrlFileFailed = 1,      // it reported a failure
  kUrlFileTimedOut = 2,    // the limit passed first; the transfer was aborted
};

// Downloads `url` into the file `path` (created or replaced by the system call), for at most about `limit_ms`
// (the timer looks every 100 ms).
int DownloadUrlToFile(const wchar_t* url, const wchar_t* path, DWORD limit_ms);

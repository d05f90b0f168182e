// Counts, for the update benchmark, the file-system calls that name a path that is not there ("look-ups of
// missing names"), and the directory searches (FindFirstFileW). Under Wine each such name costs a scan of its
// folder for a case-insensitive match, outside the server's trace, so the server's request count misses them.
//
// How: the kernel32 entries of the import tables of the program itself and of patchw32.dll are pointed at
// counting wrappers, and so are the engine's system-call table entries (filled before main runs). A wrapper
// asks for the path's attributes first (that query is not counted), then makes the real call. A call counts one
// look-up per name it resolves that is missing at that moment: the path of an open, create, attribute query or
// delete; both names of a move or rename (the source is normally there); a folder made anew.
//
// Only a counting run installs it: the extra query per call changes the timing. Thread: Install once before the
// engine starts; the counters are atomic, so every thread may pass through the wrappers.
#pragma once

#include <cstdint>

namespace file_call_counter {

struct Counts {
  uint64_t missing_names = 0;
  uint64_t directory_searches = 0;
  uint64_t named_calls = 0;
};

// Points the calls of the program and of `patch_library_path` (loaded here when it is not yet) at the
// counting wrappers. False when an import table could not be changed.
bool Install(const wchar_t* patch_library_path);

// The totals so far.
Counts Read();

}  // namespace file_call_counter

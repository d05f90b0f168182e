// One instruction of the patch server's file list: which file to bring to which state, and how. The session
// fills these from the list it receives; the worker takes them from the engine's queue one by one.
#pragma once

#include <cstdint>

struct FileEntry {
  int32_t sequence_number = 0;  // reported as the status's current entry
  int32_t kind = 0;             // how the file is fetched and applied
  int32_t size = 0;             // bytes of the finished file
  int32_t version = 0;
  int32_t registered_version = 0;
  uint32_t crc32 = 0;      // of the finished file
  wchar_t name[260] = {};  // relative to the install root; zero-filled beyond the received text
};

// How an entry is fetched and applied (FileEntry::kind). Any other value is never downloaded and only counts
// as done.
enum FileEntryKind : int32_t {
  kEntryZip = 1,       // the whole file as one zlib stream, from the registered-history store
  kEntryRtp = 2,       // a binary patch from the patch archive, applied to the installed file
  kEntryReserved = 5,  // never downloaded; a missing file gets ".nex" appended to the entry's name
  kEntryDelete = 6,    // the installed file and its record are removed
  kEntryNew = 7,       // a whole file, raw, moved into place unchanged
};

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

// A whole file mapped into memory: the patch and the installed file are read through one, the rebuilt file is
// written through one. Mapping instead of reading spares a copy of files that can be hundreds of MB, and lets
// zstd decode straight into the temporary file without a window buffer of its own.
//
// Owns the file handle, the mapping and the view; Close (or the destructor) releases all three, the view
// first. Not thread-safe; one owner at a time (move-only).
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "base/ScopedHandle.h"

namespace patch {

class MappedFile {
 public:
  MappedFile() = default;
  ~MappedFile() { Close(); }
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;

  // Opens an existing file for reading (others may read, nobody may write) and learns its size. Returns 0 or
  // the system error code.
  DWORD OpenForReading(const std::wstring& path);
  // Maps the opened file for reading; an empty file needs no mapping. Returns 0 or the system error code
  // (ERROR_FILE_TOO_LARGE above `max_size`).
  DWORD MapForReading(uint64_t max_size);
  // Creates (or empties) `path` with exactly `size` bytes and maps them for writing. Returns 0 or the system
  // error code.
  DWORD CreateForWriting(const std::wstring& path, uint32_t size);

  uint64_t size() const { return size_; }
  // The mapped bytes; empty before mapping and for an empty file.
  std::string_view bytes() const {
    return {static_cast<const char*>(view_), view_ ? static_cast<size_t>(size_) : 0};
  }
  char* writable_data() { return static_cast<char*>(view_); }
  // Writes the mapped bytes and the file through to the disk. Returns 0 or the system error code.
  DWORD Flush();
  void Close();

 private:
  DWORD Map(DWORD protection, DWORD access);

  UniqueHandle file_;
  UniqueHandle mapping_;
  void* view_ = nullptr;
  uint64_t size_ = 0;
};

}  // namespace patch

// The one owner of a Windows file handle: closes it when it ends. Move-only; NULL and INVALID_HANDLE_VALUE
// both mean "no handle".
#pragma once

#include <windows.h>

#include <cstdint>

class FileHandle {
 public:
  FileHandle() = default;
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  ~FileHandle() { Close(); }
  FileHandle(FileHandle&& other) noexcept : handle_(other.Release()) {}
  FileHandle& operator=(FileHandle&& other) noexcept {
    if (this != &other) {
      Close();
      handle_ = other.Release();
    }
    return *this;
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;

  bool valid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }
  HANDLE Release() {
    HANDLE handle = handle_;
    handle_ = nullptr;
    return handle;
  }
  void Close() {
    if (valid())
      CloseHandle(handle_);
    handle_ = nullptr;
  }

 private:
  HANDLE handle_ = nullptr;
};

// Opens an existing file for reading, others may read it too. An invalid owner when it cannot be opened.
FileHandle OpenFileForReading(const wchar_t* path);
// The file's size in bytes; false when it cannot be queried.
bool QueryFileSize(HANDLE file, uint64_t* size);
// Reads exactly `length` bytes at `offset`; false on any failure or when fewer bytes are there.
bool ReadFileAt(HANDLE file, uint64_t offset, void* buffer, uint32_t length);

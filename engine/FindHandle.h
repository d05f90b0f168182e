// Owner of a directory search handle: closed with FindClose (not CloseHandle) when it ends. NULL and
// INVALID_HANDLE_VALUE both mean "none".
#pragma once

#include <windows.h>

class FindHandle {
 public:
  explicit FindHandle(HANDLE handle) : handle_(handle) {}
  ~FindHandle() {
    if (*this)
      FindClose(handle_);
  }
  FindHandle(const FindHandle&) = delete;
  FindHandle& operator=(const FindHandle&) = delete;

  explicit operator bool() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

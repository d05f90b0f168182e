// The one owner of a kernel object handle (a thread, an event): closed when the owner ends or is reset, never
// copied, so no error path can leak or double-close it. NULL and INVALID_HANDLE_VALUE both mean "none".
#pragma once

#include <windows.h>

class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(HANDLE handle) : handle_(handle) {}
  ~UniqueHandle() { reset(); }
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other)
      reset(other.release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  HANDLE get() const { return handle_; }
  bool valid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
  explicit operator bool() const { return valid(); }

  // Closes the handle held (if any) and takes `handle`.
  void reset(HANDLE handle = nullptr) {
    if (valid())
      CloseHandle(handle_);
    handle_ = handle;
  }
  // Gives the handle up without closing it.
  HANDLE release() {
    HANDLE handle = handle_;
    handle_ = nullptr;
    return handle;
  }

 private:
  HANDLE handle_ = nullptr;
};

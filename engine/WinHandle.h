// The one owner of a Windows kernel handle (files, events, threads). Move-only; NULL and INVALID_HANDLE_VALUE
// both mean "none", so no caller has to remember which one an API returns. Directory searches have their own
// owner below, because they are closed by another call.
#pragma once

#include <windows.h>

#include <utility>

class WinHandle {
 public:
  WinHandle() = default;
  explicit WinHandle(HANDLE handle) : handle_(IsValid(handle) ? handle : nullptr) {}
  ~WinHandle() { Close(); }

  WinHandle(WinHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  WinHandle& operator=(WinHandle&& other) noexcept {
    if (this != &other) {
      Close();
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }
  WinHandle(const WinHandle&) = delete;
  WinHandle& operator=(const WinHandle&) = delete;

  static bool IsValid(HANDLE handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }

  HANDLE get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }

  // Gives up ownership; the caller closes the handle.
  HANDLE release() { return std::exchange(handle_, nullptr); }

  // Closes the handle (keeping the caller's GetLastError) and becomes empty.
  void Close() {
    if (handle_ != nullptr) {
      DWORD error = GetLastError();
      CloseHandle(handle_);
      SetLastError(error);
      handle_ = nullptr;
    }
  }

 private:
  HANDLE handle_ = nullptr;
};

// Owner of a FindFirstFileW search handle (closed with FindClose, not CloseHandle).
class FindHandle {
 public:
  explicit FindHandle(HANDLE handle) : handle_(handle) {}
  ~FindHandle() {
    if (handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr)
      FindClose(handle_);
  }
  FindHandle(const FindHandle&) = delete;
  FindHandle& operator=(const FindHandle&) = delete;

  explicit operator bool() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

// The one move-only owner of a Windows handle: it frees the handle with `Close` when it ends or is reset, and
// is never copied, so no error path can leak or double-free one. Both NULL and INVALID_HANDLE_VALUE mean
// "none" (CreateFileW and FindFirstFileW fail with the second, most other calls with the first). Freeing
// keeps the caller's GetLastError, so an owner that ends on an error path does not hide the error.
//
// Each kind of handle names its closer; the common kinds are below (kernel objects, directory searches,
// modules); the graphics and window layers add theirs (ui/gfx/GdiHandles.h, ui/host/WindowHandles.h).
//
// Thread: any; an owner is used by one thread at a time.
#pragma once

#include <windows.h>

template <typename Handle, typename Close>
class ScopedHandle {
 public:
  ScopedHandle() = default;
  explicit ScopedHandle(Handle handle) : handle_(handle) {}
  ~ScopedHandle() { reset(); }
  ScopedHandle(ScopedHandle&& other) noexcept : handle_(other.release()) {}
  ScopedHandle& operator=(ScopedHandle&& other) noexcept {
    if (this != &other)
      reset(other.release());
    return *this;
  }
  ScopedHandle(const ScopedHandle&) = delete;
  ScopedHandle& operator=(const ScopedHandle&) = delete;

  Handle get() const { return handle_; }
  bool valid() const { return !IsNone(handle_); }
  explicit operator bool() const { return valid(); }

  // Frees the handle held (if any, and unless it is `handle` itself) and takes `handle`.
  void reset(Handle handle = Handle()) {
    if (valid() && handle_ != handle) {
      const DWORD error = GetLastError();
      Close()(handle_);
      SetLastError(error);
    }
    handle_ = handle;
  }
  // Gives the handle up without freeing it.
  Handle release() {
    Handle handle = handle_;
    handle_ = Handle();
    return handle;
  }

  // The spelling of the former user-interface owner, kept while code written against it is merged; new code
  // calls reset() and release().
  void Reset(Handle handle) { reset(handle); }
  Handle Release() { return release(); }

 private:
  static bool IsNone(Handle handle) {
    return handle == Handle() || reinterpret_cast<HANDLE>(handle) == INVALID_HANDLE_VALUE;
  }

  Handle handle_ = Handle();
};

struct CloseKernelHandle {
  void operator()(HANDLE handle) const { CloseHandle(handle); }
};
struct CloseFindHandle {
  void operator()(HANDLE search) const { FindClose(search); }
};
struct FreeModuleHandle {
  void operator()(HMODULE module) const { FreeLibrary(module); }
};

// A kernel object: a file, mapping, event, thread or process (closed with CloseHandle).
using UniqueHandle = ScopedHandle<HANDLE, CloseKernelHandle>;
// A directory search of FindFirstFileW (closed with FindClose, never CloseHandle).
using FindHandle = ScopedHandle<HANDLE, CloseFindHandle>;
// A library loaded with LoadLibrary (freed with FreeLibrary).
using ScopedModule = ScopedHandle<HMODULE, FreeModuleHandle>;

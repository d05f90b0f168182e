// The move-only owner of one handle of the user interface or graphics layers: frees it with `Free` when it
// ends or is reset, so no error path leaks one. Null means "no handle". Each layer names its own kinds
// (ui/gfx/GdiHandles.h, ui/host/WindowHandles.h).
#pragma once

template <typename Handle, typename Free>
class ScopedHandle {
 public:
  ScopedHandle() = default;
  explicit ScopedHandle(Handle handle) : handle_(handle) {}
  ~ScopedHandle() { Reset(nullptr); }
  ScopedHandle(ScopedHandle&& other) noexcept : handle_(other.Release()) {}
  ScopedHandle& operator=(ScopedHandle&& other) noexcept {
    if (this != &other)
      Reset(other.Release());
    return *this;
  }
  ScopedHandle(const ScopedHandle&) = delete;
  ScopedHandle& operator=(const ScopedHandle&) = delete;

  Handle get() const { return handle_; }
  // Gives the handle up without freeing it.
  Handle Release() {
    Handle handle = handle_;
    handle_ = nullptr;
    return handle;
  }
  void Reset(Handle handle) {
    if (handle_ != nullptr && handle_ != handle)
      Free()(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_ = nullptr;
};

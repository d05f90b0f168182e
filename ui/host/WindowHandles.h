// Move-only owners of the user-interface handles that the window layer makes: windows, menus and icons (the
// GDI objects have theirs in ui/gfx/GdiHandles.h). Each frees its handle when it ends, so no error path leaks
// one. Null means "no handle".
//
// Thread: the thread that made the handle (windows and menus belong to it).
#pragma once

#include <windows.h>

template <typename Handle, typename Free>
class ScopedUserHandle {
 public:
  ScopedUserHandle() = default;
  explicit ScopedUserHandle(Handle handle) : handle_(handle) {}
  ~ScopedUserHandle() { Reset(nullptr); }
  ScopedUserHandle(ScopedUserHandle&& other) noexcept : handle_(other.Release()) {}
  ScopedUserHandle& operator=(ScopedUserHandle&& other) noexcept {
    if (this != &other)
      Reset(other.Release());
    return *this;
  }
  ScopedUserHandle(const ScopedUserHandle&) = delete;
  ScopedUserHandle& operator=(const ScopedUserHandle&) = delete;

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

struct FreeWindowHandle {
  void operator()(HWND window) const { DestroyWindow(window); }
};
struct FreeMenuHandle {
  void operator()(HMENU menu) const { DestroyMenu(menu); }
};
struct FreeIconHandle {
  void operator()(HICON icon) const { DestroyIcon(icon); }
};

// A window that is not bound to a Window object (test windows, message-only helpers).
using ScopedWindow = ScopedUserHandle<HWND, FreeWindowHandle>;
// A menu that is not attached to a window (a menu bar or pop-up set as a window's menu is freed with it).
using ScopedMenu = ScopedUserHandle<HMENU, FreeMenuHandle>;
// An icon made by CreateIcon..., LoadImage without LR_SHARED or ExtractIcon (never a shared resource icon).
using ScopedIcon = ScopedUserHandle<HICON, FreeIconHandle>;

// Move-only owners of the user-interface handles that the window layer makes: windows, menus and icons (the
// GDI objects have theirs in ui/gfx/GdiHandles.h). Each frees its handle when it ends, so no error path leaks
// one. Null means "no handle".
//
// Thread: the thread that made the handle (windows and menus belong to it).
#pragma once

#include <windows.h>

#include "base/ScopedHandle.h"

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
using ScopedWindow = ScopedHandle<HWND, FreeWindowHandle>;
// A menu that is not attached to a window (a menu bar or pop-up set as a window's menu is freed with it).
using ScopedMenu = ScopedHandle<HMENU, FreeMenuHandle>;
// An icon made by CreateIcon..., LoadImage without LR_SHARED or ExtractIcon (never a shared resource icon).
using ScopedIcon = ScopedHandle<HICON, FreeIconHandle>;

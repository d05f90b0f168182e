// The seam between the windowless node tree and the operating-system windows that some nodes own.
//
// A node that owns a real window (the dialog, pop-up and child hosts, the edit and browser hosts) returns its
// NativeWindow from NWnd::GetNativeWindow; every other node returns null. The tree reaches the operating
// system only through this interface: the per-frame show and hide of windowed nodes whose ancestors were
// hidden or shown, keyboard focus, the wheel's focus rule and the repaint request that ends an invalidation.
// So the whole tree and its input dispatch run headless in tests, with fakes in place of windows.
//
// The other direction, from the window to the tree, is a host's job: its window procedure calls the root
// node with decoded arguments, in client coordinates:
//
// clang-format off
//   button down, double-click   capture the mouse unless held, root->SetFocus(), then
//                               root->DispatchXButtonDown or DispatchXButtonDblClk
//   button up                   release the capture, then root->DispatchXButtonUp
//   mouse move                  request one mouse-leave message per entry, root->DispatchMouseMove(x, y, null)
//   mouse leave                 root->MouseLeave(null)
//   wheel                       root->DispatchMouseWheel(x, y, delta / 120 truncated toward zero), the
//                               message's screen point made relative to the window's top-left corner
//   capture taken away by another window (not the host's own release before a button-up)
//                               NWnd::ClearPressedNode()
//   activation                  root->SetActive(0 or 1)
//   show, enable, position, size
//                               the base NWnd::Show (the show echo honoured), NWnd::Enable, NWnd::Move and
//                               NWnd::Resize of the root
//   paint                       root->Draw(window dc, null, 0) on the window's DC, which copies the root's
//                               surface at (0, 0); the window is validated when that drew
//   frame tick                  root->Update()
// clang-format on
//
// Thread: user-interface thread only.
#pragma once

#include <windows.h>

class NativeWindow {
 public:
  // The window's handle; null before it exists.
  virtual HWND GetWindowHandle() const = 0;
  // Whether the window is shown now (IsWindowVisible).
  virtual bool IsWindowShown() const = 0;
  // Shows the window without activating it (show command 8) or hides it (0). Called by NWnd::Update with the
  // node's show-echo flag (show_echo_) set, so the show message that results only runs the node's OnShow
  // hook.
  virtual void ShowWindowEcho(bool show) = 0;
  // Whether the window has the keyboard focus now (GetFocus() == handle).
  virtual bool HasKeyboardFocus() const = 0;
  // Gives the window the keyboard focus.
  virtual void TakeKeyboardFocus() = 0;
  // Asks for a repaint of the whole window, without erasing (the end of every invalidation chain).
  virtual void InvalidateWindow() = 0;

 protected:
  ~NativeWindow() = default;
};

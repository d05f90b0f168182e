// NativeControlNode: the node side shared by the hosts of native child controls (the edit host NEdit and the
// web-browser host NHtmlCtrl). Such a node has no surface: the control paints itself in its own window, and
// the tree only places, shows and enables it; the control's window messages report its position, size,
// visibility and enabled state back to the node (the Follow... calls below).
//
// Placement: the control's window lies in the window of the node's nearest windowed ancestor, at the node's
// position plus the offset of its parent inside that window (NWnd::GetHostWindow).
//
// NativeWindow is implemented on the control's window, so the per-frame update hides the control while an
// ancestor is hidden and shows it again afterwards (the show message that results only runs OnShow).
//
// Thread: user-interface thread only.
#pragma once

#include <windows.h>

#include <cstdint>

#include "ui/view/NWnd.h"
#include "ui/view/NativeWindow.h"

class NativeControlNode : public NWnd, public NativeWindow {
 public:
  // The control's window; null before creation.
  virtual HWND ControlWindow() const = 0;

  HWND GetHwnd() override { return ControlWindow(); }
  NativeWindow* GetNativeWindow() override { return this; }
  // When the window exists: the whole window is invalidated without erasing. No dirty flag and no
  // propagation: the control paints itself.
  void Invalidate() override;

  // NativeWindow.
  HWND GetWindowHandle() const override { return ControlWindow(); }
  bool IsWindowShown() const override;
  void ShowWindowEcho(bool show) override;
  bool HasKeyboardFocus() const override;
  void TakeKeyboardFocus() override;
  void InvalidateWindow() override;

 protected:
  // Creation steps shared by the hosts: without a parent, or when the parent has no windowed ancestor, null.
  // Otherwise the node's fields are set (position, size, id, created, hidden, enabled, parent), the node is
  // appended to the parent's children, and the ancestor window is returned with the control's rectangle in
  // it in `*rect`.
  HWND BeginCreate(int32_t x, int32_t y, int32_t width, int32_t height, int32_t id, NWnd* parent, RECT* rect);
  // Undoes BeginCreate after a failed creation: unlinked from the parent, not created.
  void AbandonCreate();
  // After the control's window was made: the node's visible and enabled flags become the window's.
  void TakeWindowState();

  // Show (show, activate): when created and the flag differs, stores it and shows the window (show command 0
  // hide, 5 show, 8 show without activating).
  void ShowControl(int32_t show, int32_t activate);
  // Enable: when created and the flag differs, stores it and enables or disables the window.
  void EnableControl(int32_t enable);
  // Places the window at (x, y) plus the parent's offset in the ancestor window (no size, z-order or
  // activation change); nothing when not created or without an ancestor window. `only_when_elsewhere`: only
  // when the window is not already there.
  void PlaceControl(int32_t x, int32_t y, bool only_when_elsewhere);
  // Sets the window's size (no move, z-order or activation change) when created.
  void SizeControl(int32_t width, int32_t height);

  // The window's messages, reported to the node.
  // Its new position (client coordinates of the ancestor window): the node's position becomes it minus the
  // windowless ancestors' offset; when that differs, it is stored and OnMove runs.
  void FollowWindowPosition(int32_t x, int32_t y);
  // Its new size: unless minimised (SIZE_MINIMIZED), a size that differs is stored and OnSize runs.
  void FollowWindowSize(int32_t type, int32_t width, int32_t height);
};

// The node side shared by the top-level hosts (NPopup, NDialog): the node's own operations act on its window,
// whose messages then bring the node up to date (CustomBase.h). `WindowSide` is the host's window class
// (CCustomPopup, CCustomDialog), bound to this node.
//
// Thread: user-interface thread only.
#pragma once

#include <windows.h>

#include <cstdint>

#include "ui/host/CustomBase.h"

template <typename WindowSide>
class TopLevelHostNode : public CustomBaseNWnd, public WindowSide {
 public:
  TopLevelHostNode() : WindowSide(static_cast<CustomBaseNWnd&>(*this)) {}

  // Destroys the window (its WM_DESTROY destroys the node); a node without a window is destroyed at once.
  void Destroy() override {
    if (this->window_handle() != nullptr)
      this->DestroyNativeWindow();
    else
      NWnd::Destroy();
  }
  void Show(int32_t show, int32_t activate) override { this->ShowHostWindow(show, activate); }
  void Enable(int32_t enable) override {
    if (HWND window = this->window_handle())
      EnableWindow(window, enable ? TRUE : FALSE);
  }
  // Places the window at screen (x, y).
  void Move(int32_t x, int32_t y) override { this->MoveHostWindow(x, y); }
  void Resize(int32_t width, int32_t height) override { this->ResizeHostWindow(width, height); }
  int32_t IsTopLevel() override { return 1; }
  NativeWindow* GetNativeWindow() override { return this; }
};

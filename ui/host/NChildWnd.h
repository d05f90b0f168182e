// NChildWnd: a node that owns a child window inside the window of its nearest windowed ancestor, so that a
// part of a dialog can have a window of its own (clipping, its own z-order). It has no clock of its own: its
// parent's Update reaches it. Its window: class with double-clicks and the arrow cursor, text "CCustomWnd",
// WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN (not visible), WS_EX_NOPARENTNOTIFY, the node id as control
// id. See CustomBase.h for the messages.
//
// Destruction: Destroy (and the destructor) destroy the window; the node is destroyed by the window's
// WM_DESTROY. A derived class that overrides OnDestroy calls Destroy in its own destructor.
//
// Thread: user-interface thread only.
#pragma once

#include <cstdint>

#include "ui/host/CustomBase.h"
#include "ui/host/Window.h"

// The window side of a child host.
class CCustomWnd : public Window, public CustomBase {
 public:
  explicit CCustomWnd(CustomBaseNWnd& node) : CustomBase(*this, node) {}

 protected:
  LRESULT WindowProcedure(UINT message, WPARAM wparam, LPARAM lparam) override;
};

class NChildWnd : public CustomBaseNWnd, public CCustomWnd {
 public:
  NChildWnd() : CCustomWnd(static_cast<CustomBaseNWnd&>(*this)) {}
  ~NChildWnd() override;

  // Creates the window in the window of the parent's nearest windowed ancestor at (x, y) of the parent plus
  // the parent's offset in that window, size width x height; the node is created by the window's WM_CREATE.
  // 1 when the window exists; 0 without a parent, without an ancestor window or when creation failed.
  int32_t Create(int32_t x, int32_t y, int32_t width, int32_t height, int32_t id, NWnd* parent) override;
  // Destroys the window (and so the node).
  void Destroy() override;
  // Show command 0 (hide), 5 (show and activate) or 8 (show without activating); the node's flag follows from
  // the window's show message.
  void Show(int32_t show, int32_t activate) override;
  void Enable(int32_t enable) override;
  // Places the window at (x, y) of the parent plus the parent's offset in the nearest ancestor window.
  void Move(int32_t x, int32_t y) override;
  void Resize(int32_t width, int32_t height) override;
  // 1 when IsDialogMessageW handled the message for `window`.
  int32_t PreTranslateMessage(HWND window, MSG* message) override;
  NativeWindow* GetNativeWindow() override { return this; }

  // The node's pre-translation runs first, then the window's own (none).
  bool PreTranslateInput(MSG* message) override;
};

// NPopup: a node that owns a top-level pop-up window (menus, tool tips, notices). Its window: class with
// CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS and no cursor, background or icon; text "CCustomPopup";
// WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_SYSMENU; WS_EX_TOOLWINDOW (flags & 1) and WS_EX_TOPMOST
// (flags & 2). It runs the frame clock (FRAME_TIMER_ID) from its creation; its node's x, y are the window's
// screen position. With an owner node it is a child of that node, skipped by the owner's update, hit test
// and drawing (it is top-level), and destroyed with it. See CustomBase.h for the shared messages; a pop-up
// also handles WM_NCHITTEST, WM_TIMER, WM_FRAME_TICK, WM_CLOSE (OnClose) and WM_KILLFOCUS (OnKillFocus).
//
// Destruction: Destroy (and the destructor) destroy the window; the node is destroyed by the window's
// WM_DESTROY. A derived class that overrides OnDestroy calls Destroy in its own destructor.
//
// Thread: user-interface thread only.
#pragma once

#include <cstdint>

#include "ui/host/CustomBase.h"
#include "ui/host/TopLevelHostNode.h"
#include "ui/host/Window.h"

// The window side of a pop-up host: the frame clock and the pop-up's own messages, forwarded to the hooks
// that NPopup implements.
class CCustomPopup : public Window, public CustomBase {
 public:
  explicit CCustomPopup(CustomBaseNWnd& node) : CustomBase(*this, node) {}

  virtual void OnClose() = 0;
  virtual void OnKillFocus() = 0;

 protected:
  LRESULT WindowProcedure(UINT message, WPARAM wparam, LPARAM lparam) override;
  bool IsTopLevelHost() const override { return true; }
};

class NPopup : public TopLevelHostNode<CCustomPopup> {
 public:
  // Creation flags of CreatePopup.
  static const int32_t kToolWindow = 1;
  static const int32_t kTopmost = 2;

  NPopup() = default;
  ~NPopup() override;

  // Pop-ups are created through CreatePopup: 0.
  int32_t Create(int32_t x, int32_t y, int32_t width, int32_t height, int32_t id, NWnd* parent) override;
  // Creates the window at screen (x, y), width x height; with an owner node, the owner's nearest window owns
  // it and the node becomes the owner's child. 1 when the window exists; 0 when the owner has no window or
  // creation failed.
  virtual int32_t CreatePopup(int32_t x,
                              int32_t y,
                              int32_t width,
                              int32_t height,
                              NWnd* owner,
                              int32_t flags);
  // The answer for a point over no control: HTCAPTION (the window is dragged from its background).
  LRESULT HitTestCaption(int32_t x, int32_t y) override;
  // WM_CLOSE: default processing (the window is destroyed).
  void OnClose() override;
  // After the window lost the keyboard focus: nothing.
  void OnKillFocus() override;

  int32_t PreTranslateMessage(HWND window, MSG* message) override;
  bool PreTranslateInput(MSG* message) override;

 protected:
  // Starts the frame clock; 1.
  int32_t OnWindowCreated() override;
};

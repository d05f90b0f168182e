// The window side shared by the three window hosts (NChildWnd, NPopup, NDialog): the bridge between one
// operating-system window and the node tree whose root is the host's own node.
//
// CustomBaseNWnd is the node side: an NWnd that keeps the arguments of its pending creation (x, y, width,
// height, id, parent), because the node is created only when its window's WM_CREATE arrives.
//
// CustomBase is the window side: it implements NativeWindow for the root node and handles the messages that
// every host treats alike (HandleHostMessage), in client coordinates and with signed decoding:
//   WM_CREATE          after default processing: the window is placed at the creation rectangle,
//                      OnWindowCreated runs (0 fails the creation), the root is created from the pending
//                      arguments (its OnCreate answering 0 fails too: the message answers -1), and its
//                      visible and enabled flags are taken from the window;
//   WM_DESTROY         OnWindowDestroyed, the root's NWnd::Destroy, default;
//   WM_SHOWWINDOW, WM_ENABLE, WM_ACTIVATE, WM_WINDOWPOSCHANGED, WM_SIZE: default, then the root's base Show,
//                      Enable, SetActive, Move, Resize (a top-level host's root takes its window's screen
//                      position as it is; a child's root subtracts the windowless ancestors' offset);
//   WM_ERASEBKGND      answered 0 (the paint covers everything);
//   WM_CTLCOLOR...     asked of the node that owns the child control (OnCtlColor); null takes the default;
//   WM_PAINT           the whole tree drawn into the root's surface and copied to the window in one block
//                      transfer at (0, 0); default paint processing when the root is not created;
//   mouse buttons      default; capture (down), the root's SetFocus (down), capture released (up); the root's
//                      dispatch;
//   WM_MOUSEMOVE       one mouse-leave request per entry, the root's DispatchMouseMove;
//   WM_MOUSELEAVE      the root's MouseLeave (null);
//   WM_MOUSEWHEEL      the message's screen point made relative to the window's top-left corner (the
//                      hosts' windows have no frame, so that is the client point), delta / 120 truncated
//                      toward zero;
//   WM_CAPTURECHANGED  when another window took the capture (not our own release before a button-up), the
//                      pressed node is forgotten, so no node waits for a button-up that goes elsewhere.
// Top-level hosts (pop-ups, dialogs) also use HandleFrameMessage: WM_NCHITTEST (HTCLIENT over a control,
// else HitTestCaption: the window is dragged from its background), WM_TIMER (the frame timer posts one
// WM_FRAME_TICK unless one is already queued) and WM_FRAME_TICK (the root's Update).
//
// Thread: user-interface thread only.
#pragma once

#include <windows.h>

#include <cstdint>

#include "ui/view/NWnd.h"
#include "ui/view/NativeWindow.h"

class Window;

class CustomBaseNWnd : public NWnd {
 public:
  // The pending creation arguments, consumed when the window's WM_CREATE arrives.
  int32_t pending_x = 0;
  int32_t pending_y = 0;
  int32_t pending_width = 0;
  int32_t pending_height = 0;
  int32_t pending_id = 0;
  NWnd* pending_parent = nullptr;

  void SetPending(int32_t x, int32_t y, int32_t width, int32_t height, int32_t id, NWnd* parent) {
    pending_x = x;
    pending_y = y;
    pending_width = width;
    pending_height = height;
    pending_id = id;
    pending_parent = parent;
  }
};

class CustomBase : public NativeWindow {
 public:
  CustomBase(Window& window, CustomBaseNWnd& node) : window_(window), node_(node) {}
  virtual ~CustomBase() = default;
  CustomBase(const CustomBase&) = delete;
  CustomBase& operator=(const CustomBase&) = delete;

  // The node part of the same object: the root of this window's tree.
  NWnd* GetNWnd() { return &node_; }
  // Runs while the window is being created, before the root node is; 0 makes the creation fail.
  virtual int32_t OnWindowCreated() { return 1; }
  // Runs first when the window is destroyed.
  virtual void OnWindowDestroyed() {}
  // The hit-test answer for a point of the window (client coordinates) that is over no control.
  virtual LRESULT HitTestCaption(int32_t /*x*/, int32_t /*y*/) { return HTCAPTION; }

  // NativeWindow.
  HWND GetWindowHandle() const override;
  bool IsWindowShown() const override;
  void ShowWindowEcho(bool show) override;
  bool HasKeyboardFocus() const override;
  void TakeKeyboardFocus() override;
  void InvalidateWindow() override;

  // The rectangle where the window is placed when created (client coordinates of the parent window for a
  // child, screen coordinates for a top-level window).
  const RECT& creation_rect() const { return creation_rect_; }

 protected:
  void set_creation_rect(const RECT& rect) { creation_rect_ = rect; }
  // The messages every host handles alike; true when handled, with the answer in *result.
  bool HandleHostMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result);
  // The frame clock and hit test of top-level hosts; true when handled.
  bool HandleFrameMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result);
  // Top-level hosts' roots take their window's position as it is.
  virtual bool IsTopLevelHost() const { return false; }
  // Shows, hides or activates the window for the hosts' Show override (show command 0, 5 or 8).
  void ShowHostWindow(int32_t show, int32_t activate);
  // Places the window at (x, y) of its parent window's client area (children) or of the screen.
  void MoveHostWindow(int32_t x, int32_t y);
  void ResizeHostWindow(int32_t width, int32_t height);

  Window& window_;
  CustomBaseNWnd& node_;

 private:
  LRESULT OnCreateMessage(WPARAM wparam, LPARAM lparam);
  void OnWindowPosChanged(const WINDOWPOS* position);
  void OnPaintMessage();
  void OnButtonMessage(UINT message, int32_t x, int32_t y);
  void OnMouseMoveMessage(int32_t x, int32_t y);
  LRESULT HitTestMessage(LPARAM lparam);

  int32_t mouse_tracking_ = 0;
  RECT creation_rect_ = {0, 0, 0, 0};
  // Set around our own ReleaseCapture, whose WM_CAPTURECHANGED must not forget the pressed node.
  bool releasing_capture_ = false;
};

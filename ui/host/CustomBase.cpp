#include "ui/host/CustomBase.h"

#include <windowsx.h>

#include "ui/host/HostMessages.h"
#include "ui/host/Window.h"

HWND CustomBase::GetWindowHandle() const {
  return window_.window_handle();
}

bool CustomBase::IsWindowShown() const {
  HWND window = window_.window_handle();
  return window != nullptr && IsWindowVisible(window);
}

void CustomBase::ShowWindowEcho(bool show) {
  if (HWND window = window_.window_handle())
    ShowWindow(window, show ? SW_SHOWNA : SW_HIDE);
}

bool CustomBase::HasKeyboardFocus() const {
  HWND window = window_.window_handle();
  return window != nullptr && GetFocus() == window;
}

void CustomBase::TakeKeyboardFocus() {
  if (HWND window = window_.window_handle())
    SetFocus(window);
}

void CustomBase::InvalidateWindow() {
  if (HWND window = window_.window_handle())
    InvalidateRect(window, nullptr, FALSE);
}

void CustomBase::ShowHostWindow(int32_t show, int32_t activate) {
  if (HWND window = window_.window_handle())
    ShowWindow(window, !show ? SW_HIDE : (activate ? SW_SHOW : SW_SHOWNA));
}

void CustomBase::MoveHostWindow(int32_t x, int32_t y) {
  if (HWND window = window_.window_handle())
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CustomBase::ResizeHostWindow(int32_t width, int32_t height) {
  if (HWND window = window_.window_handle())
    SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool CustomBase::HandleHostMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) {
  *result = 0;
  NWnd& root = node_;
  switch (message) {
    case WM_CREATE:
      *result = OnCreateMessage(wparam, lparam);
      return true;
    case WM_DESTROY:
      OnWindowDestroyed();
      root.NWnd::Destroy();
      *result = window_.DefaultProcessing(message, wparam, lparam);
      return true;
    case WM_SHOWWINDOW:
      *result = window_.DefaultProcessing(message, wparam, lparam);
      root.NWnd::Show(wparam != 0 ? 1 : 0, 0);
      return true;
    case WM_ENABLE:
      *result = window_.DefaultProcessing(message, wparam, lparam);
      root.NWnd::Enable(wparam != 0 ? 1 : 0);
      return true;
    case WM_ACTIVATE:
      *result = window_.DefaultProcessing(message, wparam, lparam);
      root.SetActive(LOWORD(wparam) != WA_INACTIVE ? 1 : 0);
      return true;
    case WM_WINDOWPOSCHANGED:
      *result = window_.DefaultProcessing(message, wparam, lparam);
      OnWindowPosChanged(reinterpret_cast<const WINDOWPOS*>(lparam));
      return true;
    case WM_SIZE:
      *result = window_.DefaultProcessing(message, wparam, lparam);
      if (wparam != SIZE_MINIMIZED) {
        int32_t width = LOWORD(lparam);
        int32_t height = HIWORD(lparam);
        if (width != root.width() || height != root.height())
          root.NWnd::Resize(width, height);
      }
      return true;
    case WM_ERASEBKGND:
      *result = 0;
      return true;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: {
      NWnd* owner = root.FindByHwnd(reinterpret_cast<HWND>(lparam));
      HBRUSH brush = owner != nullptr ? owner->OnCtlColor(reinterpret_cast<HDC>(wparam),
                                                          static_cast<int32_t>(message - WM_CTLCOLORMSGBOX))
                                      : nullptr;
      *result = brush != nullptr ? reinterpret_cast<LRESULT>(brush)
                                 : window_.DefaultProcessing(message, wparam, lparam);
      return true;
    }
    case WM_PAINT:
      OnPaintMessage();
      return true;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      *result = window_.DefaultProcessing(message, wparam, lparam);
      OnButtonMessage(message, GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam));
      return true;
    case WM_MOUSEMOVE:
      *result = window_.DefaultProcessing(message, wparam, lparam);
      OnMouseMoveMessage(GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam));
      return true;
    case WM_MOUSELEAVE:
      mouse_tracking_ = 0;
      root.MouseLeave(nullptr);
      return true;
    case WM_MOUSEWHEEL: {
      window_.DefaultProcessing(message, wparam, lparam);
      RECT frame = {};
      GetWindowRect(window_.window_handle(), &frame);
      int32_t notches = GET_WHEEL_DELTA_WPARAM(wparam) / WHEEL_DELTA;  // truncates toward zero
      root.DispatchMouseWheel(GET_X_LPARAM(lparam) - frame.left, GET_Y_LPARAM(lparam) - frame.top, notches);
      return true;
    }
    case WM_CAPTURECHANGED:
      if (!releasing_capture_ && reinterpret_cast<HWND>(lparam) != window_.window_handle())
        NWnd::ClearPressedNode();
      *result = window_.DefaultProcessing(message, wparam, lparam);
      return true;
    default:
      return false;
  }
}

bool CustomBase::HandleFrameMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT* result) {
  *result = 0;
  switch (message) {
    case WM_NCHITTEST:
      *result = HitTestMessage(lparam);
      return true;
    case WM_TIMER:
      if (wparam == FRAME_TIMER_ID) {
        HWND window = window_.window_handle();
        MSG queued;
        // One tick waits at a time: a frame slower than the period builds no backlog.
        if (!PeekMessageW(&queued, window, WM_FRAME_TICK, WM_FRAME_TICK, PM_NOREMOVE))
          PostMessageW(window, WM_FRAME_TICK, 0, 0);
      }
      return true;
    default:
      if (message == WM_FRAME_TICK) {
        node_.Update();
        return true;
      }
      return false;
  }
}

LRESULT CustomBase::OnCreateMessage(WPARAM wparam, LPARAM lparam) {
  if (window_.DefaultProcessing(WM_CREATE, wparam, lparam) == -1)
    return -1;
  HWND window = window_.window_handle();
  SetWindowPos(window, nullptr, creation_rect_.left, creation_rect_.top,
               creation_rect_.right - creation_rect_.left, creation_rect_.bottom - creation_rect_.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  if (!OnWindowCreated())
    return -1;
  if (!node_.NWnd::Create(node_.pending_x, node_.pending_y, node_.pending_width, node_.pending_height,
                          node_.pending_id, node_.pending_parent)) {
    // The node may stay created when its OnCreate refused; the failed window must not leave it so.
    node_.NWnd::Destroy();
    return -1;
  }
  if (IsTopLevelHost()) {
    // A top-level node stands at its window's screen position from the start (the base creation puts a node
    // without a parent at (0, 0)).
    RECT frame = {};
    GetWindowRect(window, &frame);
    if (frame.left != node_.x() || frame.top != node_.y())
      node_.NWnd::Move(frame.left, frame.top);
  }
  node_.NWnd::Show(IsWindowVisible(window) ? 1 : 0, 0);
  node_.NWnd::Enable(IsWindowEnabled(window) ? 1 : 0);
  return 0;
}

void CustomBase::OnWindowPosChanged(const WINDOWPOS* position) {
  // Only a change that may have moved the window; the reported x, y are its position either way.
  if (position == nullptr || (position->flags & SWP_NOMOVE) != 0)
    return;
  POINT at = {position->x, position->y};
  if (!IsTopLevelHost()) {
    // A child window lies at its node's position plus the windowless ancestors' offset.
    POINT offset = {0, 0};
    NWnd::GetHostWindow(nullptr, &offset, &node_);
    at.x -= offset.x;
    at.y -= offset.y;
  }
  if (at.x != node_.x() || at.y != node_.y())
    node_.NWnd::Move(at.x, at.y);
}

void CustomBase::OnPaintMessage() {
  HWND window = window_.window_handle();
  HDC dc = GetDC(window);
  int32_t drawn = dc != nullptr ? node_.Draw(dc, nullptr, 0) : 0;
  if (dc != nullptr)
    ReleaseDC(window, dc);
  if (drawn)
    ValidateRect(window, nullptr);
  else
    window_.DefaultProcessing(WM_PAINT, 0, 0);
}

void CustomBase::OnButtonMessage(UINT message, int32_t x, int32_t y) {
  HWND window = window_.window_handle();
  NWnd& root = node_;
  bool up = message == WM_LBUTTONUP || message == WM_RBUTTONUP || message == WM_MBUTTONUP;
  if (up) {
    releasing_capture_ = true;
    ReleaseCapture();
    releasing_capture_ = false;
  } else {
    if (GetCapture() != window)
      SetCapture(window);
    root.SetFocus();
  }
  switch (message) {
    case WM_LBUTTONDOWN:
      root.DispatchLButtonDown(x, y);
      break;
    case WM_LBUTTONDBLCLK:
      root.DispatchLButtonDblClk(x, y);
      break;
    case WM_LBUTTONUP:
      root.DispatchLButtonUp(x, y);
      break;
    case WM_RBUTTONDOWN:
      root.DispatchRButtonDown(x, y);
      break;
    case WM_RBUTTONDBLCLK:
      root.DispatchRButtonDblClk(x, y);
      break;
    case WM_RBUTTONUP:
      root.DispatchRButtonUp(x, y);
      break;
    case WM_MBUTTONDOWN:
      root.DispatchMButtonDown(x, y);
      break;
    case WM_MBUTTONDBLCLK:
      root.DispatchMButtonDblClk(x, y);
      break;
    case WM_MBUTTONUP:
      root.DispatchMButtonUp(x, y);
      break;
    default:
      break;
  }
}

void CustomBase::OnMouseMoveMessage(int32_t x, int32_t y) {
  if (!mouse_tracking_) {
    TRACKMOUSEEVENT track = {};
    track.cbSize = sizeof(track);
    track.dwFlags = TME_LEAVE;
    track.hwndTrack = window_.window_handle();
    track.dwHoverTime = 0;
    if (TrackMouseEvent(&track))
      mouse_tracking_ = 1;
  }
  node_.DispatchMouseMove(x, y, nullptr);
}

LRESULT CustomBase::HitTestMessage(LPARAM lparam) {
  HWND window = window_.window_handle();
  RECT frame = {};
  GetWindowRect(window, &frame);
  int32_t x = GET_X_LPARAM(lparam) - frame.left;
  int32_t y = GET_Y_LPARAM(lparam) - frame.top;
  int32_t node_x = x;
  int32_t node_y = y;
  NWnd* hit = node_.HitTest(&node_x, &node_y, 0);
  if (hit != nullptr && hit != &node_)
    return HTCLIENT;
  return HitTestCaption(x, y);
}

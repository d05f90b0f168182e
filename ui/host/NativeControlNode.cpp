#include "ui/host/NativeControlNode.h"

void NativeControlNode::Invalidate() {
  if (HWND window = ControlWindow())
    InvalidateRect(window, nullptr, FALSE);
}

bool NativeControlNode::IsWindowShown() const {
  HWND window = ControlWindow();
  return window != nullptr && IsWindowVisible(window);
}

void NativeControlNode::ShowWindowEcho(bool show) {
  if (HWND window = ControlWindow())
    ShowWindow(window, show ? SW_SHOWNA : SW_HIDE);
}

bool NativeControlNode::HasKeyboardFocus() const {
  HWND window = ControlWindow();
  return window != nullptr && GetFocus() == window;
}

void NativeControlNode::TakeKeyboardFocus() {
  if (HWND window = ControlWindow())
    ::SetFocus(window);
}

void NativeControlNode::InvalidateWindow() {
  if (HWND window = ControlWindow())
    InvalidateRect(window, nullptr, FALSE);
}

HWND NativeControlNode::BeginCreate(int32_t x,
                                    int32_t y,
                                    int32_t width,
                                    int32_t height,
                                    int32_t id,
                                    NWnd* parent,
                                    RECT* rect) {
  if (parent == nullptr || created_)
    return nullptr;
  POINT offset = {0, 0};
  HWND host = NWnd::GetHostWindow(parent, &offset, nullptr);
  if (host == nullptr)
    return nullptr;
  x_ = x;
  y_ = y;
  width_ = width;
  height_ = height;
  id_ = id;
  created_ = 1;
  visible_ = 0;
  enabled_ = 1;
  parent_ = parent;
  AddToParent();
  *rect = RECT{x + offset.x, y + offset.y, x + offset.x + width, y + offset.y + height};
  return host;
}

void NativeControlNode::AbandonCreate() {
  RemoveFromParent();
  created_ = 0;
  visible_ = 0;
}

void NativeControlNode::TakeWindowState() {
  HWND window = ControlWindow();
  visible_ = window != nullptr && IsWindowVisible(window) ? 1 : 0;
  enabled_ = window != nullptr && IsWindowEnabled(window) ? 1 : 0;
}

void NativeControlNode::ShowControl(int32_t show, int32_t activate) {
  int32_t visible = show ? 1 : 0;
  if (!created_ || visible == visible_)
    return;
  visible_ = visible;
  if (HWND window = ControlWindow())
    ShowWindow(window, !show ? SW_HIDE : (activate ? SW_SHOW : SW_SHOWNA));
}

void NativeControlNode::EnableControl(int32_t enable) {
  int32_t enabled = enable ? 1 : 0;
  if (!created_ || enabled == enabled_)
    return;
  enabled_ = enabled;
  if (HWND window = ControlWindow())
    EnableWindow(window, enable ? TRUE : FALSE);
}

void NativeControlNode::PlaceControl(int32_t x, int32_t y, bool only_when_elsewhere) {
  HWND window = ControlWindow();
  if (!created_ || window == nullptr)
    return;
  POINT offset = {0, 0};
  HWND host = NWnd::GetHostWindow(nullptr, &offset, this);
  if (host == nullptr)
    return;
  POINT target = {x + offset.x, y + offset.y};
  if (only_when_elsewhere) {
    RECT now = {};
    GetWindowRect(window, &now);
    MapWindowPoints(nullptr, host, reinterpret_cast<POINT*>(&now), 2);
    if (now.left == target.x && now.top == target.y)
      return;
  }
  SetWindowPos(window, nullptr, target.x, target.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void NativeControlNode::SizeControl(int32_t width, int32_t height) {
  HWND window = ControlWindow();
  if (created_ && window != nullptr)
    SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void NativeControlNode::FollowWindowPosition(int32_t x, int32_t y) {
  if (!created_)
    return;
  POINT offset = {0, 0};
  NWnd::GetHostWindow(nullptr, &offset, this);
  int32_t node_x = x - offset.x;
  int32_t node_y = y - offset.y;
  if (node_x == x_ && node_y == y_)
    return;
  x_ = node_x;
  y_ = node_y;
  OnMove();
}

void NativeControlNode::FollowWindowSize(int32_t type, int32_t width, int32_t height) {
  if (!created_ || type == SIZE_MINIMIZED)
    return;
  if (width == width_ && height == height_)
    return;
  width_ = width;
  height_ = height;
  OnSize();
}

// Test nodes for the node tree: a node that records every hook it receives into a shared log and paints
// itself in one colour, and a node with a fake window in place of an operating-system one.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "ui/gfx/Dib.h"
#include "ui/view/NWnd.h"
#include "ui/view/NativeWindow.h"

namespace testing_support {

using HookLog = std::vector<std::string>;

class RecordingNode : public NWnd {
 public:
  RecordingNode(std::string name, HookLog* log, uint32_t colour = 0xFF000000)
      : name_(std::move(name)), log_(log), colour_(colour) {}
  ~RecordingNode() override { Destroy(); }

  // Creates and shows the node in one step; false when creation failed.
  bool Place(int32_t x, int32_t y, int32_t width, int32_t height, NWnd* parent) {
    if (!Create(x, y, width, height, 0, parent))
      return false;
    Show(1, 0);
    return true;
  }

  // Optional actions run inside hooks, to change the tree while it is walked.
  std::function<void()> on_update;
  std::function<void()> on_destroy;
  std::function<void()> on_paint;
  std::function<void()> on_left_up;
  std::function<void()> on_notify;
  // What OnNotify answers.
  int32_t notify_result = 0;
  int32_t blend_children = 1;

  void OnUpdate() override { Record("update", on_update); }
  void OnDestroy() override { Record("destroy", on_destroy); }
  void OnShow(int32_t show) override { Record(show ? "show" : "hide"); }
  void OnMove() override { Record("move"); }
  void OnPaint(HDC, Dib* surface) override {
    Record("paint", on_paint);
    if (surface != nullptr)
      surface->FillRect(RECT{0, 0, surface->width(), surface->height()}, colour_);
  }
  void OnLButtonDown(int32_t x, int32_t y) override { Record("ldown", x, y); }
  void OnLButtonUp(int32_t x, int32_t y) override {
    Record("lup", x, y);
    if (on_left_up)
      on_left_up();
  }
  void OnLButtonDblClk(int32_t x, int32_t y) override { Record("ldbl", x, y); }
  void OnRButtonDown(int32_t x, int32_t y) override { Record("rdown", x, y); }
  void OnRButtonUp(int32_t x, int32_t y) override { Record("rup", x, y); }
  void OnMButtonDown(int32_t x, int32_t y) override { Record("mdown", x, y); }
  void OnMButtonUp(int32_t x, int32_t y) override { Record("mup", x, y); }
  void OnMouseWheel(int32_t x, int32_t y, int32_t notches) override {
    Record("wheel", x, y, " " + std::to_string(notches));
  }
  void OnMouseMove(int32_t x, int32_t y) override { Record("over", x, y); }
  void OnMouseEnter(int32_t x, int32_t y) override { Record("enter", x, y); }
  void OnMouseLeave() override { Record("leave"); }
  int32_t OnNotify(int32_t code, intptr_t p1, intptr_t) override {
    int32_t result = notify_result;  // read first: the action may delete this node
    Record("notify " + std::to_string(code) + " " + std::to_string(p1), on_notify);
    return result;
  }
  int32_t BlendChildren() override { return blend_children; }

  const std::string& name() const { return name_; }

 private:
  void Record(const std::string& what, const std::function<void()>& action = nullptr) {
    log_->push_back(name_ + "." + what);
    if (action)
      action();
  }
  void Record(const std::string& what, int32_t x, int32_t y, const std::string& more = "") {
    log_->push_back(name_ + "." + what + "(" + std::to_string(x) + "," + std::to_string(y) + ")" + more);
  }

  std::string name_;
  HookLog* log_;
  uint32_t colour_;
};

// A node that owns a fake window: a handle value that no system call ever sees, and flags for what the tree
// asked of the window.
class WindowedNode : public RecordingNode, private NativeWindow {
 public:
  WindowedNode(std::string name, HookLog* log, uintptr_t handle, uint32_t colour = 0xFF000000)
      : RecordingNode(std::move(name), log, colour), handle_(reinterpret_cast<HWND>(handle)) {}
  ~WindowedNode() override { Destroy(); }

  NativeWindow* GetNativeWindow() override { return this; }

  bool window_shown = false;
  // Whether showing or hiding the window sends the show message back (a real window does when its state
  // changes).
  bool echoes_show = true;
  bool has_focus = false;
  int invalidations = 0;
  int focus_requests = 0;
  std::vector<bool> show_calls;

 private:
  HWND GetWindowHandle() const override { return handle_; }
  bool IsWindowShown() const override { return window_shown; }
  // The real window answers with a show message, which the host passes to the base Show.
  void ShowWindowEcho(bool show) override {
    show_calls.push_back(show);
    window_shown = show;
    if (echoes_show)
      NWnd::Show(show ? 1 : 0, 0);
  }
  bool HasKeyboardFocus() const override { return has_focus; }
  void TakeKeyboardFocus() override { ++focus_requests; }
  void InvalidateWindow() override { ++invalidations; }

  HWND handle_;
};

}  // namespace testing_support

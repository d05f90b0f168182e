#include "ui/browser/NHtmlCtrl.h"

LRESULT CCustomHtmlCtrl::WindowProcedure(UINT message, WPARAM wparam, LPARAM lparam) {
  LRESULT result = 0;
  switch (message) {
    case WM_SHOWWINDOW:
      result = DefaultProcessing(message, wparam, lparam);
      OnViewShown(wparam != 0 ? 1 : 0);
      return result;
    case WM_ENABLE:
      result = DefaultProcessing(message, wparam, lparam);
      OnViewEnabled(wparam != 0 ? 1 : 0);
      return result;
    case WM_WINDOWPOSCHANGED: {
      const WINDOWPOS* position = reinterpret_cast<const WINDOWPOS*>(lparam);
      if (position != nullptr && (position->flags & SWP_NOMOVE) == 0)
        OnViewMoved(position->x, position->y);
      return DefaultProcessing(message, wparam, lparam);
    }
    case WM_SIZE:
      result = CHtmlCtrl::WindowProcedure(message, wparam, lparam);
      OnViewSized(static_cast<int32_t>(wparam), LOWORD(lparam), HIWORD(lparam));
      return result;
    default:
      return CHtmlCtrl::WindowProcedure(message, wparam, lparam);
  }
}

NHtmlCtrl::~NHtmlCtrl() {
  Destroy();
}

int32_t NHtmlCtrl::Create(int32_t x, int32_t y, int32_t width, int32_t height, int32_t id, NWnd* parent) {
  if (window_handle() != nullptr)
    return 0;
  RECT rect = {};
  HWND host = BeginCreate(x, y, width, height, id, parent, &rect);
  if (host == nullptr)
    return 0;
  if (!CHtmlCtrl::Create(this, rect, host, id)) {
    AbandonCreate();
    return 0;
  }
  TakeWindowState();
  return 1;
}

int32_t NHtmlCtrl::Navigate(const wchar_t* url) {
  if (!created_)
    return 0;
  return CHtmlCtrl::Navigate(url);
}

int32_t NHtmlCtrl::CallScript(const wchar_t* name, std::wstring* result) {
  if (!created_)
    return 0;
  return CHtmlScript::CallScript(name, {}, result);
}

void NHtmlCtrl::Destroy() {
  if (!created_)
    return;
  DestroyNativeWindow();
  // The destroy message unlinked the node already; a view that never had a window did not.
  AbandonCreate();
}

void NHtmlCtrl::Show(int32_t show, int32_t activate) {
  ShowControl(show, activate);
}

void NHtmlCtrl::Enable(int32_t enable) {
  EnableControl(enable);
}

void NHtmlCtrl::Move(int32_t x, int32_t y) {
  PlaceControl(x, y, true);
}

void NHtmlCtrl::Resize(int32_t width, int32_t height) {
  if (created_ && (width != width_ || height != height_))
    SizeControl(width, height);
}

int32_t NHtmlCtrl::OnViewCreatedHook() {
  return OnCreate();
}

void NHtmlCtrl::OnViewDestroyedHook() {
  if (!created_)
    return;
  OnDestroy();
  AbandonCreate();
}

void NHtmlCtrl::OnViewShown(int32_t show) {
  OnShow(show);
}

void NHtmlCtrl::OnViewEnabled(int32_t enable) {
  OnEnable(enable);
}

void NHtmlCtrl::OnViewMoved(int32_t x, int32_t y) {
  FollowWindowPosition(x, y);
}

void NHtmlCtrl::OnViewSized(int32_t type, int32_t width, int32_t height) {
  FollowWindowSize(type, width, height);
}

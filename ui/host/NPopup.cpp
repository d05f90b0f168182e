#include "ui/host/NPopup.h"

#include "ui/host/HostMessages.h"

namespace {

const wchar_t kPopupClass[] = L"OrvanePopupWindow";

}  // namespace

LRESULT CCustomPopup::WindowProcedure(UINT message, WPARAM wparam, LPARAM lparam) {
  LRESULT result = 0;
  switch (message) {
    case WM_CLOSE:
      OnClose();
      return 0;
    case WM_KILLFOCUS:
      result = DefaultProcessing(message, wparam, lparam);
      OnKillFocus();
      return result;
    default:
      break;
  }
  if (HandleFrameMessage(message, wparam, lparam, &result) ||
      HandleHostMessage(message, wparam, lparam, &result))
    return result;
  return DefaultProcessing(message, wparam, lparam);
}

NPopup::~NPopup() {
  Destroy();
}

int32_t NPopup::Create(int32_t, int32_t, int32_t, int32_t, int32_t, NWnd*) {
  return 0;
}

int32_t NPopup::CreatePopup(int32_t x, int32_t y, int32_t width, int32_t height, NWnd* owner, int32_t flags) {
  if (window_handle() != nullptr)
    return 0;
  HWND owner_window = nullptr;
  if (owner != nullptr) {
    POINT offset = {0, 0};
    owner_window = NWnd::GetHostWindow(owner, &offset, nullptr);
    if (owner_window == nullptr)
      return 0;
  }
  DWORD ex_style = 0;
  if (flags & kToolWindow)
    ex_style |= WS_EX_TOOLWINDOW;
  if (flags & kTopmost)
    ex_style |= WS_EX_TOPMOST;
  const wchar_t* window_class =
      RegisterWindowClass(kPopupClass, CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS, nullptr, 0);
  SetPending(x, y, width, height, 0, owner);
  RECT rect = {x, y, x + width, y + height};
  set_creation_rect(rect);
  bool made = CreateNativeWindow(ex_style, window_class, L"CCustomPopup",
                                 WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_SYSMENU, rect,
                                 owner_window, nullptr);
  return made ? 1 : 0;
}

int32_t NPopup::OnWindowCreated() {
  SetTimer(window_handle(), FRAME_TIMER_ID, kFramePeriodMs, nullptr);
  return 1;
}

LRESULT NPopup::HitTestCaption(int32_t, int32_t) {
  return HTCAPTION;
}

void NPopup::OnClose() {
  DefaultProcessing(WM_CLOSE, 0, 0);
}

void NPopup::OnKillFocus() {}

int32_t NPopup::PreTranslateMessage(HWND window, MSG* message) {
  return window != nullptr && IsDialogMessageW(window, message) ? 1 : 0;
}

bool NPopup::PreTranslateInput(MSG* message) {
  return PreTranslateMessage(window_handle(), message) != 0;
}

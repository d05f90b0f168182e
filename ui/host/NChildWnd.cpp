#include "ui/host/NChildWnd.h"

namespace {

const wchar_t kChildClass[] = L"OrvaneChildWindow";

}  // namespace

LRESULT CCustomWnd::WindowProcedure(UINT message, WPARAM wparam, LPARAM lparam) {
  LRESULT result = 0;
  if (HandleHostMessage(message, wparam, lparam, &result))
    return result;
  return DefaultProcessing(message, wparam, lparam);
}

NChildWnd::~NChildWnd() {
  Destroy();
}

int32_t NChildWnd::Create(int32_t x, int32_t y, int32_t width, int32_t height, int32_t id, NWnd* parent) {
  if (parent == nullptr || window_handle() != nullptr)
    return 0;
  POINT offset = {0, 0};
  HWND host = NWnd::GetHostWindow(parent, &offset, nullptr);
  if (host == nullptr)
    return 0;
  const wchar_t* window_class = RegisterWindowClass(kChildClass, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW,
                                                    LoadCursorW(nullptr, IDC_ARROW), 0);
  SetPending(x, y, width, height, id, parent);
  RECT rect = {x + offset.x, y + offset.y, x + offset.x + width, y + offset.y + height};
  set_creation_rect(rect);
  bool made = CreateNativeWindow(WS_EX_NOPARENTNOTIFY, window_class, L"CCustomWnd",
                                 WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, rect, host,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
  return made ? 1 : 0;
}

void NChildWnd::Destroy() {
  if (window_handle() != nullptr)
    DestroyNativeWindow();
  else
    NWnd::Destroy();
}

void NChildWnd::Show(int32_t show, int32_t activate) {
  ShowHostWindow(show, activate);
}

void NChildWnd::Enable(int32_t enable) {
  if (HWND window = window_handle())
    EnableWindow(window, enable ? TRUE : FALSE);
}

void NChildWnd::Move(int32_t x, int32_t y) {
  POINT offset = {0, 0};
  if (NWnd::GetHostWindow(nullptr, &offset, this) == nullptr)
    return;
  MoveHostWindow(x + offset.x, y + offset.y);
}

void NChildWnd::Resize(int32_t width, int32_t height) {
  ResizeHostWindow(width, height);
}

int32_t NChildWnd::PreTranslateMessage(HWND window, MSG* message) {
  return window != nullptr && IsDialogMessageW(window, message) ? 1 : 0;
}

bool NChildWnd::PreTranslateInput(MSG* message) {
  return PreTranslateMessage(window_handle(), message) != 0;
}

#include "ui/host/NEdit.h"

#include <new>

namespace {

// The answer of GetText when no memory was left for the text.
wchar_t kNoText[] = L"";

}  // namespace

bool CCustomEdit::PreTranslateInput(MSG* message) {
  return PreTranslateWindowMessage(window_handle(), message) != 0;
}

LRESULT CCustomEdit::WindowProcedure(UINT message, WPARAM wparam, LPARAM lparam) {
  LRESULT result = 0;
  switch (message) {
    case WM_SHOWWINDOW:
      result = DefaultProcessing(message, wparam, lparam);
      OnWindowShown(wparam != 0 ? 1 : 0);
      return result;
    case WM_ENABLE:
      result = DefaultProcessing(message, wparam, lparam);
      OnWindowEnabled(wparam != 0 ? 1 : 0);
      return result;
    case WM_SETFOCUS:
      OnWindowFocusGained();
      return DefaultProcessing(message, wparam, lparam);
    case WM_KILLFOCUS:
      OnWindowFocusLost();
      return DefaultProcessing(message, wparam, lparam);
    case WM_WINDOWPOSCHANGED: {
      const WINDOWPOS* position = reinterpret_cast<const WINDOWPOS*>(lparam);
      if (position != nullptr && (position->flags & SWP_NOMOVE) == 0)
        OnWindowMoved(position->x, position->y);
      return DefaultProcessing(message, wparam, lparam);
    }
    case WM_SIZE:
      result = DefaultProcessing(message, wparam, lparam);
      OnWindowSized(static_cast<int32_t>(wparam), LOWORD(lparam), HIWORD(lparam));
      return result;
    default:
      return DefaultProcessing(message, wparam, lparam);
  }
}

NEdit::~NEdit() {
  Destroy();
}

int32_t NEdit::Create(int32_t, int32_t, int32_t, int32_t, int32_t, NWnd*) {
  return 0;
}

int32_t
NEdit::Create(int32_t x, int32_t y, int32_t width, int32_t height, int32_t id, NWnd* parent, uint32_t style) {
  if (window_handle() != nullptr)
    return 0;
  RECT rect = {};
  HWND host = BeginCreate(x, y, width, height, id, parent, &rect);
  if (host == nullptr)
    return 0;
  style_ = style;
  HWND window =
      CreateWindowExW(0, L"EDIT", L"", style | WS_CHILD, rect.left, rect.top, width, height, host,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  if (window != nullptr && !SubclassNativeWindow(window)) {
    DestroyWindow(window);
    window = nullptr;
  }
  if (window == nullptr) {
    AbandonCreate();
    return 0;
  }
  TakeWindowState();
  if (!OnCreate()) {
    DestroyNativeWindow();
    AbandonCreate();
    return 0;
  }
  return 1;
}

void NEdit::SetFont(HFONT font) {
  if (created_ && window_handle() != nullptr)
    SendMessageW(window_handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void NEdit::SetLimitText(uint32_t characters) {
  if (created_ && window_handle() != nullptr)
    SendMessageW(window_handle(), EM_LIMITTEXT, characters, 0);
}

uint32_t NEdit::GetLimitText() {
  if (!created_ || window_handle() == nullptr)
    return 0;
  return static_cast<uint32_t>(SendMessageW(window_handle(), EM_GETLIMITTEXT, 0, 0));
}

void NEdit::SetText(const wchar_t* text) {
  if (!created_ || window_handle() == nullptr)
    return;
  SetWindowTextW(window_handle(), text != nullptr ? text : L"");
  Invalidate();
}

const wchar_t* NEdit::GetText() {
  HWND window = window_handle();
  if (!created_ || window == nullptr)
    return nullptr;
  // The buffer is sized by the text that is there, not by the limit: a limit of 0 means about 2^31
  // characters, which no buffer should be made for.
  uint32_t length = static_cast<uint32_t>(GetWindowTextLengthW(window));
  if (text_buffer_ == nullptr || text_capacity_ < length) {
    text_buffer_.reset();
    text_capacity_ = 0;
    text_buffer_.reset(new (std::nothrow) wchar_t[static_cast<size_t>(length) + 1]);
    if (text_buffer_ == nullptr)
      return kNoText;
    text_capacity_ = length;
  }
  text_buffer_[0] = L'\0';
  GetWindowTextW(window, text_buffer_.get(), static_cast<int>(text_capacity_) + 1);
  return text_buffer_.get();
}

void NEdit::Destroy() {
  if (!created_)
    return;
  DestroyNativeWindow();
  RemoveFromParent();
  created_ = 0;
  visible_ = 0;
  focused_ = 0;
  OnDestroy();
}

void NEdit::Show(int32_t show, int32_t activate) {
  ShowControl(show, activate);
}

void NEdit::Enable(int32_t enable) {
  EnableControl(enable);
}

void NEdit::Move(int32_t x, int32_t y) {
  PlaceControl(x, y, false);
}

void NEdit::Resize(int32_t width, int32_t height) {
  SizeControl(width, height);
}

void NEdit::OnWindowShown(int32_t show) {
  OnShow(show);
}

void NEdit::OnWindowEnabled(int32_t enable) {
  OnEnable(enable);
}

void NEdit::OnWindowFocusGained() {
  focused_ = 1;
  OnSetFocus();
}

void NEdit::OnWindowFocusLost() {
  focused_ = 0;
  OnKillFocus();
}

void NEdit::OnWindowMoved(int32_t x, int32_t y) {
  FollowWindowPosition(x, y);
}

void NEdit::OnWindowSized(int32_t type, int32_t width, int32_t height) {
  FollowWindowSize(type, width, height);
}

int32_t NEdit::PreTranslateWindowMessage(HWND window, MSG* message) {
  return PreTranslateMessage(window, message);
}

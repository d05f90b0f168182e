#include "ui/host/Window.h"

#include <new>
#include <unordered_map>

namespace {

// The handle-to-object map and the object waiting for its window (user-interface thread only).
std::unordered_map<HWND, Window*>& BoundWindows() {
  static std::unordered_map<HWND, Window*> windows;
  return windows;
}
Window* pending_binding = nullptr;

}  // namespace

Window::~Window() {
  DestroyNativeWindow();
  if (pending_binding == this)
    pending_binding = nullptr;
}

Window* Window::FromHandle(HWND window) {
  if (window == nullptr)
    return nullptr;
  auto found = BoundWindows().find(window);
  return found != BoundWindows().end() ? found->second : nullptr;
}

int Window::BoundWindowCount() {
  return static_cast<int>(BoundWindows().size());
}

const wchar_t* Window::RegisterWindowClass(const wchar_t* name,
                                           UINT class_style,
                                           HCURSOR cursor,
                                           int window_extra_bytes) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW existing = {};
  existing.cbSize = sizeof(existing);
  if (GetClassInfoExW(instance, name, &existing))
    return name;
  WNDCLASSEXW window_class = {};
  window_class.cbSize = sizeof(window_class);
  window_class.style = class_style;
  window_class.lpfnWndProc = StaticWindowProcedure;
  window_class.cbWndExtra = window_extra_bytes;
  window_class.hInstance = instance;
  window_class.hCursor = cursor;
  window_class.lpszClassName = name;
  return RegisterClassExW(&window_class) != 0 ? name : nullptr;
}

bool Window::CreateNativeWindow(DWORD ex_style,
                                const wchar_t* class_name,
                                const wchar_t* text,
                                DWORD style,
                                const RECT& rect,
                                HWND parent,
                                HMENU id_or_menu) {
  if (handle_ != nullptr || class_name == nullptr)
    return false;
  BeginBinding();
  HWND window =
      CreateWindowExW(ex_style, class_name, text, style, rect.left, rect.top, rect.right - rect.left,
                      rect.bottom - rect.top, parent, id_or_menu, GetModuleHandleW(nullptr), nullptr);
  EndBinding();
  return window != nullptr && handle_ == window;
}

void Window::DestroyNativeWindow() {
  if (handle_ != nullptr)
    DestroyWindow(handle_);
  // A window that is destroyed without its WM_NCDESTROY reaching us (it never should) is still let go.
  if (handle_ != nullptr)
    Unbind();
}

bool Window::SubclassNativeWindow(HWND window) {
  if (handle_ != nullptr || window == nullptr || FromHandle(window) != nullptr)
    return false;
  WNDPROC own = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC));
  if (own == nullptr)
    return false;
  try {
    Bind(window);
  } catch (...) {
    return false;  // no memory for the map entry: the control keeps its own procedure
  }
  subclassed_procedure_ = own;
  SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(StaticWindowProcedure));
  return true;
}

LRESULT Window::DefaultProcessing(UINT message, WPARAM wparam, LPARAM lparam) {
  if (handle_ == nullptr)
    return 0;
  // A system control's procedure may be a thunk (the value GetWindowLongPtr gave): only CallWindowProc may
  // call it.
  if (subclassed_procedure_ != nullptr)
    return CallWindowProcW(subclassed_procedure_, handle_, message, wparam, lparam);
  return default_procedure_(handle_, message, wparam, lparam);
}

bool Window::PreTranslateInput(MSG* /*message*/) {
  return false;
}

bool Window::WalkPreTranslate(MSG* message, HWND stop) {
  for (HWND window = message->hwnd; window != nullptr; window = GetParent(window)) {
    // The object may go away while it pre-translates (a modal run ends): look it up on every step.
    if (Window* bound = FromHandle(window)) {
      if (bound->PreTranslateInput(message))
        return true;
    }
    if (window == stop)
      break;
  }
  return false;
}

LRESULT Window::WindowProcedure(UINT message, WPARAM wparam, LPARAM lparam) {
  return DefaultProcessing(message, wparam, lparam);
}

void Window::BeginBinding() {
  pending_binding = this;
}

void Window::EndBinding() {
  if (pending_binding == this)
    pending_binding = nullptr;
}

void Window::Bind(HWND window) {
  BoundWindows()[window] = this;
  handle_ = window;
}

void Window::Unbind() {
  BoundWindows().erase(handle_);
  handle_ = nullptr;
  subclassed_procedure_ = nullptr;
}

LRESULT CALLBACK Window::StaticWindowProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  // Nothing may unwind through the system's frames: a handler's exception ends its message with 0.
  Window* bound = FromHandle(window);
  if (bound == nullptr && pending_binding != nullptr) {
    try {
      pending_binding->Bind(window);
      bound = pending_binding;
    } catch (...) {
      // No memory for the map entry: the window stays unbound and its creation goes on without the object.
    }
    pending_binding = nullptr;
  }
  if (bound == nullptr)
    return DefWindowProcW(window, message, wparam, lparam);
  LRESULT result = 0;
  try {
    result = bound->WindowProcedure(message, wparam, lparam);
  } catch (...) {
    result = 0;
  }
  if (message == WM_NCDESTROY && bound->handle_ == window) {
    bound->Unbind();
    bound->OnWindowGone();
  }
  return result;
}

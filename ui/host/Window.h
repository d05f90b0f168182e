// Window: one operating-system window bound to one C++ object, the thin layer on which the window hosts
// stand. It gives only what the hosts use:
//   - window classes registered once per process whose procedure is the one static procedure below;
//   - a handle-to-object map (FromHandle), filled when the window's first message arrives and emptied after
//     WM_NCDESTROY;
//   - WindowProcedure, the one virtual that receives every message of the bound window; derived classes
//     decode the arguments (signed coordinates with GET_X_LPARAM / GET_Y_LPARAM) and call their handlers,
//     and pass what they do not handle to DefaultProcessing;
//   - the message pre-translation chain of the modal loop (WalkPreTranslate).
//
// Binding at creation: CreateNativeWindow (and DialogWindow's creation) marks the object as the pending one
// for this thread; the static procedure binds the first window it sees that is not yet in the map to the
// pending object. Creation is synchronous, so that first window is the one being made, and every message from
// the very first (WM_GETMINMAXINFO or WM_NCCREATE) on reaches the object, WM_CREATE included. A window
// created inside another window's creation message binds after the outer one did.
//
// Exceptions: no exception leaves the static procedure; one thrown by a handler ends that message with 0.
//
// Lifetime: the object must outlive its window. The destructor destroys a window that still exists, but by
// then the derived parts are gone and only Window's own handling runs; a derived class whose handlers matter
// at destruction destroys the window in its own destructor. An object must not be deleted inside one of its
// own messages.
//
// Thread: user-interface thread only (the map and the pending object are unguarded).
#pragma once

#include <windows.h>

class Window {
 public:
  Window() = default;
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  // The bound window; null before creation and after destruction.
  HWND window_handle() const { return handle_; }
  // The object bound to `window`, or null.
  static Window* FromHandle(HWND window);
  // The number of bound windows (diagnostics and tests).
  static int BoundWindowCount();

  // Registers a window class of this process whose procedure is the static procedure (once per name: a second
  // call with the same name only answers it). The class name, or null when registration failed.
  static const wchar_t* RegisterWindowClass(const wchar_t* name,
                                            UINT class_style,
                                            HCURSOR cursor,
                                            int window_extra_bytes);

  // Creates a window of a class from RegisterWindowClass bound to this object. `id_or_menu` is the control id
  // of a child window, else a menu (or null). False when this object already has a window or creation failed
  // (WM_CREATE answering -1 included).
  bool CreateNativeWindow(DWORD ex_style,
                          const wchar_t* class_name,
                          const wchar_t* text,
                          DWORD style,
                          const RECT& rect,
                          HWND parent,
                          HMENU id_or_menu);
  // Destroys the window when it exists (its messages run as usual); afterwards window_handle() is null.
  void DestroyNativeWindow();
  // Binds `window`, made from a class that is not ours (a system control such as "EDIT"), to this object:
  // its procedure is replaced by the static procedure, so it stands in the handle map and the
  // pre-translation walk, and its own procedure becomes DefaultProcessing until the window is gone. False
  // when this object already has a window, `window` is bound to another object or cannot be subclassed.
  bool SubclassNativeWindow(HWND window);

  // The default handling of a message: the class's default procedure (DefWindowProcW, or DefDlgProcW for
  // dialogs), or a subclassed control's own procedure.
  LRESULT DefaultProcessing(UINT message, WPARAM wparam, LPARAM lparam);

  // Pre-translation of a message taken from the queue before it is dispatched; true when it was consumed
  // (then it is neither translated nor dispatched). The base consumes nothing.
  virtual bool PreTranslateInput(MSG* message);
  // Offers `message` to the bound objects of its target window and of each parent up to `stop` (included),
  // nearest first; true as soon as one consumed it.
  static bool WalkPreTranslate(MSG* message, HWND stop);

 protected:
  // Every message of the bound window. The base passes it to DefaultProcessing.
  virtual LRESULT WindowProcedure(UINT message, WPARAM wparam, LPARAM lparam);
  // Called once the window is gone (after WM_NCDESTROY, the handle already unbound).
  virtual void OnWindowGone() {}

  // The procedure DefaultProcessing calls; dialogs set DefDlgProcW.
  void set_default_procedure(WNDPROC procedure) { default_procedure_ = procedure; }
  // Binding for creation calls made elsewhere (dialogs): the next new window of this thread binds to this
  // object. EndBinding forgets a pending binding that no window took.
  void BeginBinding();
  void EndBinding();

 private:
  static LRESULT CALLBACK StaticWindowProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  void Bind(HWND window);
  void Unbind();

  HWND handle_ = nullptr;
  WNDPROC default_procedure_ = DefWindowProcW;
  // The own procedure of a subclassed control; null otherwise.
  WNDPROC subclassed_procedure_ = nullptr;
};

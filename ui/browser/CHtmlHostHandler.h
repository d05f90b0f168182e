// CHtmlHostHandler: the answers that a web view gives to its browser's host questions (the document host's
// user-interface handler and show-UI calls, forwarded by CHtmlHostSite) and the receiver of page commands.
//
// The base answers give a plain child control: no context menu, no 3-D border, no scroll bars, themed
// controls, new windows opened by the browser itself, no external object for pages, and keyboard
// accelerators swallowed while Ctrl is held (Ctrl shortcuts such as new window or find never reach the
// browser). The 21 virtual operations keep their slot order (destructor first); OnScriptCommand and
// OnDocumentReady are hooks with empty bodies.
//
// Seams for tests: the Ctrl key's state (GetAsyncKeyState) and the message box of ShowMessage
// (MessageBoxW) are calls through SetHtmlHostSystemCalls.
//
// Thread: user-interface thread only (the browser control is apartment-threaded).
#pragma once

#include <windows.h>
// After windows.h, which they need.
#include <mshtmhst.h>
#include <objidl.h>

#include <cstdint>

// The host flags: DIALOG | NO3DBORDER | SCROLL_NO | OPENNEWWIN | THEME.
const DWORD kHtmlHostFlags = 0x4002D;
// The registry path given for the browser's options (in task memory, freed by the browser).
extern const wchar_t kHtmlOptionKeyPath[];
// The caption of every message box a page asks for.
extern const wchar_t kHtmlMessageCaption[];

struct HtmlHostSystemCalls {
  SHORT(WINAPI* get_async_key_state)(int key) = GetAsyncKeyState;
  int(WINAPI* message_box)(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) = MessageBoxW;
};
// Replaces the system calls of every handler; the defaults when `calls` is null. Tests only.
void SetHtmlHostSystemCalls(const HtmlHostSystemCalls* calls);

// The application's guard that keeps two modal dialogs from being open at once, which a page's message box
// asks as every other dialog does: `enter` gives 0 while another guarded dialog is open, else takes the guard
// and gives 1; `leave` releases it. The toolkit knows no such dialogs: without a guard (the default) a box is
// always shown.
struct HtmlMessageGuard {
  int32_t (*enter)() = nullptr;
  void (*leave)() = nullptr;
};
// Installs the guard of every handler; none when `guard` is null. The application calls it at start-up.
void SetHtmlMessageGuard(const HtmlMessageGuard* guard);

class CHtmlHostHandler {
 public:
  CHtmlHostHandler() = default;
  CHtmlHostHandler(const CHtmlHostHandler&) = delete;
  CHtmlHostHandler& operator=(const CHtmlHostHandler&) = delete;

  // Slot 0.
  virtual ~CHtmlHostHandler() = default;
  // 1: S_OK, no context menu.
  virtual HRESULT ShowContextMenu(DWORD id, POINT* point, IUnknown* command_target, IDispatch* object);
  // 2: flags kHtmlHostFlags, double-click action 0; S_OK (E_INVALIDARG for a null record).
  virtual HRESULT GetHostInfo(DOCHOSTUIINFO* info);
  // 3: E_NOTIMPL.
  virtual HRESULT ShowUI(DWORD id,
                         IOleInPlaceActiveObject* active_object,
                         IOleCommandTarget* command_target,
                         IOleInPlaceFrame* frame,
                         IOleInPlaceUIWindow* document);
  // 4, 5: S_OK.
  virtual HRESULT HideUI();
  virtual HRESULT UpdateUI();
  // 6 to 9: E_NOTIMPL.
  virtual HRESULT EnableModeless(BOOL enable);
  virtual HRESULT OnDocWindowActivate(BOOL activate);
  virtual HRESULT OnFrameWindowActivate(BOOL activate);
  virtual HRESULT ResizeBorder(LPCRECT border, IOleInPlaceUIWindow* window, BOOL frame_window);
  // 10: S_OK (swallowed) while Ctrl is down, else E_NOTIMPL.
  virtual HRESULT TranslateAccelerator(LPMSG message, const GUID* command_group, DWORD command_id);
  // 11: a task-memory copy of kHtmlOptionKeyPath; E_INVALIDARG for a null out pointer, E_OUTOFMEMORY.
  virtual HRESULT GetOptionKeyPath(LPOLESTR* key, DWORD reserved);
  // 12: S_FALSE.
  virtual HRESULT GetDropTarget(IDropTarget* drop_target, IDropTarget** replacement);
  // 13: null, E_NOTIMPL: pages get no external object.
  virtual HRESULT GetExternal(IDispatch** external);
  // 14: E_NOTIMPL.
  virtual HRESULT TranslateUrl(DWORD translate, LPWSTR url, LPWSTR* translated);
  // 15: null, S_OK.
  virtual HRESULT FilterDataObject(IDataObject* object, IDataObject** replacement);
  // 16: E_NOTIMPL.
  virtual HRESULT GetOverrideKeyPath(LPOLESTR* key, DWORD reserved);
  // 17: the page's text in a message box without an owner, captioned kHtmlMessageCaption (the page's caption
  // is not used), with the page's style, holding the message guard while it is up; its answer goes to
  // *result. While the guard is taken by another dialog nothing is shown and the answer is IDCANCEL. S_OK
  // either way, so that the browser never shows a box of its own.
  virtual HRESULT ShowMessage(HWND window,
                              LPOLESTR text,
                              LPOLESTR caption,
                              DWORD type,
                              LPOLESTR help_file,
                              DWORD help_context,
                              LRESULT* result);
  // 18: E_NOTIMPL.
  virtual HRESULT ShowHelp(HWND window,
                           LPOLESTR help_file,
                           UINT command,
                           DWORD data,
                           POINT point,
                           IDispatch* object);
  // 19: a command from the page (number, argument); nothing in the base.
  virtual void OnScriptCommand(int32_t number, const wchar_t* argument);
  // 20: the shown document completed; nothing in the base.
  virtual void OnDocumentReady();
};

// NDialog: a node that owns a top-level dialog window run modally, with the launcher's notification-area
// (tray) icon and tray menu.
//
// Creation: Create (width, height) only stores the node's pending size; DoModal makes the window from a
// built-in in-memory template (WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_SYSMENU, no
// controls, no title, no parent) and runs it modally (DialogWindow.h), owned by the window that
// set_modal_owner named (none by default). The window starts at (0, 0), 1 x 1 pixels; the node takes the
// pending size (1 x 1 unless Create set another) and a skinned dialog resizes the window from its skin.
// WM_CREATE starts the frame clock and fills the tray record's window and id (1).
//
// Messages beyond CustomBase.h's: WM_NCHITTEST, WM_TIMER, WM_FRAME_TICK (as pop-ups), WM_CLOSE (OnClose),
// WM_SYSCOMMAND (below), WM_TRAY_NOTIFY (OnTrayNotify), WM_COPYDATA (OnCopyData, answered TRUE), the IDOK and
// IDCANCEL commands (OnOK, OnCancel), and every other menu command (WM_COMMAND with a high word 0: the tray
// menu's, and requests posted to the dialog) through OnCommand, which consumes it by answering non-zero. They
// are taken in the window procedure, so that whichever message loop dispatches them (the dialog's own, a
// menu's, a window move's, another dialog's) they arrive. The pre-translation hands the rest to the dialog
// manager.
//
// Minimise and restore (WM_SYSCOMMAND): SC_MINIMIZE while not minimised runs OnMinimize and marks the dialog
// minimised; in tray mode the window is then hidden instead of minimised. SC_RESTORE while minimised runs
// OnRestore and clears the mark; in tray mode the window is shown without activation. Everything else (a
// second minimise included) gets default processing.
//
// The tray icon: its record (NOTIFYICONDATAW of 952 bytes, id 1, callback WM_TRAY_NOTIFY) is prepared here;
// adding the icon, its tip and image are the subclass's, which marks it added (set_tray_icon_added). When the
// window is destroyed an added icon is removed.
//
// Destruction: the destructor destroys the window (ending a modal run); a derived class that overrides
// OnDestroy or OnWindowDestroyed calls Destroy in its own destructor.
//
// Thread: user-interface thread only.
#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <cstddef>
#include <cstdint>
#include <memory>

#include "ui/host/CustomBase.h"
#include "ui/host/DialogWindow.h"
#include "ui/host/Menu.h"
#include "ui/host/TopLevelHostNode.h"

// The window side of a dialog host: its own messages, forwarded to the hooks that NDialog implements, and the
// tray state.
class CCustomDialog : public DialogWindow, public CustomBase {
 public:
  // The tray record's size: the structure with the item GUID, without the balloon icon (952 bytes in the
  // 32-bit program).
  static const DWORD kTrayRecordSize = offsetof(NOTIFYICONDATAW, hBalloonIcon);

  explicit CCustomDialog(CustomBaseNWnd& node);

  virtual void OnClose() = 0;
  virtual void OnTrayNotify(WPARAM wparam, LPARAM lparam) = 0;
  virtual void OnCopyData(COPYDATASTRUCT* data) = 0;
  virtual void OnMinimize() = 0;
  virtual void OnRestore() = 0;
  virtual void OnOK() = 0;
  virtual void OnCancel() = 0;
  virtual int32_t OnCommand(int32_t id, WPARAM wparam, LPARAM lparam) = 0;

  // Set by a subclass that lives in the notification area: minimise hides, restore shows.
  int32_t tray_mode() const { return tray_mode_; }
  void set_tray_mode(int32_t tray_mode) { tray_mode_ = tray_mode; }
  int32_t minimized() const { return minimized_; }
  int32_t tray_icon_added() const { return tray_icon_added_; }
  void set_tray_icon_added(int32_t added) { tray_icon_added_ = added; }
  NOTIFYICONDATAW& tray_icon() { return tray_icon_; }
  // The tray menu; null until LoadTrayMenu or TrayMenu made it.
  Menu* tray_menu() const { return tray_menu_.get(); }
  // The tray menu, made (empty) on first use; null when memory ran out.
  Menu* TrayMenu();

 protected:
  LRESULT WindowProcedure(UINT message, WPARAM wparam, LPARAM lparam) override;
  bool IsTopLevelHost() const override { return true; }
  // Removes the tray icon when it was added.
  void OnWindowDestroyed() override;
  // The shell's notification-area call, a seam for tests.
  virtual BOOL CallShellNotifyIcon(DWORD message, NOTIFYICONDATAW* data);

 private:
  LRESULT OnSysCommand(WPARAM wparam, LPARAM lparam);

  int32_t tray_mode_ = 0;
  int32_t minimized_ = 0;
  int32_t tray_icon_added_ = 0;
  std::unique_ptr<Menu> tray_menu_;
  NOTIFYICONDATAW tray_icon_;
};

class NDialog : public TopLevelHostNode<CCustomDialog> {
 public:
  NDialog();
  ~NDialog() override;

  // Dialogs are made by DoModal: 0.
  int32_t Create(int32_t x, int32_t y, int32_t width, int32_t height, int32_t id, NWnd* parent) override;
  // Stores the node's pending size (position (0, 0), no id, no parent) and answers 0; no window is made.
  virtual int32_t Create(int32_t width, int32_t height);
  // Makes the window and runs it modally; the result given to EndModal (IDOK from OnOK, IDCANCEL from
  // OnCancel), -1 when the window could not be made.
  virtual INT_PTR DoModal();
  // The window that owns the next modal run (its top-level window is disabled meanwhile); null for none.
  void set_modal_owner(HWND owner) { modal_owner_ = owner; }
  // The window title.
  virtual void SetWindowText(const wchar_t* text);
  // The big and then the small window icon (WM_SETICON); the caller keeps the icon.
  virtual void SetIcon(HICON icon);
  // The answer for a point over no control: HTCAPTION.
  LRESULT HitTestCaption(int32_t x, int32_t y) override;
  // WM_CLOSE: default processing (the dialog manager turns it into IDCANCEL).
  void OnClose() override;
  // End the modal run with IDOK / IDCANCEL.
  void OnOK() override;
  void OnCancel() override;
  // Hooks, empty.
  void OnTrayNotify(WPARAM wparam, LPARAM lparam) override;
  void OnCopyData(COPYDATASTRUCT* data) override;
  void OnMinimize() override;
  void OnRestore() override;
  // A menu command (tray menu, or a request posted to the dialog); non-zero consumes it. The base answers 0.
  int32_t OnCommand(int32_t id, WPARAM wparam, LPARAM lparam) override;

  // Loads menu resource `resource_id` into the tray menu (made on first use). True when it loaded.
  bool LoadTrayMenu(UINT resource_id);
  // When a tray menu exists: the dialog comes to the foreground and pop-up 0 of the menu is tracked at screen
  // (x, y) (right button, bottom-aligned), its commands going to the dialog. Returns when the menu closed.
  void ShowTrayMenu(int32_t x, int32_t y);

  int32_t PreTranslateMessage(HWND window, MSG* message) override;
  bool PreTranslateInput(MSG* message) override;

 protected:
  // Starts the frame clock and fills the tray record's window and id; 1.
  int32_t OnWindowCreated() override;

 private:
  HWND modal_owner_ = nullptr;
};

// The process's main dialog (set by the launcher), or null.
void SetMainDialog(NDialog* dialog);
NDialog* GetMainDialog();
// Posts SC_MINIMIZE to the main dialog's window, when there is one.
void MinimizeMainDialog();

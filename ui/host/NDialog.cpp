#include "ui/host/NDialog.h"

#include <cstddef>
#include <new>

#include "ui/host/HostMessages.h"

#ifndef _WIN64
static_assert(CCustomDialog::kTrayRecordSize == 952, "the tray record ends after the item GUID");
#endif

namespace {

const DWORD kDialogStyle = WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_SYSMENU;
NDialog* main_dialog = nullptr;

}  // namespace

CCustomDialog::CCustomDialog(CustomBaseNWnd& node) : CustomBase(*this, node), tray_icon_() {
  tray_icon_.cbSize = kTrayRecordSize;
  tray_icon_.uID = 1;
  tray_icon_.uFlags = NIF_MESSAGE;
  tray_icon_.uCallbackMessage = WM_TRAY_NOTIFY;
}

Menu* CCustomDialog::TrayMenu() {
  if (!tray_menu_)
    tray_menu_.reset(new (std::nothrow) Menu());
  return tray_menu_.get();
}

LRESULT CCustomDialog::WindowProcedure(UINT message, WPARAM wparam, LPARAM lparam) {
  LRESULT result = 0;
  switch (message) {
    case WM_CLOSE:
      OnClose();
      return 0;
    case WM_SYSCOMMAND:
      return OnSysCommand(wparam, lparam);
    case WM_COPYDATA:
      OnCopyData(reinterpret_cast<COPYDATASTRUCT*>(lparam));
      return TRUE;
    case WM_COMMAND:
      if (HIWORD(wparam) == BN_CLICKED && LOWORD(wparam) == IDOK) {
        OnOK();
        return 0;
      }
      if (HIWORD(wparam) == BN_CLICKED && LOWORD(wparam) == IDCANCEL) {
        OnCancel();
        return 0;
      }
      // Menu commands (the tray menu's, and the requests the launcher posts itself) are taken here, not in
      // the dialog's own pre-translation: a menu, a window move or another dialog runs a message loop of its
      // own, which dispatches them straight to this procedure.
      if (HIWORD(wparam) == 0 && OnCommand(LOWORD(wparam), wparam, lparam))
        return 0;
      break;
    default:
      if (message == WM_TRAY_NOTIFY) {
        OnTrayNotify(wparam, lparam);
        return 0;
      }
      break;
  }
  if (HandleFrameMessage(message, wparam, lparam, &result) ||
      HandleHostMessage(message, wparam, lparam, &result))
    return result;
  return DefaultProcessing(message, wparam, lparam);
}

LRESULT CCustomDialog::OnSysCommand(WPARAM wparam, LPARAM lparam) {
  UINT command = static_cast<UINT>(wparam & 0xFFF0);
  if (command == SC_MINIMIZE && !minimized_) {
    OnMinimize();
    minimized_ = 1;
    if (tray_mode_) {
      ShowWindow(window_handle(), SW_HIDE);
      return 0;
    }
  } else if (command == SC_RESTORE && minimized_) {
    OnRestore();
    minimized_ = 0;
    if (tray_mode_) {
      ShowWindow(window_handle(), SW_SHOWNA);
      return 0;
    }
  }
  return DefaultProcessing(WM_SYSCOMMAND, wparam, lparam);
}

void CCustomDialog::OnWindowDestroyed() {
  if (tray_icon_.hWnd != nullptr && tray_icon_.uID > 0 && tray_icon_added_) {
    CallShellNotifyIcon(NIM_DELETE, &tray_icon_);
    // A dialog that runs again adds its icon again; this one is gone.
    tray_icon_added_ = 0;
  }
}

BOOL CCustomDialog::CallShellNotifyIcon(DWORD message, NOTIFYICONDATAW* data) {
  return Shell_NotifyIconW(message, data);
}

NDialog::NDialog() {
  pending_width = 1;
  pending_height = 1;
  set_creation_rect(RECT{0, 0, 1, 1});
}

NDialog::~NDialog() {
  if (main_dialog == this)
    main_dialog = nullptr;
  Destroy();
}

int32_t NDialog::Create(int32_t, int32_t, int32_t, int32_t, int32_t, NWnd*) {
  return 0;
}

int32_t NDialog::Create(int32_t width, int32_t height) {
  SetPending(0, 0, width, height, 0, nullptr);
  return 0;
}

INT_PTR NDialog::DoModal() {
  return RunModal(kDialogStyle, modal_owner_);
}

int32_t NDialog::OnWindowCreated() {
  SetTimer(window_handle(), FRAME_TIMER_ID, kFramePeriodMs, nullptr);
  tray_icon().hWnd = window_handle();
  tray_icon().uID = 1;
  return 1;
}

void NDialog::SetWindowText(const wchar_t* text) {
  if (HWND window = window_handle())
    ::SetWindowTextW(window, text);
}

void NDialog::SetIcon(HICON icon) {
  if (HWND window = window_handle()) {
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  }
}

LRESULT NDialog::HitTestCaption(int32_t, int32_t) {
  return HTCAPTION;
}

void NDialog::OnClose() {
  DefaultProcessing(WM_CLOSE, 0, 0);
}

void NDialog::OnOK() {
  EndModal(IDOK);
}

void NDialog::OnCancel() {
  EndModal(IDCANCEL);
}

void NDialog::OnTrayNotify(WPARAM, LPARAM) {}
void NDialog::OnCopyData(COPYDATASTRUCT*) {}
void NDialog::OnMinimize() {}
void NDialog::OnRestore() {}

int32_t NDialog::OnCommand(int32_t, WPARAM, LPARAM) {
  return 0;
}

bool NDialog::LoadTrayMenu(UINT resource_id) {
  Menu* menu = TrayMenu();
  return menu != nullptr && menu->Load(resource_id);
}

void NDialog::ShowTrayMenu(int32_t x, int32_t y) {
  Menu* menu = tray_menu();
  HWND window = window_handle();
  if (menu == nullptr || menu->handle() == nullptr || window == nullptr)
    return;
  SetForegroundWindow(window);
  menu->TrackSubMenu(0, TPM_RIGHTBUTTON | TPM_BOTTOMALIGN, x, y, window);
}

int32_t NDialog::PreTranslateMessage(HWND window, MSG* message) {
  return window != nullptr && IsDialogMessageW(window, message) ? 1 : 0;
}

bool NDialog::PreTranslateInput(MSG* message) {
  if (PreTranslateMessage(window_handle(), message))
    return true;
  return DialogWindow::PreTranslateInput(message);
}

void SetMainDialog(NDialog* dialog) {
  main_dialog = dialog;
}

NDialog* GetMainDialog() {
  return main_dialog;
}

void MinimizeMainDialog() {
  if (main_dialog != nullptr && main_dialog->window_handle() != nullptr)
    PostMessageW(main_dialog->window_handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

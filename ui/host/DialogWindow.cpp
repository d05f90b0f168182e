#include "ui/host/DialogWindow.h"

#include <cstdint>
#include <cstring>

namespace {

const wchar_t kDialogClass[] = L"OrvaneDialog";

// The in-memory template: a DLGTEMPLATE (packed, WORD-aligned) followed by three variable-length arrays of
// WORDs: the menu (0: none), the window class (a NUL-terminated name) and the title (0: empty). No controls
// follow. Kept DWORD-aligned as the dialog manager requires.
struct DialogTemplate {
  alignas(4) WORD words[64] = {};

  explicit DialogTemplate(DWORD style) {
    DLGTEMPLATE header = {};
    header.style = style;
    std::memcpy(words, &header, sizeof(header));
    size_t at = sizeof(header) / sizeof(WORD);
    words[at++] = 0;  // no menu
    for (const wchar_t* name = kDialogClass; *name != L'\0'; ++name)
      words[at++] = static_cast<WORD>(*name);
    words[at++] = 0;  // end of the class name
    words[at++] = 0;  // no title
  }
  const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(words); }
};
static_assert(sizeof(DLGTEMPLATE) == 18, "the packed dialog template header");

// The top-level window of the owner a caller gave; null for none or a window that is gone.
HWND TopLevelOf(HWND owner) {
  if (owner == nullptr || !IsWindow(owner))
    return nullptr;
  HWND root = GetAncestor(owner, GA_ROOT);
  return root != nullptr ? root : owner;
}

}  // namespace

DialogWindow::DialogWindow() {
  set_default_procedure(DefDlgProcW);
}

INT_PTR DialogWindow::RunModal(DWORD style, HWND owner_window) {
  if (window_handle() != nullptr || in_modal_run_)
    return -1;
  if (RegisterWindowClass(kDialogClass, CS_DBLCLKS | CS_SAVEBITS, LoadCursorW(nullptr, IDC_ARROW),
                          DLGWINDOWEXTRA) == nullptr)
    return -1;
  DialogTemplate dialog_template(style);
  HWND owner = TopLevelOf(owner_window);
  // An owner that was disabled before the run (another modal run has it) stays so after it.
  const bool disable_owner = owner != nullptr && IsWindowEnabled(owner);
  ending_ = false;
  result_ = 0;
  BeginBinding();
  HWND window =
      CreateDialogIndirectParamW(GetModuleHandleW(nullptr), dialog_template.get(), owner, DialogProcedure, 0);
  EndBinding();
  if (window == nullptr || window != window_handle())
    return -1;
  if (disable_owner)
    EnableWindow(owner, FALSE);
  in_modal_run_ = true;
  RunLoop();
  in_modal_run_ = false;
  if (window_handle() != nullptr)
    SetWindowPos(window_handle(), nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
  if (disable_owner && IsWindow(owner)) {
    EnableWindow(owner, TRUE);
    SetActiveWindow(owner);
  }
  DestroyNativeWindow();
  return result_;
}

void DialogWindow::RunLoop() {
  MSG message;
  while (!ending_ && window_handle() != nullptr) {
    BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == -1)
      break;
    if (got == 0) {
      PostQuitMessage(static_cast<int>(message.wParam));
      result_ = -1;
      break;
    }
    if (!WalkPreTranslate(&message, window_handle())) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
}

void DialogWindow::EndModal(INT_PTR result) {
  result_ = result;
  ending_ = true;
}

bool DialogWindow::PreTranslateInput(MSG* message) {
  HWND window = window_handle();
  return window != nullptr && IsDialogMessageW(window, message);
}

INT_PTR CALLBACK DialogWindow::DialogProcedure(HWND /*window*/,
                                               UINT message,
                                               WPARAM /*wparam*/,
                                               LPARAM /*lparam*/) {
  // Everything else is handled by the class procedure before DefDlgProcW asks here.
  return message == WM_INITDIALOG ? TRUE : FALSE;
}

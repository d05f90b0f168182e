// DialogWindow: a window made by the system's dialog manager from an in-memory template and run modally in
// our own message loop.
//
// The template names a private dialog class of this process whose procedure is Window's static procedure, so
// every message of the dialog, WM_NCCREATE and WM_CREATE included, reaches WindowProcedure; default handling
// goes to DefDlgProcW (which in turn asks a dialog procedure that only answers WM_INITDIALOG).
//
// The modal run (RunModal): the owner is the window its caller names, none unless one is given (a modal
// question has no parent window; what else may take input meanwhile is for the caller to decide). A given
// owner that is enabled is disabled for the run. Each message taken from the queue is offered to the
// pre-translation chain from its target window up to the dialog (Window::WalkPreTranslate), whose last link
// is this class's PreTranslateInput: IsDialogMessageW, the dialog manager's keyboard handling. What nobody
// consumed is translated and dispatched. The run ends after the message in which EndModal was called, when
// the window goes away, or on WM_QUIT (posted again for the outer loop; result -1). Then the dialog is
// hidden, its owner enabled and activated again, and the window destroyed.
//
// Thread: user-interface thread only.
#pragma once

#include <windows.h>

#include "ui/host/Window.h"

class DialogWindow : public Window {
 public:
  DialogWindow();

  // Makes the dialog (style `style`, no extended style, no controls, position and size 0, no menu, no title),
  // owned by `owner` (its top-level window; none when null), and runs it modally. The result given to EndModal; -1 when the dialog could not be made (its WM_CREATE
  // answered -1) or the run ended by WM_QUIT; 0 when the window went away without EndModal.
  INT_PTR RunModal(DWORD style, HWND owner = nullptr);
  // Ends the modal run after the current message with `result`. Also valid during creation: the run then
  // ends as soon as the dialog exists.
  void EndModal(INT_PTR result);
  // True while RunModal runs for this object.
  bool in_modal_run() const { return in_modal_run_; }
  // True once EndModal was called for the current run.
  bool modal_ending() const { return ending_; }

  // The dialog manager's keyboard handling (tab, arrows, Enter, Escape) for messages of this dialog.
  bool PreTranslateInput(MSG* message) override;

 private:
  static INT_PTR CALLBACK DialogProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  void RunLoop();

  bool in_modal_run_ = false;
  bool ending_ = false;
  INT_PTR result_ = 0;
};

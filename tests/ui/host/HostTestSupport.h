// Helpers for tests that open real windows: run a modal dialog with a script that executes inside its loop,
// and pump the messages that are waiting.
#pragma once

#include <windows.h>

#include <functional>

#include "ui/host/NDialog.h"

namespace testing_support {

// Dispatches every message waiting for this thread.
inline void PumpMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

// Runs `dialog` modally; once its loop runs, `script` is called from a timer inside it. The script (or the
// messages it posts) ends the dialog; when it is still running 5 seconds after the script (a failed assertion
// returned early), the run is ended with -2, so no test waits for ever. The dialog's result.
class ModalScript {
 public:
  static INT_PTR Run(NDialog& dialog, std::function<void()> script) {
    current() = std::move(script);
    running() = &dialog;
    UINT_PTR timer = SetTimer(nullptr, 0, 20, OnTimer);
    INT_PTR result = dialog.DoModal();
    KillTimer(nullptr, timer);
    current() = nullptr;
    running() = nullptr;
    return result;
  }

 private:
  static std::function<void()>& current() {
    static std::function<void()> script;
    return script;
  }
  static NDialog*& running() {
    static NDialog* dialog = nullptr;
    return dialog;
  }
  static void CALLBACK OnTimer(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    std::function<void()> run = std::move(current());
    current() = nullptr;
    if (run)
      run();
    if (running() != nullptr && running()->in_modal_run() && !running()->modal_ending())
      SetTimer(nullptr, 0, 5000, OnSafetyTimer);
  }
  static void CALLBACK OnSafetyTimer(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    if (running() != nullptr && running()->in_modal_run() && !running()->modal_ending())
      running()->EndModal(-2);
  }
};

inline INT_PTR RunModalScript(NDialog& dialog, std::function<void()> script) {
  return ModalScript::Run(dialog, std::move(script));
}

}  // namespace testing_support

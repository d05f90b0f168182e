// The second start's side of the single instance: the mutex, the search for the running dialog (only a dialog
// of our class in a process of our program file) and a hand-over that waits for a busy receiver as long as it
// answers, and gives up on a hung or vanished one.
#include "app/startup/SingleInstance.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <memory>
#include <string>
#include <thread>

#include "app/session/HandOver.h"
#include "tests/support/TempFolder.h"
#include "tests/support/Timing.h"
#include "tests/support/WinePaths.h"

namespace {

using testing_support::FinishesWithin;

TEST(SingleInstanceMutex, TheSecondCreationReportsTheRunningLauncher) {
  HANDLE first = nullptr, second = nullptr;
  EXPECT_EQ(kInstanceMutexCreated, CreateSingleInstanceMutex(L"Orvane single instance test", &first));
  EXPECT_EQ(kInstanceMutexHeldByAnotherLauncher,
            CreateSingleInstanceMutex(L"Orvane single instance test", &second));
  EXPECT_NE(nullptr, second);
  CloseHandle(second);
  CloseHandle(first);
}

// A top-level window of `class_name` titled `title`, made on the calling thread.
HWND MakeWindow(const wchar_t* class_name, const wchar_t* title) {
  WNDCLASSW window_class = {};
  window_class.lpfnWndProc = DefWindowProcW;
  window_class.lpszClassName = class_name;
  RegisterClassW(&window_class);
  return CreateWindowExW(0, class_name, title, WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
}

TEST(FindRunningLauncherDialog, OnlyADialogOfOurClassAndProgramIsFound) {
  HWND foreign = MakeWindow(L"ForeignClass", L"Orvane single title");
  ASSERT_NE(nullptr, foreign);
  EXPECT_EQ(nullptr, FindRunningLauncherDialog(L"Orvane single title"));
  HWND ours = MakeWindow(kLauncherDialogClass, L"Orvane single title");
  ASSERT_NE(nullptr, ours);
  EXPECT_EQ(ours, FindRunningLauncherDialog(L"Orvane single title"));
  wchar_t program[MAX_PATH];
  GetModuleFileNameW(nullptr, program, MAX_PATH);
  EXPECT_TRUE(WindowRunsProgram(ours, program));
  EXPECT_FALSE(WindowRunsProgram(ours, L"C:\\elsewhere\\orvaneLauncher.exe"));
  DestroyWindow(ours);
  DestroyWindow(foreign);
}

// A running launcher's main window on a thread of its own. `answer_after_ms`: how long its WM_COPYDATA handler
// keeps handling other messages before it answers (a busy launcher that still answers); `hang_ms`: how long the
// thread sits without looking at its messages once the window exists (a hung one); `vanish_ms`: after that long
// without messages the window is destroyed and the thread ends.
class ReceiverThread {
 public:
  struct Behaviour {
    DWORD answer_after_ms = 0;
    DWORD hang_ms = 0;
    DWORD vanish_ms = 0;
  };
  explicit ReceiverThread(Behaviour behaviour) : behaviour_(behaviour) {
    thread_ = std::thread([this] { Run(); });
    WaitForSingleObject(made_, 10000);
  }
  ~ReceiverThread() {
    SetEvent(release_);
    PostThreadMessageW(thread_id_, WM_QUIT, 0, 0);
    thread_.join();
    CloseHandle(made_);
    CloseHandle(release_);
  }
  HWND window() const { return window_; }
  bool received() const { return received_ != 0; }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message != WM_COPYDATA)
      return DefWindowProcW(window, message, wparam, lparam);
    auto* self = reinterpret_cast<ReceiverThread*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    DWORD start = GetTickCount();
    while (GetTickCount() - start < self->behaviour_.answer_after_ms) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
      MSG pending;
      while (PeekMessageW(&pending, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&pending);
    }
    self->received_ = 1;
    return TRUE;
  }
  void Run() {
    thread_id_ = GetCurrentThreadId();
    WNDCLASSW window_class = {};
    window_class.lpfnWndProc = &ReceiverThread::Procedure;
    window_class.lpszClassName = L"OrvaneHandOverReceiver";
    RegisterClassW(&window_class);
    window_ = CreateWindowExW(0, window_class.lpszClassName, L"receiver", WS_POPUP, 0, 0, 10, 10, nullptr,
                              nullptr, nullptr, nullptr);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    MSG message;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);  // the queue exists before anyone waits for it
    SetEvent(made_);
    if (behaviour_.hang_ms != 0)
      WaitForSingleObject(release_, behaviour_.hang_ms);  // looks at no message meanwhile
    if (behaviour_.vanish_ms != 0) {
      Sleep(behaviour_.vanish_ms);
      DestroyWindow(window_);
      return;
    }
    while (GetMessageW(&message, nullptr, 0, 0) > 0)
      DispatchMessageW(&message);
    DestroyWindow(window_);
  }

  Behaviour behaviour_;
  HANDLE made_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE release_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HWND window_ = nullptr;
  DWORD thread_id_ = 0;
  volatile long received_ = 0;
  std::thread thread_;
};

TEST(SendHandOver, ABusyReceiverThatKeepsAnsweringGetsTheRecordHoweverLongItTakes) {
  // Longer than the five seconds after which the sender used to give up; the receiver handles other messages
  // all along, so it is busy, not hung.
  ReceiverThread receiver({6000, 0, 0});
  auto sent = std::make_shared<int>(-1);  // outlives a sender left behind by a failed wait
  HWND window = receiver.window();
  ASSERT_TRUE(FinishesWithin(20000, [sent, window] { *sent = SendHandOver(window) ? 1 : 0; }));
  EXPECT_EQ(1, *sent);
  EXPECT_TRUE(receiver.received());
}

TEST(SendHandOver, AHungOrVanishedReceiverEndsTheWaitWithAFailure) {
  struct Case {
    const char* name;
    ReceiverThread::Behaviour behaviour;
    DWORD at_most_ms;
  } cases[] = {
      // The system calls a thread hung after about five seconds without a look at its messages.
      {"hung", {0, 30000, 0}, 15000},
      {"vanished", {0, 0, 500}, 4000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ReceiverThread receiver(c.behaviour);
    auto sent = std::make_shared<int>(-1);
    HWND window = receiver.window();
    ASSERT_TRUE(FinishesWithin(c.at_most_ms, [sent, window] { *sent = SendHandOver(window) ? 1 : 0; }));
    EXPECT_EQ(0, *sent);
    EXPECT_FALSE(receiver.received());
  }
}

// The temporary self-update copy's restart after a hand-over reached it: the record goes to the restarted
// launcher's dialog once that is up; a launcher that ends without one ends the wait, and a program that is
// not there is no restart.
TEST(RestartAndHandOver, TheRecordReachesTheRestartedLaunchersDialogOnceItIsUp) {
  const std::wstring program = testing_support::WindowsPathOf(HAND_OVER_RECEIVER_EXE);
  const wchar_t title[] = L"Orvane restart title";
  HandOverRecord record = {};
  wcscpy(record.UserNick, L"second");
  struct Case {
    const char* name;
    const wchar_t* delay_ms;  // before the restarted program shows its dialog; -1: it ends without one
    const wchar_t* received;  // the user name the dialog took over (null: none)
  } cases[] = {{"dialog after a while", L"800", L"second"}, {"no dialog", L"-1", nullptr}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    testing_support::TempFolder folder(L"restarthandover");
    const std::wstring output = folder.Join(L"received.txt");
    const std::wstring command = L"\"" + program + L"\" \"" + title + L"\" \"" + output + L"\" " + c.delay_ms;
    const DWORD start = GetTickCount();
    EXPECT_TRUE(RestartAndHandOver(program.c_str(), command.c_str(), title, record, 30000));
    EXPECT_LT(GetTickCount() - start, 15000u);  // well before the limit
    std::string bytes;
    const bool written = testing_support::ReadFileBytes(output, &bytes);
    EXPECT_EQ(c.received != nullptr, written);
    if (c.received != nullptr && written) {
      EXPECT_EQ(std::wstring(c.received),
                std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t)));
    }
  }
  EXPECT_FALSE(
      RestartAndHandOver(L"C:\\no such folder\\launcher.exe", L"launcher.exe", title, record, 30000));
}

}  // namespace

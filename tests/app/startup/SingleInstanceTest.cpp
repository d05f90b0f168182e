// The second start's side of the single instance: the mutex, the search for the running dialog (only a dialog
// of our class in a process of our program file) and a hand-over that never hangs on a hung receiver.
#include "app/startup/SingleInstance.h"

#include <gtest/gtest.h>

#include <thread>

#include "app/session/HandOver.h"

namespace {

TEST(SingleInstanceMutex, TheSecondCreationReportsTheRunningLauncher) {
  HANDLE first = nullptr, second = nullptr;
  EXPECT_EQ(1, CreateSingleInstanceMutex(L"Orvane single instance test", &first));
  EXPECT_EQ(2, CreateSingleInstanceMutex(L"Orvane single instance test", &second));
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

TEST(SendHandOver, AHungReceiverDoesNotHangTheSender) {
  HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HWND window = nullptr;
  HANDLE made = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::thread receiver([&] {
    window = MakeWindow(L"OrvaneHungReceiver", L"hung");
    SetEvent(made);
    WaitForSingleObject(release, 10000);  // pumps nothing meanwhile
    DestroyWindow(window);
  });
  ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(made, 5000));
  DWORD start = GetTickCount();
  EXPECT_FALSE(SendHandOver(window, 300));
  EXPECT_LT(GetTickCount() - start, 3000u);
  SetEvent(release);
  receiver.join();
  CloseHandle(made);
  CloseHandle(release);
}

}  // namespace

// The splash window on its own thread: shown centred with its text without taking the focus, gone when
// stopped; a splash whose window cannot be made ends the start hand-shake instead of waiting for ever; stopping
// without a splash is harmless.
#include "app/windows/Splash.h"

#include <gtest/gtest.h>

#include "tests/support/Timing.h"

namespace {

TEST(Splash, ShowsItsTextCentredUntilStoppedAndNeverTakesTheFocus) {
  // The user works in another window while the launcher starts.
  HWND user_window = CreateWindowExW(0, L"STATIC", L"user's window", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50,
                                     nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(nullptr, user_window);
  SetForegroundWindow(user_window);
  ASSERT_EQ(user_window, GetForegroundWindow());
  StartSplash(L"Splash test text", nullptr);
  ASSERT_NE(0u, SplashThreadId());
  HWND window = nullptr;
  RECT rect = {};
  // Made 1 x 1, then sized to its text and centred.
  ASSERT_TRUE(testing_support::WaitUntil(5000, [&] {
    window = FindWindowW(L"Splash test text", L"Splash test text");
    return window != nullptr && IsWindowVisible(window) && GetWindowRect(window, &rect) &&
           rect.right - rect.left > 20;
  }));
  EXPECT_NEAR(GetSystemMetrics(SM_CXSCREEN) / 2, (rect.left + rect.right) / 2, 2);
  EXPECT_EQ(user_window, GetForegroundWindow());
  StopSplash();
  EXPECT_EQ(0u, SplashThreadId());
  EXPECT_EQ(nullptr, FindWindowW(L"Splash test text", nullptr));
  StopSplash();
  DestroyWindow(user_window);
}

TEST(Splash, AWindowThatCannotBeMadeEndsTheHandShake) {
  // An empty text names no window class: the thread ends at once without a message loop.
  EXPECT_TRUE(testing_support::FinishesWithin(5000, [] { StartSplash(L"", nullptr); }));
  StopSplash();
  EXPECT_EQ(0u, SplashThreadId());
}

}  // namespace

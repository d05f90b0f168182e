#include "base/ScopedHandle.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <utility>

namespace {

int g_closed = 0;
HANDLE g_last_closed = nullptr;
struct CountingClose {
  void operator()(HANDLE handle) const {
    ++g_closed;
    g_last_closed = handle;
    SetLastError(ERROR_INVALID_HANDLE);  // a closer that disturbs the caller's error
  }
};
using CountedHandle = ScopedHandle<HANDLE, CountingClose>;

HANDLE Fake(uintptr_t value) {
  return reinterpret_cast<HANDLE>(value);
}

}  // namespace

TEST(ScopedHandle, ClosesOnceWhateverWayTheOwnerEnds) {
  g_closed = 0;
  { CountedHandle owner(Fake(8)); }
  EXPECT_EQ(1, g_closed);

  CountedHandle first(Fake(12));
  CountedHandle second(std::move(first));
  EXPECT_FALSE(first.valid());
  EXPECT_EQ(Fake(12), second.get());
  second = CountedHandle(Fake(16));  // the moved-in handle replaces 12, which is closed
  EXPECT_EQ(2, g_closed);
  EXPECT_EQ(Fake(12), g_last_closed);
  second.reset(second.get());  // taking its own handle again closes nothing
  EXPECT_EQ(2, g_closed);
  HANDLE given = second.release();
  EXPECT_EQ(Fake(16), given);
  second.reset();
  EXPECT_EQ(2, g_closed);
}

TEST(ScopedHandle, NullAndInvalidHandleValueAreNoneAndAreNeverClosed) {
  g_closed = 0;
  {
    CountedHandle null_owner;
    CountedHandle invalid_owner(INVALID_HANDLE_VALUE);
    EXPECT_FALSE(null_owner);
    EXPECT_FALSE(invalid_owner);
  }
  EXPECT_EQ(0, g_closed);
}

TEST(ScopedHandle, ClosingKeepsTheCallersLastError) {
  CountedHandle owner(Fake(20));
  SetLastError(ERROR_FILE_NOT_FOUND);
  owner.reset();
  EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), GetLastError());
}

TEST(ScopedHandle, RealKernelFindAndModuleHandlesAreFreedByTheirOwnCall) {
  UniqueHandle event(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  ASSERT_TRUE(event);
  HANDLE copy = nullptr;
  ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), event.get(), GetCurrentProcess(), &copy, 0, FALSE,
                              DUPLICATE_SAME_ACCESS));
  UniqueHandle duplicate(copy);
  duplicate.reset();
  EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(event.get(), 0));  // the original is still open

  wchar_t windows[MAX_PATH];
  ASSERT_NE(0u, GetWindowsDirectoryW(windows, MAX_PATH));
  WIN32_FIND_DATAW found;
  FindHandle search(FindFirstFileW((std::wstring(windows) + L"\\*").c_str(), &found));
  EXPECT_TRUE(search);
  FindHandle nothing(FindFirstFileW(L"C:\\no-such-folder-here\\*", &found));
  EXPECT_FALSE(nothing);

  ScopedModule module(LoadLibraryW(L"version.dll"));
  EXPECT_TRUE(module);
}

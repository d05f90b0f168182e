// The process-wide tool-tip and menu: a launcher-like child process shows both, makes the teardown call and
// must exit cleanly, with nothing left behind (ProcessPopupsChild.cpp); in this process the teardown gives
// fresh objects afterwards.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/support/WinePaths.h"
#include "tests/ui/skinned/SkinnedTestSupport.h"
#include "ui/skin/SkinListeners.h"
#include "ui/skinned/ProcessPopups.h"
#include "ui/skinned/SkinnedPopupMenu.h"
#include "ui/skinned/SkinnedToolTip.h"

namespace {

class ProcessPopupsTest : public testing_support::SkinnedFixture {};

TEST_F(ProcessPopupsTest, AChildWithTheTipAndMenuShownExitsCleanlyAfterTheTeardownCall) {
  WriteSkin(L"tip", L"[TOOLTIP]\r\nshow_time=10000\r\nfont_id=small\r\ntext_x=3\r\ntext_y=2\r\n");
  WriteSkin(L"menu",
            L"[MENU]\r\nmenu_item_width=80\r\nmenu_item_height=16\r\nborder_size=1\r\n"
            L"[MENU_ITEM_NORMAL]\r\nfont_id=body\r\n[MENU_ITEM_OVER]\r\nfont_id=body\r\n"
            L"[MENU_ITEM_DISABLED]\r\nfont_id=body\r\n");
  std::wstring command =
      L"\"" + testing_support::WindowsPathOf(PROCESS_POPUPS_CHILD_EXE) + L"\" \"" + folder_.path() + L"\"";
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process = {};
  ASSERT_TRUE(
      CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
  DWORD waited = WaitForSingleObject(process.hProcess, 20000);
  if (waited != WAIT_OBJECT_0)
    TerminateProcess(process.hProcess, 99);
  DWORD exit_code = 99;
  GetExitCodeProcess(process.hProcess, &exit_code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  ASSERT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), waited);
  EXPECT_EQ(0u, exit_code);
}

TEST_F(ProcessPopupsTest, TheTeardownDestroysBothWindowsAndLeavesFreshObjectsForTheNextUse) {
  WriteSkin(L"tip", L"[TOOLTIP]\r\nfont_id=small\r\n");
  SkinnedToolTip* tip = ProcessToolTip();
  ASSERT_NE(nullptr, tip);
  EXPECT_EQ(tip, ProcessToolTip());
  tip->SetSkin(L"main", L"tip");
  ASSERT_EQ(1, tip->CreatePopup(0, 0, 1, 1, nullptr, 0));
  HWND window = tip->window_handle();
  ASSERT_NE(nullptr, ProcessPopupMenu());
  EXPECT_EQ(1, SkinListenerCount());
  TearDownProcessPopups();
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(0, SkinListenerCount());
  SkinnedToolTip* fresh = ProcessToolTip();
  ASSERT_NE(nullptr, fresh);
  EXPECT_EQ(0, fresh->created());
  TearDownProcessPopups();
  TearDownProcessPopups();  // nothing left to tear down
}

}  // namespace

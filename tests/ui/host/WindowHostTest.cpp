// The window hosts with real windows on the test display, driven by real messages (SendMessage and
// PostMessage; the mouse messages are synthetic, since the display's pointer is not where the tests click).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/ui/host/HostTestSupport.h"
#include "tests/ui/view/RecordingNode.h"
#include "ui/host/HostMessages.h"
#include "ui/host/NChildWnd.h"
#include "ui/host/NDialog.h"
#include "ui/host/NPopup.h"
#include "ui/host/Window.h"

namespace {

using testing_support::HookLog;
using testing_support::PumpMessages;
using testing_support::RecordingNode;
using testing_support::RunModalScript;

class CountingPopup : public NPopup {
 public:
  int updates = 0;
  int32_t window_created_result = 1;
  void OnUpdate() override { ++updates; }
  int32_t OnWindowCreated() override { return NPopup::OnWindowCreated() && window_created_result; }
};

class RecordingDialog : public NDialog {
 public:
  ~RecordingDialog() override { Destroy(); }
  int minimizes = 0;
  int restores = 0;
  int32_t window_created_result = 1;
  std::vector<DWORD> shell_calls;
  void OnMinimize() override { ++minimizes; }
  void OnRestore() override { ++restores; }
  int32_t OnWindowCreated() override { return NDialog::OnWindowCreated() && window_created_result; }
  BOOL CallShellNotifyIcon(DWORD message, NOTIFYICONDATAW* data) override {
    EXPECT_EQ(window_handle(), data->hWnd);
    EXPECT_EQ(1u, data->uID);
    shell_calls.push_back(message);
    return TRUE;
  }
};

LPARAM ScreenPoint(int x, int y) {
  return MAKELPARAM(x, y);
}

TEST(FrameClock, TwoTimerTicksBeforeTheFrameTickMakeOneFrame) {
  CountingPopup popup;
  ASSERT_EQ(1, popup.CreatePopup(100, 100, 60, 40, nullptr, 0));
  HWND window = popup.window_handle();
  KillTimer(window, FRAME_TIMER_ID);  // only the ticks sent below
  PumpMessages();
  popup.updates = 0;
  SendMessageW(window, WM_TIMER, FRAME_TIMER_ID, 0);
  SendMessageW(window, WM_TIMER, FRAME_TIMER_ID, 0);
  SendMessageW(window, WM_TIMER, 7, 0);  // another timer id posts nothing
  PumpMessages();
  EXPECT_EQ(1, popup.updates);
  SendMessageW(window, WM_TIMER, FRAME_TIMER_ID, 0);
  PumpMessages();
  EXPECT_EQ(2, popup.updates);
}

TEST(FrameClock, APopupRunsItsOwnTimer) {
  CountingPopup popup;
  ASSERT_EQ(1, popup.CreatePopup(100, 100, 60, 40, nullptr, 0));
  DWORD until = GetTickCount() + 2000;
  while (popup.updates < 2 && GetTickCount() < until) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    PumpMessages();
  }
  EXPECT_GE(popup.updates, 2);
}

TEST(WindowCreation, OnWindowCreatedAnsweringZeroFailsTheCreation) {
  int bound_before = Window::BoundWindowCount();
  CountingPopup popup;
  popup.window_created_result = 0;
  EXPECT_EQ(0, popup.CreatePopup(10, 10, 20, 20, nullptr, 0));
  EXPECT_EQ(nullptr, popup.window_handle());
  EXPECT_EQ(0, popup.created());

  RecordingDialog dialog;
  dialog.window_created_result = 0;
  EXPECT_EQ(-1, dialog.DoModal());
  EXPECT_EQ(0, dialog.created());
  EXPECT_EQ(bound_before, Window::BoundWindowCount());
}

TEST(WindowCreation, ANodeWhoseCreationFailsFailsItsWindow) {
  struct RefusingPopup : NPopup {
    int32_t OnCreate() override { return 0; }
  } popup;
  EXPECT_EQ(0, popup.CreatePopup(10, 10, 20, 20, nullptr, 0));
  EXPECT_EQ(0, popup.created());
}

TEST(WindowCreation, AChildOrOwnedPopupNeedsAnAncestorWindow) {
  HookLog log;
  RecordingNode loose("loose", &log);
  ASSERT_TRUE(loose.Place(0, 0, 10, 10, nullptr));
  NChildWnd child;
  EXPECT_EQ(0, child.Create(0, 0, 5, 5, 1, nullptr));
  EXPECT_EQ(0, child.Create(0, 0, 5, 5, 1, &loose));
  NPopup popup;
  EXPECT_EQ(0, popup.CreatePopup(0, 0, 5, 5, &loose, 0));
}

// A pop-up at (100, 100) holding a windowless panel at (30, 40), in which a child window and an owned pop-up
// stand.
TEST(HostPositions, ChildWindowsFollowTheirPanelAndTopLevelNodesKeepScreenPositions) {
  HookLog log;
  NPopup owner;
  ASSERT_EQ(1, owner.CreatePopup(100, 100, 200, 150, nullptr, 0));
  EXPECT_EQ(100, owner.x());
  RecordingNode panel("panel", &log);
  ASSERT_TRUE(panel.Place(30, 40, 100, 80, &owner));

  NChildWnd child;
  ASSERT_EQ(1, child.Create(5, 6, 20, 10, 7, &panel));
  EXPECT_EQ(5, child.x());
  EXPECT_EQ(6, child.y());
  RECT rect;
  GetWindowRect(child.window_handle(), &rect);
  EXPECT_EQ(135, rect.left);
  EXPECT_EQ(146, rect.top);
  panel.Move(50, 40);
  GetWindowRect(child.window_handle(), &rect);
  EXPECT_EQ(155, rect.left);
  EXPECT_EQ(5, child.x());

  NPopup owned;
  ASSERT_EQ(1, owned.CreatePopup(300, 200, 50, 50, &panel, NPopup::kToolWindow));
  EXPECT_EQ(&panel, owned.parent());
  EXPECT_EQ(300, owned.x());
  EXPECT_EQ(200, owned.y());
  RecordingNode inner("inner", &log);
  ASSERT_TRUE(inner.Place(5, 5, 10, 10, &owned));
  POINT screen;
  inner.GetScreenPos(&screen);
  EXPECT_EQ(305, screen.x);
  EXPECT_EQ(205, screen.y);
  owned.Move(320, 210);
  EXPECT_EQ(320, owned.x());
  EXPECT_EQ(210, owned.y());

  owner.Destroy();  // destroys the child window and the owned pop-up with it
  EXPECT_EQ(nullptr, child.window_handle());
  EXPECT_EQ(nullptr, owned.window_handle());
  EXPECT_EQ(0, owned.created());
}

TEST(HostInput, AClickReachesTheNodeUnderItAndCaptureFollowsTheButton) {
  HookLog log;
  NPopup popup;
  ASSERT_EQ(1, popup.CreatePopup(100, 100, 100, 100, nullptr, 0));
  popup.Show(1, 0);
  RecordingNode button("button", &log);
  ASSERT_TRUE(button.Place(10, 10, 30, 20, &popup));
  HWND window = popup.window_handle();
  log.clear();
  SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(15, 12));
  SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(15, 12));
  EXPECT_EQ(window, GetCapture());
  EXPECT_EQ(&button, NWnd::GetPressedNode());
  SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(-5, 12));  // released outside, left of the window
  EXPECT_EQ(nullptr, GetCapture());
  EXPECT_EQ((HookLog{"button.enter(5,2)", "button.over(5,2)", "button.ldown(5,2)", "button.lup(-15,2)"}),
            log);

  // Another window taking the capture while a node is pressed leaves no pressed node behind.
  SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(15, 12));
  EXPECT_EQ(&button, NWnd::GetPressedNode());
  NPopup other;
  ASSERT_EQ(1, other.CreatePopup(300, 100, 10, 10, nullptr, 0));
  SetCapture(other.window_handle());
  EXPECT_EQ(nullptr, NWnd::GetPressedNode());
  ReleaseCapture();
}

TEST(HostInput, TheBackgroundHitTestsAsCaptionAndAControlAsClient) {
  HookLog log;
  NPopup popup;
  ASSERT_EQ(1, popup.CreatePopup(100, 100, 100, 100, nullptr, 0));
  popup.Show(1, 0);
  RecordingNode control("control", &log);
  ASSERT_TRUE(control.Place(10, 10, 30, 20, &popup));
  HWND window = popup.window_handle();
  EXPECT_EQ(HTCAPTION, SendMessageW(window, WM_NCHITTEST, 0, ScreenPoint(160, 170)));
  EXPECT_EQ(HTCLIENT, SendMessageW(window, WM_NCHITTEST, 0, ScreenPoint(115, 115)));
  control.Show(0, 0);
  EXPECT_EQ(HTCAPTION, SendMessageW(window, WM_NCHITTEST, 0, ScreenPoint(115, 115)));
}

TEST(DialogHost, MovingAndResizingTheDialogUpdatesItsRoot) {
  RecordingDialog dialog;
  dialog.Create(200, 100);
  INT_PTR result = RunModalScript(dialog, [&] {
    dialog.Move(150, 120);
    EXPECT_EQ(150, dialog.x());
    EXPECT_EQ(120, dialog.y());
    SetWindowPos(dialog.window_handle(), nullptr, 40, 50, 300, 80, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(40, dialog.x());
    EXPECT_EQ(50, dialog.y());
    EXPECT_EQ(300, dialog.width());
    EXPECT_EQ(80, dialog.height());
    EXPECT_EQ(1, dialog.visible());
    dialog.OnOK();
  });
  EXPECT_EQ(IDOK, result);
  EXPECT_EQ(0, dialog.created());
}

// A dialog run with the owner its test names.
class OwnedDialog : public RecordingDialog {
 public:
  HWND owner = nullptr;
  INT_PTR DoModal() override { return RunModal(WS_POPUP | WS_VISIBLE | WS_SYSMENU, owner); }
};

TEST(DialogHost, AModalRunHasTheOwnerItsCallerGivesAndNoneOtherwise) {
  NPopup other;
  ASSERT_EQ(1, other.CreatePopup(300, 300, 20, 20, nullptr, 0));
  other.Show(1, 1);
  HWND other_window = other.window_handle();
  SetActiveWindow(other_window);

  RecordingDialog plain;  // the active window does not become the owner of a dialog that was given none
  plain.Create(100, 50);
  RunModalScript(plain, [&] {
    EXPECT_EQ(nullptr, GetWindow(plain.window_handle(), GW_OWNER));
    EXPECT_TRUE(IsWindowEnabled(other_window));
    plain.OnOK();
  });

  OwnedDialog owned;
  owned.owner = other_window;
  owned.Create(100, 50);
  RunModalScript(owned, [&] {
    EXPECT_EQ(other_window, GetWindow(owned.window_handle(), GW_OWNER));
    EXPECT_FALSE(IsWindowEnabled(other_window));  // disabled for the run
    owned.OnOK();
  });
  EXPECT_TRUE(IsWindowEnabled(other_window));
}

TEST(DialogHost, TrayModeMinimiseHidesAndRestoreShowsWithoutActivation) {
  RecordingDialog dialog;
  dialog.Create(100, 50);
  dialog.set_tray_mode(1);
  RunModalScript(dialog, [&] {
    HWND window = dialog.window_handle();
    dialog.Resize(100, 50);
    SendMessageW(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_EQ(1, dialog.minimized());
    EXPECT_EQ(0, dialog.visible());
    NPopup other;
    ASSERT_EQ(1, other.CreatePopup(300, 300, 20, 20, nullptr, 0));
    other.Show(1, 1);
    SetActiveWindow(other.window_handle());
    SendMessageW(window, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(other.window_handle(), GetActiveWindow());
    EXPECT_EQ(0, dialog.minimized());
    EXPECT_EQ(1, dialog.visible());
    EXPECT_EQ(1, dialog.minimizes);
    EXPECT_EQ(1, dialog.restores);

    SendMessageW(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    SendMessageW(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);  // already minimised: default processing
    EXPECT_EQ(2, dialog.minimizes);
    EXPECT_TRUE(IsIconic(window));
    dialog.OnCancel();
  });
}

TEST(DialogHost, TheTrayIconIsRemovedOnlyWhenItWasAdded) {
  RecordingDialog plain;
  RunModalScript(plain, [&] { plain.OnOK(); });
  EXPECT_TRUE(plain.shell_calls.empty());

  RecordingDialog with_icon;
  RunModalScript(with_icon, [&] {
    EXPECT_EQ(with_icon.window_handle(), with_icon.tray_icon().hWnd);
    with_icon.set_tray_icon_added(1);
    with_icon.OnOK();
  });
  EXPECT_EQ(std::vector<DWORD>{NIM_DELETE}, with_icon.shell_calls);
  EXPECT_EQ(0, with_icon.tray_icon_added());
}

TEST(DialogHost, CopyDataTrayNotifyAndMenuCommandsReachTheHooks) {
  struct HookDialog : RecordingDialog {
    std::string seen;
    void OnCopyData(COPYDATASTRUCT* data) override { seen += "copy" + std::to_string(data->dwData) + " "; }
    void OnTrayNotify(WPARAM, LPARAM lparam) override { seen += "tray" + std::to_string(lparam) + " "; }
    int32_t OnCommand(int32_t id, WPARAM, LPARAM) override {
      seen += "command" + std::to_string(id) + " ";
      if (id == 21)
        OnOK();
      return id == 21;
    }
  } dialog;
  INT_PTR result = RunModalScript(dialog, [&] {
    HWND window = dialog.window_handle();
    COPYDATASTRUCT data = {0x03080680, 0, nullptr};
    EXPECT_EQ(TRUE, SendMessageW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)));
    SendMessageW(window, WM_TRAY_NOTIFY, 1, WM_RBUTTONUP);
    // Sent, a command reaches the procedure without the dialog's loop, as it does from a menu's or a
    // window move's loop.
    SendMessageW(window, WM_COMMAND, 7, 0);
    PostMessageW(window, WM_COMMAND, 21, 0);
  });
  EXPECT_EQ(IDOK, result);
  EXPECT_EQ("copy50857600 tray517 command7 command21 ", dialog.seen);
}

TEST(DialogHost, CloseEndsTheDialogWithCancelAndMinimizeMainDialogPostsToIt) {
  RecordingDialog dialog;
  SetMainDialog(&dialog);
  INT_PTR result = RunModalScript(dialog, [&] {
    MinimizeMainDialog();
    MSG message;
    EXPECT_TRUE(PeekMessageW(&message, dialog.window_handle(), WM_SYSCOMMAND, WM_SYSCOMMAND, PM_NOREMOVE));
    PostMessageW(dialog.window_handle(), WM_CLOSE, 0, 0);
  });
  EXPECT_EQ(IDCANCEL, result);
  EXPECT_EQ(1, dialog.minimizes);
  SetMainDialog(nullptr);
}

}  // namespace

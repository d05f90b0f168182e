// The edit host with real "EDIT" windows in a modal dialog on the test display, driven by real keyboard
// messages through the dialog's own modal loop (posted key-downs, translated by the loop).
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/ui/host/HostTestSupport.h"
#include "tests/ui/view/RecordingNode.h"
#include "ui/host/NDialog.h"
#include "ui/host/NEdit.h"

namespace {

using testing_support::HookLog;
using testing_support::RecordingNode;
using testing_support::RunModalScript;

const uint32_t kEditStyle = WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL;

std::function<void()>& NextStep() {
  static std::function<void()> next;
  return next;
}

void CALLBACK RunNextStep(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  std::function<void()> run = std::move(NextStep());
  NextStep() = nullptr;
  if (run)
    run();
}

// Runs `step` from the modal loop once the messages waiting now were handled (a timer comes after them).
void AfterQueuedMessages(std::function<void()> step) {
  NextStep() = std::move(step);
  SetTimer(nullptr, 0, 10, RunNextStep);
}

void PostKey(HWND window, UINT key) {
  PostMessageW(window, WM_KEYDOWN, key, 1);
  PostMessageW(window, WM_KEYUP, key, 0xC0000001);
}

void PostKeys(HWND window, const char* keys) {
  for (; *keys != '\0'; ++keys)
    PostKey(window, static_cast<UINT>(*keys));
}

class KeyLoggingDialog : public NDialog {
 public:
  ~KeyLoggingDialog() override { Destroy(); }
  std::vector<WPARAM> keys;
  int32_t PreTranslateMessage(HWND window, MSG* message) override {
    if (message->message == WM_KEYDOWN)
      keys.push_back(message->wParam);
    return NDialog::PreTranslateMessage(window, message);
  }
};

class RecordingEdit : public NEdit {
 public:
  explicit RecordingEdit(HookLog* log) : log_(log) {}
  ~RecordingEdit() override { Destroy(); }
  int32_t create_result = 1;
  UINT consumed_key = 0;
  int32_t OnCreate() override { return create_result; }
  void OnDestroy() override { log_->push_back("destroy"); }
  void OnShow(int32_t show) override { log_->push_back(show ? "show" : "hide"); }
  void OnMove() override { log_->push_back("move"); }
  void OnSize() override { log_->push_back("size"); }
  void OnSetFocus() override { log_->push_back("focus"); }
  void OnKillFocus() override { log_->push_back("blur"); }
  int32_t PreTranslateMessage(HWND, MSG* message) override {
    return message->message == WM_KEYDOWN && message->wParam == consumed_key ? 1 : 0;
  }

 private:
  HookLog* log_;
};

// A dialog of 300 x 200 with a shown panel at (20, 30).
struct EditScene {
  HookLog log;
  KeyLoggingDialog dialog;
  RecordingNode panel{"panel", &log};
  RecordingEdit edit{&log};
  EditScene() { dialog.Create(300, 200); }
  void Open() {
    dialog.Resize(300, 200);
    dialog.Show(1, 1);
    ASSERT_TRUE(panel.Place(20, 30, 200, 100, &dialog));
  }
};

TEST(EditHost, TypedTextComesBackAlsoAfterTheLimitIsLifted) {
  EditScene scene;
  EXPECT_EQ(nullptr, scene.edit.GetText());
  RunModalScript(scene.dialog, [&] {
    scene.Open();
    ASSERT_EQ(1, scene.edit.Create(10, 10, 150, 22, 100, &scene.panel, kEditStyle));
    EXPECT_EQ(1, scene.edit.visible());  // WS_VISIBLE in the style
    scene.edit.SetFocus();
    EXPECT_EQ(1, scene.edit.focused());
    PostKeys(scene.edit.window_handle(), "HELLO");
    AfterQueuedMessages([&] {
      EXPECT_STREQ(L"hello", scene.edit.GetText());
      scene.edit.SetLimitText(10);
      EXPECT_EQ(10u, scene.edit.GetLimitText());
      EXPECT_STREQ(L"hello", scene.edit.GetText());
      scene.edit.SetLimitText(0);  // the control's own maximum, about 2^31 characters
      EXPECT_GT(scene.edit.GetLimitText(), 0x10000000u);
      PostKeys(scene.edit.window_handle(), "AGAIN");
      AfterQueuedMessages([&] {
        EXPECT_STREQ(L"helloagain", scene.edit.GetText());
        scene.edit.SetText(L"set");
        EXPECT_STREQ(L"set", scene.edit.GetText());
        scene.dialog.OnOK();
      });
    });
  });
  EXPECT_EQ(0, scene.edit.created());
}

TEST(EditHost, FocusMovesAndSizesAreReportedToTheNode) {
  EditScene scene;
  RunModalScript(scene.dialog, [&] {
    scene.Open();
    ASSERT_EQ(1, scene.edit.Create(10, 10, 150, 22, 100, &scene.panel, kEditStyle));
    HWND window = scene.edit.window_handle();
    RECT rect;
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, scene.dialog.window_handle(), reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(30, rect.left);
    EXPECT_EQ(40, rect.top);

    // A panel's move moves the edit's window; the edit's own coordinates stay.
    scene.panel.Move(50, 60);
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, scene.dialog.window_handle(), reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(60, rect.left);
    EXPECT_EQ(70, rect.top);
    EXPECT_EQ(10, scene.edit.x());

    // The window moved and sized from outside: the node follows and its hooks run.
    scene.log.clear();
    SetWindowPos(window, nullptr, 55, 75, 120, 30, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(5, scene.edit.x());
    EXPECT_EQ(15, scene.edit.y());
    EXPECT_EQ(120, scene.edit.width());
    EXPECT_EQ(30, scene.edit.height());
    scene.edit.Resize(100, 24);
    EXPECT_EQ(100, scene.edit.width());
    EXPECT_EQ((HookLog{"move", "size", "size"}), scene.log);

    scene.log.clear();
    scene.edit.SetFocus();
    ::SetFocus(nullptr);  // (the dialog's own focus would go back to its first control)
    EXPECT_EQ((HookLog{"focus", "blur"}), scene.log);
    EXPECT_EQ(0, scene.edit.focused());
    scene.dialog.OnOK();
  });
}

TEST(EditHost, ShowZeroHidesAndTheSystemShowMessageOnlyRunsOnShow) {
  EditScene scene;
  RunModalScript(scene.dialog, [&] {
    scene.Open();
    ASSERT_EQ(1, scene.edit.Create(10, 10, 150, 22, 100, &scene.panel, kEditStyle));
    HWND window = scene.edit.window_handle();
    scene.log.clear();
    scene.edit.Show(0, 0);
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_EQ(0, scene.edit.visible());
    ShowWindow(window, SW_SHOWNA);  // the system's show message: a hook call, not the node's flag
    EXPECT_EQ(0, scene.edit.visible());
    EXPECT_EQ((HookLog{"hide", "show"}), scene.log);
    ShowWindow(window, SW_HIDE);

    // A hidden panel hides the shown edit on the next frame, and shows it again after.
    scene.edit.Show(1, 0);
    EXPECT_TRUE(IsWindowVisible(window));
    scene.panel.Show(0, 0);
    scene.dialog.Update();
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_EQ(1, scene.edit.visible());
    scene.panel.Show(1, 0);
    scene.dialog.Update();
    EXPECT_TRUE(IsWindowVisible(window));
    scene.dialog.OnOK();
  });
}

TEST(EditHost, AKeyTheNodeConsumesReachesNeitherTheEditNorTheDialogAndTabReachesTheDialog) {
  EditScene scene;
  scene.edit.consumed_key = 'X';
  RunModalScript(scene.dialog, [&] {
    scene.Open();
    ASSERT_EQ(1, scene.edit.Create(10, 10, 150, 22, 100, &scene.panel, kEditStyle));
    scene.edit.SetFocus();
    PostKeys(scene.edit.window_handle(), "AXB");
    PostKey(scene.edit.window_handle(), VK_TAB);
    AfterQueuedMessages([&] {
      EXPECT_STREQ(L"ab", scene.edit.GetText());
      EXPECT_EQ((std::vector<WPARAM>{'A', 'B', VK_TAB}), scene.dialog.keys);
      scene.dialog.OnOK();
    });
  });
}

TEST(EditHost, AFailedCreationLeavesNoWindowAndUnlinksTheNode) {
  EditScene scene;
  RunModalScript(scene.dialog, [&] {
    scene.Open();
    HookLog log;
    RecordingNode loose("loose", &log);  // not created, no window anywhere above it
    EXPECT_EQ(0, scene.edit.Create(0, 0, 50, 20, 1, nullptr, kEditStyle));
    EXPECT_EQ(0, scene.edit.Create(0, 0, 50, 20, 1, &loose, kEditStyle));
    EXPECT_EQ(0, scene.edit.Create(0, 0, 50, 20, 1, &scene.panel));  // the node creation of other nodes
    int windows = Window::BoundWindowCount();
    scene.edit.create_result = 0;
    EXPECT_EQ(0, scene.edit.Create(0, 0, 50, 20, 1, &scene.panel, kEditStyle));
    EXPECT_EQ(0, scene.edit.created());
    EXPECT_EQ(nullptr, scene.edit.window_handle());
    EXPECT_EQ(nullptr, scene.edit.parent());
    EXPECT_EQ(nullptr, scene.panel.children().head());
    EXPECT_EQ(windows, Window::BoundWindowCount());
    EXPECT_EQ(nullptr, FindWindowExW(scene.dialog.window_handle(), nullptr, L"EDIT", nullptr));

    scene.edit.create_result = 1;
    ASSERT_EQ(1, scene.edit.Create(0, 0, 50, 20, 1, &scene.panel, kEditStyle));
    scene.edit.Destroy();
    EXPECT_EQ(nullptr, scene.panel.children().head());
    EXPECT_EQ(nullptr, FindWindowExW(scene.dialog.window_handle(), nullptr, L"EDIT", nullptr));
    scene.dialog.OnOK();
  });
}

}  // namespace

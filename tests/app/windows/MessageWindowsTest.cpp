// The launcher's message dialog, notification pop-ups and modal guard, with real windows on the test display
// driven by real messages; saves build/screenshots/message_dialog.png and notification_popup.png.
#include <windows.h>

#include <gtest/gtest.h>

#include <malloc.h>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "app/games/GameHooks.h"
#include "app/windows/MessageDlg.h"
#include "app/windows/ModalGuard.h"
#include "app/windows/PopupMessage.h"
#include "tests/app/windows/MessageSkin.h"
#include "tests/support/TempFolder.h"
#include "tests/support/WindowCapture.h"
#include "tests/ui/host/HostTestSupport.h"
#include "ui/browser/CHtmlHostHandler.h"
#include "ui/host/NDialog.h"
#include "ui/skin/NTextBox.h"
#include "ui/skin/SkinListeners.h"

// Freed memory is poisoned in this program, so that a pop-up used after its owner deleted it (from its own
// callback) fails at once instead of reading what happens to be left; while a quarantine is open, freed
// blocks are kept (poisoned) instead of freed, and a write into one of them shows when the quarantine ends.
namespace {

struct Quarantine {
  static const int kSlots = 8192;
  bool open = false;
  int count = 0;
  void* blocks[kSlots];
  size_t sizes[kSlots];
};
Quarantine g_quarantine;

}  // namespace

void* operator new(size_t size) {
  void* block = std::malloc(size != 0 ? size : 1);
  if (block == nullptr)
    throw std::bad_alloc();
  return block;
}
void operator delete(void* block) noexcept {
  if (block == nullptr)
    return;
  size_t size = _msize(block);
  std::memset(block, 0xDD, size);
  if (g_quarantine.open && g_quarantine.count < Quarantine::kSlots) {
    g_quarantine.blocks[g_quarantine.count] = block;
    g_quarantine.sizes[g_quarantine.count++] = size;
    return;
  }
  std::free(block);
}
void operator delete(void* block, size_t) noexcept {
  operator delete(block);
}

namespace {

// Keeps every block freed while it lives; Close frees them and counts those written after they were freed.
class QuarantineScope {
 public:
  QuarantineScope() {
    g_quarantine.count = 0;
    g_quarantine.open = true;
  }
  ~QuarantineScope() { Close(); }
  int Close() {
    g_quarantine.open = false;
    int written = 0;
    for (int i = 0; i < g_quarantine.count; ++i) {
      const unsigned char* bytes = static_cast<const unsigned char*>(g_quarantine.blocks[i]);
      for (size_t at = 0; at < g_quarantine.sizes[i]; ++at) {
        if (bytes[at] != 0xDD) {
          ++written;
          break;
        }
      }
      std::free(g_quarantine.blocks[i]);
    }
    g_quarantine.count = 0;
    return written;
  }
};

}  // namespace

namespace {

using testing_support::kCancelButton;
using testing_support::kOkButton;
using testing_support::kOkOnlyButton;

std::vector<std::pair<std::wstring, int32_t>> g_answers;

void RecordAnswer(const wchar_t* key, int32_t answer) {
  g_answers.emplace_back(key, answer);
}

// Removes the pop-up whose key answered, from inside its own callback.
void RemoveAnsweringPopup(const wchar_t* key, int32_t answer) {
  g_answers.emplace_back(key, answer);
  for (PopupQueueNode* node = PopupQueueHead(); node != nullptr; node = node->next) {
    if (wcscmp(node->item->popup().key().GetString(), key) == 0) {
      PopupQueueRemove(node);
      return;
    }
  }
}

BOOL CALLBACK CollectVisible(HWND window, LPARAM list) {
  if (IsWindowVisible(window))
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

// The visible windows of this thread.
std::vector<HWND> ThreadWindows() {
  std::vector<HWND> windows;
  EnumThreadWindows(GetCurrentThreadId(), CollectVisible, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

// The message dialog's window (the only 240 x 120 one), or null.
HWND FindMessageWindow() {
  for (HWND window : ThreadWindows()) {
    RECT rect;
    GetWindowRect(window, &rect);
    if (rect.right - rect.left == testing_support::kMessageWidth &&
        rect.bottom - rect.top == testing_support::kMessageHeight)
      return window;
  }
  return nullptr;
}

POINT g_click_target;
int g_click_ticks = 0;
// Runs (when set) once the dialog is up, before the click.
std::function<void()> g_when_up;

void CALLBACK ClickWhenTheDialogIsUp(HWND, UINT, UINT_PTR id, DWORD) {
  if (HWND window = FindMessageWindow()) {
    KillTimer(nullptr, id);
    if (g_when_up)
      g_when_up();
    testing_support::ClickAt(window, g_click_target.x, g_click_target.y);
  } else if (++g_click_ticks > 160) {
    KillTimer(nullptr, id);
    for (HWND any : ThreadWindows())
      PostMessageW(any, WM_CLOSE, 0, 0);
  }
}

// Once a message dialog is open inside `run`, clicks `point` in it (or, after 5 s without one, gives up by
// closing whatever window the thread shows, so no test waits for ever).
INT_PTR ClickInMessageDialog(POINT point, const std::function<INT_PTR()>& run) {
  g_click_target = point;
  g_click_ticks = 0;
  UINT_PTR timer = SetTimer(nullptr, 0, 30, ClickWhenTheDialogIsUp);
  INT_PTR result = run();
  KillTimer(nullptr, timer);
  return result;
}

class MessageWindowsTest : public testing_support::MessageSkinTest {
 protected:
  void SetUp() override {
    MessageSkinTest::SetUp();
    g_answers.clear();
  }
  void TearDown() override {
    g_when_up = nullptr;
    PopupQueueRemoveAll();
    SetMainDialog(nullptr);
    MessageSkinTest::TearDown();
  }
  bool WaitForAnswers(size_t count) {
    return testing_support::PumpUntil([count] { return g_answers.size() >= count; }, 5000);
  }
  static bool Grey(HMENU menu, UINT item) {
    return (GetMenuState(menu, item, MF_BYCOMMAND) & MF_GRAYED) != 0;
  }
};

TEST(PopupPosition, CornerOrCentreWithHalvesTowardMinusInfinity) {
  struct Case {
    const char* name;
    bool anchored;
    RECT anchor, work;
    SIZE size;
    int32_t corner;
    POINT expected;
  };
  const RECT primary = {0, 0, 1024, 738};
  const RECT left_monitor = {-1280, -200, 0, 824};  // a second monitor left of and above the primary
  const Case cases[] = {
      {"centred on the dialog", true, {100, 50, 500, 350}, primary, {240, 120}, 0, {180, 140}},
      {"odd difference rounds down", true, {100, 50, 341, 171}, primary, {240, 120}, 0, {100, 50}},
      {"pop-up wider by an odd amount", true, {100, 50, 339, 169}, primary, {240, 120}, 0, {99, 49}},
      {"negative halves on the left monitor",
       true,
       {-1000, -150, -761, -31},
       left_monitor,
       {240, 120},
       0,
       {-1001, -151}},
      {"corner of the anchor's monitor",
       true,
       {-1000, -150, -600, 150},
       left_monitor,
       {240, 120},
       1,
       {-240, -200}},
      {"corner of the primary monitor", true, {100, 50, 500, 350}, primary, {240, 120}, 1, {784, 0}},
      {"no dialog: centred in the work area", false, {}, primary, {240, 120}, 0, {392, 309}},
      {"no dialog, corner", false, {}, primary, {240, 120}, 1, {784, 0}},
  };
  for (const Case& c : cases) {
    POINT at = PopupPosition(c.anchored ? &c.anchor : nullptr, c.work, c.size, c.corner);
    EXPECT_EQ(c.expected.x, at.x) << c.name;
    EXPECT_EQ(c.expected.y, at.y) << c.name;
  }
}

TEST_F(MessageWindowsTest, TheMessageDialogShowsItsTextAndEndsWithOkOrCancel) {
  struct Case {
    int32_t kind;
    POINT click;
    INT_PTR expected;
  };
  for (const Case& c :
       {Case{1, kOkButton, IDOK}, Case{1, kCancelButton, IDCANCEL}, Case{0, kOkOnlyButton, IDOK}}) {
    MessageDlg dialog;
    dialog.SetSkin(L"etc", L"message_wnd");
    dialog.SetMessage(c.kind, L"Update every game now?");
    INT_PTR result = testing_support::RunModalScript(dialog, [&] {
      HWND window = dialog.window_handle();
      ASSERT_NE(nullptr, dialog.body().text_box());
      EXPECT_STREQ(L"Update every game now?", dialog.body().text_box()->text().GetString());
      EXPECT_NE(nullptr, dialog.body().text_box()->rendered());
      EXPECT_EQ(c.kind != 0 ? 1 : 0, dialog.body().second_button().created());
      if (c.kind != 0 && c.expected == IDOK) {
        testing_support::MoveMouse(window, kOkButton.x, kOkButton.y);
        ASSERT_TRUE(testing_support::WaitUntilPainted(window, 3000));
        testing_support::PngImage shot = testing_support::CaptureWindow(window);
        EXPECT_TRUE(testing_support::SaveScreenshot(shot, L"message_dialog.png"));
        EXPECT_EQ(0xCFE7FFu, testing_support::PixelAt(shot, kOkButton.x - 40, kOkButton.y - 12));
      }
      testing_support::ClickAt(window, c.click.x, c.click.y);
    });
    EXPECT_EQ(c.expected, result) << c.kind;
  }
  EXPECT_EQ(0, SkinListenerCount());
}

TEST_F(MessageWindowsTest, AMessageDialogWithoutItsSkinIsNotShown) {
  DeleteFileW(L"data\\skin\\etc\\message_wnd_cancel2_btn.ini");
  EXPECT_EQ(-1, ShowMessageDialog(1, L"question"));
  EXPECT_EQ(0, SkinListenerCount());
}

TEST_F(MessageWindowsTest, ShowModalMessageEndsWithTheClickedButtonAndRefusesASecondQuestion) {
  EXPECT_EQ(IDOK, ClickInMessageDialog(kOkButton, [] { return ShowModalMessage(L"Install?", 1); }));
  EXPECT_EQ(IDCANCEL, ClickInMessageDialog(kCancelButton, [] { return ShowModalMessage(L"Install?", 1); }));
  EXPECT_EQ(0, IsModalOpen());
  // Under a held guard the question is answered with cancel at once, and no window opens.
  ASSERT_EQ(1, EnterModal());
  size_t windows_before = ThreadWindows().size();
  EXPECT_EQ(IDCANCEL, ShowModalMessage(L"second", 1));
  EXPECT_EQ(IDCANCEL, ShowModalMessage(L"third", 0));
  EXPECT_EQ(windows_before, ThreadWindows().size());
  EXPECT_EQ(0, EnterModal());
  LeaveModal();
  EXPECT_EQ(0, IsModalOpen());
}

TEST_F(MessageWindowsTest, TheGuardGreysTheTrayItemsAndLeavesRestoreGreyWhileTheDialogIsShown) {
  NDialog main;
  main.Create(400, 300);
  testing_support::RunModalScript(main, [&] {
    SetMainDialog(&main);
    HMENU items = CreatePopupMenu();
    AppendMenuW(items, MF_STRING, kTraySettingItem, L"Settings");
    AppendMenuW(items, MF_STRING, kTrayRestoreItem, L"Restore");
    AppendMenuW(items, MF_STRING, kTrayExitItem, L"Exit");
    HMENU bar = CreateMenu();
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(items), L"tray_menu");
    main.TrayMenu()->Attach(bar);
    main.tray_menu()->SetItemState(kTrayRestoreItem, MFS_DISABLED | MFS_GRAYED);  // the window is shown

    ASSERT_EQ(1, EnterModal());
    EXPECT_TRUE(Grey(items, kTraySettingItem) && Grey(items, kTrayRestoreItem) && Grey(items, kTrayExitItem));
    LeaveModal();
    EXPECT_FALSE(Grey(items, kTraySettingItem));
    EXPECT_FALSE(Grey(items, kTrayExitItem));
    EXPECT_TRUE(Grey(items, kTrayRestoreItem));

    SendMessageW(main.window_handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_EQ(1, main.minimized());
    ASSERT_EQ(1, EnterModal());
    EXPECT_TRUE(Grey(items, kTrayRestoreItem));
    LeaveModal();
    EXPECT_FALSE(Grey(items, kTrayRestoreItem));
    SetMainDialog(nullptr);
    main.OnOK();
  });
}

TEST_F(MessageWindowsTest, ATwoButtonPopupAnswersOneForOkAndZeroForCancelOrClose) {
  struct Case {
    const char* how;
    int32_t expected;
  };
  for (const Case& c : {Case{"ok", 1}, Case{"cancel", 0}, Case{"close", 0}}) {
    PopupQueueNode* node = PopupQueueAddNew();
    ASSERT_NE(nullptr, node);
    ASSERT_EQ(1, node->item->Show(L"game 7", L"Update now?", RecordAnswer, 1, 0));
    HWND window = node->item->popup().window_handle();
    std::string how = c.how;
    if (how == "ok")
      testing_support::ClickAt(window, kOkButton.x, kOkButton.y);
    else if (how == "cancel")
      testing_support::ClickAt(window, kCancelButton.x, kCancelButton.y);
    else
      PostMessageW(window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitForAnswers(1)) << how;
    EXPECT_EQ(L"game 7", g_answers[0].first) << how;
    EXPECT_EQ(c.expected, g_answers[0].second) << how;
    EXPECT_FALSE(IsWindow(window)) << how;
    PopupQueueRemove(node);
    g_answers.clear();
  }
  EXPECT_EQ(0, PopupQueueCount());
  EXPECT_EQ(0, SkinListenerCount());
}

TEST_F(MessageWindowsTest, ACallbackMayRemoveItsOwnPopup) {
  QuarantineScope quarantine;
  PopupQueueNode* first = PopupQueueAddNew();
  PopupQueueNode* second = PopupQueueAddNew();
  ASSERT_EQ(1, first->item->Show(L"first", L"One", RemoveAnsweringPopup, 1, 0));
  ASSERT_EQ(1, second->item->Show(L"second", L"Two", RemoveAnsweringPopup, 0, 1));
  HWND first_window = first->item->popup().window_handle();
  HWND second_window = second->item->popup().window_handle();
  testing_support::ClickAt(first_window, kOkButton.x, kOkButton.y);
  ASSERT_TRUE(WaitForAnswers(1));
  EXPECT_EQ(1, PopupQueueCount());
  // A double click on the OK button: the second WM_CLOSE finds no window any more.
  testing_support::ClickAt(second_window, kOkOnlyButton.x, kOkOnlyButton.y);
  testing_support::ClickAt(second_window, kOkOnlyButton.x, kOkOnlyButton.y);
  ASSERT_TRUE(WaitForAnswers(2));
  testing_support::PumpMessages();
  ASSERT_EQ(2u, g_answers.size());
  EXPECT_EQ((std::pair<std::wstring, int32_t>{L"first", 1}), g_answers[0]);
  EXPECT_EQ((std::pair<std::wstring, int32_t>{L"second", 1}), g_answers[1]);
  EXPECT_EQ(0, PopupQueueCount());
  EXPECT_EQ(0, SkinListenerCount());
  EXPECT_EQ(0, quarantine.Close()) << "freed blocks written afterwards";
}

TEST_F(MessageWindowsTest, APopupIsShownWithoutActivationCentredOnTheMainDialogOrInItsMonitorsCorner) {
  NDialog main;
  testing_support::RunModalScript(main, [&] {
    SetMainDialog(&main);
    main.Move(100, 50);
    main.Resize(400, 300);
    HWND main_window = main.window_handle();
    SetActiveWindow(main_window);
    HWND active = GetActiveWindow();
    PopupQueueNode* centred = PopupQueueAddNew();
    PopupQueueNode* corner = PopupQueueAddNew();
    ASSERT_EQ(1, centred->item->Show(L"a", L"centred", nullptr, 0, 0));
    ASSERT_EQ(1, corner->item->Show(L"b", L"corner", nullptr, 0, 1));
    HWND window = centred->item->popup().window_handle();
    EXPECT_EQ(active, GetActiveWindow());
    EXPECT_TRUE(IsWindowVisible(window));
    LONG_PTR ex_style = GetWindowLongPtrW(window, GWL_EXSTYLE);
    EXPECT_TRUE((ex_style & WS_EX_TOPMOST) && (ex_style & WS_EX_TOOLWINDOW));
    RECT rect;
    GetWindowRect(window, &rect);
    EXPECT_EQ(180, rect.left);
    EXPECT_EQ(140, rect.top);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromPoint(POINT{100, 50}, MONITOR_DEFAULTTONEAREST), &monitor);
    GetWindowRect(corner->item->popup().window_handle(), &rect);
    EXPECT_EQ(monitor.rcWork.right - testing_support::kMessageWidth, rect.left);
    EXPECT_EQ(monitor.rcWork.top, rect.top);
    PopupQueueRemoveAll();
    SetMainDialog(nullptr);
    main.OnOK();
  });
}

TEST_F(MessageWindowsTest, WithoutAMainDialogAPopupIsCentredInThePrimaryWorkArea) {
  PopupQueueNode* node = PopupQueueAddNew();
  ASSERT_EQ(
      1, node->item->Show(L"game 3", L"Game 3 could not be updated.\\nTry again later.", RecordAnswer, 1, 0));
  HWND window = node->item->popup().window_handle();
  RECT work;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  RECT rect;
  GetWindowRect(window, &rect);
  EXPECT_EQ(work.left + (work.right - work.left - testing_support::kMessageWidth) / 2, rect.left);
  EXPECT_EQ(work.top + (work.bottom - work.top - testing_support::kMessageHeight) / 2, rect.top);
  ASSERT_TRUE(testing_support::WaitUntilPainted(window, 3000));
  testing_support::PngImage shot = testing_support::CaptureWindow(window);
  EXPECT_TRUE(testing_support::SaveScreenshot(shot, L"notification_popup.png"));
  EXPECT_EQ(0x7A8AAAu, testing_support::PixelAt(shot, 0, 60));  // the skin's frame reached the screen
  PopupQueueRemove(node);
}

TEST_F(MessageWindowsTest, APopupThatCannotBeCreatedReportsItAndCanBeRemoved) {
  DeleteFileW(L"data\\skin\\etc\\message_wnd.ini");
  PopupQueueNode* node = PopupQueueAddNew();
  EXPECT_EQ(0, node->item->Show(L"need_update", L"Update?", RecordAnswer, 1, 1));
  EXPECT_EQ(nullptr, node->item->popup().window_handle());
  PopupQueueRemove(node);
  EXPECT_EQ(0, PopupQueueCount());
  EXPECT_EQ(0, SkinListenerCount());
  EXPECT_TRUE(g_answers.empty());
}

TEST_F(MessageWindowsTest, TheInstalledGamePresenterShowsTheOneButtonDialogUnderTheModalGuard) {
  InstallGameMessagePresenter();
  std::vector<int32_t> guard_while_shown;
  g_when_up = [&guard_while_shown] { guard_while_shown.push_back(IsModalOpen()); };
  auto show = [] { return INT_PTR{ShowGameMessage(L"The file data/a.pak was changed.")}; };
  EXPECT_EQ(1, ClickInMessageDialog(kOkOnlyButton, show));
  EXPECT_EQ(std::vector<int32_t>{1}, guard_while_shown);
  EXPECT_EQ(0, IsModalOpen());
  // Another guarded dialog is open (the settings dialog, a question): the message is not shown over it, and
  // the presenter says so, so that its caller can keep it.
  ASSERT_EQ(1, EnterModal());
  EXPECT_EQ(0, ClickInMessageDialog(kOkOnlyButton, show));
  EXPECT_EQ(1u, guard_while_shown.size());
  EXPECT_EQ(1, IsModalOpen());
  LeaveModal();
  SetGameMessagePresenter(nullptr);
  EXPECT_EQ(nullptr, FindMessageWindow());
}

// A page's message box that records whether the guard is held while it is up: then the tray's settings, an
// arrived server list or a held-back game message, dispatched by the box's own loop, cannot open over it.
std::vector<std::wstring> g_page_boxes;

int WINAPI RecordPageBox(HWND, LPCWSTR text, LPCWSTR caption, UINT) {
  g_page_boxes.push_back(std::wstring(text) + L"|" + caption + L"|guard " + std::to_wstring(IsModalOpen()));
  return IDOK;
}

TEST_F(MessageWindowsTest, APageMessageBoxTakesTheGuardOrAnswersCancelUnderAnotherDialog) {
  InstallPageMessageGuard();
  HtmlHostSystemCalls calls;
  calls.message_box = &RecordPageBox;
  SetHtmlHostSystemCalls(&calls);
  g_page_boxes.clear();
  CHtmlHostHandler page;
  wchar_t text[] = L"Saved.";
  LRESULT answer = 0;
  EXPECT_EQ(S_OK, page.ShowMessage(nullptr, text, nullptr, MB_OKCANCEL, nullptr, 0, &answer));
  EXPECT_EQ(IDOK, answer);
  EXPECT_EQ(std::vector<std::wstring>{L"Saved.|Caption|guard 1"}, g_page_boxes);
  EXPECT_EQ(0, IsModalOpen());

  ASSERT_EQ(1, EnterModal());
  EXPECT_EQ(S_OK, page.ShowMessage(nullptr, text, nullptr, MB_OKCANCEL, nullptr, 0, &answer));
  EXPECT_EQ(IDCANCEL, answer) << "answered as cancelled";
  EXPECT_EQ(1u, g_page_boxes.size()) << "nothing shown over the other dialog";
  EXPECT_EQ(1, IsModalOpen()) << "the other dialog keeps the guard";
  LeaveModal();
  SetHtmlHostSystemCalls(nullptr);
  SetHtmlMessageGuard(nullptr);
}

// The child process of the next test: pop-ups open, then the shutdown call, then a normal exit through the
// test program's end. It exists as a test only in that child, whose environment names the report it writes
// (ORVANE_POPUP_EXIT_CHILD), so that ctest never lists it.
class PopupExitChild : public MessageWindowsTest {
 public:
  void TestBody() override {
    int shown = 0;
    for (int i = 0; i < 3; ++i)
      shown += PopupQueueAddNew()->item->Show(L"k", L"open at exit", RecordAnswer, i % 2, i % 2);
    const int open = PopupQueueCount();
    PopupQueueRemoveAll();
    const std::string report = "shown " + std::to_string(shown) + ", open " + std::to_string(open) +
                               ", left " + std::to_string(PopupQueueCount());
    EXPECT_TRUE(testing_support::WriteFileBytes(report_, report));
  }
  std::wstring report_;
};

bool RegisterPopupExitChild() {
  wchar_t report[MAX_PATH];
  DWORD length = GetEnvironmentVariableW(L"ORVANE_POPUP_EXIT_CHILD", report, MAX_PATH);
  if (length == 0 || length >= MAX_PATH)
    return false;
  const std::wstring path(report, length);
  testing::RegisterTest("PopupExitChild", "OpensPopupsAndEndsAfterTheShutdownCall", nullptr, nullptr,
                        __FILE__, __LINE__, [path]() -> MessageWindowsTest* {
                          PopupExitChild* child = new PopupExitChild;
                          child->report_ = path;
                          return child;
                        });
  return true;
}
const bool g_popup_exit_child = RegisterPopupExitChild();

// The child's report says it showed its pop-ups and closed them all, and it then ended with code 0.
TEST(PopupExit, AChildProcessWithPopupsOpenExitsCleanly) {
  wchar_t self[MAX_PATH];
  ASSERT_NE(0u, GetModuleFileNameW(nullptr, self, MAX_PATH));
  testing_support::TempFolder folder(L"popup-exit");
  const std::wstring report = folder.Join(L"child-report.txt");
  std::wstring command =
      std::wstring(L"\"") + self + L"\" --gtest_filter=PopupExitChild.OpensPopupsAndEndsAfterTheShutdownCall";
  ASSERT_TRUE(SetEnvironmentVariableW(L"ORVANE_POPUP_EXIT_CHILD", report.c_str()));
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process = {};
  BOOL started =
      CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process);
  SetEnvironmentVariableW(L"ORVANE_POPUP_EXIT_CHILD", nullptr);
  ASSERT_TRUE(started);
  DWORD waited = WaitForSingleObject(process.hProcess, 60000);
  if (waited != WAIT_OBJECT_0)
    TerminateProcess(process.hProcess, 99);
  DWORD exit_code = 99;
  GetExitCodeProcess(process.hProcess, &exit_code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  EXPECT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), waited);
  EXPECT_EQ(0u, exit_code);
  std::string reported;
  EXPECT_TRUE(testing_support::ReadFileBytes(report, &reported));
  EXPECT_EQ("shown 3, open 3, left 0", reported);
}

}  // namespace

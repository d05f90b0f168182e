// The main dialog and the skinned question with the default skin and real windows: a script of steps runs from
// a timer inside the modal loop and sends the dialog real messages (close, tray notifications, menu commands,
// clicks); the question's screenshot is saved as screenshots/installer_question.png, a game's changed-file
// message as screenshots/file_changed_message.png.
#include <windows.h>

#include <gtest/gtest.h>

#include <cwchar>
#include <functional>
#include <string>
#include <vector>

#include "app/games/GameHooks.h"
#include "app/games/GameInfo.h"
#include "app/games/GameSource.h"
#include "app/session/HandOver.h"
#include "app/session/LauncherGlobals.h"
#include "app/settings/Setting.h"
#include "app/texts/MessageTexts.h"
#include "app/tick/PeriodicTick.h"
#include "app/windows/ModalGuard.h"
#include "app/windows/orvaneLauncherDlg.h"
#include "base/TextFields.h"
#include "selfupdate/LauncherInfo.h"
#include "tests/app/games/GameTestSupport.h"
#include "tests/app/startup/DefaultSkinFolder.h"
#include "tests/app/startup/TickTestSupport.h"
#include "tests/support/WindowCapture.h"
#include "ui/browser/OpenUrl.h"
#include "ui/host/HostMessages.h"
#include "ui/skin/NNumber.h"
#include "ui/skin/SkinListeners.h"
#include "ui/skin/SkinLoader.h"
#include "ui/skinned/ProcessPopups.h"
#include "ui/skinned/SkinnedToolTip.h"
#include "ui/view/NotifyCodes.h"

namespace {

using startup_testing::DefaultSkinInstallation;
using testing_support::PngImage;

// Runs `steps` one per timer tick (50 ms) on this thread while a modal loop runs; a step that answers false
// is tried again on the next tick (it waits for something), for at most 5 s.
class TimerScript {
 public:
  explicit TimerScript(std::vector<std::function<bool()>> steps) : steps_(std::move(steps)) {
    current_ = this;
    timer_ = SetTimer(nullptr, 0, 50, &TimerScript::OnTimer);
  }
  ~TimerScript() {
    KillTimer(nullptr, timer_);
    current_ = nullptr;
  }
  bool finished() const { return next_ == steps_.size(); }
  size_t next() const { return next_; }

 private:
  static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD) {
    TimerScript* script = current_;
    if (script == nullptr || script->busy_ || script->finished())
      return;
    script->busy_ = true;
    if (script->steps_[script->next_]()) {
      ++script->next_;
      script->tries_ = 0;
    } else if (++script->tries_ > 100) {
      ADD_FAILURE() << "step " << script->next_ << " timed out";
      script->next_ = script->steps_.size();
    }
    script->busy_ = false;
  }

  static TimerScript* current_;
  std::vector<std::function<bool()>> steps_;
  size_t next_ = 0;
  int tries_ = 0;
  bool busy_ = false;
  UINT_PTR timer_ = 0;
};
TimerScript* TimerScript::current_ = nullptr;

struct RecordingShell : UrlShell {
  std::vector<std::wstring> opened;
  std::wstring ProgramFilesFolder() override { return L""; }
  std::wstring SystemDirectory() override { return L""; }
  bool FileExists(const std::wstring&) override { return false; }
  intptr_t Execute(const wchar_t*, const std::wstring& file, const wchar_t*) override {
    opened.push_back(file);
    return 33;
  }
};

int g_settings_runs = 0;
int CountSettingsRun(NDialog* /*owner*/) {
  ++g_settings_runs;
  EXPECT_EQ(0, IsModalOpen());  // the settings dialog takes the guard itself
  return 0;
}

// The visible message dialog (460 pixels wide in the default skin) among this thread's windows.
BOOL CALLBACK FindQuestionBox(HWND window, LPARAM found) {
  RECT rect;
  if (IsWindowVisible(window) && GetWindowRect(window, &rect) && rect.right - rect.left == 460) {
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  return TRUE;
}

HWND FindMessageBox() {
  HWND box = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), &FindQuestionBox, reinterpret_cast<LPARAM>(&box));
  return box;
}

// Real game records as the user interface's games.
struct GameRecords : GameSource {
  std::vector<IGameInfo*> games;
  size_t Count() override { return games.size(); }
  IGameInfo* At(size_t index) override { return index < games.size() ? games[index] : nullptr; }
};

UINT TrayItemState(orvaneLauncherDlg& dialog, UINT item) {
  Menu* menu = dialog.tray_menu();
  return menu != nullptr ? GetMenuState(menu->SubMenu(0), item, MF_BYCOMMAND) : 0xFFFFFFFF;
}

class LauncherWindowsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(skin_.ready());
    SettingSources sources;
    sources.registry_root = HKEY_CURRENT_USER;
    sources.registry_path = L"Software\\OrvaneLauncherDialogTest";
    program_ = skin_.folder().Join(L"orvaneLauncher.exe");
    sources.program_path = program_.c_str();
    SetSettingSources(sources);
    Setting::GetInstance();
    Launcher().LauncherTitle.Assign(L"Orvane Launcher Test");
    Launcher().LauncherFileVersion.Assign(L"1.0.0.1");
    SetTickSystem(&system_);
    SetLauncherUrlShell(&shell_);
    SetSettingsDialogRunner(&CountSettingsRun);
    g_settings_runs = 0;
  }
  void TearDown() override {
    SetGameSource(nullptr);
    SetTickSystem(nullptr);
    SetLauncherUrlShell(nullptr);
    SetSettingsDialogRunner(nullptr);
    SetGameQuestionPresenter(nullptr);
    SetGameMessagePresenter(nullptr);
    Setting::ReleaseInstance();
    ResetSettingSources();
    SetCurrentSkin(nullptr);
    TakeSkinChange();
    Launcher().LauncherWindow = nullptr;
  }
  // Runs the main dialog with `steps`; its modal result.
  INT_PTR RunDialog(orvaneLauncherDlg& dialog, std::vector<std::function<bool()>> steps) {
    dialog.SetSkin(L"base", L"base");
    SetMainDialog(&dialog);
    TimerScript script(std::move(steps));
    INT_PTR result = dialog.DoModal();
    SetMainDialog(nullptr);
    EXPECT_TRUE(script.finished()) << "stopped before step " << script.next();
    return result;
  }

  DefaultSkinInstallation skin_;
  std::wstring program_;
  tick_testing::FakeSystem system_;
  RecordingShell shell_;
};

TEST_F(LauncherWindowsTest, CloseMinimisesToTheTrayAndTheTrayRestoresAndEndsTheDialog) {
  Setting::GetInstance()->Minimize = 1;
  orvaneLauncherDlg dialog;
  HWND window = nullptr;
  INT_PTR result = RunDialog(dialog, {
                                         [&] {
                                           window = dialog.GetHwnd();
                                           if (window == nullptr || !IsWindowVisible(window))
                                             return false;
                                           wchar_t title[64] = {};
                                           GetWindowTextW(window, title, 64);
                                           EXPECT_STREQ(L"Orvane Launcher Test", title);
                                           EXPECT_EQ(UINT(MFS_DISABLED | MFS_GRAYED),
                                                     TrayItemState(dialog, 20) & (MFS_DISABLED | MFS_GRAYED));
                                           EXPECT_EQ(&dialog.launcher_window(), Launcher().LauncherWindow);
                                           SendMessageW(window, WM_CLOSE, 0, 0);
                                           return true;
                                         },
                                         [&] {
                                           if (IsWindowVisible(window))
                                             return false;
                                           EXPECT_EQ(1, dialog.minimized());
                                           EXPECT_EQ(0u, TrayItemState(dialog, 20) & MFS_DISABLED);
                                           SendMessageW(window, WM_TRAY_NOTIFY, 1, WM_LBUTTONDBLCLK);
                                           return true;
                                         },
                                         [&] {
                                           if (!IsWindowVisible(window))
                                             return false;
                                           EXPECT_EQ(0, dialog.minimized());
                                           EXPECT_NE(0u, TrayItemState(dialog, 20) & MFS_DISABLED);
                                           PostMessageW(window, WM_COMMAND, 19, 0);
                                           return true;
                                         },
                                         [&] {
                                           if (g_settings_runs == 0)
                                             return false;
                                           EXPECT_EQ(0, IsModalOpen());
                                           PostMessageW(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
                                           return true;
                                         },
                                         [&] {
                                           if (IsWindowVisible(window))
                                             return false;
                                           PostMessageW(window, WM_COMMAND, 20, 0);
                                           return true;
                                         },
                                         [&] {
                                           if (!IsWindowVisible(window))
                                             return false;
                                           PostMessageW(window, WM_COMMAND, 21, 0);
                                           return true;
                                         },
                                     });
  EXPECT_EQ(IDOK, result);
  EXPECT_EQ(1, g_settings_runs);
}

TEST_F(LauncherWindowsTest, CloseWithoutTheMinimiseSettingEndsTheDialog) {
  Setting::GetInstance()->Minimize = 0;
  orvaneLauncherDlg dialog;
  INT_PTR result = RunDialog(dialog, {[&] {
                               if (dialog.GetHwnd() == nullptr)
                                 return false;
                               SendMessageW(dialog.GetHwnd(), WM_CLOSE, 0, 0);
                               return true;
                             }});
  EXPECT_EQ(IDOK, result);
}

TEST_F(LauncherWindowsTest, TheSkinFixRemembersTheCurrentSkinAndTypedSearchesAreEncoded) {
  Setting* setting = Setting::GetInstance();
  setting->FixSkin = 0;
  orvaneLauncherDlg dialog;
  RunDialog(dialog, {
                        [&] {
                          if (dialog.GetHwnd() == nullptr)
                            return false;
                          // After the dialog applied the start game (none here: the portal's own skin).
                          SetCurrentSkin(L"winter");
                          RECT check, button;
                          EXPECT_TRUE(startup_testing::SkinRect("base", "fixskin_chk", &check));
                          EXPECT_TRUE(startup_testing::SkinRect("base", "fixskin_btn", &button));
                          testing_support::ClickAt(dialog.GetHwnd(), (check.left + check.right) / 2,
                                                   (check.top + check.bottom) / 2);
                          EXPECT_EQ(1, setting->FixSkin);
                          EXPECT_STREQ(L"winter", setting->FixedSkinID);
                          EXPECT_EQ(1, dialog.fix_skin_check().check());
                          testing_support::ClickAt(dialog.GetHwnd(), (button.left + button.right) / 2,
                                                   (button.top + button.bottom) / 2);
                          EXPECT_EQ(0, setting->FixSkin);
                          EXPECT_EQ(0, dialog.fix_skin_check().check());
                          OpenSearch(L"dragon quest & more", 0);
                          OpenSearch(L"not a keyword", 1);
                          PostMessageW(dialog.GetHwnd(), WM_COMMAND, 21, 0);
                          return true;
                        },
                    });
  ASSERT_EQ(1u, shell_.opened.size());
  EXPECT_EQ(L"http://127.0.0.1/search?q=dragon%20quest%20%26%20more", shell_.opened[0]);
}

TEST_F(LauncherWindowsTest, ACategoryWithoutSkinChangesKeepsItsLook) {
  for (int skin_change : {1, 0}) {
    SCOPED_TRACE(skin_change);
    ASSERT_TRUE(skin_.SetSkinChange(L"base", skin_change));
    orvaneLauncherDlg dialog;
    RunDialog(dialog, {
                          [&] {
                            if (dialog.GetHwnd() == nullptr)
                              return false;
                            NNumber* before = dialog.version_number();
                            EXPECT_NE(nullptr, before);
                            // A reload makes the version number anew (perhaps at the same address).
                            before->SetText(L"9.9.9");
                            SetCurrentSkin(L"summer");
                            BroadcastSkinChange();
                            EXPECT_EQ(
                                skin_change == 0,
                                std::wcscmp(dialog.version_number()->text().GetString(), L"9.9.9") == 0);
                            PostMessageW(dialog.GetHwnd(), WM_COMMAND, 21, 0);
                            return true;
                          },
                      });
    SetCurrentSkin(nullptr);
    TakeSkinChange();
  }
}

TEST_F(LauncherWindowsTest, AHandOverRestoresTheDialogAndAChangedLauncherVersionEndsItForTheSelfUpdate) {
  for (int version : {0, 5}) {
    SCOPED_TRACE(version);
    std::wstring info = skin_.folder().Join(L"ZEPHLauncherInfo.ini");
    WritePrivateProfileStringW(L"LAUNCHER_INFO", L"version", std::to_wstring(version).c_str(), info.c_str());
    SetLauncherInfoPath(info.c_str());
    Launcher().SelfUpdatePending = 0;
    orvaneLauncherDlg dialog;
    HWND window = nullptr;
    bool handed_over = false;
    std::vector<std::function<bool()>> steps = {
        [&] {
          window = dialog.GetHwnd();
          if (window == nullptr || !IsWindowVisible(window))
            return false;
          PostMessageW(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
          return true;
        },
        [&] {
          if (IsWindowVisible(window))
            return false;
          handed_over = SendHandOver(window);
          return true;
        },
    };
    // A changed version ends the dialog inside the hand-over; otherwise it comes back and is ended here.
    if (version == 0) {
      steps.push_back([&] {
        if (!IsWindowVisible(window))
          return false;
        PostMessageW(window, WM_COMMAND, 21, 0);
        return true;
      });
    }
    INT_PTR result = RunDialog(dialog, steps);
    EXPECT_TRUE(handed_over);
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ(version != 0 ? 1 : 0, Launcher().SelfUpdatePending);
  }
  Launcher().SelfUpdatePending = 0;
  SetLauncherInfoPath(nullptr);
}

TEST_F(LauncherWindowsTest, TheSharedToolTipIsMadeOnceWithTheDefaultSkin) {
  RECT area = {0, 0, 50, 20};
  ShowToolTip(&area, 7, L"Install");
  SkinnedToolTip* tip = ProcessToolTip();
  ASSERT_NE(nullptr, tip);
  HWND window = tip->GetHwnd();
  ASSERT_NE(nullptr, window);  // the skin loaded: a tip without its text box fails to be made
  EXPECT_EQ(WS_EX_TOPMOST | WS_EX_TOOLWINDOW,
            GetWindowLongW(window, GWL_EXSTYLE) & (WS_EX_TOPMOST | WS_EX_TOOLWINDOW));
  ShowToolTip(&area, 8, L"Update");
  EXPECT_EQ(window, tip->GetHwnd());
  TearDownProcessPopups();
}

// A game with a changed-file message, and the message dialog's OK button.
class HeldBackMessageTest : public LauncherWindowsTest {
 protected:
  void SetUp() override {
    LauncherWindowsTest::SetUp();
    InstallLauncherPresenters();
    Setting::GetInstance()->Minimize = 0;
    records_.games.push_back(&game_.game);
    SetGameSource(&records_);
    ASSERT_TRUE(startup_testing::SkinRect("message_wnd", "message_wnd_ok1_btn", &ok_));
  }
  // Another guarded dialog is up (it keeps the guard until the test leaves it) when the engine reports a
  // changed file: the game holds its message back.
  void HoldBackAChangedFile() {
    EXPECT_EQ(1, EnterModal());
    FileRecord record{};
    CopyToField(record.name, L"maps\\harbour.pak");
    EXPECT_EQ(0, GameInfo::OnEngineEvent(&game_.game, UpdateEventFileMismatch, &record));
    game_.game.ShowPendingFileMessages();  // as the update's start does
  }
  void ClickOk(HWND box) {
    testing_support::ClickAt(box, (ok_.left + ok_.right) / 2, (ok_.top + ok_.bottom) / 2);
  }

  game_testing::TestGame game_{L"g1", 0, 1, L""};
  GameRecords records_;
  RECT ok_ = {};
};

TEST_F(HeldBackMessageTest, AChangedFileHeldBackByTheSettingsDialogIsShownOnceTheDialogHasClosed) {
  int since = 0;
  int shown = 0;
  HWND box = nullptr;
  orvaneLauncherDlg dialog;
  RunDialog(dialog, {
                        [&] {
                          if (dialog.GetHwnd() == nullptr)
                            return false;
                          // The settings dialog is up and holds the guard, as it does for as long as it is
                          // open.
                          HoldBackAChangedFile();
                          since = system_.ticks;
                          return true;
                        },
                        [&] {
                          if (system_.ticks < since + 3)
                            return false;
                          EXPECT_EQ(nullptr, FindMessageBox()) << "shown over the settings dialog";
                          LeaveModal();  // the settings dialog closed
                          return true;
                        },
                        [&] {
                          box = FindMessageBox();
                          if (box == nullptr || !testing_support::WaitUntilPainted(box, 1000))
                            return false;
                          ++shown;
                          EXPECT_EQ(1, IsModalOpen());
                          PngImage shot = testing_support::CaptureWindow(box);
                          EXPECT_TRUE(testing_support::SaveScreenshot(shot, L"file_changed_message.png"));
                          since = system_.ticks;
                          return true;
                        },
                        [&] {
                          // The message came up outside the main dialog's frame: its tick goes on under it.
                          if (system_.ticks < since + 3)
                            return false;
                          ClickOk(box);
                          return true;
                        },
                        [&] {
                          if (IsWindow(box) && IsWindowVisible(box))
                            return false;
                          since = system_.ticks;
                          return true;
                        },
                        [&] {
                          // A second showing would come up inside one of these ticks.
                          if (HWND again = FindMessageBox()) {
                            ++shown;
                            ClickOk(again);
                          }
                          if (system_.ticks < since + 5)
                            return false;
                          SendMessageW(dialog.GetHwnd(), WM_CLOSE, 0, 0);
                          return true;
                        },
                    });
  EXPECT_EQ(1, shown);
  EXPECT_EQ(0, IsModalOpen());
}

// True while a pop-up menu of this thread is tracked.
bool MenuTracked() {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  return GetGUIThreadInfo(GetCurrentThreadId(), &info) && (info.flags & (GUI_POPUPMENUMODE | GUI_INMENUMODE));
}

// The frame tick also runs inside the system's modal loops (here the tray menu's): a request to show the
// held-back messages that such a loop dispatches is taken all the same.
TEST_F(HeldBackMessageTest, AChangedFileHeldBackIsShownWhenTheTickAsksFromInsideTheTrayMenu) {
  DWORD asked_at = 0;
  bool shown = false;
  HWND box = nullptr;
  orvaneLauncherDlg dialog;
  RunDialog(dialog, {
                        [&] {
                          if (dialog.GetHwnd() == nullptr)
                            return false;
                          // A question holds the message back; then the user opens the tray menu.
                          HoldBackAChangedFile();
                          PostMessageW(dialog.GetHwnd(), WM_TRAY_NOTIFY, 1, WM_RBUTTONUP);
                          return true;
                        },
                        [&] {
                          if (!MenuTracked())
                            return false;
                          LeaveModal();  // the question is answered while the menu is up
                          asked_at = GetTickCount();
                          return true;
                        },
                        [&] {
                          // Within the script's own limit, so that the menu is closed on a failure too.
                          box = FindMessageBox();
                          if (box == nullptr && GetTickCount() - asked_at < 3000)
                            return false;
                          shown = box != nullptr;
                          if (shown) {
                            EXPECT_EQ(1, IsModalOpen());
                            ClickOk(box);
                          }
                          return true;
                        },
                        [&] {
                          if (box != nullptr && IsWindow(box) && IsWindowVisible(box))
                            return false;
                          EndMenu();
                          SendMessageW(dialog.GetHwnd(), WM_CLOSE, 0, 0);
                          return true;
                        },
                    });
  EXPECT_TRUE(shown) << "the request was lost in the menu's loop";
  EXPECT_FALSE(game_.game.HasPendingFileMessages());
  EXPECT_EQ(0, IsModalOpen());
}

TEST(SearchUrl, TypedTextIsPercentEncodedAsUtf8AndAKeywordValueIsKept) {
  EXPECT_EQ(L"http://s/?q=a-b_c.d~e", SearchUrl(L"http://s/?q=", L"a-b_c.d~e", false));
  EXPECT_EQ(L"http://s/?q=%C3%A9t%C3%A9%2F%3F", SearchUrl(L"http://s/?q=", L"\u00e9t\u00e9/?", false));
  EXPECT_EQ(L"http://s/?q=%ED%95%9C", SearchUrl(L"http://s/?q=", L"\ud55c", false));
  EXPECT_EQ(L"http://s/?q=a%20b", SearchUrl(L"http://s/?q=", L"a%20b", true));
}

TEST_F(LauncherWindowsTest, TheInstallerQuestionIsAnsweredByAClickOnTheSkinnedDialog) {
  InstallLauncherPresenters();
  const wchar_t* question = GetAppMessage(L"resume_installer");
  ASSERT_NE(nullptr, question);
  HWND box = nullptr;
  int answer = 0;
  {
    TimerScript script({
        [&] {
          box = nullptr;
          EnumThreadWindows(GetCurrentThreadId(), &FindQuestionBox, reinterpret_cast<LPARAM>(&box));
          if (box == nullptr || !testing_support::WaitUntilPainted(box, 1000))
            return false;
          EXPECT_EQ(1, IsModalOpen());
          PngImage shot = testing_support::CaptureWindow(box);
          EXPECT_TRUE(testing_support::SaveScreenshot(shot, L"installer_question.png"));
          // The OK button of the two-button row: left of the centre, above the bottom edge.
          testing_support::ClickAt(box, 460 / 2 - 8 - 44, 150 - 14 - 13);
          return true;
        },
    });
    answer = AskGameQuestion(question);
    EXPECT_TRUE(script.finished());
  }
  EXPECT_EQ(1, answer);
  EXPECT_EQ(0, IsModalOpen());
  // Refused while another guarded dialog is open: 0, and nothing is shown.
  ASSERT_EQ(1, EnterModal());
  EXPECT_EQ(0, AskGameQuestion(question));
  LeaveModal();
}

}  // namespace

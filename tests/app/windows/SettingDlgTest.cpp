// The settings dialog: its pure rules, then real dialogs on the test display driven by real messages and by
// the notifications its children send. Saves build/screenshots/settings_general.png, settings_update.png and
// settings_gamelist.png.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/games/GameInfo.h"
#include "app/games/GameSource.h"
#include "app/settings/Setting.h"
#include "app/texts/MessageTexts.h"
#include "app/windows/ModalGuard.h"
#include "app/windows/SettingDlg.h"
#include "tests/app/windows/SettingSkin.h"
#include "tests/support/WindowCapture.h"
#include "tests/ui/host/HostTestSupport.h"
#include "ui/base/IniStringContainer.h"
#include "ui/gfx/Dib.h"
#include "ui/skin/NFontManager.h"
#include "ui/skin/NImage.h"
#include "ui/skin/NTextBox.h"
#include "ui/skin/SkinListeners.h"
#include "ui/view/NotifyCodes.h"

namespace {

using testing_support::RunModalScript;

struct TitledGame : GameInfo {
  std::wstring id, title;
  const wchar_t* GetGameID() override { return id.c_str(); }
  const wchar_t* GetTitle() override { return title.c_str(); }
};

struct TestGames : GameSource {
  std::vector<std::unique_ptr<TitledGame>> games;
  size_t Count() override { return games.size(); }
  IGameInfo* At(size_t index) override { return index < games.size() ? games[index].get() : nullptr; }
};

std::vector<std::wstring> g_messages;
int g_accepted = 0;
void RecordMessage(HWND /*owner*/, const wchar_t* text) {
  g_messages.push_back(text);
}
void CountAccepted() {
  ++g_accepted;
}

TEST(SettingRules, NumbersTakeTheLeadingDigitsHeldToTheirRange) {
  struct Case {
    const wchar_t* text;
    int32_t minimum, maximum, value;
    bool rewrite;
  };
  const Case cases[] = {{L"", 1, 99, 1, true},        {L"95", 10, 90, 90, true},
                        {L"50", 10, 90, 50, false},   {L"99999999999", 1, 99, 99, true},
                        {L"5", 10, 90, 10, true},     {L"abc", 1, 99, 1, true},
                        {L"12abc", 1, 99, 12, false}, {L"0", 1, 99, 1, true}};
  for (const Case& c : cases) {
    bool rewrite = false;
    EXPECT_EQ(c.value, SettingNumberFromText(c.text, c.minimum, c.maximum, &rewrite)) << c.text;
    EXPECT_EQ(c.rewrite, rewrite) << c.text;
  }
}

TEST(SettingRules, OnlyTheChildrenFromTheCheckBoxesOnCanBeNamed) {
  EXPECT_EQ(10007, SettingControlIdFor(L"close_launcher_chk"));
  EXPECT_EQ(10019, SettingControlIdFor(L"game_list"));
  EXPECT_EQ(10023, SettingControlIdFor(L"game_list_down_btn"));
  for (const wchar_t* name : {L"setting_ok_btn", L"setting_general_tab", L"GAME_LIST", L"", L"game_list "})
    EXPECT_EQ(0, SettingControlIdFor(name)) << name;
  EXPECT_EQ(0, SettingControlIdFor(nullptr));
}

TEST(SettingRules, GroupBitZeroFollowsTheAutomaticModeAndWindows9xDisablesBitsZeroAndOne) {
  struct Case {
    int32_t group, mode;
    bool windows9x;
    int32_t state;
  };
  const Case cases[] = {{0, 2, false, -1}, {1, 2, false, 1},  {1, 1, false, 0}, {1, 0, false, 0},
                        {1, 7, false, 0},  {2, 0, false, -1}, {2, 1, true, 0},  {3, 2, false, 1},
                        {3, 1, true, 0},   {4, 1, true, -1},  {0, 1, true, -1}};
  for (const Case& c : cases)
    EXPECT_EQ(c.state, SettingGroupState(c.group, c.mode, c.windows9x)) << c.group << " " << c.mode;
}

class SettingDlgTest : public testing_support::SettingSkinTest {
 protected:
  void SetUp() override {
    SettingSkinTest::SetUp();
    UseFamily(0);
    ASSERT_EQ(1, LoadAppMessages());
    SetGameSource(&games_);
    SetSettingMessagePresenter(RecordMessage);
    SetSettingsAcceptedHook(CountAccepted);
    g_messages.clear();
    g_accepted = 0;
  }
  void TearDown() override {
    Setting::ReleaseInstance();
    ResetSettingSources();
    SetGameSource(nullptr);
    SetSettingMessagePresenter(nullptr);
    SetSettingsAcceptedHook(nullptr);
    ReleaseAppMessages();
    SettingSkinTest::TearDown();
  }
  // A fresh singleton loaded from the test's own settings file on the given Windows family.
  void UseFamily(int windows9x) {
    Setting::ReleaseInstance();
    program_ = folder_.Join(L"orvaneLauncher.exe");
    SettingSources sources;
    sources.registry_root = HKEY_CURRENT_USER;
    sources.registry_path = L"Software\\OrvaneSettingDlgTest";
    sources.program_path = program_.c_str();
    sources.windows9x_family = windows9x;
    SetSettingSources(sources);
    ASSERT_NE(nullptr, Setting::GetInstance());
  }
  // Games "g1".."g<count>" titled "Game <n>", in the catalogue and in the singleton's order.
  void AddGames(int count) {
    for (int i = 1; i <= count; ++i) {
      std::unique_ptr<TitledGame> game(new TitledGame());
      game->id = L"g" + std::to_wstring(i);
      game->title = L"Game " + std::to_wstring(i);
      Setting::GetInstance()->SetGameOrder(game->id.c_str(), i);
      games_.games.push_back(std::move(game));
    }
  }
  std::wstring Order(const Setting& setting) {
    std::wstring order;
    for (auto* node = setting.GameOrder().head(); node != nullptr; node = node->next)
      order += std::wstring(node->item->game_id) + L":" + std::to_wstring(node->item->order) + L" ";
    return order;
  }
  // Runs a dialog with `script` inside its modal loop; the dialog's result.
  INT_PTR Run(SettingDlg& dialog, std::function<void()> script) {
    dialog.SetSkin(L"etc", L"setting_dlg");
    return RunModalScript(dialog, std::move(script));
  }
  static void Click(SettingDlg& dialog, int32_t id) { dialog.OnNotify(NOTIFY_CLICKED, id, 0); }

  TestGames games_;
  std::wstring program_;
};

TEST_F(SettingDlgTest, OkCorrectsTheNumbersAndRewritesOnlyTheCorrectedOnes) {
  struct Case {
    const wchar_t* idle;
    const wchar_t* cpu;
    const wchar_t* network;
    int32_t values[3];
    const wchar_t* shown[3];
  };
  const Case cases[] = {{L"", L"95", L"50", {1, 90, 50}, {L"1", L"90", L"50"}},
                        {L"99999999999", L"5", L"090", {99, 10, 90}, {L"99", L"10", L"090"}}};
  for (const Case& c : cases) {
    SettingDlg dialog;
    std::wstring shown[3];
    INT_PTR result = Run(dialog, [&] {
      dialog.edit(SettingDlg::kIdleTimeEdit).SetText(c.idle);
      dialog.edit(SettingDlg::kCpuUsageEdit).SetText(c.cpu);
      dialog.edit(SettingDlg::kNetworkUsageEdit).SetText(c.network);
      Click(dialog, SettingDlg::kOkButton);
      for (int i = 0; i < 3; ++i)
        shown[i] = dialog.edit(SettingDlg::kIdleTimeEdit + i).GetText();
    });
    ASSERT_EQ(IDOK, result);
    EXPECT_EQ(c.values[0], dialog.clone()->IdleTime);
    EXPECT_EQ(c.values[1], dialog.clone()->CPUUse);
    EXPECT_EQ(c.values[2], dialog.clone()->NetworkUse);
    for (int i = 0; i < 3; ++i)
      EXPECT_EQ(c.shown[i], shown[i]);
  }
}

TEST_F(SettingDlgTest, TheRadiosGreyTheirGroupsAndWindows9xStaysOnManual) {
  for (int windows9x : {0, 1}) {
    UseFamily(windows9x);
    Setting::GetInstance()->Update = 2;
    SettingDlg dialog;
    Run(dialog, [&] {
      SkinnedCheckButton& automatic = dialog.check(SettingDlg::kAutoUpdateRadio);
      SkinnedCheckButton& manual = dialog.check(SettingDlg::kManualUpdateRadio);
      EXPECT_EQ(windows9x ? 0 : 1, automatic.check());
      EXPECT_EQ(windows9x, manual.check());
      EXPECT_EQ(windows9x ? 1 : 2, dialog.clone()->Update);
      EXPECT_EQ(windows9x ? 0 : 1, automatic.enabled());  // group 2
      EXPECT_EQ(windows9x ? 0 : 1, dialog.Child(SettingDlg::kIdleTimeEdit)->enabled());
      EXPECT_EQ(windows9x ? 0 : 1, dialog.text_enabled()[6]);  // the automatic radio's label, group 2
      EXPECT_EQ(1, dialog.Child(SettingDlg::kUpdateOffRadio)->enabled());
      if (!windows9x) {
        Click(dialog, SettingDlg::kManualUpdateRadio);
        EXPECT_EQ(1, dialog.clone()->Update);
        EXPECT_EQ(0, dialog.Child(SettingDlg::kCpuUsageEdit)->enabled());
        EXPECT_EQ(0, dialog.Child(SettingDlg::kShutdownCheck)->enabled());
        EXPECT_EQ(0, dialog.text_enabled()[9]);
        Click(dialog, SettingDlg::kAutoUpdateRadio);
        EXPECT_EQ(2, dialog.clone()->Update);
        EXPECT_EQ(1, dialog.Child(SettingDlg::kCpuUsageEdit)->enabled());
        EXPECT_EQ(1, dialog.text_enabled()[9]);
        // The checked radio again: nothing moves.
        dialog.Child(SettingDlg::kIdleTimeEdit)->Enable(0);
        Click(dialog, SettingDlg::kAutoUpdateRadio);
        EXPECT_EQ(0, dialog.Child(SettingDlg::kIdleTimeEdit)->enabled());
        EXPECT_EQ(1, automatic.check());
      }
      Click(dialog, SettingDlg::kCancelButton);
    });
  }
}

TEST_F(SettingDlgTest, TabsShowTheirControlsAndTheCurrentTabAgainDoesNothing) {
  SettingDlg dialog;
  Run(dialog, [&] {
    EXPECT_STREQ(L"setting_general_tab", dialog.current_tab().GetString());
    EXPECT_EQ(1, dialog.Child(SettingDlg::kDownloadPathEdit)->visible());
    EXPECT_EQ(0, dialog.Child(SettingDlg::kGameList)->visible());
    dialog.OnNotify(NOTIFY_TAB_SELECTED, SettingDlg::kGameListTab, 0);
    EXPECT_EQ(0, dialog.Child(SettingDlg::kDownloadPathEdit)->visible());
    EXPECT_EQ(1, dialog.Child(SettingDlg::kGameList)->visible());
    EXPECT_EQ(SkinnedTab::kOff, dialog.tab(SettingDlg::kGeneralTab).tab_state());
    dialog.Child(SettingDlg::kGameListTopButton)->Show(0, 0);
    dialog.SelectTab(L"setting_gamelist_tab");
    EXPECT_EQ(0, dialog.Child(SettingDlg::kGameListTopButton)->visible());
    Click(dialog, SettingDlg::kCancelButton);
  });
}

TEST_F(SettingDlgTest, ASkinChangeKeepsTheCurrentTabAndTheGreying) {
  SettingDlg dialog;
  Run(dialog, [&] {
    dialog.OnNotify(NOTIFY_TAB_SELECTED, SettingDlg::kUpdateTab, 0);
    Click(dialog, SettingDlg::kManualUpdateRadio);
    EXPECT_EQ(1, dialog.OnNotify(NOTIFY_SKIN_CHANGED, 0, 0));
    EXPECT_EQ(0, dialog.text_enabled()[9]);
    EXPECT_EQ(1, dialog.text_enabled()[7]);
    EXPECT_EQ(1, dialog.Child(SettingDlg::kIdleTimeEdit)->visible());
    EXPECT_EQ(0, dialog.Child(SettingDlg::kIdleTimeEdit)->enabled());
    EXPECT_EQ(0, dialog.Child(SettingDlg::kCloseLauncherCheck)->visible());
    Click(dialog, SettingDlg::kCancelButton);
  });
}

TEST_F(SettingDlgTest, OnlyTheImagesOfTheCurrentTabAnimate) {
  WriteShaded(L"spin.bmp", 64, 32, 0xFF0000, 0x0000FF, 0x00FF00);
  WriteIni(L"data\\skin\\etc\\spin.ini", L"[IMAGE]\r\nframe_count=2\r\nframe_time=10\r\nimage=spin.bmp\r\n");
  std::wstring skin = DialogSkin();
  for (int i = 0; i < 2; ++i) {
    std::wstring section = L"[SETTING_IMAGE_" + std::to_wstring(i) + L"]";
    size_t at = skin.find(L"image=icon.bmp", skin.find(section));
    skin.replace(at, 14, L"image_id=spin");
  }
  WriteIni(L"data\\skin\\etc\\setting_dlg.ini", skin);
  SettingDlg dialog;
  Run(dialog, [&] {
    ASSERT_EQ(3u, dialog.image_items().size());
    NImage* general = dialog.image_items()[0]->image.get();
    NImage* update = dialog.image_items()[1]->image.get();
    uint32_t update_started = update->last_tick();
    EXPECT_TRUE(testing_support::PumpUntil([&] { return general->current_frame() != 0; }, 3000));
    EXPECT_EQ(update_started, update->last_tick());
    EXPECT_EQ(0, update->current_frame());
    Click(dialog, SettingDlg::kCancelButton);
  });
}

TEST_F(SettingDlgTest, ARelativeDownloadPathIsStoredAbsoluteAndCreated) {
  SettingDlg dialog;
  INT_PTR result = Run(dialog, [&] {
    dialog.edit(SettingDlg::kDownloadPathEdit).SetText(L"relative\\downloads");
    Click(dialog, SettingDlg::kOkButton);
  });
  ASSERT_EQ(IDOK, result);
  EXPECT_EQ(0, lstrcmpiW(folder_.Join(L"relative\\downloads").c_str(), dialog.clone()->InstallFilePath))
      << dialog.clone()->InstallFilePath;
  EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(dialog.clone()->InstallFilePath));
  EXPECT_TRUE(g_messages.empty());
}

TEST_F(SettingDlgTest, UnknownNamesControlNothingAndUnknownTabsAreNeverShown) {
  std::wstring skin = DialogSkin();
  skin.replace(skin.find(L"ctrl_count=17"), 13, L"ctrl_count=19");
  skin +=
      L"[SETTING_CTRL_17]\r\ntab_id=setting_update_tab\r\nctrl_id=setting_ok_btn\r\n"
      L"[SETTING_CTRL_18]\r\ntab_id=nowhere\r\nctrl_id=shutdown_chk\r\n";
  WriteIni(L"data\\skin\\etc\\setting_dlg.ini", skin);
  SettingDlg dialog;
  Run(dialog, [&] {
    ASSERT_EQ(19u, dialog.control_items().size());
    EXPECT_EQ(0, dialog.control_items()[17]->control_id);
    for (const wchar_t* tab : {L"setting_update_tab", L"setting_general_tab", L"nowhere"}) {
      dialog.SelectTab(tab);
      EXPECT_EQ(1, dialog.Child(SettingDlg::kOkButton)->visible()) << tab;
    }
    dialog.SelectTab(L"setting_update_tab");
    EXPECT_EQ(0, dialog.Child(SettingDlg::kShutdownCheck)->visible());
    Click(dialog, SettingDlg::kCancelButton);
  });
}

TEST_F(SettingDlgTest, ItemCountsBelowOneGiveNoItemsAndHugeOnesAreCapped) {
  struct Case {
    const wchar_t* images;
    const wchar_t* texts;
    const wchar_t* controls;
    size_t image_items, text_items, control_items;
  };
  const Case cases[] = {{L"0", L"-5", L"-2147483648", 0, 0, 0},
                        {L"3", L"14", L"2147483647", 3, 14, static_cast<size_t>(SettingDlg::kMaxItems)}};
  for (const Case& c : cases) {
    std::wstring skin = DialogSkin();
    skin.replace(skin.find(L"image_count=3"), 13, std::wstring(L"image_count=") + c.images);
    skin.replace(skin.find(L"text_count=14"), 13, std::wstring(L"text_count=") + c.texts);
    skin.replace(skin.find(L"ctrl_count=17"), 13, std::wstring(L"ctrl_count=") + c.controls);
    WriteIni(L"data\\skin\\etc\\setting_dlg.ini", skin);
    SettingDlg dialog;
    Run(dialog, [&] {
      EXPECT_EQ(c.image_items, dialog.image_items().size());
      EXPECT_EQ(c.text_items, dialog.text_items().size());
      EXPECT_EQ(c.control_items, dialog.control_items().size());
      Click(dialog, SettingDlg::kCancelButton);
    });
  }
}

TEST_F(SettingDlgTest, AFolderThatCannotBeMadeOrIsTooLongKeepsTheDialogOpenOnTheGeneralTab) {
  ASSERT_TRUE(testing_support::WriteFileBytes(folder_.Join(L"a_file"), "x"));
  struct Case {
    std::wstring path;
    const wchar_t* message;
  };
  const Case cases[] = {{folder_.Join(L"a_file\\sub"), L"The download folder cannot be created."},
                        {folder_.Join(std::wstring(260, L'p')), L"This folder cannot be used for downloads."},
                        {std::wstring(247 - folder_.path().size(), L'q'), nullptr}};
  for (const Case& c : cases) {
    g_messages.clear();
    SettingDlg dialog;
    std::wstring before;
    bool stayed = false;
    INT_PTR result = Run(dialog, [&] {
      before = dialog.clone()->InstallFilePath;
      dialog.OnNotify(NOTIFY_TAB_SELECTED, SettingDlg::kUpdateTab, 0);
      dialog.edit(SettingDlg::kDownloadPathEdit).SetText(c.path.c_str());
      Click(dialog, SettingDlg::kOkButton);
      stayed = !dialog.modal_ending();
      if (stayed) {
        EXPECT_STREQ(L"setting_general_tab", dialog.current_tab().GetString());
        EXPECT_EQ(SkinnedTab::kOn, dialog.tab(SettingDlg::kGeneralTab).tab_state());
        EXPECT_EQ(before, dialog.clone()->InstallFilePath);
        Click(dialog, SettingDlg::kCancelButton);
      }
    });
    if (c.message != nullptr) {
      EXPECT_TRUE(stayed);
      EXPECT_EQ(IDCANCEL, result);
      ASSERT_EQ(1u, g_messages.size());
      EXPECT_EQ(c.message, g_messages[0]);
    } else {
      // A relative path of 247 characters fits as typed but not once made absolute: refused as well.
      EXPECT_TRUE(stayed);
      EXPECT_EQ(1u, g_messages.size());
    }
  }
}

// EnumThreadWindows's callback for FindThreadWindowOfSize: stops at the first visible window of the size.
struct SizedWindowSearch {
  SIZE size;
  HWND found;
};
BOOL CALLBACK FindWindowOfSize(HWND window, LPARAM argument) {
  auto* search = reinterpret_cast<SizedWindowSearch*>(argument);
  RECT rect;
  GetWindowRect(window, &rect);
  if (!IsWindowVisible(window) || rect.right - rect.left != search->size.cx ||
      rect.bottom - rect.top != search->size.cy)
    return TRUE;
  search->found = window;
  return FALSE;
}

// The visible window of this thread whose size is `size`, or null (the test skins give the message window
// and the settings dialog sizes of their own).
HWND FindThreadWindowOfSize(SIZE size) {
  SizedWindowSearch search = {size, nullptr};
  EnumThreadWindows(GetCurrentThreadId(), FindWindowOfSize, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

struct MessageSeen {
  bool shown = false;
  HWND owner = nullptr;
  BOOL settings_enabled = TRUE;
};
MessageSeen g_message_seen;
HWND g_settings_window = nullptr;
DWORD g_message_wait_started = 0;

// Once the message shows: notes its owner and whether the settings dialog still takes input (a second OK),
// then answers it with its OK button (or closes it, should the click miss). After 10 s it gives up, so that
// a message that never shows fails the test, not hangs it.
void CALLBACK AnswerMessage(HWND, UINT, UINT_PTR id, DWORD) {
  HWND message = FindThreadWindowOfSize({testing_support::kMessageWidth, testing_support::kMessageHeight});
  if (message == nullptr && GetTickCount() - g_message_wait_started < 10000)
    return;
  KillTimer(nullptr, id);
  if (message == nullptr)
    return;
  g_message_seen.shown = true;
  g_message_seen.owner = GetWindow(message, GW_OWNER);
  g_message_seen.settings_enabled = IsWindowEnabled(g_settings_window);
  testing_support::ClickAt(message, testing_support::kOkOnlyButton.x, testing_support::kOkOnlyButton.y);
  if (IsWindow(message))
    PostMessageW(message, WM_CLOSE, 0, 0);
}

TEST_F(SettingDlgTest, TheMessageOfOkIsOwnedByTheDialogWhichTakesNoInputUntilItIsAnswered) {
  ASSERT_TRUE(testing_support::WriteFileBytes(folder_.Join(L"a_file"), "x"));
  SetSettingMessagePresenter(nullptr);  // the real message dialog
  g_message_seen = MessageSeen();
  SettingDlg dialog;
  BOOL enabled_after = FALSE;
  Run(dialog, [&] {
    g_settings_window = dialog.GetHwnd();
    dialog.edit(SettingDlg::kDownloadPathEdit).SetText(folder_.Join(L"a_file\\sub").c_str());
    g_message_wait_started = GetTickCount();
    UINT_PTR timer = SetTimer(nullptr, 0, 30, AnswerMessage);
    Click(dialog, SettingDlg::kOkButton);  // returns once the message is answered
    KillTimer(nullptr, timer);
    enabled_after = IsWindowEnabled(g_settings_window);
    Click(dialog, SettingDlg::kCancelButton);
  });
  ASSERT_TRUE(g_message_seen.shown) << "no message for a folder that cannot be made";
  EXPECT_EQ(g_settings_window, g_message_seen.owner);
  EXPECT_FALSE(g_message_seen.settings_enabled) << "a second OK could be pressed behind the message";
  EXPECT_TRUE(enabled_after);
}

TEST_F(SettingDlgTest, TheDownloadPathIsSelectedWholeWhenTheDialogOpens) {
  SettingDlg dialog;
  std::wstring path, typed;
  DWORD first = 1, last = 0;
  Run(dialog, [&] {
    HWND edit = dialog.edit(SettingDlg::kDownloadPathEdit).window_handle();
    path = dialog.edit(SettingDlg::kDownloadPathEdit).GetText();
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&first), reinterpret_cast<LPARAM>(&last));
    SendMessageW(edit, WM_CHAR, L'x', 1);  // a stray key
    typed = dialog.edit(SettingDlg::kDownloadPathEdit).GetText();
    Click(dialog, SettingDlg::kCancelButton);
  });
  ASSERT_FALSE(path.empty());
  EXPECT_EQ(0u, first);
  EXPECT_EQ(path.size(), last);
  EXPECT_EQ(L"x", typed) << "the key replaced only a part of the path";
}

TEST_F(SettingDlgTest, OkStoresTheRowOrderAndCancelLeavesTheSingletonAlone) {
  AddGames(4);
  Setting::GetInstance()->SetGameOrder(L"gone", 5);  // no longer in the catalogue
  for (bool ok : {false, true}) {
    std::wstring before = Order(*Setting::GetInstance());
    SettingDlg dialog;
    INT_PTR result = Run(dialog, [&] {
      GameOrderList& list = dialog.game_list();
      ASSERT_EQ(4, list.row_count());
      list.SelectIndex(2);
      Click(dialog, SettingDlg::kGameListUpButton);
      list.SelectIndex(3);
      Click(dialog, SettingDlg::kGameListTopButton);
      Click(dialog, ok ? SettingDlg::kOkButton : SettingDlg::kCancelButton);
    });
    EXPECT_EQ(ok ? IDOK : IDCANCEL, result);
    EXPECT_EQ(before, Order(*Setting::GetInstance()));
    if (ok) {
      EXPECT_EQ(1, dialog.clone()->GetGameOrder(L"g4"));
      EXPECT_EQ(2, dialog.clone()->GetGameOrder(L"g1"));
      EXPECT_EQ(3, dialog.clone()->GetGameOrder(L"g3"));
      EXPECT_EQ(4, dialog.clone()->GetGameOrder(L"g2"));
    }
  }
}

BOOL CALLBACK FindDialogClass(HWND window, LPARAM out) {
  wchar_t name[32] = {};
  GetClassNameW(window, name, 32);
  if (IsWindowVisible(window) && wcscmp(name, L"#32770") == 0 && GetWindow(window, GW_CHILD) != nullptr) {
    *reinterpret_cast<HWND*>(out) = window;
    return FALSE;
  }
  return TRUE;
}

// The folder browser: the thread's visible standard dialog that has child controls (ours have none).
HWND FindBrowseDialog() {
  HWND found = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindDialogClass, reinterpret_cast<LPARAM>(&found));
  return found;
}

WPARAM g_browse_answer = IDOK;
std::wstring g_browse_status;

BOOL CALLBACK FindStatusText(HWND window, LPARAM) {
  wchar_t text[MAX_PATH] = {};
  GetWindowTextW(window, text, MAX_PATH);
  if (lstrcmpiW(text, g_browse_status.c_str()) == 0) {
    g_browse_status.clear();
    return FALSE;
  }
  return TRUE;
}

// Answers the folder browser once it shows (for OK: once its status line shows the expected folder, which
// the dialog's callback writes when the initial selection took). After 10 s it cancels whatever is open, so a
// browser that never shows the folder fails the test instead of hanging it.
DWORD g_browse_started = 0;
void CALLBACK AnswerBrowseDialog(HWND, UINT, UINT_PTR id, DWORD) {
  HWND browse = FindBrowseDialog();
  if (browse != nullptr && g_browse_answer == IDOK && !g_browse_status.empty())
    EnumChildWindows(browse, FindStatusText, 0);
  bool ready = browse != nullptr && (g_browse_answer != IDOK || g_browse_status.empty());
  bool given_up = GetTickCount() - g_browse_started > 10000;
  if (!ready && !given_up)
    return;
  KillTimer(nullptr, id);
  if (browse != nullptr)
    PostMessageW(browse, WM_COMMAND, ready ? g_browse_answer : IDCANCEL, 0);
}

TEST_F(SettingDlgTest, TheFolderBrowserStartsAtTheFieldAndOnlyAChoiceChangesIt) {
  std::wstring start = folder_.Join(L"downloads");
  ASSERT_TRUE(CreateDirectoryW(start.c_str(), nullptr));
  for (WPARAM answer : {static_cast<WPARAM>(IDOK), static_cast<WPARAM>(IDCANCEL)}) {
    SettingDlg dialog;
    std::wstring shown;
    Run(dialog, [&] {
      dialog.edit(SettingDlg::kDownloadPathEdit).SetText(start.c_str());
      if (answer == IDCANCEL)
        dialog.edit(SettingDlg::kDownloadPathEdit).SetText(L"typed");
      g_browse_answer = answer;
      g_browse_status = start;
      g_browse_started = GetTickCount();
      UINT_PTR timer = SetTimer(nullptr, 0, 30, AnswerBrowseDialog);
      Click(dialog, SettingDlg::kChangeDownloadPathButton);
      KillTimer(nullptr, timer);
      shown = dialog.edit(SettingDlg::kDownloadPathEdit).GetText();
      Click(dialog, SettingDlg::kCancelButton);
    });
    if (answer == IDOK)
      EXPECT_EQ(0, lstrcmpiW(start.c_str(), shown.c_str())) << shown.c_str();
    else
      EXPECT_EQ(L"typed", shown);
    EXPECT_TRUE(g_messages.empty());
  }
}

TEST_F(SettingDlgTest, AMissingSkinFileOpensNothingAndReleasesTheGuard) {
  for (const wchar_t* name :
       {L"setting_dlg", L"shutdown_chk", L"game_list_scroll_bar", L"game_list_down_btn"}) {
    std::wstring path = folder_.Join(std::wstring(L"data\\skin\\etc\\") + name + L".ini");
    std::wstring moved = path + L".away";
    ASSERT_TRUE(MoveFileW(path.c_str(), moved.c_str()));
    int live = Dib::LiveImages().count();
    std::wstring before = Order(*Setting::GetInstance());
    EXPECT_EQ(-1, RunSettingsDialog(nullptr)) << name;
    EXPECT_EQ(0, IsModalOpen());
    EXPECT_EQ(0, SkinListenerCount());
    EXPECT_EQ(live, Dib::LiveImages().count()) << name;
    EXPECT_EQ(0, g_accepted);
    ASSERT_TRUE(MoveFileW(moved.c_str(), path.c_str()));
  }
}

std::function<void(HWND)> g_flow;
void CALLBACK RunFlowWhenShown(HWND, UINT, UINT_PTR id, DWORD) {
  static int ticks = 0;
  HWND window = FindThreadWindowOfSize({testing_support::kSettingWidth, testing_support::kSettingHeight});
  if (window == nullptr && ++ticks < 200)
    return;
  KillTimer(nullptr, id);
  ticks = 0;
  std::function<void(HWND)> flow = std::move(g_flow);
  if (window != nullptr && flow)
    flow(window);
  if (window != nullptr && IsWindow(window))  // a failed step: end the run rather than wait for ever
    PostMessageW(window, WM_CLOSE, 0, 0);
}

void Shoot(HWND window, const wchar_t* name) {
  ASSERT_TRUE(testing_support::WaitUntilPainted(window, 3000));
  EXPECT_TRUE(testing_support::SaveScreenshot(testing_support::CaptureWindow(window), name));
}

// Replaces an edit's text by typing: select all, then one WM_CHAR per character.
void TypeInto(HWND window, POINT at, const std::wstring& text) {
  HWND edit = ChildWindowFromPointEx(window, at, CWP_SKIPINVISIBLE);
  ASSERT_NE(window, edit);
  ASSERT_NE(nullptr, edit);
  testing_support::ClickAt(window, at.x, at.y);
  SendMessageW(edit, EM_SETSEL, 0, -1);
  SendMessageW(edit, WM_CHAR, VK_BACK, 0);
  for (wchar_t unit : text)
    SendMessageW(edit, WM_CHAR, unit, 0);
}

// Replaces the test skin by the launcher's default skin (tools/default_skin, drawn by the build), with its
// categories, the "etc" font set and the application texts.
void UseDefaultSkin(const std::wstring& folder) {
  std::error_code error;
  // The build folder's Unix path, seen through Wine's drive Z:.
  std::filesystem::copy(
      std::filesystem::path("Z:" ORVANE_DEFAULT_SKIN_DIR) / "data", std::filesystem::path(folder) / "data",
      std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing, error);
  ASSERT_FALSE(error) << error.message();
  SkinLoader::UnloadSkinInfo();
  ASSERT_EQ(1, SkinLoader::LoadSkinInfo());
  RemoveAllFontManagers();
  std::unique_ptr<IniStringContainer> fonts(LoadControlSkinIni(FindSkinCategory(L"etc"), L"etc"));
  ASSERT_NE(nullptr, fonts);
  ASSERT_EQ(1, LoadSkinFonts(L"etc", fonts.get()));
  ASSERT_EQ(1, LoadAppMessages());
}

TEST_F(SettingDlgTest, AUserChangesEveryTabOfFiveHundredGamesAndPressesOk) {
  UseDefaultSkin(folder_.path());
  AddGames(500);
  Setting& live = *Setting::GetInstance();
  live.AutoClose = 1;
  live.Shutdown = 0;
  live.Update = 1;
  std::wstring download = folder_.Join(L"downloads\\games");
  g_flow = [&](HWND window) {
    Shoot(window, L"settings_general.png");
    testing_support::ClickAt(window, 32, 88);  // close_launcher_chk off
    TypeInto(window, POINT{40, 178}, download);
    testing_support::ClickAt(window, 160, 42);  // update tab
    testing_support::ClickAt(window, 32, 88);   // automatic
    testing_support::ClickAt(window, 32, 112);  // manual: group 1 grey
    testing_support::ClickAt(window, 32, 112);  // manual again: nothing
    Shoot(window, L"settings_update.png");
    testing_support::ClickAt(window, 32, 88);   // automatic again
    testing_support::ClickAt(window, 32, 252);  // shutdown on
    TypeInto(window, POINT{230, 170}, L"150");
    TypeInto(window, POINT{230, 196}, L"95");
    TypeInto(window, POINT{230, 222}, L"");
    testing_support::ClickAt(window, 260, 42);   // game list tab
    testing_support::ClickAt(window, 100, 120);  // a click in the list gives the dialog the focus
    POINT screen = {100, 120};
    ClientToScreen(window, &screen);
    // The hidden network edit still holds the focus: the dialog's list takes the wheel all the same.
    EXPECT_NE(window, GetFocus());
    SendMessageW(window, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-3 * WHEEL_DELTA)),
                 MAKELPARAM(screen.x, screen.y));
    testing_support::ClickAt(window, 100, 76 + 30);  // row 4 after three rows scrolled away
    testing_support::ClickAt(window, 360, 174);      // up
    Shoot(window, L"settings_gamelist.png");
    testing_support::ClickAt(window, 280, 296);  // OK
  };
  UINT_PTR timer = SetTimer(nullptr, 0, 30, RunFlowWhenShown);
  EXPECT_EQ(1, RunSettingsDialog(nullptr));
  KillTimer(nullptr, timer);
  EXPECT_EQ(1, g_accepted);
  EXPECT_EQ(0, IsModalOpen());
  EXPECT_EQ(0, live.AutoClose);
  EXPECT_EQ(1, live.Shutdown);
  EXPECT_EQ(2, live.Update);
  EXPECT_EQ(99, live.IdleTime);
  EXPECT_EQ(90, live.CPUUse);
  EXPECT_EQ(10, live.NetworkUse);
  EXPECT_EQ(0, lstrcmpiW(folder_.Join(L"downloads\\games").c_str(), live.InstallFilePath));
  EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(live.InstallFilePath));
  EXPECT_EQ(4, live.GetGameOrder(L"g5"));
  EXPECT_EQ(5, live.GetGameOrder(L"g4"));
  EXPECT_EQ(500, live.GameOrder().count());
  EXPECT_EQ(0, SkinListenerCount());
}

}  // namespace

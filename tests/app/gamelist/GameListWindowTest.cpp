// The game list panel and the game popup menu as real windows on the test display, driven by real mouse
// messages: 500 installed test games scrolled with the wheel and the header's buttons, the last one
// selected, and a right click that opens the game popup menu. Screenshots: build/screenshots/game_list.png
// and build/screenshots/game_popup_menu.png.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "app/gamelist/GameList.h"
#include "app/gamelist/GameListRows.h"
#include "app/gamelist/GameListServices.h"
#include "app/games/GameActions.h"
#include "app/games/GamePopupMenu.h"
#include "app/games/GameStateMirror.h"
#include "app/settings/Setting.h"
#include "app/texts/MessageTexts.h"
#include "app/windows/ModalGuard.h"
#include "tests/app/gamelist/FakeGames.h"
#include "tests/app/gamelist/GameListSkin.h"
#include "tests/support/TempFolder.h"
#include "tests/support/WindowCapture.h"
#include "ui/skin/SkinListeners.h"
#include "ui/skinned/FrameInputs.h"
#include "ui/skinned/SkinnedWnd.h"

namespace {

using gamelist_testing::FakeGames;
using gamelist_testing::SolidPng;

// The root window the panel lives in: a plain skinned pop-up.
class Root : public SkinnedPopup {
 public:
  ~Root() override { Destroy(); }
};

std::wstring ButtonIni(int x, int y, int w, int h, const wchar_t* image) {
  std::wstring state = std::wstring(L"image=") + image + L"\r\n";
  return L"[BUTTON]\r\nx=" + std::to_wstring(x) + L"\r\ny=" + std::to_wstring(y) + L"\r\nwidth=" +
         std::to_wstring(w) + L"\r\nheight=" + std::to_wstring(h) + L"\r\n[BTN_NORMAL]\r\n" + state +
         L"[BTN_OVER]\r\n" + state + L"[BTN_DOWN]\r\n" + state + L"[BTN_DISABLED]\r\n" + state;
}

// The server selection's three steps, scripted: the list arrives when `g_region_arrived` says so.
SelectUpdateServerResult g_region_result = kServerNotChosen;
bool g_region_arrived = true;
int g_region_starts = 0;
int g_region_finishes = 0;
bool StartSelection() {
  ++g_region_starts;
  return true;
}
bool SelectionArrived() {
  return g_region_arrived;
}
int g_finishes_outside_the_guard = 0;
SelectUpdateServerResult FinishSelection() {
  ++g_region_finishes;
  g_finishes_outside_the_guard += IsModalOpen() ? 0 : 1;
  return g_region_result;
}
void ScriptSelection(GameListServices* services) {
  services->begin_update_server_selection = &StartSelection;
  services->update_server_list_arrived = &SelectionArrived;
  services->finish_update_server_selection = &FinishSelection;
  services->cancel_update_server_selection = [] {};
  g_region_arrived = true;
  g_region_starts = g_region_finishes = g_finishes_outside_the_guard = 0;
}
// Clicks the region button and waits until the selection it started has run to its end.
void ClickRegionAndWait(HWND list) {
  const int finished = g_region_finishes;
  testing_support::ClickAt(list, 200, 380);
  testing_support::PumpUntil([finished] { return g_region_finishes > finished; }, 5000);
}
void ServerName(wchar_t* text) {
  wcscpy(text, L"Loopback server");
}
std::vector<std::wstring> g_messages;
void Message(const wchar_t* text) {
  g_messages.push_back(text != nullptr ? text : L"(null)");
}

POINT g_cursor = {0, 0};
bool Cursor(POINT* out) {
  *out = g_cursor;
  return true;
}

class GameListWindowTest : public gamelist_testing::GameListSkinTest {
 protected:
  void SetUp() override {
    GameListSkinTest::SetUp();
    WriteSkinInfo({{L"body", L"common", L"skins\\%s"}, {L"etc", L"common", L"skins\\%s"}});
    ASSERT_EQ(1, SkinLoader::LoadSkinInfo());
    SettingSources sources;
    sources.registry_root = HKEY_CURRENT_USER;
    sources.registry_path = L"Software\\OrvaneGameListTest";
    program_ = settings_folder_.Join(L"launcher.exe");
    sources.program_path = program_.c_str();
    SetSettingSources(sources);
    Setting::GetInstance();
    GameListServices services;
    ScriptSelection(&services);
    services.read_update_name = &ServerName;
    services.show_message = &Message;
    SetGameListServices(services);
    g_messages.clear();
    FrameInputs inputs;
    inputs.cursor_pos = &Cursor;
    inputs_.reset(new ScopedFrameInputs(inputs));
    WriteListSkin();
  }
  void TearDown() override {
    TearDownGamePopupMenu();
    GameStateList().RemoveAll();
    GameListPanel = nullptr;
    inputs_.reset();
    SetGameListServices(GameListServices());
    Setting::ReleaseInstance();
    ResetSettingSources();
    GameListSkinTest::TearDown();
  }
  std::wstring Fonts() {
    return L"[FONT]\r\ncount=1\r\ncolorkey_r=255\r\ncolorkey_g=0\r\ncolorkey_b=255\r\n"
           L"[FONT_0]\r\nid=body\r\nsize=-12\r\nname=Tahoma\r\n";
  }
  // The panel `height` pixels tall, its region bar along the bottom.
  void WriteListIni(int height) {
    WriteIni(L"data\\skin\\common\\list.ini",
             L"[BACK]\r\nx=10\r\ny=10\r\nwidth=240\r\nheight=" + std::to_wstring(height) +
                 L"\r\nback_color_r=30\r\nback_color_g=34\r\nback_color_b=44\r\n" + Fonts() +
                 L"[REGION]\r\nx=8\r\ny=" + std::to_wstring(height - 22) +
                 L"\r\nimage=region.png\r\nfont_id=body\r\ntext_x=30\r\ntext_y=" +
                 std::to_wstring(height - 20) +
                 L"\r\ntext_color_r=255\r\ntext_color_g=255\r\ntext_color_b=255\r\n");
  }
  void WriteListSkin() {
    WriteListIni(400);
    WriteIni(L"data\\skin\\common\\list_header_installed_game.ini",
             L"[BACK]\r\nx=0\r\ny=0\r\nwidth=240\r\nheight=30\r\nback_color_r=60\r\nback_color_g=70\r\n"
             L"back_color_b=90\r\n");
    WritePng(L"btn.png", SolidPng(40, 20, 200, 200, 200));
    WritePng(L"region.png", SolidPng(16, 16, 255, 128, 0));
    WriteIni(L"data\\skin\\common\\update_all_btn.ini", ButtonIni(5, 5, 40, 20, L"btn.png"));
    WriteIni(L"data\\skin\\common\\stop_update_all_btn.ini", ButtonIni(50, 5, 40, 20, L"btn.png"));
    WriteIni(L"data\\skin\\common\\installed_game_scroll_up_btn.ini", ButtonIni(150, 5, 40, 20, L"btn.png"));
    WriteIni(L"data\\skin\\common\\installed_game_scroll_down_btn.ini",
             ButtonIni(195, 5, 40, 20, L"btn.png"));
    WriteIni(L"data\\skin\\common\\select_region_btn.ini", ButtonIni(190, 375, 40, 20, L"btn.png"));
    WriteIni(L"data\\skin\\common\\game_button_info.ini",
             gamelist_testing::GameButtonInfoIni(L"width=230\r\nline_width=230\r\nselected_width=240\r\n"));
    WriteIni(
        L"data\\skin\\common\\game_popup_menu.ini",
        L"[MENU]\r\nmenu_item_width=140\r\nmenu_item_height=22\r\nborder_size=1\r\nborder_color_r=200\r\n"
        L"back_normal_color_r=40\r\nback_normal_color_g=44\r\nback_normal_color_b=56\r\n"
        L"back_over_color_r=70\r\nback_over_color_g=110\r\nback_over_color_b=170\r\n"
        L"back_disabled_color_r=40\r\nback_disabled_color_g=40\r\nback_disabled_color_b=40\r\n"
        L"[MENU_ITEM_NORMAL]\r\nfont_id=body\r\ntext_x=8\r\ntext_y=4\r\ntext_color_r=255\r\ntext_color_g="
        L"255\r\n"
        L"text_color_b=255\r\n[MENU_ITEM_OVER]\r\nfont_id=body\r\ntext_x=8\r\ntext_y=4\r\ntext_color_r="
        L"255\r\n"
        L"text_color_g=255\r\ntext_color_b=255\r\n[MENU_ITEM_DISABLED]\r\nfont_id=body\r\ntext_x=8\r\n"
        L"text_y=4\r\ntext_color_r=128\r\ntext_color_g=128\r\ntext_color_b=128\r\n"
        L"[MENU_ITEM_INSTALL]\r\ntext=Install\r\n[MENU_ITEM_STOP_INSTALL]\r\ntext=Cancel install\r\n"
        L"[MENU_ITEM_UPDATE]\r\ntext=Update\r\n[MENU_ITEM_STOP_UPDATE]\r\ntext=Stop update\r\n"
        L"[MENU_ITEM_RUN]\r\ntext=Run\r\n[MENU_ITEM_FILECHECK]\r\ntext=Check files\r\n"
        L"[MENU_ITEM_PATCH_INFO]\r\ntext=Home page\r\n");
    std::unique_ptr<IniStringContainer> fonts(LoadControlSkinIni(FindSkinCategory(L"etc"), L"fonts"));
    ASSERT_NE(nullptr, fonts);
    ASSERT_EQ(1, LoadSkinFonts(L"etc", fonts.get()));
  }
  // The root with the panel in it, shown at (x, 100) (tests running side by side keep apart on the display).
  void Open(GameList& list, int x = 40) {
    root_.SetSkin(L"body", L"root");
    WriteIni(
        L"data\\skin\\common\\root.ini",
        L"[BACK]\r\nwidth=260\r\nheight=420\r\nback_color_r=10\r\nback_color_g=10\r\nback_color_b=10\r\n");
    ASSERT_EQ(1, root_.CreatePopup(0, 0, 1, 1, nullptr, NPopup::kToolWindow | NPopup::kTopmost));
    root_.Move(x, 100);
    root_.Show(1, 0);
    GameListPanel = &list;
    list.SetSkin(L"body", L"list");
    ASSERT_EQ(1, list.Create(0, 0, 1, 1, GameList::kChildId, &root_));
    list.Show(1, 0);
  }

  testing_support::TempFolder settings_folder_{L"gamelist_settings"};
  std::wstring program_;
  std::unique_ptr<ScopedFrameInputs> inputs_;
  FakeGames games_;
  Root root_;
};

TEST_F(GameListWindowTest, FiveHundredGamesScrollWithWheelAndButtonsAndTheLastIsSelected) {
  for (int i = 0; i < 500; ++i)
    games_.Add(L"game" + std::to_wstring(i), 1, i % 7 == 0 ? 5 : 3).flags[i % 4] = 1;
  games_.Add(L"uninstalled", 0, 0);
  GameList list;
  Open(list);
  // Rows: header bottom 30; 11 rows of 30 and 10 lines of 1 fill the 370 pixels below it.
  EXPECT_EQ(30, list.buttons().origin_y);
  EXPECT_EQ(11, list.buttons().visible_rows);
  EXPECT_EQ(500, list.buttons().installed().count());
  EXPECT_FALSE(list.header().scroll_up().visible());
  EXPECT_TRUE(list.header().scroll_down().visible());
  EXPECT_FALSE(list.buttons().FindButton(L"uninstalled")->HoldsPictures());
  HWND window = list.GetHwnd();
  ASSERT_NE(nullptr, window);

  // The header's scroll-down button (client (205, 15)) scrolls one row; the wheel towards the user another.
  testing_support::ClickAt(window, 205, 15);
  EXPECT_EQ(-1, list.buttons().scroll_offset);
  EXPECT_TRUE(list.header().scroll_up().visible());
  SetFocus(window);
  POINT screen = {100, 200};
  ClientToScreen(window, &screen);
  testing_support::MoveMouse(window, 100, 200);
  SendMessageW(window, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)),
               MAKELPARAM(screen.x, screen.y));
  EXPECT_EQ(-2, list.buttons().scroll_offset);
  testing_support::ClickAt(window, 160, 15);  // scroll up
  EXPECT_EQ(-1, list.buttons().scroll_offset);

  // The last game: selected through the list, scrolled to the last visible row.
  list.SelectButton(L"game499");
  EXPECT_EQ(11 - 500, list.buttons().scroll_offset);
  EXPECT_FALSE(list.header().scroll_down().visible());
  // Hover and a click on the row above it selects that one instead.
  testing_support::ClickAt(window, 100, 30 + 9 * 31 + 5);
  ASSERT_NE(nullptr, list.buttons().selected);
  EXPECT_STREQ(L"game498", list.buttons().selected->GetGameId());
  // Rows off screen hold no pictures: only the drawn rows were rendered.
  int holding = 0;
  for (auto* node = list.buttons().all().head(); node != nullptr; node = node->next)
    holding += node->item->HoldsPictures() ? 1 : 0;
  EXPECT_LE(holding, 30);

  ASSERT_TRUE(testing_support::WaitUntilPainted(root_.GetHwnd(), 3000));
  testing_support::PngImage shot = testing_support::CaptureWindow(root_.GetHwnd());
  EXPECT_TRUE(testing_support::SaveScreenshot(shot, L"game_list.png"));
  EXPECT_STREQ(L"Loopback server", list.region_text()->text().GetString());
  list.Destroy();
}

TEST_F(GameListWindowTest, AHeaderSkinChangeMovesTheRowsAndBoundsTheScrollAgain) {
  for (int i = 0; i < 20; ++i)
    games_.Add(L"g" + std::to_wstring(i), 1);
  GameList list;
  Open(list, 40);
  list.SelectButton(L"g19");
  EXPECT_EQ(11 - 20, list.buttons().scroll_offset);
  // A taller header and a layout with lower rows: more rows fit, the list starts lower, and the offset that
  // showed the last row is now past the end.
  WriteIni(L"data\\skin\\common\\list_header_installed_game.ini",
           L"[BACK]\r\nx=0\r\ny=0\r\nwidth=240\r\nheight=60\r\n");
  WriteIni(L"data\\skin\\common\\game_button_info.ini",
           gamelist_testing::GameButtonInfoIni(L"height=20\r\n"));
  SetCurrentSkin(L"other");
  BroadcastSkinChange();
  root_.Update();
  EXPECT_EQ(60, list.buttons().origin_y);
  EXPECT_EQ(16, list.buttons().visible_rows);  // 16 rows of 20 and 15 lines of 1 below the header
  EXPECT_EQ(16 - 20, list.buttons().scroll_offset);
  list.Destroy();
}

// The bottom edge of the lowest picture on screen, in panel coordinates.
LONG LowestRowBottom(GameList& list) {
  GameButtonList& buttons = list.buttons();
  LONG bottom = 0;
  for (const GameListRow& row :
       LayOutRows(buttons.installed(), buttons.selected, list.layout(), buttons.origin_x, buttons.origin_y,
                  buttons.scroll_offset, buttons.visible_rows))
    bottom = std::max(bottom, row.picture.bottom);
  return bottom;
}

TEST_F(GameListWindowTest, TheRowsFitBetweenTheHeaderAndThePanelsBottomAlsoAfterTheSkinResizesThePanel) {
  for (int i = 0; i < 20; ++i)
    games_.Add(L"g" + std::to_wstring(i), 1);
  GameList list;
  Open(list, 40);
  struct Case {
    int panel_height;
    int32_t rows;
  } cases[] = {{400, 11}, {250, 7}, {400, 11}, {92, 2}, {59, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.panel_height);
    if (c.panel_height != list.height()) {
      // A skin whose panel has another height: its background resizes the panel after the skin hook ran.
      WriteListIni(c.panel_height);
      SetCurrentSkin(c.panel_height == 400 ? L"tall" : L"short");
      BroadcastSkinChange();
      root_.Update();
    }
    ASSERT_EQ(c.panel_height, list.height());
    EXPECT_EQ(c.rows, list.buttons().visible_rows);
    // The last game scrolled into view sits in the last row, above the panel's bottom edge.
    list.SelectButton(L"g19");
    EXPECT_LE(LowestRowBottom(list), list.height());
    list.SelectButton(L"g0");
  }
  list.Destroy();
}

TEST_F(GameListWindowTest, RegionResultsShowTheirMessagesAndAChosenServerRenamesTheRegion) {
  games_.Add(L"a", 1);
  GameList list;
  Open(list, 340);
  struct Case {
    SelectUpdateServerResult result;
    const wchar_t* message;
  } cases[] = {{kServerListNotDownloaded, L"cannot download server info"},
               {kServerListUnreadable, L"invalid server info"},
               {kServerDialogFailed, L"cannot load resource"},
               {kServerNotChosen, nullptr},
               {kServerChosen, nullptr}};
  for (const Case& c : cases) {
    g_messages.clear();
    g_region_result = c.result;
    ClickRegionAndWait(list.GetHwnd());
    if (c.message != nullptr) {
      ASSERT_EQ(1u, g_messages.size()) << c.result;
      EXPECT_EQ(std::wstring(GetAppMessageOrUnknown(c.message)), g_messages[0]) << c.result;
    } else {
      EXPECT_TRUE(g_messages.empty()) << c.result;
    }
  }
  list.Destroy();
}

TEST_F(GameListWindowTest, TheRegionListIsWaitedForOffTheWindowAndTakenOnceItArrives) {
  games_.Add(L"a", 1);
  GameList list;
  Open(list, 340);
  g_region_arrived = false;
  g_region_result = kServerListNotDownloaded;
  // The click returns at once; a second click while the list is on its way starts nothing more.
  testing_support::ClickAt(list.GetHwnd(), 200, 380);
  testing_support::ClickAt(list.GetHwnd(), 200, 380);
  EXPECT_FALSE(testing_support::PumpUntil([] { return g_region_finishes > 0; }, 300));
  EXPECT_EQ(1, g_region_starts);
  EXPECT_TRUE(g_messages.empty());
  // The list arrives: a later frame takes it, once, and shows its result.
  g_region_arrived = true;
  EXPECT_TRUE(testing_support::PumpUntil([] { return g_region_finishes > 0; }, 5000));
  EXPECT_FALSE(testing_support::PumpUntil([] { return g_region_finishes > 1; }, 300));
  ASSERT_EQ(1u, g_messages.size());
  EXPECT_EQ(std::wstring(GetAppMessageOrUnknown(L"cannot download server info")), g_messages[0]);
  list.Destroy();
}

int g_dialogs_closed = 0;

// Closes every visible dialog of this thread (the message dialog a click opened) and counts it.
BOOL CALLBACK CloseDialog(HWND window, LPARAM) {
  wchar_t class_name[32] = {};
  GetClassNameW(window, class_name, 32);
  if (IsWindowVisible(window) && std::wstring(class_name) == L"OrvaneDialog") {
    ++g_dialogs_closed;
    PostMessageW(window, WM_CLOSE, 0, 0);
  }
  return TRUE;
}
void CALLBACK CloseDialogs(HWND, UINT, UINT_PTR, DWORD) {
  EnumThreadWindows(GetCurrentThreadId(), &CloseDialog, 0);
}

TEST_F(GameListWindowTest, TheRegionSelectionWaitsForAnotherDialogAndItsMessageIsShownAfterIt) {
  // The message dialog's skin, so that the region message opens a real modal dialog.
  WritePng(L"message_back.png", SolidPng(240, 120, 52, 64, 90));
  WriteIni(L"data\\skin\\common\\message_wnd.ini",
           L"[BACK]\r\nwidth=240\r\nheight=120\r\nback=message_back.png\r\n[MESSAGE]\r\nfont_id=body\r\n"
           L"text_x=120\r\ntext_y=40\r\ntext_align=5\r\ntext_color_r=240\r\n");
  WriteIni(L"data\\skin\\common\\message_wnd_ok1_btn.ini", ButtonIni(80, 84, 40, 20, L"btn.png"));
  WriteIni(L"data\\skin\\common\\message_wnd_ok2_btn.ini", ButtonIni(40, 84, 40, 20, L"btn.png"));
  WriteIni(L"data\\skin\\common\\message_wnd_cancel2_btn.ini", ButtonIni(140, 84, 40, 20, L"btn.png"));
  games_.Add(L"a", 1);
  GameList list;
  Open(list, 340);
  // The launcher's own message path: the guarded message dialog.
  GameListServices services;
  ScriptSelection(&services);
  services.read_update_name = &ServerName;
  SetGameListServices(services);
  // Any dialog that opens is closed again shortly, so that a click that runs one returns.
  UINT_PTR timer = SetTimer(nullptr, 0, 100, &CloseDialogs);
  ASSERT_NE(0u, timer);

  // No other dialog: the selection runs at once, holding the guard, and its message is a dialog of its own.
  g_dialogs_closed = 0;
  g_region_result = kServerListNotDownloaded;
  ClickRegionAndWait(list.GetHwnd());
  EXPECT_EQ(1, g_dialogs_closed);
  EXPECT_EQ(0, g_finishes_outside_the_guard);
  EXPECT_EQ(0, IsModalOpen());

  // The settings dialog (standing in: the guard it holds while it is open) is up when the list arrives, and
  // opens after the list's message was posted: the list waits, nothing opens over the other dialog.
  for (SelectUpdateServerResult result : {kServerListUnreadable, kServerDialogFailed}) {
    g_dialogs_closed = 0;
    g_region_result = result;
    const int finished = g_region_finishes;
    const int started = g_region_starts;
    ASSERT_EQ(1, EnterModal());
    testing_support::ClickAt(list.GetHwnd(), 200, 380);
    ASSERT_TRUE(testing_support::PumpUntil([&] { return g_region_starts > started; }, 2000)) << result;
    SendMessageW(list.GetHwnd(), GameList::kRegionListArrivedMessage, 0, 0);
    EXPECT_FALSE(testing_support::PumpUntil([&] { return g_region_finishes > finished; }, 400)) << result;
    EXPECT_EQ(0, g_dialogs_closed) << result;
    // Once it has closed, the list is taken once and its message shown.
    LeaveModal();
    EXPECT_TRUE(testing_support::PumpUntil([&] { return g_dialogs_closed == 1; }, 5000)) << result;
    EXPECT_FALSE(testing_support::PumpUntil([&] { return g_region_finishes > finished + 1; }, 300)) << result;
    EXPECT_EQ(finished + 1, g_region_finishes) << result;
    EXPECT_EQ(0, IsModalOpen()) << result;
  }
  EXPECT_EQ(0, g_finishes_outside_the_guard);
  KillTimer(nullptr, timer);
  list.Destroy();
}

TEST_F(GameListWindowTest, RightClickOpensTheGamePopupMenuAndACommandActsOnItsGame) {
  games_.Add(L"a", 1, 3);
  games_.Add(L"b", 1, 1);  // downloading its installer
  GameState* mirror = GameStateList().AddNew()->item;
  mirror->game_id.Assign(L"b");
  mirror->state = 1;
  mirror->cancel_install_button = 3;
  mirror->run_button = 0;
  mirror->home_page_button = 3;
  mirror->full_check_button = 1;
  GameList list;
  Open(list, 640);
  HWND window = list.GetHwnd();
  POINT at = {60, 30 + 31 + 15};
  POINT screen = at;
  ClientToScreen(window, &screen);
  g_cursor = screen;
  testing_support::MoveMouse(window, at.x, at.y);
  ASSERT_NE(nullptr, list.buttons().hover);
  EXPECT_STREQ(L"b", list.buttons().hover->GetGameId());
  PostMessageW(window, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(at.x, at.y));
  PostMessageW(window, WM_RBUTTONUP, 0, MAKELPARAM(at.x, at.y));
  GamePopupMenu* menu = ProcessGamePopupMenu();
  ASSERT_TRUE(testing_support::PumpUntil([&] { return menu->visible() != 0; }, 5000));
  EXPECT_STREQ(L"b", menu->game_id().GetString());
  // kGameInstallerDownloading: install hidden, cancel shown; run shown but disabled.
  EXPECT_EQ(0, menu->item(0)->shown);
  EXPECT_EQ(1, menu->item(1)->shown);
  EXPECT_EQ(0, menu->item(3)->shown);
  EXPECT_EQ(0, menu->item(4)->enabled);
  RECT placed;
  GetWindowRect(menu->GetHwnd(), &placed);
  EXPECT_EQ(screen.x, placed.left);
  EXPECT_EQ(screen.y, placed.top);

  ASSERT_TRUE(testing_support::WaitUntilPainted(menu->GetHwnd(), 3000));
  HWND menu_window = menu->GetHwnd();
  // Hover the first shown row (cancel install), capture, then click it.
  testing_support::MoveMouse(menu_window, 40, 1 + 11);
  testing_support::PngImage shot = testing_support::CaptureWindow(menu_window);
  EXPECT_TRUE(testing_support::SaveScreenshot(shot, L"game_popup_menu.png"));
  testing_support::ClickAt(menu_window, 40, 1 + 11);
  ASSERT_TRUE(testing_support::PumpUntil([&] { return menu->visible() == 0; }, 5000));
  EXPECT_EQ(kPendingStopRequested, mirror->pending_action);
  list.Destroy();
}

}  // namespace

// The launcher window with the generated default skin, in a test pop-up of its own on the test display: every
// child, text box and image the skin describes, optional and required children missing, game selection and
// its pages, progress and file texts, the action buttons and the game list beside it. Screenshot:
// build/screenshots/launcher_body.png, launcher_body_search_hint.png.
#include <gtest/gtest.h>

#include <ole2.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/gamelist/GameList.h"
#include "app/gamelist/GameListServices.h"
#include "app/games/GameActions.h"
#include "app/games/GamePopupMenu.h"
#include "app/games/GameStateMirror.h"
#include "app/session/HandOver.h"
#include "app/session/SessionValues.h"
#include "app/settings/Setting.h"
#include "app/windows/LauncherFileText.h"
#include "app/windows/UpdaterLauncherWnd.h"
#include "app/windows/orvaneLauncherDlg.h"
#include "base/TextFields.h"
#include "tests/app/gamelist/FakeGames.h"
#include "tests/app/windows/RecordingShell.h"
#include "tests/support/TempFolder.h"
#include "tests/support/WindowCapture.h"
#include "tests/support/WinePaths.h"
#include "ui/base/IniStringContainer.h"
#include "ui/base/VirtualFile.h"
#include "ui/skin/NFontManager.h"
#include "ui/skin/NImage.h"
#include "ui/skin/NTextBox.h"
#include "ui/skin/SkinLoader.h"
#include "ui/skinned/SkinnedWnd.h"

namespace {

using gamelist_testing::FakeGame;
using gamelist_testing::FakeGames;
using testing_support::TempFolder;

class Root : public SkinnedPopup {
 public:
  ~Root() override { Destroy(); }
};

// Copies the folder tree `from` into `to`.
class UpdaterLauncherWndTest : public ::testing::Test {
 protected:
  void SetUp() override {
    OleInitialize(nullptr);
    testing_support::CopyTree(testing_support::WindowsPathOf(ORVANE_DEFAULT_SKIN_DIR) + L"\\data",
                              skin_.Join(L"data"));
    wchar_t previous[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, previous);
    previous_ = previous;
    ASSERT_TRUE(SetCurrentDirectoryW(skin_.path().c_str()));
    ASSERT_EQ(1, SkinLoader::LoadSkinInfo());
    SettingSources sources;
    sources.registry_root = HKEY_CURRENT_USER;
    sources.registry_path = L"Software\\OrvaneLauncherWindowTest";
    program_ = skin_.Join(L"launcher.exe");
    sources.program_path = program_.c_str();
    SetSettingSources(sources);
    Setting::GetInstance()->DisableWebBrowser = 7;
    GetSessionValues() = SessionValues{};
    CopyToField(GetSessionValues().BannerUrl, L"http://127.0.0.1/banner");
    CopyToField(GetSessionValues().UserNick, L"%s%n%x");
    CopyToField(GetSessionValues().SessKey, L"key");
    PrepareHandOverRecord();
    std::unique_ptr<IniStringContainer> etc(LoadControlSkinIni(FindSkinCategory(L"etc"), L"etc"));
    ASSERT_NE(nullptr, etc);
    LoadSkinFonts(L"etc", etc.get());
  }
  void TearDown() override {
    TearDownGamePopupMenu();
    GameStateList().RemoveAll();
    SetGameActionView(nullptr);
    RemoveAllFontManagers();
    Setting::ReleaseInstance();
    ResetSettingSources();
    SkinLoader::UnloadSkinInfo();
    ReleaseAllVirtualFiles();
    SetCurrentDirectoryW(previous_.c_str());
    OleUninitialize();
  }
  int32_t Open(UpdaterLauncherWnd& window) {
    root_.SetSkin(L"base", L"base");
    if (root_.CreatePopup(0, 0, 1, 1, nullptr, NPopup::kToolWindow) != 1)
      return 0;
    root_.Move(20, 20);
    root_.Show(1, 0);
    window.SetSkin(L"body", L"body");
    int32_t created = window.Create(0, 0, 1, 1, UpdaterLauncherWnd::kChildId, &root_);
    if (created)
      window.Show(1, 0);
    return created;
  }
  FakeGame& AddGame(const std::wstring& id, int32_t state) {
    FakeGame& game = games_.Add(id, state == 0 ? 0 : 1, state);
    game.post1 = L"http://127.0.0.1/" + id + L"/1";
    game.post2 = L"http://127.0.0.1/" + id + L"/2";
    game.path = L"C:\\Games\\" + id;
    return game;
  }

  TempFolder skin_{L"launcher_window"};
  std::wstring previous_;
  std::wstring program_;
  FakeGames games_;
  Root root_;
};

TEST(LauncherFileText, PathsInsideTheGameFolderAreRelativeOthersShowTheirName) {
  struct Case {
    const wchar_t* file;
    const wchar_t* folder;
    const wchar_t* shown;
  } cases[] = {
      {L"C:\\G\\A\\data\\x.pak", L"C:\\G\\A", L"data/x.pak"},
      {L"c:\\g\\a\\data\\x.pak", L"C:\\G\\A", L"data/x.pak"},    // letter case ignored
      {L"C:\\G\\A\\data\\x.pak", L"C:\\G\\A\\", L"data/x.pak"},  // a folder with its backslash
      {L"C:\\G\\AB\\x.pak", L"C:\\G\\A", L"x.pak"},              // only a whole folder is a prefix
      {L"D:\\other\\y.dat", L"C:\\G\\A", L"y.dat"},
      {L"plain.txt", nullptr, L"plain.txt"},
      {L"C:\\G\\A", L"C:\\G\\A", L""},
      {L"", L"C:\\G\\A", L""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(std::wstring(c.shown), ShownFileText(c.file, c.folder)) << c.file;
}

TEST_F(UpdaterLauncherWndTest, TheDefaultSkinGivesEveryChildTextBoxAndImage) {
  AddGame(L"a", 3);
  UpdaterLauncherWnd window;
  ASSERT_EQ(1, Open(window));
  EXPECT_EQ(&window.game_list(), GameListPanel);
  EXPECT_EQ(static_cast<GameActionView*>(&window), GetGameActionView());
  EXPECT_TRUE(window.notice().created());
  EXPECT_TRUE(window.search_box().created());
  EXPECT_TRUE(window.search_box().visible());
  for (int32_t id = 110; id <= 116; ++id)
    EXPECT_TRUE(window.action_button(id).created()) << id;
  EXPECT_FALSE(window.action_button(110).visible());
  EXPECT_TRUE(window.action_button(116).visible());  // neither home nor a game is shown yet
  EXPECT_TRUE(window.file_progress().visible());
  for (int32_t i = 0; i < 7; ++i)
    EXPECT_NE(nullptr, window.text_box(i)) << i;
  EXPECT_NE(nullptr, window.notice_image());
  EXPECT_EQ(1500u, window.ButtonWaitTime());
  // The nick is data, not a format.
  EXPECT_STREQ(L"Hello, %s%n%x", window.text_box(0)->text().GetString());
  GameButtonInfo& layout = window.game_list().layout();
  EXPECT_EQ(5, layout.state_icon_count);
  EXPECT_NE(nullptr, layout.arrow);
  EXPECT_NE(nullptr, layout.badges[3]);
  EXPECT_GT(layout.FindStateIcon(L"state_updating")->frame_count(), 1);
  // DisableWebBrowser 7: no view, and the navigations are only recorded.
  for (int32_t i = 0; i < 3; ++i)
    EXPECT_FALSE(window.view(i).created());
  window.SelectGame(L"a", 0);
  EXPECT_EQ(L"http://127.0.0.1/a/1", window.asked_url(UpdaterLauncherWnd::kPostPage1));
  EXPECT_EQ(L"http://127.0.0.1/banner", window.asked_url(UpdaterLauncherWnd::kBanner));
  window.Destroy();
  EXPECT_EQ(nullptr, GetGameActionView());
}

TEST_F(UpdaterLauncherWndTest, RealWebViewsTakeTheirPlacesAndTheBannerFollowsTheDialog) {
  Setting::GetInstance()->DisableWebBrowser = 0;
  AddGame(L"a", 3);
  UpdaterLauncherWnd window;
  ASSERT_EQ(1, Open(window));
  for (int32_t i = 0; i < 3; ++i)
    ASSERT_TRUE(window.view(i).created()) << i;
  orvaneHtmlCtrl& first = window.view(UpdaterLauncherWnd::kPostPage1);
  // Home: the first page takes its extended place, the second hides.
  window.SelectGame(nullptr, 0);
  EXPECT_EQ(1, first.extended());
  EXPECT_EQ(first.extended_geometry().height, first.height());
  EXPECT_FALSE(window.view(UpdaterLauncherWnd::kPostPage2).visible());
  // A game: back to the normal place, both pages shown and asked for the game's pages.
  window.SelectGame(L"a", 0);
  EXPECT_EQ(0, first.extended());
  EXPECT_EQ(first.normal_geometry().height, first.height());
  EXPECT_TRUE(window.view(UpdaterLauncherWnd::kPostPage2).visible());
  EXPECT_EQ(L"http://127.0.0.1/a/2", window.asked_url(UpdaterLauncherWnd::kPostPage2));
  window.ShowBanner(0);
  EXPECT_EQ(0, window.banner_shown());
  window.ShowBanner(1);
  EXPECT_EQ(1, window.banner_shown());
  window.Destroy();
}

TEST_F(UpdaterLauncherWndTest, AnAdvertisementClickInTheBannerOpensOutsideAndTheBannerStays) {
  Setting::GetInstance()->DisableWebBrowser = 0;
  AddGame(L"a", 3);
  UpdaterLauncherWnd window;
  ASSERT_EQ(1, Open(window));
  orvaneHtmlCtrl& banner = window.view(UpdaterLauncherWnd::kBanner);
  ASSERT_TRUE(banner.created());
  RecordingShell shell;
  banner.set_url_shell(&shell);
  window.SelectGame(L"a", 0);
  EXPECT_EQ(L"http://127.0.0.1/banner", window.asked_url(UpdaterLauncherWnd::kBanner));
  // The browser reports the start of the banner's own load, which passes.
  ASSERT_TRUE(testing_support::PumpUntil([&] { return banner.self_navigation() == 0; }, 5000));
  // A click on the advertisement: the browser is about to navigate the banner's frame to the ad's target.
  BOOL cancel = FALSE;
  banner.OnBeforeNavigate2(L"http://ads.example/click?id=7", nullptr, true, &cancel);
  EXPECT_TRUE(cancel);
  ASSERT_EQ(1u, shell.opened.size());
  EXPECT_EQ(L"\"http://ads.example/click?id=7\"", shell.opened[0]);
  EXPECT_EQ(L"http://127.0.0.1/banner", window.asked_url(UpdaterLauncherWnd::kBanner));
  // The same holds for a post page: only the launcher's own loads stay inside the views.
  cancel = FALSE;
  window.view(UpdaterLauncherWnd::kPostPage1).set_url_shell(&shell);
  window.view(UpdaterLauncherWnd::kPostPage1)
      .OnBeforeNavigate2(L"http://news.example/", nullptr, true, &cancel);
  EXPECT_TRUE(cancel);
  EXPECT_EQ(2u, shell.opened.size());
  window.Destroy();
}

TEST_F(UpdaterLauncherWndTest, AMissingOptionalChildIsLeftOutAndAMissingRequiredOneFailsTheCreation) {
  DeleteFileW(skin_.Join(L"data\\skin\\body\\flashgame_btn.ini").c_str());
  {
    UpdaterLauncherWnd window;
    ASSERT_EQ(1, Open(window));
    EXPECT_TRUE(window.action_button(115).created());
    window.Destroy();
    root_.Destroy();
  }
  DeleteFileW(skin_.Join(L"data\\skin\\body\\run_btn.ini").c_str());
  UpdaterLauncherWnd window;
  EXPECT_EQ(0, Open(window));
  EXPECT_EQ(nullptr, GetGameActionView());
}

TEST_F(UpdaterLauncherWndTest, SelectGameNavigatesOnceUnlessForcedAndAnUnknownIdShowsHome) {
  FakeGame& game = AddGame(L"a", 3);
  UpdaterLauncherWnd window;
  ASSERT_EQ(1, Open(window));
  window.SelectGame(L"a", 0);
  EXPECT_STREQ(L"Game a", window.text_box(1)->text().GetString());
  game.post1 = L"http://127.0.0.1/changed";
  window.SelectGame(L"a", 0);
  EXPECT_EQ(L"http://127.0.0.1/a/1", window.asked_url(UpdaterLauncherWnd::kPostPage1));
  window.SelectGame(L"a", 1);
  EXPECT_EQ(L"http://127.0.0.1/changed", window.asked_url(UpdaterLauncherWnd::kPostPage1));
  window.SelectGame(L"nobody", 0);
  EXPECT_STREQ(L"", window.SelectedGameId());
  EXPECT_EQ(L"", window.asked_url(UpdaterLauncherWnd::kPostPage1));  // no "PostOfHome" entry
  // The patch-info button stays inside the window even behind a very long title.
  game.title = std::wstring(200, L'W');
  window.SelectGame(L"a", 1);
  SkinnedButton& info = window.action_button(UpdaterLauncherWnd::kPatchInfoButtonId);
  EXPECT_LE(info.x() + info.width(), window.width());
  window.Destroy();
}

TEST_F(UpdaterLauncherWndTest, WithoutAGameItsTitleAndButtonsAreHiddenUntilTheNextSelection) {
  AddGame(L"a", 3);
  GameState* mirror = GameStateList().AddNew()->item;
  mirror->game_id.Assign(L"a");
  mirror->state = 3;
  mirror->installed = 1;
  UpdaterLauncherWnd window;
  ASSERT_EQ(1, Open(window));
  auto shown = [&window](std::vector<int32_t> ids) {
    for (int32_t id = 110; id <= 116; ++id) {
      bool expected = std::find(ids.begin(), ids.end(), id) != ids.end();
      EXPECT_EQ(expected, window.action_button(id).visible() != 0) << id;
    }
  };
  // Each way of losing the current game: home (the home button's action), and the game leaving the catalogue.
  for (const char* way : {"home", "vanished"}) {
    SCOPED_TRACE(way);
    ::SelectGame(L"a");  // the list's selection: the game, its title and its buttons
    EXPECT_STREQ(L"Game a", window.text_box(1)->text().GetString());
    shown({114, 115, 116});  // latest: run, file check, patch info
    if (std::string(way) == "home") {
      window.DeselectGame();
    } else {
      games_.Remove(L"a");
      window.RefreshGame(L"a");
    }
    EXPECT_STREQ(L"", window.SelectedGameId());
    EXPECT_STREQ(L"", window.text_box(1)->text().GetString());
    shown({});
    window.LoadSkin();  // a skin change at home brings no title back
    EXPECT_STREQ(L"", window.text_box(1)->text().GetString());
    if (std::string(way) == "home") {
      ASSERT_TRUE(testing_support::WaitUntilPainted(root_.GetHwnd(), 3000));
      testing_support::PngImage shot = testing_support::CaptureWindow(root_.GetHwnd());
      EXPECT_TRUE(testing_support::SaveScreenshot(shot, L"launcher_body_home.png"));
    } else {
      AddGame(L"a", 3);
    }
  }
  ::SelectGame(L"a");
  shown({114, 115, 116});
  window.Destroy();
}

TEST_F(UpdaterLauncherWndTest, TheStartGameIsTheListsSelectionScrolledIntoViewAndFollowsAHandOver) {
  // More installed games than the list shows, the start game last.
  for (int i = 0; i < 30; ++i)
    AddGame(L"g" + std::to_wstring(i), 5);
  CopyToField(GetSessionValues().StartGameID, L"g29");
  PrepareHandOverRecord();
  UpdaterLauncherWnd window;
  ASSERT_EQ(1, Open(window));
  GameButtonList& buttons = window.game_list().buttons();
  ASSERT_GT(buttons.visible_rows, 0);
  ASSERT_LT(buttons.visible_rows, 30);
  ASSERT_NE(nullptr, buttons.selected);
  EXPECT_STREQ(L"g29", buttons.selected->GetGameId());
  EXPECT_EQ(GameButton::kLookSelected, buttons.selected->look());
  EXPECT_STREQ(L"g29", window.SelectedGameId());
  const int32_t row = buttons.InstalledIndex(buttons.selected) + buttons.scroll_offset;
  EXPECT_TRUE(row >= 0 && row < buttons.visible_rows) << row;

  // A hand-over that names another game moves the selection; one without a game leaves none.
  GameButton* first = buttons.selected;
  CopyToField(GetSessionValues().StartGameID, L"g0");
  PrepareHandOverRecord();
  ApplyStartGame();
  ASSERT_NE(nullptr, buttons.selected);
  EXPECT_STREQ(L"g0", buttons.selected->GetGameId());
  EXPECT_EQ(GameButton::kLookNormal, first->look());
  EXPECT_EQ(0, buttons.scroll_offset);
  EXPECT_STREQ(L"g0", window.SelectedGameId());
  CopyToField(GetSessionValues().StartGameID, L"");
  PrepareHandOverRecord();
  ApplyStartGame();
  EXPECT_EQ(nullptr, buttons.selected);
  EXPECT_STREQ(L"", window.SelectedGameId());

  // Home shown already: the views are not asked again (pages asked for twice while loading go to the system
  // browser), unless forced.
  CopyToField(GetSessionValues().BannerUrl, L"http://127.0.0.1/other");
  window.SelectGame(nullptr, 0);
  EXPECT_EQ(L"http://127.0.0.1/banner", window.asked_url(UpdaterLauncherWnd::kBanner));
  window.SelectGame(nullptr, 1);
  EXPECT_EQ(L"http://127.0.0.1/other", window.asked_url(UpdaterLauncherWnd::kBanner));
  window.Destroy();
}

TEST_F(UpdaterLauncherWndTest, ProgressIsResetOnGameChangeFullInLatestAndEmptyWithoutAGame) {
  FakeGame& a = AddGame(L"a", 6);
  AddGame(L"b", 6);
  wcscpy(a.progress.current_file, L"C:\\Games\\a\\data\\x.pak");
  a.progress.total_bytes = 100;
  a.progress.done_bytes = 40;
  a.progress.overall_fraction = 0.25;
  UpdaterLauncherWnd window;
  ASSERT_EQ(1, Open(window));
  window.SelectGame(L"a", 0);
  EXPECT_DOUBLE_EQ(0.4, window.file_progress().position());
  EXPECT_DOUBLE_EQ(0.25, window.total_progress().position());
  EXPECT_STREQ(L"data/x.pak", window.shown_file_text().GetString());
  EXPECT_EQ(UpdaterLauncherWnd::kShowFileUpdating, window.file_text_mode());
  // Another game with nothing going on yet: no stale bars or file text of the first.
  window.SelectGame(L"b", 0);
  EXPECT_DOUBLE_EQ(0.0, window.file_progress().position());
  EXPECT_STREQ(L"", window.shown_file_text().GetString());
  // Back to a: its values show again, although they equal the ones shown before.
  window.SelectGame(L"a", 0);
  EXPECT_DOUBLE_EQ(0.4, window.file_progress().position());
  // Latest: both bars full, no file text; then updating again with the same values: real bars again.
  a.state = 3;
  window.UpdateProgress();
  EXPECT_DOUBLE_EQ(1.0, window.total_progress().position());
  EXPECT_EQ(UpdaterLauncherWnd::kShowNone, window.file_text_mode());
  a.state = 6;
  window.UpdateProgress();
  EXPECT_DOUBLE_EQ(0.4, window.file_progress().position());
  EXPECT_DOUBLE_EQ(0.25, window.total_progress().position());
  // A skin reload keeps the title and the file text.
  window.LoadSkin();
  EXPECT_STREQ(L"Game a", window.text_box(1)->text().GetString());
  EXPECT_STREQ(L"data/x.pak", window.text_box(3)->text().GetString());
  EXPECT_STREQ(L"applying data/x.pak", window.text_box(4)->text().GetString());
  // The game goes away: no file text, empty bars.
  games_.Remove(L"a");
  window.RefreshGame(L"a");
  EXPECT_STREQ(L"", window.SelectedGameId());
  EXPECT_DOUBLE_EQ(0.0, window.file_progress().position());
  EXPECT_STREQ(L"", window.shown_file_text().GetString());
  window.Destroy();
}

TEST_F(UpdaterLauncherWndTest, ActionButtonsFollowTheCurrentGameAndTheWindowIsCaptured) {
  FakeGame& a = AddGame(L"a", 6);
  a.title = L"Starfall Online";
  a.flags[3] = 1;
  a.flags[0] = 1;
  wcscpy(a.progress.current_file, L"C:\\Games\\a\\maps\\harbour.pak");
  a.progress.total_bytes = 1000;
  a.progress.done_bytes = 620;
  a.progress.overall_fraction = 0.35;
  for (int i = 0; i < 14; ++i)
    AddGame(L"g" + std::to_wstring(i), i % 3 == 0 ? 5 : 3).title = L"Test game " + std::to_wstring(i);
  AddGame(L"new", 0);
  UpdaterLauncherWnd window;
  ASSERT_EQ(1, Open(window));
  window.game_list().SelectButton(L"a");  // the list's selection runs the action, which shows the game
  EXPECT_STREQ(L"a", window.SelectedGameId());
  window.SetActionButton(L"a", kStopUpdateButton, kButtonEnabled);
  window.SetActionButton(L"other", kInstallButton, kButtonEnabled);
  EXPECT_TRUE(window.action_button(113).visible());
  EXPECT_TRUE(window.action_button(113).enabled());
  EXPECT_FALSE(window.action_button(110).visible());
  window.SetFileCheckButton(1);
  EXPECT_TRUE(window.action_button(115).visible());
  EXPECT_FALSE(window.action_button(115).enabled());
  window.UpdateProgress();
  // Hover a row of the list with a real mouse message.
  const GameButtonInfo& rows = window.game_list().layout();
  testing_support::MoveMouse(
      window.game_list().GetHwnd(), 100,
      window.game_list().buttons().origin_y + 3 * rows.RowPitch() + rows.y + rows.height / 2);
  EXPECT_NE(nullptr, window.game_list().buttons().hover);
  ASSERT_TRUE(testing_support::WaitUntilPainted(root_.GetHwnd(), 3000));
  testing_support::PngImage shot = testing_support::CaptureWindow(root_.GetHwnd());
  EXPECT_TRUE(testing_support::SaveScreenshot(shot, L"launcher_body.png"));
  window.Destroy();
}

// The demo portal's longest keyword text, shown as the search box's hint, with the skin's font in the box as
// the user sees it (the game list loads the window's font set again after the box took its font).
TEST_F(UpdaterLauncherWndTest, TheSearchBoxShowsTheLongestHintOfThePortalWholeInTheSkinsFont) {
  UpdaterLauncherWnd window;
  ASSERT_EQ(1, Open(window));
  const std::wstring hint = L"Search for a game, e.g. Runestone";
  window.SetSearchHint(hint.c_str());
  HWND edit = window.search_box().window_handle();
  wchar_t shown[64] = {};
  GetWindowTextW(edit, shown, 64);
  EXPECT_EQ(hint, shown);
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(edit, WM_GETFONT, 0, 0));
  LOGFONTW drawn = {};
  ASSERT_EQ(static_cast<DWORD>(OBJ_FONT), GetObjectType(font)) << "the box draws with the system's font";
  ASSERT_EQ(static_cast<int>(sizeof(drawn)), GetObjectW(font, sizeof(drawn), &drawn));
  FontInfo text;
  ASSERT_EQ(1, FindFontManager(L"body")->FindFont(L"text", &text));
  LOGFONTW skin = {};
  ASSERT_EQ(static_cast<int>(sizeof(skin)), GetObjectW(text.font, sizeof(skin), &skin));
  EXPECT_EQ(skin.lfHeight, drawn.lfHeight);
  EXPECT_STREQ(skin.lfFaceName, drawn.lfFaceName);

  HDC dc = GetDC(edit);
  HGDIOBJ previous = SelectObject(dc, font);
  SIZE extent = {};
  GetTextExtentPoint32W(dc, hint.c_str(), static_cast<int>(hint.size()), &extent);
  SelectObject(dc, previous);
  ReleaseDC(edit, dc);
  RECT format = {};
  SendMessageW(edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
  EXPECT_LE(extent.cx, format.right - format.left);
  EXPECT_LE(extent.cy, format.bottom - format.top);
  ASSERT_TRUE(testing_support::WaitUntilPainted(root_.GetHwnd(), 3000));
  EXPECT_TRUE(testing_support::SaveScreenshot(testing_support::CaptureWindow(root_.GetHwnd()),
                                              L"launcher_body_search_hint.png"));
  window.Destroy();
}

}  // namespace

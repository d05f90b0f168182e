// The update-server selection: the list's rules as functions, the dialog as a real window driven with real
// messages, and SelectUpdateServer against the HTTP fixture with the process replacement recorded.
#include <windows.h>

#include <curl/curl.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/launcherupdate/CurrentUpdateAddr.h"
#include "app/launcherupdate/ServerList.h"
#include "app/session/LauncherGlobals.h"
#include "app/session/ProgramPath.h"
#include "app/startup/Startup.h"
#include "app/windows/SelectUpdateServer.h"
#include "app/windows/UpdateServerSelectDialog.h"
#include "selfupdate/LauncherInfo.h"
#include "selfupdate/ProcessReplacement.h"
#include "tests/app/windows/SkinTestFiles.h"
#include "tests/support/FixtureServer.h"
#include "tests/support/TempFolder.h"
#include "tests/support/Timing.h"
#include "tests/support/WindowCapture.h"
#include "tests/support/WinePaths.h"
#include "tests/ui/host/HostTestSupport.h"
#include "ui/base/VirtualFile.h"

namespace {

using namespace testing_support;

const ServerListGeometry kGeometry = {20, 20, 200, 30, 4, 5, 8, 6};

TEST(ServerRowAt, FindsTheVisibleRowUnderThePoint) {
  struct Case {
    int32_t first, count, x, y, expected;
  } cases[] = {
      {0, 6, 20, 20, 0},   {0, 6, 220, 49, 0},  {0, 6, 100, 50, -1},  // the gap after row 0
      {0, 6, 100, 55, 1},  {2, 6, 100, 55, 3},  {0, 6, 19, 30, -1},   {0, 6, 221, 30, -1},
      {0, 6, 100, 19, -1}, {0, 6, 100, 125, 3}, {0, 6, 100, 160, -1},  // past the visible rows
      {0, 2, 100, 90, -1},                                             // past the end of the list
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.expected, ServerRowAt(kGeometry, c.first, c.count, c.x, c.y)) << c.x << "," << c.y;
}

TEST(ServerListHitTest, AnswersClientOverTheListAndCaptionElsewhere) {
  EXPECT_EQ(HTCLIENT, ServerListHitTest(kGeometry, 20, 20));
  EXPECT_EQ(HTCLIENT, ServerListHitTest(kGeometry, 220, 155));  // 4 rows and 3 gaps
  EXPECT_EQ(HTCAPTION, ServerListHitTest(kGeometry, 220, 156));
  EXPECT_EQ(HTCAPTION, ServerListHitTest(kGeometry, 19, 30));
}

TEST(ClampFirstVisible, NeverShowsRowsPastTheEndNorGoesBelowZero) {
  EXPECT_EQ(2, ClampFirstVisible(5, 6, 4));
  EXPECT_EQ(0, ClampFirstVisible(-1, 6, 4));
  EXPECT_EQ(0, ClampFirstVisible(1, 2, 4));  // a list shorter than the rows
  EXPECT_EQ(0, ClampFirstVisible(0, 0, 4));
}

TEST(MarkDisabledServers, DisablesServersOlderThanTheInstalledGame) {
  ServerList list;
  ASSERT_EQ(1, list.ParseText((std::string("<LocalList>"
                                           "<Local><local_name>a</local_name><lupdate_addr>a</"
                                           "lupdate_addr><current_version>9</current_version>"
                                           "<separate_version>9</separate_version></Local>"
                                           "<Local><local_name>b</local_name><lupdate_addr>b</"
                                           "lupdate_addr><current_version>10</current_version>"
                                           "<separate_version>2</separate_version></Local>"
                                           "<Local><local_name>c</local_name><lupdate_addr>c</"
                                           "lupdate_addr><current_version>10</current_version>"
                                           "<separate_version>3</separate_version></Local>"
                                           "<Local><local_name>d</local_name><lupdate_addr>d</"
                                           "lupdate_addr><current_version>-1</current_version>"
                                           "</Local>") +
                               "<Local><local_name>e</local_name><lupdate_addr>" + std::string(64, 'e') +
                               "</lupdate_addr>"
                               "<current_version>11</current_version></Local></LocalList>")
                                  .c_str()));
  MarkDisabledServers(&list, 10, 3);
  EXPECT_EQ(1, list.records()[0].disabled);
  EXPECT_EQ(1, list.records()[1].disabled);
  EXPECT_EQ(0, list.records()[2].disabled);
  EXPECT_EQ(0, list.records()[3].disabled);  // unsigned: -1 is the newest
  EXPECT_EQ(1, list.records()[4].disabled);  // an address start-up could not load
}

TEST(UpdateServerSelectScrollBar, OnlyThePartConcernedChangesItsLook) {
  using Bar = UpdateServerSelectScrollBar;
  EXPECT_EQ(Bar::kDisabled, Bar::LookOf(Bar::kThumb, false, Bar::kThumb, Bar::kThumb));
  EXPECT_EQ(Bar::kDown, Bar::LookOf(Bar::kThumb, true, Bar::kThumb, Bar::kNone));
  EXPECT_EQ(Bar::kNormal, Bar::LookOf(Bar::kDecrement, true, Bar::kThumb, Bar::kDecrement));
  EXPECT_EQ(Bar::kOver, Bar::LookOf(Bar::kIncrement, true, Bar::kNone, Bar::kIncrement));
  EXPECT_EQ(Bar::kNormal, Bar::LookOf(Bar::kThumb, true, Bar::kNone, Bar::kIncrement));
}

// Colours of the test skin (0xRRGGBB).
constexpr uint32_t kBack = 0x203050, kSelectedBack = 0xC82828, kThumb = 0xE0E0E0;

std::string ServerXml(int count, int disabled_index) {
  std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><LocalList>";
  for (int i = 0; i < count; ++i)
    xml += "<Local><local_name>Server " + std::to_string(i) + "</local_name><lupdate_addr>host" +
           std::to_string(i) + ".example</lupdate_addr><current_version>" +
           std::to_string(i == disabled_index ? 5 : 10) +
           "</current_version><separate_version>0</separate_version>"
           "</Local>";
  return xml + "</LocalList>";
}

class UpdateServerSelectTest : public ::testing::Test {
 protected:
  void SetUp() override {
    curl_global_init(CURL_GLOBAL_ALL);
    ReleaseAllVirtualFiles();
    SetExeFolder(folder_.path().c_str());
    SetLauncherInfoPath(folder_.Join(L"ZEPHLauncherInfo.ini").c_str());
    ASSERT_TRUE(WriteFileBytes(folder_.Join(L"VersionInfo_game.ini"), "[UpdInfo]\r\nCurrentVersion=10\r\n"));
    version_ini_ = folder_.Join(L"VersionInfo_game.ini");
  }
  void TearDown() override {
    ReleaseAllVirtualFiles();
    SetExeFolder(nullptr);
    SetLauncherInfoPath(nullptr);
    SetCurrentUpdateAddr(nullptr);
    curl_global_cleanup();
  }
  std::wstring skin() const { return folder_.Join(L"ZEPHUpdateServerSelect"); }
  void WriteSkin() {
    struct Image {
      const wchar_t* name;
      uint32_t width, height, rgb;
    } images[] = {{L"back.png", 300, 260, kBack},     {L"ok.png", 80, 24, 0x30A030},
                  {L"ok_over.png", 80, 24, 0x40C040}, {L"cancel.png", 80, 24, 0xA03030},
                  {L"dec.png", 16, 16, 0x808080},     {L"inc.png", 16, 16, 0x808080},
                  {L"thumb.png", 16, 20, kThumb},     {L"thumb_off.png", 16, 20, 0x404040}};
    for (const Image& image : images)
      ASSERT_TRUE(
          WriteFileBytes(skin() + L"\\" + image.name, SolidPng(image.width, image.height, image.rgb)));
    ASSERT_TRUE(WriteFileBytes(
        skin() + L"\\UpdateServerSelect.ini",
        Utf16Ini(
            L"[UpdateServerSelectDlg]\r\nwidth=300\r\nheight=260\r\nback=back.png\r\n"
            L"[UpdateServerSelectBtnOK]\r\nx=20\r\ny=220\r\nwidth=80\r\nheight=24\r\nimage_normal=ok.png\r\n"
            L"image_over=ok_over.png\r\nimage_down=ok.png\r\nimage_disabled=ok.png\r\n"
            L"[UpdateServerSelectBtnCancel]\r\nx=120\r\ny=220\r\nwidth=80\r\nheight=24\r\n"
            L"image_normal=cancel.png\r\n"
            L"[UpdateServerSelectList]\r\nbutton_x=20\r\nbutton_y=20\r\nbutton_width=200\r\nbutton_height="
            L"30\r\n"
            L"button_count=4\r\nbutton_gap=5\r\ntext_x=8\r\ntext_y=6\r\nfont_size=16\r\nfont_name=Arial\r\n"
            L"color_normal_text_r=255\r\ncolor_normal_text_g=255\r\ncolor_normal_text_b=255\r\n"
            L"color_selected_back_r=200\r\ncolor_selected_back_g=40\r\ncolor_selected_back_b=40\r\n"
            L"color_selected_border_r=255\r\ncolor_selected_border_g=255\r\n"
            L"color_disabled_text_r=120\r\ncolor_disabled_text_g=120\r\ncolor_disabled_text_b=120\r\n"
            L"[UpdateServerSelectScrollBar]\r\nx=240\r\ny=20\r\nwidth=16\r\nheight=135\r\nbutton_size=16\r\n"
            L"thumb_size=20\r\nvertical=1\r\nthumb_x=0\r\nimage_thumb_normal=thumb.png\r\n"
            L"image_thumb_over=thumb.png\r\nimage_thumb_down=thumb.png\r\nimage_thumb_disabled=thumb_off."
            L"png\r\n"
            L"dec_x=0\r\ndec_y=0\r\nimage_dec_normal=dec.png\r\ninc_x=0\r\ninc_y=119\r\n"
            L"image_inc_normal=inc.png\r\n")));
  }

  TempFolder folder_{L"server-select"};
  std::wstring version_ini_;
};

void Click(HWND window, int x, int y) {
  RECT frame;
  GetWindowRect(window, &frame);
  SetCursorPos(frame.left + x, frame.top + y);
  LPARAM point = MAKELPARAM(x, y);
  SendMessageW(window, WM_MOUSEMOVE, 0, point);
  SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, point);
  SendMessageW(window, WM_LBUTTONUP, 0, point);
}

void Wheel(HWND window, int notches) {
  RECT frame;
  GetWindowRect(window, &frame);
  SendMessageW(window, WM_MOUSEWHEEL, MAKEWPARAM(0, notches * WHEEL_DELTA),
               MAKELPARAM(frame.left + 100, frame.top + 60));
}

TEST_F(UpdateServerSelectTest, ClicksWheelAndArrowsDriveTheList) {
  WriteSkin();
  ServerList list;
  ASSERT_EQ(1, list.ParseText(ServerXml(6, 1).c_str()));
  UpdateServerSelectDialog dialog(&list, skin(), version_ini_);
  ASSERT_TRUE(dialog.LoadSkin());
  PngImage shot;
  INT_PTR modal = RunModalScript(dialog, [&] {
    HWND window = dialog.GetHwnd();
    EXPECT_EQ(1, list.records()[1].disabled);
    EXPECT_EQ(-1, dialog.selected());
    Click(window, 100, 60);  // row 1: the disabled server
    EXPECT_EQ(-1, dialog.selected());
    Click(window, 100, 95);  // row 2
    EXPECT_EQ(2, dialog.selected());
    // The selection reaches the screen with the next frame's repaint.
    EXPECT_TRUE(PumpUntil(
        [&] {
          shot = CaptureWindow(window);
          return PixelAt(shot, 210, 95) == kSelectedBack;
        },
        5000));
    for (int i = 0; i < 5; ++i)
      Wheel(window, -1);
    EXPECT_EQ(2, dialog.first_visible());  // 6 servers, 4 rows
    EXPECT_EQ(2, dialog.scroll_bar().position());
    for (int i = 0; i < 5; ++i)
      Wheel(window, 1);
    EXPECT_EQ(0, dialog.first_visible());
    for (int i = 0; i < 4; ++i)
      Click(window, 248, 20 + 127);  // the increase arrow
    EXPECT_EQ(2, dialog.first_visible());
    Click(window, 248, 20 + 8);  // the decrease arrow
    EXPECT_EQ(1, dialog.first_visible());
    EXPECT_EQ(HTCLIENT, SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(100, 60)));
    Click(window, 160, 232);  // Cancel
  });
  EXPECT_EQ(IDCANCEL, modal);
  ASSERT_EQ(300u, shot.width);
  EXPECT_TRUE(SaveScreenshot(shot, L"update_server_select.png"));
  EXPECT_EQ(kBack, PixelAt(shot, 5, 5));
  EXPECT_EQ(kSelectedBack, PixelAt(shot, 210, 95));  // the selected row, right of its text
  EXPECT_EQ(kBack, PixelAt(shot, 210, 60));          // the disabled row was not selected
  EXPECT_EQ(kThumb, PixelAt(shot, 248, 40));         // the thumb at the top of the track
}

TEST_F(UpdateServerSelectTest, AShortListDisablesTheScrollBarAndASkinWithoutWindowIsRefused) {
  WriteSkin();
  ServerList list;
  ASSERT_EQ(1, list.ParseText(ServerXml(3, -1).c_str()));
  UpdateServerSelectDialog dialog(&list, skin(), version_ini_);
  ASSERT_TRUE(dialog.LoadSkin());
  RunModalScript(dialog, [&] {
    EXPECT_EQ(0, dialog.scroll_bar().enabled());
    Wheel(dialog.GetHwnd(), -1);
    EXPECT_EQ(0, dialog.first_visible());
    dialog.EndModal(IDCANCEL);
  });
  UpdateServerSelectDialog missing(&list, folder_.Join(L"nowhere"), version_ini_);
  EXPECT_FALSE(missing.LoadSkin());
  EXPECT_EQ(-1, missing.DoModal());
}

struct Restarts {
  int count = 0;
  std::wstring command_line;
  std::wstring mutex_name;  // the single-instance mutex to look for at the restart
  bool mutex_open = false;
};
Restarts g_restarts;

int RecordRestart(const wchar_t*, const wchar_t* command_line) {
  ++g_restarts.count;
  g_restarts.command_line = command_line;
  if (!g_restarts.mutex_name.empty()) {
    HANDLE mutex = OpenMutexW(SYNCHRONIZE, FALSE, g_restarts.mutex_name.c_str());
    g_restarts.mutex_open = mutex != nullptr;
    if (mutex != nullptr)
      CloseHandle(mutex);
  }
  return 0;
}

// The first visible window of the thread: the selection dialog while it runs.
BOOL CALLBACK TakeVisibleWindow(HWND candidate, LPARAM found) {
  if (!IsWindowVisible(candidate))
    return TRUE;
  *reinterpret_cast<HWND*>(found) = candidate;
  return FALSE;
}

class SelectUpdateServerTest : public UpdateServerSelectTest {
 protected:
  void SetUp() override {
    UpdateServerSelectTest::SetUp();
    previous_ = SetProcessReplacer(&RecordRestart);
    g_restarts = Restarts();
    ASSERT_TRUE(WriteFileBytes(served_.Join(L"locallist.xml"), ServerXml(3, -1)));
    ASSERT_TRUE(WriteFileBytes(served_.Join(L"script.json"), "{}"));
    ASSERT_TRUE(http_.Start("http_server.py", {"--root", UnixPathOf(served_.path()), "--script",
                                               UnixPathOf(served_.Join(L"script.json"))}));
    SetCurrentUpdateAddr(Utf8ToWide(http_.endpoint()).c_str());
  }
  void TearDown() override {
    SetProcessReplacer(previous_);
    UpdateServerSelectTest::TearDown();
  }
  // Runs the selection; `script` runs inside its dialog once it is shown.
  SelectUpdateServerResult Select(std::function<void(HWND)> script) {
    script_ = std::move(script);
    UINT_PTR timer = SetTimer(nullptr, 0, 50, &SelectUpdateServerTest::OnTimer);
    SelectUpdateServerResult result = SelectUpdateServer();
    KillTimer(nullptr, timer);
    return result;
  }
  static void CALLBACK OnTimer(HWND, UINT, UINT_PTR id, DWORD) {
    HWND window = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &TakeVisibleWindow, reinterpret_cast<LPARAM>(&window));
    if (window == nullptr || !script_)
      return;
    KillTimer(nullptr, id);
    std::function<void(HWND)> run = std::move(script_);
    script_ = nullptr;
    run(window);
  }
  std::wstring Stored(const wchar_t* key) {
    wchar_t text[kLauncherInfoTextUnits];
    std::wstring k(key);
    if (k == L"update_addr")
      ReadLauncherInfoUpdateAddr(text);
    else
      ReadLauncherInfoUpdateName(text);
    return text;
  }

  static std::function<void(HWND)> script_;
  TempFolder served_{L"server-list"};
  FixtureServer http_;
  ProcessReplacer previous_ = nullptr;
};
std::function<void(HWND)> SelectUpdateServerTest::script_;

TEST_F(SelectUpdateServerTest, OkStoresTheChoiceAndRestartsOnlyWhenTheAddressChanged) {
  WriteSkin();
  auto choose_row_1 = [](HWND window) {
    Click(window, 100, 60);
    Click(window, 60, 232);  // OK
  };
  EXPECT_EQ(kServerChosen, Select(choose_row_1));
  EXPECT_EQ(L"host1.example", Stored(L"update_addr"));
  EXPECT_EQ(L"Server 1", Stored(L"update_name"));
  EXPECT_EQ(1, g_restarts.count);
  EXPECT_EQ(std::wstring(GetCommandLineW()), g_restarts.command_line);
  EXPECT_TRUE(FileExists(folder_.Join(L"locallist.xml")));

  WriteLauncherInfoUpdateAddr(L"HOST1.example");  // the same address in another case
  EXPECT_EQ(kServerChosen, Select(choose_row_1));
  EXPECT_EQ(1, g_restarts.count);
  EXPECT_EQ(L"host1.example", Stored(L"update_addr"));

  EXPECT_EQ(kServerNotChosen, Select([](HWND window) { Click(window, 60, 232); }));   // OK without a choice
  EXPECT_EQ(kServerNotChosen, Select([](HWND window) { Click(window, 160, 232); }));  // Cancel
  EXPECT_EQ(1, g_restarts.count);
}

// The restarted launcher must own the single-instance mutex: the one start-up made is closed before the new
// process starts, also when the selection comes from the game list's menu, which calls it directly.
TEST_F(SelectUpdateServerTest, TheRestartClosesTheSingleInstanceMutexFirst) {
  WriteSkin();
  Launcher().LauncherTitle.Assign(L"Orvane restart test");
  ASSERT_EQ(kInstanceMutexCreated, RealStartupSteps().CreateInstanceMutex());
  g_restarts.mutex_name = L"Orvane restart test";
  EXPECT_EQ(kServerChosen, Select([](HWND window) {
              Click(window, 100, 60);
              Click(window, 60, 232);  // OK
            }));
  EXPECT_EQ(1, g_restarts.count);
  EXPECT_FALSE(g_restarts.mutex_open);
  RealStartupSteps().CloseMutex();
  Launcher().LauncherTitle.Assign(L"");
}

// The panel that started a selection goes (the launcher ends, the skin changes) with the list still on its
// way from a server that never answers: the drop ends the download at once, whether it comes before the
// worker has opened the transfer or while the request waits.
TEST_F(SelectUpdateServerTest, DroppingASelectionEndsItsDownloadAtOnceWheneverItComes) {
  ASSERT_TRUE(WriteFileBytes(served_.Join(L"script.json"), R"({"/locallist.xml": {"delay_before": 60}})"));
  for (bool waiting_request : {false, true, false}) {
    ASSERT_TRUE(BeginUpdateServerSelection());
    if (waiting_request) {
      ASSERT_TRUE(testing_support::WaitUntil(5000, [&] {
        std::string requests;
        ReadFileBytes(http_.folder().Join(L"requests.log"), &requests);
        return requests.find("/locallist.xml") != std::string::npos;
      }));
    }
    const DWORD start = GetTickCount();
    CancelUpdateServerSelection();
    EXPECT_LT(GetTickCount() - start, 1000u) << (waiting_request ? "request waiting" : "at once");
    EXPECT_FALSE(UpdateServerListArrived());
  }
}

TEST_F(SelectUpdateServerTest, EachFailureHasItsResult) {
  EXPECT_EQ(kServerDialogFailed, SelectUpdateServer());  // no skin
  ASSERT_TRUE(WriteFileBytes(served_.Join(L"locallist.xml"), ServerXml(2, -1).substr(0, 60)));
  EXPECT_EQ(kServerListUnreadable, SelectUpdateServer());
  ASSERT_TRUE(WriteFileBytes(served_.Join(L"script.json"), R"({"/locallist.xml": {"status": 404}})"));
  EXPECT_EQ(kServerListNotDownloaded, SelectUpdateServer());
  EXPECT_FALSE(FileExists(folder_.Join(L"locallist.xml")));
  EXPECT_EQ(0, g_restarts.count);
}

}  // namespace

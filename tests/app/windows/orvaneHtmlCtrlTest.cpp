// The launcher's web view: the navigation decision as a table, and with the real WebBrowser object in a
// modal dialog: its own navigations pass (the browser reports their start through the sink), clicks,
// redirects and frames go outside through a fake shell, and the extended geometry survives a reload.
#include <ole2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <exdispid.h>

#include <functional>
#include <string>
#include <vector>

#include "app/windows/orvaneHtmlCtrl.h"
#include "tests/app/windows/RecordingShell.h"
#include "tests/ui/browser/BrowserEventArguments.h"
#include "tests/ui/host/HostTestSupport.h"
#include "tests/ui/skin/SkinTestFolder.h"
#include "tests/ui/view/RecordingNode.h"
#include "ui/host/NDialog.h"
#include "ui/skin/SkinListeners.h"

namespace {

using testing_support::EventArguments;
using testing_support::Fire;
using testing_support::HookLog;
using testing_support::RecordingNode;
using testing_support::RunModalScript;

TEST(LauncherWebView, TheNavigationDecision) {
  struct Case {
    int32_t self_navigation;
    const wchar_t* url;
    NavigationDecision decision;
  };
  const Case cases[] = {
      {1, L"http://portal.test/news", NavigationDecision::kLetThrough},
      {1, L"res://ieframe.dll/navcancl.htm", NavigationDecision::kLetThrough},
      {0, L"http://portal.test/news", NavigationDecision::kOpenOutside},
      {0, L"res://ieframe.dll/navcancl.htm", NavigationDecision::kDrop},
      {0, L"res:", NavigationDecision::kDrop},
      {0, L"RES://x", NavigationDecision::kOpenOutside},  // compared with letter case; refused outside anyway
      {0, L"file:///C:/x.exe", NavigationDecision::kOpenOutside},
      {0, L"", NavigationDecision::kOpenOutside},
      {0, nullptr, NavigationDecision::kOpenOutside},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.decision, DecideNavigation(c.self_navigation, c.url)) << (c.url ? c.url : L"(null)");
}

// A web view whose browser can be made to refuse navigations.
class TestWebView : public orvaneHtmlCtrl {
 public:
  ~TestWebView() override { Destroy(); }
  bool refuse = false;

 protected:
  HRESULT BrowserNavigate(const wchar_t* url) override {
    return refuse ? E_FAIL : orvaneHtmlCtrl::BrowserNavigate(url);
  }
};

class LauncherWebViewWindow : public testing_support::SkinTest {
 protected:
  void SetUp() override {
    SkinTest::SetUp();
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    WriteIni(
        L"data\\skin\\skin_info.ini",
        L"[CATEGORY]\r\ncount=1\r\n[CATEGORY_0]\r\nid=launcher\r\npath=common\r\nskin_path=skins\\%s\r\n");
    WriteIni(L"data\\skin\\common\\web.ini",
             L"[BROWSER]\r\nx=10\r\ny=10\r\nwidth=200\r\nheight=100\r\n"
             L"[EXTENDED]\r\nx=0\r\ny=0\r\nwidth=300\r\nheight=200\r\n");
    WriteIni(L"data\\skin\\skins\\big\\web.ini",
             L"[BROWSER]\r\nx=20\r\ny=30\r\nwidth=150\r\nheight=80\r\n"
             L"[EXTENDED]\r\nx=5\r\ny=6\r\nwidth=350\r\nheight=250\r\n");
    ASSERT_EQ(1, SkinLoader::LoadSkinInfo());
    view.SetSkin(L"launcher", L"web");
    view.set_url_shell(&shell);
  }
  void TearDown() override {
    OleUninitialize();
    SkinTest::TearDown();
  }
  // Runs `script` with the view created in a shown dialog.
  void WithView(const std::function<void()>& script) {
    NDialog dialog;
    dialog.Create(400, 300);
    HookLog log;
    RecordingNode panel("panel", &log);
    RunModalScript(dialog, [&] {
      dialog.Resize(400, 300);
      dialog.Show(1, 1);
      ASSERT_TRUE(panel.Place(0, 0, 400, 300, &dialog));
      ASSERT_EQ(1, view.Create(0, 0, 10, 10, 7, &panel));
      ASSERT_NE(nullptr, view.event_sink());
      script();
      dialog.OnOK();
    });
  }
  // The browser's report of a navigation start of `url` from the top-level frame; the cancel flag after it.
  bool BrowserStarts(const wchar_t* url) {
    EventArguments start(view.browser(), url, 4, true);
    Fire(view.event_sink(), DISPID_BEFORENAVIGATE2, start);
    return start.cancel_ != VARIANT_FALSE;
  }

  RecordingShell shell;
  TestWebView view;
};

TEST_F(LauncherWebViewWindow, OwnNavigationsPassAndEverythingElseGoesOutside) {
  WithView([&] {
    // The browser reports the start of our own navigation (here from inside Navigate); it goes through.
    EXPECT_EQ(1, view.Navigate(L"http://127.0.0.1:9/news.html"));
    DWORD until = GetTickCount() + 3000;
    while (view.self_navigation() && GetTickCount() < until) {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
      testing_support::PumpMessages();
    }
    EXPECT_EQ(0, view.self_navigation());
    EXPECT_TRUE(shell.opened.empty());

    // A link the user clicks and a redirect the page starts: cancelled, opened outside, the page stays.
    EXPECT_TRUE(BrowserStarts(L"http://portal.test/item?id=7"));
    EXPECT_TRUE(BrowserStarts(L"http://portal.test/\"redirect"));
    EXPECT_EQ((std::vector<std::wstring>{L"\"http://portal.test/item?id=7\"",
                                         L"\"http://portal.test/%22redirect\""}),
              shell.opened);
    // The browser's own pages are dropped, and links of other schemes never leave.
    EXPECT_TRUE(BrowserStarts(L"res://ieframe.dll/navcancl.htm"));
    EXPECT_TRUE(BrowserStarts(L"file:///C:/Windows/system32/calc.exe"));
    EXPECT_EQ(2u, shell.opened.size());
  });
}

TEST_F(LauncherWebViewWindow, ANavigationThatDoesNotStartLeavesTheNextClickOutside) {
  EXPECT_EQ(0, view.Navigate(L"http://127.0.0.1:9/"));  // no view yet
  EXPECT_EQ(0, view.self_navigation());
  WithView([&] {
    EXPECT_EQ(0, view.Navigate(L""));
    EXPECT_EQ(0, view.self_navigation());
    view.refuse = true;
    EXPECT_EQ(0, view.Navigate(L"http://127.0.0.1:9/"));
    EXPECT_EQ(0, view.self_navigation());
    EXPECT_TRUE(BrowserStarts(L"http://portal.test/click"));
    EXPECT_EQ((std::vector<std::wstring>{L"\"http://portal.test/click\""}), shell.opened);
  });
}

TEST_F(LauncherWebViewWindow, AReloadWhileExtendedKeepsItExtendedWithTheNewGeometry) {
  WithView([&] {
    EXPECT_EQ(10, view.x());
    EXPECT_EQ(200, view.width());
    EXPECT_EQ(10, view.normal_geometry().x);
    EXPECT_EQ(100, view.normal_geometry().height);
    EXPECT_EQ(300, view.extended_geometry().width);

    view.set_extended(1);
    SetCurrentSkin(L"big");
    BroadcastSkinChange();
    EXPECT_EQ(20, view.normal_geometry().x);
    EXPECT_EQ(30, view.normal_geometry().y);
    EXPECT_EQ(150, view.normal_geometry().width);
    EXPECT_EQ(80, view.normal_geometry().height);
    EXPECT_EQ(5, view.x());
    EXPECT_EQ(6, view.y());
    EXPECT_EQ(350, view.width());
    EXPECT_EQ(250, view.height());
    RECT client = {};
    GetClientRect(view.window_handle(), &client);
    EXPECT_EQ(350, client.right);

    // A skin without BROWSER fails the load and the view keeps its geometry.
    WriteIni(L"data\\skin\\skins\\bare\\web.ini", L"[EXTENDED]\r\nwidth=10\r\nheight=10\r\n");
    SetCurrentSkin(L"bare");
    BroadcastSkinChange();
    EXPECT_EQ(350, view.width());
  });
}

}  // namespace

// The web-browser host with the real WebBrowser object, in a modal dialog on the test display. Under Wine
// here the object is made, in-place activated and takes navigations, but no HTML engine is installed: no
// page renders and no document or script arrives (those are tested through the host's own interfaces in
// tests/ui/browser/HtmlHostTest.cpp). Also the screenshot of an edit beside a browser host.
#include <windows.h>
// After windows.h, which they need.
#include <mshtmhst.h>
#include <ole2.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <new>
#include <string>
#include <vector>

#include "tests/support/TempFolder.h"
#include "tests/support/WindowCapture.h"
#include "tests/support/WinePaths.h"
#include "tests/ui/gfx/TestImages.h"
#include "tests/ui/host/HostTestSupport.h"
#include "tests/ui/view/RecordingNode.h"
#include "ui/browser/CHtmlHostSite.h"
#include "ui/browser/ComPtr.h"
#include "ui/browser/NHtmlCtrl.h"
#include "ui/gfx/Dib.h"
#include "ui/host/NDialog.h"
#include "ui/host/NEdit.h"

namespace {

using testing_support::HookLog;
using testing_support::RecordingNode;
using testing_support::RunModalScript;

// A browser host that records its browser calls, events and hooks.
class RecordingHtml : public NHtmlCtrl {
 public:
  ~RecordingHtml() override { Destroy(); }
  int32_t create_result = 1;
  bool report_busy = false;
  std::vector<std::wstring> calls;
  int destroys = 0;

  int32_t OnCreate() override { return create_result; }
  void OnDestroy() override { ++destroys; }
  void OnBeforeNavigate2(const wchar_t* url, const wchar_t* frame, bool top_level, BOOL* cancel) override {
    calls.push_back(std::wstring(L"before ") + url + (top_level ? L" top" : L" frame"));
    NHtmlCtrl::OnBeforeNavigate2(url, frame, top_level, cancel);
  }

 protected:
  bool BrowserBusy() override {
    calls.push_back(L"busy");
    return report_busy || NHtmlCtrl::BrowserBusy();
  }
  void BrowserStop() override {
    calls.push_back(L"stop");
    NHtmlCtrl::BrowserStop();
  }
  HRESULT BrowserNavigate(const wchar_t* url) override {
    calls.push_back(std::wstring(L"navigate ") + url);
    return NHtmlCtrl::BrowserNavigate(url);
  }
};

class RealBrowser : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr))); }
  void TearDown() override { OleUninitialize(); }
};

// A dialog painted in one opaque colour (children are blended onto it).
class PaintedDialog : public NDialog {
 public:
  void OnPaint(HDC, Dib* surface) override {
    if (surface != nullptr)
      surface->FillRect(RECT{0, 0, surface->width(), surface->height()}, 0xFFD8DCE4);
  }
};

// A dialog of 420 x 260 with a shown panel at (10, 20) that covers most of it.
struct BrowserScene {
  HookLog log;
  PaintedDialog dialog;
  RecordingNode panel{"panel", &log, 0xFFB4C0D4};
  BrowserScene() { dialog.Create(420, 260); }
  void Open() {
    dialog.Resize(420, 260);
    dialog.Show(1, 1);
    ASSERT_TRUE(panel.Place(10, 20, 400, 230, &dialog));
  }
  // The rectangle of `window` in the dialog's client area.
  RECT InDialog(HWND window) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, dialog.window_handle(), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
  }
};

void PumpFor(DWORD milliseconds, const std::function<bool()>& done) {
  DWORD until = GetTickCount() + milliseconds;
  while (!done() && GetTickCount() < until) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    testing_support::PumpMessages();
  }
}

TEST_F(RealBrowser, TheObjectHoldsOurSiteAndItsSinkAndTakesANavigation) {
  BrowserScene scene;
  RecordingHtml html;
  RunModalScript(scene.dialog, [&] {
    scene.Open();
    ASSERT_EQ(1, html.Create(5, 6, 200, 150, 300, &scene.panel));
    EXPECT_EQ(0, html.visible());  // the view starts hidden
    html.Show(1, 0);
    ASSERT_NE(nullptr, html.browser());
    EXPECT_EQ(1, html.is_control());
    EXPECT_NE(nullptr, html.event_sink());

    // The object's client site is the one our manager made, which answers with this node's handler.
    ComPtr<IOleObject> object = ComPtr<IWebBrowser2>::Share(html.browser()).As<IOleObject>();
    ASSERT_TRUE(object);
    ComPtr<IOleClientSite> site;
    ASSERT_EQ(S_OK, object->GetClientSite(site.Receive()));
    CHtmlHostSite* ours = html.site_manager()->last_site();
    EXPECT_EQ(static_cast<IOleClientSite*>(ours), site.get());
    EXPECT_EQ(static_cast<CHtmlHostHandler*>(&html), ours->handler());

    // The view and the browser's window inside it.
    HWND view = html.window_handle();
    wchar_t class_name[64] = L"";
    GetClassNameW(view, class_name, 64);
    EXPECT_STREQ(L"CCustomHtmlCtrl", class_name);
    RECT rect = scene.InDialog(view);
    EXPECT_EQ(15, rect.left);
    EXPECT_EQ(26, rect.top);
    HWND inner = html.BrowserWindow();
    ASSERT_NE(nullptr, inner);
    RECT client = {};
    GetWindowRect(inner, &client);
    EXPECT_EQ(200, client.right - client.left);
    EXPECT_EQ(150, client.bottom - client.top);

    // A navigation to a loopback address is taken (nothing renders here), and the browser reports its start
    // through our sink as a top-level navigation.
    html.calls.clear();
    EXPECT_EQ(1, html.Navigate(L"http://127.0.0.1:9/none.html"));
    PumpFor(3000, [&] { return html.calls.size() >= 3; });
    EXPECT_EQ((std::vector<std::wstring>{L"busy", L"navigate http://127.0.0.1:9/none.html",
                                         L"before http://127.0.0.1:9/none.html top"}),
              html.calls);

    // A resize fits the browser's window to the view.
    html.Resize(240, 120);
    GetWindowRect(inner, &client);
    EXPECT_EQ(240, client.right - client.left);
    EXPECT_EQ(120, client.bottom - client.top);
    EXPECT_EQ(240, html.width());
    scene.dialog.OnOK();
  });
  EXPECT_EQ(0, html.created());
  EXPECT_EQ(1, html.destroys);
  EXPECT_EQ(nullptr, html.browser());
}

TEST_F(RealBrowser, AnEmptyUrlMakesNoBrowserCallAndABusyBrowserIsStoppedFirst) {
  BrowserScene scene;
  RecordingHtml html;
  EXPECT_EQ(0, html.Navigate(L"http://127.0.0.1:9/"));  // not created
  RunModalScript(scene.dialog, [&] {
    scene.Open();
    ASSERT_EQ(1, html.Create(5, 6, 200, 150, 300, &scene.panel));
    html.calls.clear();
    EXPECT_EQ(0, html.Navigate(L""));
    EXPECT_EQ(0, html.Navigate(nullptr));
    EXPECT_TRUE(html.calls.empty());
    html.report_busy = true;
    EXPECT_EQ(1, html.Navigate(L"http://127.0.0.1:9/a"));
    html.calls.resize(3);  // (the browser's own report of the start follows)
    EXPECT_EQ((std::vector<std::wstring>{L"busy", L"stop", L"navigate http://127.0.0.1:9/a"}), html.calls);
    scene.dialog.OnOK();
  });
}

TEST_F(RealBrowser, ThePanelMovesAndHidesTheBrowser) {
  BrowserScene scene;
  RecordingHtml html;
  RunModalScript(scene.dialog, [&] {
    scene.Open();
    ASSERT_EQ(1, html.Create(5, 6, 200, 150, 300, &scene.panel));
    html.Show(1, 0);
    HWND view = html.window_handle();
    scene.panel.Move(40, 30);
    RECT rect = scene.InDialog(view);
    EXPECT_EQ(45, rect.left);
    EXPECT_EQ(36, rect.top);
    EXPECT_EQ(5, html.x());

    // The window moved from outside: the node follows.
    SetWindowPos(view, nullptr, 50, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(10, html.x());
    EXPECT_EQ(10, html.y());

    scene.panel.Show(0, 0);
    scene.dialog.Update();
    EXPECT_FALSE(IsWindowVisible(view));
    EXPECT_EQ(1, html.visible());
    scene.panel.Show(1, 0);
    scene.dialog.Update();
    EXPECT_TRUE(IsWindowVisible(view));
    html.Show(0, 0);
    EXPECT_FALSE(IsWindowVisible(view));
    scene.dialog.OnOK();
  });
}

TEST_F(RealBrowser, ASiteHeldAfterTheNodeIsDeletedAnswersTheDefaults) {
  BrowserScene scene;
  alignas(RecordingHtml) unsigned char storage[sizeof(RecordingHtml)];
  RecordingHtml* html = new (storage) RecordingHtml();
  ComPtr<IDocHostUIHandler> host;
  ComPtr<IDocHostShowUI> show;
  RunModalScript(scene.dialog, [&] {
    scene.Open();
    ASSERT_EQ(1, html->Create(5, 6, 200, 150, 300, &scene.panel));
    CHtmlHostSite* site = html->site_manager()->last_site();
    ASSERT_EQ(S_OK, site->QueryInterface(__uuidof(IDocHostUIHandler), host.ReceiveVoid()));
    ASSERT_EQ(S_OK, site->QueryInterface(__uuidof(IDocHostShowUI), show.ReceiveVoid()));
    html->~RecordingHtml();
    std::memset(storage, 0xDD, sizeof(storage));  // any use of the node now crashes
    EXPECT_EQ(nullptr, scene.panel.children().head());
    DOCHOSTUIINFO info = {};
    info.cbSize = sizeof(info);
    EXPECT_EQ(S_OK, host->GetHostInfo(&info));
    EXPECT_EQ(0x4002Du, info.dwFlags);
    EXPECT_EQ(S_OK, host->ShowContextMenu(0, nullptr, nullptr, nullptr));
    POINT point = {0, 0};
    EXPECT_EQ(E_NOTIMPL, show->ShowHelp(nullptr, nullptr, 0, 0, point, nullptr));
    ComPtr<IOleInPlaceSite> in_place = host.As<IOleInPlaceSite>();
    ASSERT_TRUE(in_place);
    HWND window = reinterpret_cast<HWND>(1);
    EXPECT_EQ(E_FAIL, in_place->GetWindow(&window));
    EXPECT_EQ(nullptr, window);
    scene.dialog.OnOK();
  });
}

TEST_F(RealBrowser, OnCreateAnsweringZeroFailsTheCreationAndLeavesNothing) {
  BrowserScene scene;
  RecordingHtml html;
  html.create_result = 0;
  RunModalScript(scene.dialog, [&] {
    scene.Open();
    HookLog log;
    RecordingNode loose("loose", &log);
    EXPECT_EQ(0, html.Create(0, 0, 50, 50, 1, nullptr));
    EXPECT_EQ(0, html.Create(0, 0, 50, 50, 1, &loose));
    int windows = Window::BoundWindowCount();
    EXPECT_EQ(0, html.Create(5, 6, 200, 150, 300, &scene.panel));
    EXPECT_EQ(0, html.created());
    EXPECT_EQ(nullptr, html.window_handle());
    EXPECT_EQ(nullptr, html.browser());
    EXPECT_EQ(nullptr, html.parent());
    EXPECT_EQ(nullptr, scene.panel.children().head());
    EXPECT_EQ(windows, Window::BoundWindowCount());
    EXPECT_EQ(nullptr, FindWindowExW(scene.dialog.window_handle(), nullptr, L"CCustomHtmlCtrl", nullptr));
    EXPECT_EQ(0, html.CallScript(L"Show", nullptr));

    html.create_result = 1;
    ASSERT_EQ(1, html.Create(5, 6, 200, 150, 300, &scene.panel));
    EXPECT_NE(nullptr, html.browser());
    scene.dialog.OnOK();
  });
}

TEST_F(RealBrowser, ScreenshotOfTypedTextInAnEditBesideABrowserHost) {
  BrowserScene scene;
  NEdit edit;
  RecordingHtml html;
  RunModalScript(scene.dialog, [&] {
    scene.Open();
    ASSERT_EQ(1, edit.Create(10, 10, 160, 24, 100, &scene.panel, WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL));
    ASSERT_EQ(1, html.Create(180, 10, 210, 200, 300, &scene.panel));
    html.Show(1, 0);
    html.Navigate(L"http://127.0.0.1:9/news.html");
    edit.SetFocus();
    for (const char* key = "TYPED TEXT"; *key != '\0'; ++key) {
      PostMessageW(edit.window_handle(), WM_KEYDOWN, static_cast<WPARAM>(*key), 1);
      PostMessageW(edit.window_handle(), WM_KEYUP, static_cast<WPARAM>(*key), 0xC0000001);
    }
    PumpFor(3000, [&] { return edit.GetText() != nullptr && std::wstring(edit.GetText()).size() == 10; });
    EXPECT_STREQ(L"typed text", edit.GetText());
    RedrawWindow(scene.dialog.window_handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
    // The panel shows around the two hosts once the repaint has reached the screen, and the browser's
    // window covers its part of the panel.
    testing_support::PngImage shot;
    EXPECT_TRUE(testing_support::PumpUntil(
        [&] {
          shot = testing_support::CaptureWindow(scene.dialog.window_handle());
          return testing_support::PixelAt(shot, 20, 200) == 0xB4C0D4u;
        },
        5000));
    EXPECT_NE(0xB4C0D4u, testing_support::PixelAt(shot, 300, 130));
    EXPECT_TRUE(testing_support::SaveScreenshot(shot, L"edit_and_browser_hosts.png"));
    scene.dialog.OnOK();
  });
}

}  // namespace

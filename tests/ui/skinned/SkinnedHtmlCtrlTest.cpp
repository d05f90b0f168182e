// The skinned web view with the real WebBrowser object in a modal dialog: placed by its BROWSER section,
// refused without a size, placed anew on a skin change.
#include <ole2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "tests/ui/host/HostTestSupport.h"
#include "tests/ui/skin/SkinTestFolder.h"
#include "tests/ui/view/RecordingNode.h"
#include "ui/host/NDialog.h"
#include "ui/skin/SkinListeners.h"
#include "ui/skinned/SkinnedHtmlCtrl.h"
#include "ui/view/NotifyCodes.h"

namespace {

using testing_support::HookLog;
using testing_support::RecordingNode;
using testing_support::RunModalScript;

class SkinnedHtmlCtrlTest : public testing_support::SkinTest {
 protected:
  void SetUp() override {
    SkinTest::SetUp();
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    WriteIni(L"data\\skin\\skin_info.ini",
             L"[CATEGORY]\r\ncount=2\r\n[CATEGORY_0]\r\nid=main\r\npath=common\r\nskin_path=skins\\%s\r\n"
             L"[CATEGORY_1]\r\nid=fixed\r\npath=common\r\nskin_path=skins\\%s\r\nskin_change=0\r\n");
    ASSERT_EQ(1, SkinLoader::LoadSkinInfo());
  }
  void TearDown() override {
    OleUninitialize();
    SkinTest::TearDown();
  }
  // Runs `script` in a shown dialog of 400 x 300 with a panel at (10, 20).
  void InDialog(const std::function<void(NDialog&, NWnd&)>& script) {
    NDialog dialog;
    dialog.Create(400, 300);
    HookLog log;
    RecordingNode panel("panel", &log);
    RunModalScript(dialog, [&] {
      dialog.Resize(400, 300);
      dialog.Show(1, 1);
      ASSERT_TRUE(panel.Place(10, 20, 380, 270, &dialog));
      script(dialog, panel);
      dialog.OnOK();
    });
  }
  // The rectangle of `window` in `parent`'s client area as "left,top,right,bottom".
  static std::string InWindow(HWND window, HWND parent) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return std::to_string(rect.left) + "," + std::to_string(rect.top) + "," + std::to_string(rect.right) +
           "," + std::to_string(rect.bottom);
  }
};

TEST_F(SkinnedHtmlCtrlTest, TheBrowserSectionPlacesTheViewAndASkinChangePlacesItAnew) {
  WriteIni(L"data\\skin\\common\\news.ini", L"[BROWSER]\r\nx=30\r\ny=40\r\nwidth=200\r\nheight=100\r\n");
  WriteIni(L"data\\skin\\skins\\wide\\news.ini", L"[BROWSER]\r\nx=5\r\ny=6\r\nwidth=300\r\nheight=120\r\n");
  InDialog([&](NDialog& dialog, NWnd& panel) {
    SkinnedHtmlCtrl news;
    SkinnedHtmlCtrl fixed;
    news.SetSkin(L"main", L"news");
    fixed.SetSkin(L"fixed", L"news");
    ASSERT_EQ(1, news.Create(0, 0, 10, 10, 5, &panel));
    ASSERT_EQ(1, fixed.Create(0, 0, 10, 10, 6, &panel));
    EXPECT_EQ(2, SkinListenerCount());
    EXPECT_EQ("40,60,240,160", InWindow(news.window_handle(), dialog.window_handle()));
    EXPECT_EQ(30, news.x());
    EXPECT_EQ(200, news.width());
    ASSERT_NE(nullptr, news.BrowserWindow());
    RECT inner = {};
    GetClientRect(news.BrowserWindow(), &inner);
    EXPECT_EQ(200, inner.right);
    EXPECT_EQ(100, inner.bottom);

    SetCurrentSkin(L"wide");
    BroadcastSkinChange();
    EXPECT_EQ("15,26,315,146", InWindow(news.window_handle(), dialog.window_handle()));
    EXPECT_EQ(300, news.width());
    EXPECT_EQ(120, news.height());
    // skin_change 0 keeps the first look, and the notification counts as handled.
    EXPECT_EQ("40,60,240,160", InWindow(fixed.window_handle(), dialog.window_handle()));
    EXPECT_EQ(1, fixed.OnNotify(NOTIFY_SKIN_CHANGED, 0, 0));
    EXPECT_EQ(0, news.OnNotify(NOTIFY_CLICKED, 0, 0));
  });
  EXPECT_EQ(0, SkinListenerCount());
}

TEST_F(SkinnedHtmlCtrlTest, ASizeBelowOneFailsTheCreationAndLeavesNothing) {
  WriteIni(L"data\\skin\\common\\flat.ini", L"[BROWSER]\r\nwidth=0\r\nheight=10\r\n");
  WriteIni(L"data\\skin\\common\\tall.ini", L"[BROWSER]\r\nwidth=10\r\n");
  WriteIni(L"data\\skin\\common\\none.ini", L"[BACK]\r\nwidth=10\r\nheight=10\r\n");
  InDialog([&](NDialog& dialog, NWnd& panel) {
    for (const wchar_t* name : {L"flat", L"tall", L"none", L"missing"}) {
      SkinnedHtmlCtrl view;
      view.SetSkin(L"main", name);
      EXPECT_EQ(0, view.Create(0, 0, 10, 10, 5, &panel)) << name;
      EXPECT_EQ(0, view.created());
      EXPECT_EQ(nullptr, view.window_handle());
      EXPECT_EQ(nullptr, panel.children().head());
      EXPECT_EQ(0, SkinListenerCount());
      EXPECT_EQ(nullptr, FindWindowExW(dialog.window_handle(), nullptr, L"CCustomHtmlCtrl", nullptr));
    }
  });
}

}  // namespace

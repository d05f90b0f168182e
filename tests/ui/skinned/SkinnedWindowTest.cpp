// The skin mix-in and the skinned windows: loading BACK, failed creations, skin changes and what a reload
// gives back. Pop-ups and dialogs open real windows.
#include <gtest/gtest.h>

#include <string>

#include "tests/ui/gfx/TestImages.h"
#include "tests/ui/host/HostTestSupport.h"
#include "tests/ui/skin/SkinTestFolder.h"
#include "tests/ui/view/RecordingNode.h"
#include "ui/gfx/Dib.h"
#include "ui/skin/SkinListeners.h"
#include "ui/skinned/SkinnedDialog.h"
#include "ui/skinned/SkinnedWnd.h"
#include "ui/view/NotifyCodes.h"

namespace {

using testing_support::BmpBytes;
using testing_support::BmpFields;

class SkinnedWindowTest : public testing_support::SkinTest {
 protected:
  void SetUp() override {
    SkinTest::SetUp();
    WriteIni(L"data\\skin\\skin_info.ini",
             L"[CATEGORY]\r\ncount=2\r\n[CATEGORY_0]\r\nid=main\r\npath=common\r\nskin_path=skins\\%s\r\n"
             L"[CATEGORY_1]\r\nid=fixed\r\npath=common\r\nskin_path=skins\\%s\r\nskin_change=0\r\n");
    ASSERT_EQ(1, SkinLoader::LoadSkinInfo());
  }
  // A width x height 24-bit BMP of one colour (0xRRGGBB), with `key_rows` top rows in `key` instead.
  void WriteImage(const std::wstring& relative,
                  int32_t width,
                  int32_t height,
                  uint32_t colour,
                  int32_t key_rows = 0,
                  uint32_t key = 0) {
    BmpFields fields;
    fields.width = width;
    fields.height = height;
    std::string data;
    for (int32_t y = height - 1; y >= 0; --y) {
      std::string row;
      uint32_t pixel = y < key_rows ? key : colour;
      for (int32_t x = 0; x < width; ++x)
        row += std::string{static_cast<char>(pixel), static_cast<char>(pixel >> 8),
                           static_cast<char>(pixel >> 16)};
      row.resize((row.size() + 3) & ~size_t{3}, '\0');
      data += row;
    }
    Write(L"data\\skin\\" + relative, BmpBytes(fields, data));
  }
};

TEST_F(SkinnedWindowTest, AMissingSizeFailsTheCreationAndLeavesNoListener) {
  WriteIni(L"data\\skin\\common\\flat.ini", L"[BACK]\r\nwidth=0\r\nheight=10\r\n");
  WriteIni(L"data\\skin\\common\\tall.ini", L"[BACK]\r\nwidth=10\r\n");
  for (const wchar_t* name : {L"flat", L"tall", L"missing"}) {
    SkinnedWnd panel;
    panel.SetSkin(L"main", name);
    EXPECT_EQ(0, panel.Create(0, 0, 1, 1, 1, nullptr)) << name;
    EXPECT_EQ(0, SkinListenerCount()) << name;
    SkinnedPopup popup;
    popup.SetSkin(L"main", name);
    EXPECT_EQ(0, popup.CreatePopup(0, 0, 1, 1, nullptr, 0)) << name;
    EXPECT_EQ(0, SkinListenerCount()) << name;
  }
}

TEST_F(SkinnedWindowTest, APanelPaintsItsImageAndFillsWhatItDoesNotCoverWithTheBackColour) {
  WriteImage(L"common\\half.bmp", 4, 2, 0x102030);
  // 256 + 18 keeps its low 8 bits.
  WriteIni(L"data\\skin\\common\\panel.ini",
           L"[BACK]\r\nx=5\r\ny=6\r\nwidth=8\r\nheight=2\r\nback=half.bmp\r\nback_color_r=274\r\nback_color_"
           L"b=1\r\n");
  WriteIni(L"data\\skin\\common\\plain.ini",
           L"[BACK]\r\nwidth=3\r\nheight=1\r\nback=nowhere.bmp\r\nback_color_g=2\r\n");
  testing_support::HookLog log;
  testing_support::RecordingNode root("root", &log);
  ASSERT_TRUE(root.Place(0, 0, 50, 50, nullptr));
  SkinnedWnd panel;
  panel.SetSkin(L"main", L"panel");
  ASSERT_EQ(1, panel.Create(0, 0, 1, 1, 1, &root));
  panel.Show(1, 0);
  EXPECT_EQ(5, panel.x());
  EXPECT_EQ(8, panel.width());
  EXPECT_EQ(1, SkinListenerCount());
  panel.Draw(nullptr, root.surface(), 0);
  EXPECT_EQ(0xFF102030u, panel.surface()->Row(0)[3]);
  EXPECT_EQ(0xFF120001u, panel.surface()->Row(0)[4]);

  SkinnedWnd plain;
  plain.SetSkin(L"main", L"plain");
  ASSERT_EQ(1, plain.Create(0, 0, 1, 1, 2, &root));
  plain.Show(1, 0);
  EXPECT_EQ(nullptr, plain.background().image());
  plain.Draw(nullptr, root.surface(), 0);
  EXPECT_EQ(0xFF000200u, plain.surface()->Row(0)[2]);
  panel.Destroy();
  plain.Destroy();
  EXPECT_EQ(0, SkinListenerCount());
}

TEST_F(SkinnedWindowTest, ASkinChangeReloadsAndGivesTheOldImagesBack) {
  WriteImage(L"common\\back.bmp", 4, 4, 0x111111);
  WriteImage(L"skins\\blue\\back.bmp", 4, 4, 0x0000FF);
  WriteIni(L"data\\skin\\common\\panel.ini", L"[BACK]\r\nwidth=4\r\nheight=4\r\nback=back.bmp\r\n");
  int live_before = Dib::LiveImages().count();
  {
    SkinnedWnd panel, fixed;
    panel.SetSkin(L"main", L"panel");
    fixed.SetSkin(L"fixed", L"panel");
    ASSERT_EQ(1, panel.Create(0, 0, 1, 1, 1, nullptr));
    ASSERT_EQ(1, fixed.Create(0, 0, 1, 1, 2, nullptr));
    Dib* first = panel.background().image();
    ASSERT_NE(nullptr, first);
    for (const wchar_t* skin : {L"blue", L"", L"blue", L""}) {
      SetCurrentSkin(skin);
      BroadcastSkinChange();
    }
    SetCurrentSkin(L"blue");
    BroadcastSkinChange();
    ASSERT_NE(nullptr, panel.background().image());
    EXPECT_EQ(0xFF0000FFu, panel.background().image()->Row(0)[0]);
    EXPECT_EQ(first, fixed.background().image());  // skin_change 0 keeps the first look, and is handled
    EXPECT_EQ(1, fixed.OnNotify(NOTIFY_SKIN_CHANGED, 0, 0));
    // Two windows, two images, surfaces included: nothing piled up.
    EXPECT_EQ(live_before + 4, Dib::LiveImages().count());
  }
  EXPECT_EQ(live_before, Dib::LiveImages().count());
  EXPECT_EQ(0, SkinListenerCount());
}

TEST_F(SkinnedWindowTest, ADialogTakesItsSizeAndShapeFromItsBackground) {
  // 20 x 10 with the top 3 rows in the magenta key.
  WriteImage(L"common\\dialog.bmp", 20, 10, 0x336699, 3, 0xFF00FF);
  WriteIni(L"data\\skin\\common\\dialog.ini",
           L"[BACK]\r\nwidth=20\r\nheight=10\r\nback=dialog.bmp\r\ncolorkey_r=255\r\ncolorkey_b=511\r\n");
  WriteIni(L"data\\skin\\common\\bare.ini", L"[BACK]\r\nwidth=20\r\nheight=10\r\nback=nowhere.bmp\r\n");
  struct CountingDialog : SkinnedDialog {
    ~CountingDialog() override { Destroy(); }
    int loads = 0;
    void OnSkinLoaded() override { ++loads; }
  } dialog;
  dialog.SetSkin(L"main", L"dialog");
  testing_support::RunModalScript(dialog, [&] {
    EXPECT_EQ(2, dialog.loads);
    EXPECT_EQ(20, dialog.width());
    RECT rect;
    GetWindowRect(dialog.window_handle(), &rect);
    EXPECT_EQ(20, rect.right - rect.left);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(ERROR, GetWindowRgn(dialog.window_handle(), region));
    EXPECT_FALSE(PtInRegion(region, 5, 1));  // a key row lies outside the window
    EXPECT_TRUE(PtInRegion(region, 5, 5));
    DeleteObject(region);
    dialog.OnOK();
  });

  SkinnedDialog bare;
  bare.SetSkin(L"main", L"bare");
  EXPECT_EQ(-1, bare.DoModal());
  EXPECT_EQ(0, SkinListenerCount());
}

}  // namespace

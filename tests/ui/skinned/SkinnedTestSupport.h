// Shared by the skinned-control tests: a skin tree with one category "main" (its font set, also named
// "main", loaded from "fonts.ini"), a clock and pointer that the test sets (FrameInputs.h), waiting for a
// condition while the messages are pumped, and screen captures saved as build/screenshots/<name>.png.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "tests/support/TempFolder.h"
#include "tests/support/WindowCapture.h"
#include "tests/support/WinePaths.h"
#include "tests/ui/gfx/TestImages.h"
#include "tests/ui/host/HostTestSupport.h"
#include "tests/ui/skin/SkinTestFolder.h"
#include "ui/base/IniStringContainer.h"
#include "ui/gfx/Dib.h"
#include "ui/skin/NFontManager.h"
#include "ui/skin/SkinLoader.h"
#include "ui/skinned/FrameInputs.h"
#include "ui/view/NWnd.h"

namespace testing_support {

// The fonts of every skinned-control test: "body" for labels, "small" for tips.
inline const wchar_t* SkinnedTestFonts() {
  return L"[FONT]\r\ncount=2\r\ncolorkey_r=255\r\ncolorkey_g=0\r\ncolorkey_b=255\r\n"
         L"[FONT_0]\r\nid=body\r\nsize=-13\r\nname=Tahoma\r\n"
         L"[FONT_1]\r\nid=small\r\nsize=-11\r\nname=Tahoma\r\n";
}

// The test's clock and pointer, read by the controls through FrameInputs while a test runs.
struct FakeFrameInputs {
  static uint32_t& now() {
    static uint32_t value = 0;
    return value;
  }
  static POINT& pointer() {
    static POINT value = {0, 0};
    return value;
  }
  static FrameInputs Inputs() {
    FrameInputs inputs;
    inputs.tick_count = [] { return now(); };
    inputs.cursor_pos = [](POINT* out) {
      *out = pointer();
      return true;
    };
    return inputs;
  }
};

class SkinnedFixture : public SkinTest {
 protected:
  void SetUp() override {
    SkinTest::SetUp();
    WriteIni(L"data\\skin\\skin_info.ini",
             L"[CATEGORY]\r\ncount=1\r\n[CATEGORY_0]\r\nid=main\r\npath=common\r\nskin_path=skins\\%s\r\n");
    ASSERT_EQ(1, SkinLoader::LoadSkinInfo());
    WriteIni(L"data\\skin\\common\\fonts.ini", SkinnedTestFonts());
    std::unique_ptr<IniStringContainer> fonts(LoadControlSkinIni(FindSkinCategory(L"main"), L"fonts"));
    ASSERT_NE(nullptr, fonts);
    ASSERT_EQ(1, LoadSkinFonts(L"main", fonts.get()));
    FakeFrameInputs::now() = 100000;
    FakeFrameInputs::pointer() = POINT{0, 0};
    inputs_.reset(new ScopedFrameInputs(FakeFrameInputs::Inputs()));
  }
  void TearDown() override {
    inputs_.reset();
    RemoveAllFontManagers();
    SkinTest::TearDown();
  }
  void WriteSkin(const wchar_t* name, const std::wstring& text) {
    WriteIni(std::wstring(L"data\\skin\\common\\") + name + L".ini", text);
  }

  std::unique_ptr<ScopedFrameInputs> inputs_;
};

// Pumps messages until `done` holds or `timeout_ms` passed; whether it held.
inline bool PumpUntil(const std::function<bool()>& done, DWORD timeout_ms = 5000) {
  DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > timeout_ms)
      return false;
    PumpMessages();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return true;
}

// A surface pixel (x, y) from the top, as 0xAARRGGBB.
inline uint32_t SurfacePixel(const NWnd& node, int32_t x, int32_t y) {
  return node.surface()->Row(y)[x];
}

}  // namespace testing_support

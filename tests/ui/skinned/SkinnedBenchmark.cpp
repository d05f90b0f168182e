// Frame times of the animated skinned controls, headless (their nodes are created without windows and
// drawn into an off-screen target): a seven-row popup menu whose hovered row changes on every frame, and
// the notice ticker scrolling a wide notice sideways and changing notices (33 ms frames on a simulated
// clock). Prints the median and the worst of 2000 frames against the 33 ms frame budget.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "ui/base/IniStringContainer.h"
#include "ui/base/VirtualFile.h"
#include "ui/gfx/Dib.h"
#include "ui/skin/NFontManager.h"
#include "ui/skin/SkinLoader.h"
#include "ui/skinned/FrameInputs.h"
#include "ui/skinned/NoticeWnd.h"
#include "ui/skinned/SkinnedPopupMenu.h"

namespace {

bool WriteUtf16(const std::wstring& path, const std::wstring& text) {
  std::string bytes = "\xFF\xFE";
  for (wchar_t unit : text) {
    bytes.push_back(static_cast<char>(unit & 0xFF));
    bytes.push_back(static_cast<char>((unit >> 8) & 0xFF));
  }
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    return false;
  DWORD written = 0;
  bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
            written == bytes.size();
  CloseHandle(file);
  return ok;
}

// A skin tree in a fresh temporary folder, made the current folder.
bool MakeSkin() {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  std::wstring root = std::wstring(temp) + L"orvane_bench_skinned_" + std::to_wstring(GetCurrentProcessId());
  for (const std::wstring& folder :
       {root, root + L"\\data", root + L"\\data\\skin", root + L"\\data\\skin\\common"})
    CreateDirectoryW(folder.c_str(), nullptr);
  if (!SetCurrentDirectoryW(root.c_str()))
    return false;
  const std::wstring common = L"data\\skin\\common\\";
  return WriteUtf16(
             L"data\\skin\\skin_info.ini",
             L"[CATEGORY]\r\ncount=1\r\n[CATEGORY_0]\r\nid=main\r\npath=common\r\nskin_path=skins\\%s\r\n") &&
         WriteUtf16(common + L"fonts.ini",
                    L"[FONT]\r\ncount=1\r\ncolorkey_r=255\r\ncolorkey_b=255\r\n"
                    L"[FONT_0]\r\nid=body\r\nsize=-13\r\nname=Tahoma\r\n") &&
         WriteUtf16(common + L"menu.ini",
                    L"[MENU]\r\nmenu_item_width=160\r\nmenu_item_height=22\r\nborder_size=2\r\n"
                    L"border_color_r=10\r\nback_normal_color_r=240\r\nback_over_color_b=200\r\n"
                    L"back_disabled_color_g=180\r\n"
                    L"[MENU_ITEM_NORMAL]\r\nfont_id=body\r\ntext_x=8\r\ntext_y=11\r\ntext_align=4\r\n"
                    L"[MENU_ITEM_OVER]\r\nfont_id=body\r\ntext_x=8\r\ntext_y=11\r\ntext_align=4\r\n"
                    L"[MENU_ITEM_DISABLED]\r\nfont_id=body\r\ntext_x=8\r\ntext_y=11\r\ntext_align=4\r\n") &&
         WriteUtf16(common + L"notice_btn.ini",
                    L"[BUTTON]\r\nwidth=10\r\nheight=20\r\n[BTN_NORMAL]\r\nfont_id=body\r\n"
                    L"[BTN_OVER]\r\nfont_id=body\r\n[BTN_DOWN]\r\nfont_id=body\r\n[BTN_DISABLED]\r\nfont_id="
                    L"body\r\n") &&
         WriteUtf16(common + L"notice.ini",
                    L"[BACK]\r\nwidth=300\r\nheight=20\r\n[NOTICE_TEXT]\r\nshow_time=300\r\n"
                    L"h_scroll_speed=-60\r\nv_scroll_speed=80\r\n");
}

double Milliseconds(LARGE_INTEGER start, LARGE_INTEGER end, LARGE_INTEGER frequency) {
  return 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
         static_cast<double>(frequency.QuadPart);
}

// Runs `frame` `count` times and prints the median and the worst time.
void Measure(const char* name, int count, const std::function<void(int)>& frame) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  std::vector<double> times;
  for (int index = 0; index < count; ++index) {
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    frame(index);
    QueryPerformanceCounter(&end);
    times.push_back(Milliseconds(start, end, frequency));
  }
  std::sort(times.begin(), times.end());
  std::printf("%-44s median %7.3f ms  worst %7.3f ms  (%d frames, budget 33 ms)\n", name,
              times[times.size() / 2], times.back(), count);
}

void BenchmarkMenu(Dib* target) {
  SkinnedPopupMenu menu;
  menu.SetSkin(L"main", L"menu");
  menu.ResetItems(nullptr);
  // The node alone, without its window: what a frame costs in the tree and the drawing.
  if (!menu.NWnd::Create(0, 0, 164, 7 * 22 + 4, 0, nullptr)) {
    std::printf("menu: the skin did not load\n");
    return;
  }
  for (int32_t index = 0; index < 7; ++index)
    menu.SetItem(101 + index, index, (L"Command number " + std::to_wstring(index + 1)).c_str());
  menu.EnableItem(105, 0);
  menu.NWnd::Show(1, 0);
  Measure("hovered seven-row menu (hover moves each frame)", 2000, [&](int frame) {
    menu.DispatchMouseMove(20, 2 + (frame % 7) * 22 + 5, nullptr);
    menu.Update();
    menu.Draw(nullptr, target, 0);
  });
  menu.NWnd::Destroy();
}

uint32_t g_now = 0;

void BenchmarkTicker(Dib* target) {
  FrameInputs inputs;
  inputs.tick_count = [] { return g_now; };
  ScopedFrameInputs clock(inputs);
  NWnd root;
  root.Create(0, 0, 400, 100, 0, nullptr);
  root.Show(1, 0);
  NoticeWnd strip;
  strip.SetSkin(L"main", L"notice");
  if (!strip.Create(0, 0, 1, 1, 1, &root)) {
    std::printf("ticker: the skin did not load\n");
    return;
  }
  strip.Show(1, 0);
  strip.SetNoticeCount(3);
  strip.texts()[0].Assign(L"A notice of the portal that is far too long for the strip and scrolls sideways");
  strip.texts()[1].Assign(L"Short notice");
  strip.texts()[2].Assign(L"Another notice, of middle length");
  strip.UpdateDisplay();
  int changes = 0;
  int32_t last = strip.current();
  Measure("notice ticker (scrolling and changing)", 2000, [&](int) {
    g_now += 33;
    root.Update();
    root.Draw(nullptr, target, 0);
    if (strip.current() != last) {
      last = strip.current();
      ++changes;
    }
  });
  std::printf("%-44s %d changes of notice in %u simulated ms\n", "", changes, g_now);
  strip.Destroy();
  root.Destroy();
}

}  // namespace

int main() {
  if (!MakeSkin() || !SkinLoader::LoadSkinInfo()) {
    std::printf("the benchmark skin could not be written\n");
    return 1;
  }
  IniStringContainer* fonts = LoadControlSkinIni(FindSkinCategory(L"main"), L"fonts");
  LoadSkinFonts(L"main", fonts);
  delete fonts;
  Dib* target = Dib::CreateBlank(400, 300, 0);
  BenchmarkMenu(target);
  BenchmarkTicker(target);
  target->Release();
  RemoveAllFontManagers();
  SkinLoader::UnloadSkinInfo();
  ReleaseAllVirtualFiles();
  return 0;
}

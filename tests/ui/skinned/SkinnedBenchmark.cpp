// Frame times of the animated skinned controls, headless (their nodes are created without windows and
// drawn into an off-screen target): a seven-row popup menu whose hovered row changes on every frame. Prints
// the median and the worst of 2000 frames against the 33 ms frame budget.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "ui/base/VirtualFile.h"
#include "ui/gfx/Dib.h"
#include "ui/skin/NFontManager.h"
#include "ui/skin/SkinLoader.h"
#include "ui/skinned/SkinnedPopupMenu.h"
#include "ui/base/IniStringContainer.h"

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
  for (const std::wstring& folder : {root, root + L"\\data", root + L"\\data\\skin", root + L"\\data\\skin\\common"})
    CreateDirectoryW(folder.c_str(), nullptr);
  if (!SetCurrentDirectoryW(root.c_str()))
    return false;
  const std::wstring common = L"data\\skin\\common\\";
  return WriteUtf16(L"data\\skin\\skin_info.ini",
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
                    L"[MENU_ITEM_DISABLED]\r\nfont_id=body\r\ntext_x=8\r\ntext_y=11\r\ntext_align=4\r\n");
}

double Milliseconds(LARGE_INTEGER start, LARGE_INTEGER end, LARGE_INTEGER frequency) {
  return 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
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
  std::printf("%-44s median %7.3f ms  worst %7.3f ms  (%d frames, budget 33 ms)\n", name, times[times.size() / 2],
              times.back(), count);
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
  target->Release();
  RemoveAllFontManagers();
  SkinLoader::UnloadSkinInfo();
  ReleaseAllVirtualFiles();
  return 0;
}

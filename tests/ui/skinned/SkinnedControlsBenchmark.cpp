// The frame of a launcher-sized window of skinned controls: a 1000 x 700 root with a full background, 40
// animated skinned buttons (a four-frame strip each, with captions), two progress bars and two scroll bars,
// all loaded from a skin written at run time. Prints the time of the frame's update (every animation ticked,
// a progress step, a mouse move) and of a full repaint of the tree (median and worst) against the 33 ms
// frame budget.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "ui/base/IniStringContainer.h"
#include "ui/base/VirtualFile.h"
#include "ui/gfx/Dib.h"
#include "ui/skin/NFontManager.h"
#include "ui/skin/SkinLoader.h"
#include "ui/skinned/SkinnedButton.h"
#include "ui/skinned/SkinnedProgressCtrl.h"
#include "ui/skinned/SkinnedScrollBar.h"
#include "ui/view/NWnd.h"

namespace {

// The root's look: one opaque image copied into its surface on every paint.
class BackgroundNode : public NWnd {
 public:
  explicit BackgroundNode(Dib* look) : look_(look) {}
  ~BackgroundNode() override { Destroy(); }
  void OnPaint(HDC, Dib* surface) override { Dib::Draw(nullptr, nullptr, look_, surface, 0); }

 private:
  Dib* look_;
};

// Every file written, removed at the end.
std::vector<std::wstring> g_written;

bool WriteBytes(const std::wstring& path, const std::string& bytes) {
  g_written.push_back(path);
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    return false;
  DWORD written = 0;
  BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
  return ok && written == bytes.size();
}

bool WriteIni(const std::wstring& path, const std::wstring& text) {
  std::string bytes = "\xFF\xFE";
  for (wchar_t unit : text) {
    bytes.push_back(static_cast<char>(unit & 0xFF));
    bytes.push_back(static_cast<char>(unit >> 8));
  }
  return WriteBytes(path, bytes);
}

void Put32(std::string* out, uint32_t value) {
  for (int i = 0; i < 4; ++i)
    out->push_back(static_cast<char>(value >> (8 * i)));
}

// A 24-bit BMP whose pixel (x, y) is colour(x, y) (0xRRGGBB).
template <typename Colour>
bool WriteBmp(const std::wstring& path, int32_t width, int32_t height, Colour colour) {
  uint32_t row_bytes = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
  std::string bytes = "BM";
  Put32(&bytes, 54 + row_bytes * height);
  Put32(&bytes, 0);
  Put32(&bytes, 54);
  Put32(&bytes, 40);
  Put32(&bytes, static_cast<uint32_t>(width));
  Put32(&bytes, static_cast<uint32_t>(height));
  Put32(&bytes, 1 | 24u << 16);
  for (int i = 0; i < 6; ++i)
    Put32(&bytes, 0);
  for (int32_t y = height - 1; y >= 0; --y) {
    std::string row;
    for (int32_t x = 0; x < width; ++x) {
      uint32_t pixel = colour(x, y);
      row += std::string{static_cast<char>(pixel), static_cast<char>(pixel >> 8),
                         static_cast<char>(pixel >> 16)};
    }
    row.resize(row_bytes, '\0');
    bytes += row;
  }
  return WriteBytes(path, bytes);
}

// The skin under `root`\data\skin: category "bench" with a button (animated normal state), a progress bar
// and a scroll bar.
bool WriteSkin(const std::wstring& root) {
  std::wstring skin = root + L"\\data\\skin", common = skin + L"\\common";
  CreateDirectoryW((root + L"\\data").c_str(), nullptr);
  CreateDirectoryW(skin.c_str(), nullptr);
  CreateDirectoryW(common.c_str(), nullptr);
  auto shade = [](int32_t frame) {
    return [frame](int32_t x, int32_t y) {
      return static_cast<uint32_t>(0x203040 + frame * 0x101010 + x + y * 256);
    };
  };
  std::wstring caption =
      L"font_id=caption\r\ntext=Play\r\ntext_x=40\r\ntext_y=12\r\ntext_align=5\r\n"
      L"text_color_r=255\r\ntext_color_g=255\r\ntext_color_b=255\r\n";
  bool ok =
      WriteIni(
          skin + L"\\skin_info.ini",
          L"[CATEGORY]\r\ncount=1\r\n[CATEGORY_0]\r\nid=bench\r\npath=common\r\nskin_path=skins\\%s\r\n") &&
      WriteBmp(common + L"\\spin.bmp", 80 * 4, 24,
               [&](int32_t x, int32_t y) { return shade(x / 80)(x % 80, y); }) &&
      WriteBmp(common + L"\\over.bmp", 80, 24, shade(5)) &&
      WriteIni(common + L"\\spin.ini", L"[IMAGE]\r\nframe_count=4\r\nframe_time=10\r\nimage=spin.bmp\r\n") &&
      WriteIni(common + L"\\button.ini",
               L"[BUTTON]\r\nwidth=80\r\nheight=24\r\n[BTN_NORMAL]\r\nimage_id=spin\r\n" + caption +
                   L"[BTN_OVER]\r\nimage=over.bmp\r\n" + caption) &&
      WriteBmp(common + L"\\empty.bmp", 400, 12, shade(0)) &&
      WriteBmp(common + L"\\full.bmp", 400, 12, shade(3)) &&
      WriteIni(common + L"\\progress.ini",
               L"[PROGRESS]\r\nwidth=400\r\nheight=12\r\n[PROGRESS_EMPTY]\r\n"
               L"image=empty.bmp\r\n[PROGRESS_FULL]\r\nimage=full.bmp\r\n") &&
      WriteBmp(common + L"\\scr_back.bmp", 16, 400, shade(1)) &&
      WriteBmp(common + L"\\scr_bar.bmp", 12, 370, shade(2)) &&
      WriteBmp(common + L"\\scr_thumb.bmp", 12, 40, shade(4)) &&
      WriteBmp(common + L"\\scr_btn.bmp", 12, 14, shade(5)) &&
      WriteIni(
          common + L"\\scroll.ini",
          L"[SCROLL_BAR]\r\nwidth=16\r\nheight=400\r\nback=scr_back.bmp\r\nbutton_size=16\r\nthumb_size="
          L"40\r\n"
          L"vertical=1\r\nbar_x=2\r\nthumb_x=2\r\ndec_x=2\r\ninc_x=2\r\ninc_y=385\r\n[SCR_BAR_NORMAL]\r\n"
          L"image=scr_bar.bmp\r\n[SCR_THUMB_NORMAL]\r\nimage=scr_thumb.bmp\r\n[SCR_DEC_NORMAL]\r\n"
          L"image=scr_btn.bmp\r\n[SCR_INC_NORMAL]\r\nimage=scr_btn.bmp\r\n");
  return ok;
}

double Milliseconds(LARGE_INTEGER start, LARGE_INTEGER end, LARGE_INTEGER frequency) {
  return 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
         static_cast<double>(frequency.QuadPart);
}

void Report(const char* what, std::vector<double> frames) {
  std::sort(frames.begin(), frames.end());
  std::printf("  %-14s median %.3f ms, worst %.3f ms\n", what, frames[frames.size() / 2], frames.back());
}

}  // namespace

int main() {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  std::wstring root = std::wstring(temp) + L"orvane_bench_skinned_" + std::to_wstring(GetCurrentProcessId());
  CreateDirectoryW(root.c_str(), nullptr);
  if (!WriteSkin(root) || !SetCurrentDirectoryW(root.c_str()) || !SkinLoader::LoadSkinInfo()) {
    std::printf("skinned controls: the benchmark skin could not be written or loaded\n");
    return 1;
  }
  std::wstring fonts =
      L"[FONT]\r\ncount=1\r\ncolorkey_r=255\r\ncolorkey_b=255\r\n[FONT_0]\r\nid=caption\r\nsize=-12\r\nname="
      L"Tahoma\r\n";
  std::unique_ptr<IniStringContainer> font_ini(
      IniStringContainer::Parse(fonts.c_str(), static_cast<uint32_t>(fonts.size())));
  LoadSkinFonts(L"bench", font_ini.get());

  Dib* background = Dib::CreateBlank(1000, 700, 0);
  background->FillRect(RECT{0, 0, 1000, 700}, 0xFF181C24);
  BackgroundNode window(background);
  window.Create(0, 0, 1000, 700, 0, nullptr);
  window.Show(1, 0);
  std::vector<std::unique_ptr<SkinnedButton>> buttons;
  for (int i = 0; i < 40; ++i) {
    buttons.push_back(std::make_unique<SkinnedButton>());
    buttons.back()->SetSkin(L"bench", L"button");
    buttons.back()->Create(0, 0, 1, 1, i + 1, &window);
    buttons.back()->Move(20 + (i % 8) * 100, 20 + (i / 8) * 40);
    buttons.back()->Show(1, 0);
  }
  SkinnedProgressCtrl progress[2];
  SkinnedScrollBar scroll[2];
  for (int i = 0; i < 2; ++i) {
    progress[i].SetSkin(L"bench", L"progress");
    progress[i].Create(0, 0, 1, 1, 100 + i, &window);
    progress[i].Move(20, 260 + i * 30);
    progress[i].Show(1, 0);
    scroll[i].SetSkin(L"bench", L"scroll");
    scroll[i].Create(0, 0, 1, 1, 200 + i, &window);
    scroll[i].Move(900 + i * 40, 200);
    scroll[i].Setup(1, 16, 40, 10, 100);
    scroll[i].Show(1, 0);
  }

  int created = 0;
  for (const auto& button : buttons)
    created += button->created();
  for (int i = 0; i < 2; ++i)
    created += progress[i].created() + scroll[i].created();
  if (created != 44) {
    std::printf("skinned controls: only %d of 44 controls were created\n", created);
    return 1;
  }

  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  const int kWarmUp = 5, kFrames = 200;
  std::vector<double> updates, repaints, totals;
  for (int frame = 0; frame < kWarmUp + kFrames; ++frame) {
    LARGE_INTEGER start, updated, end;
    QueryPerformanceCounter(&start);
    window.Update();
    for (SkinnedProgressCtrl& bar : progress)
      bar.SetPos((frame % 100) / 100.0);
    window.DispatchMouseMove(30 + (frame * 13) % 800, 30 + (frame * 7) % 200, nullptr);
    QueryPerformanceCounter(&updated);
    window.Draw(nullptr, nullptr, 0);
    QueryPerformanceCounter(&end);
    if (frame < kWarmUp)
      continue;
    updates.push_back(Milliseconds(start, updated, frequency));
    repaints.push_back(Milliseconds(updated, end, frequency));
    totals.push_back(Milliseconds(start, end, frequency));
  }
  std::printf(
      "skinned controls on 1000 x 700 (40 animated buttons, 2 progress bars, 2 scroll bars; %d frames; "
      "budget 33 ms):\n",
      kFrames);
  Report("update", updates);
  Report("full repaint", repaints);
  Report("whole frame", totals);

  buttons.clear();
  for (int i = 0; i < 2; ++i) {
    progress[i].Destroy();
    scroll[i].Destroy();
  }
  window.Destroy();
  background->Release();
  RemoveAllFontManagers();
  SkinLoader::UnloadSkinInfo();
  ReleaseAllVirtualFiles();
  SetCurrentDirectoryW(temp);
  for (const std::wstring& path : g_written)
    DeleteFileW(path.c_str());
  for (const wchar_t* folder : {L"\\data\\skin\\common", L"\\data\\skin", L"\\data", L""})
    RemoveDirectoryW((root + folder).c_str());
  return 0;
}

// skin_sample.exe: a small skinned dialog built from a skin that the program writes at run time: three
// buttons, a progress bar, a scroll bar, an animated image and two texts. "Step" advances the progress by a
// tenth, "Reset" empties it, the scroll bar sets it, "Close" ends the dialog.
//   skin_sample.exe <folder> [--frames N]
// The skin is written under <folder>, which becomes the current folder. When the dialog ends, the last state
// is printed and written to <folder>\result.txt ("clicks=<n> progress=<percent> scroll=<position>"). With
// --frames N the dialog times N frames (the per-frame update and a full repaint), prints the figures and
// ends.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <memory>
#include <string>

#include "tools/skin_sample/SampleLayout.h"
#include "tools/skin_sample/SampleSkin.h"
#include "ui/base/IniStringContainer.h"
#include "ui/controls/NButton.h"
#include "ui/controls/NProgressCtrl.h"
#include "ui/controls/NScrollBar.h"
#include "ui/skin/NFontManager.h"
#include "ui/skin/NImage.h"
#include "ui/skin/NTextBox.h"
#include "ui/skin/SkinLoader.h"
#include "ui/skinned/SkinnedDialog.h"
#include "ui/view/NotifyCodes.h"

namespace {

using namespace skin_sample;

const UINT kMeasureMessage = WM_APP + 1;
enum ControlId { kStepId = 1, kResetId = 2, kCloseId = 3, kProgressId = 4, kScrollId = 5 };

class SampleDialog : public SkinnedDialog {
 public:
  explicit SampleDialog(int frames_to_measure) : frames_to_measure_(frames_to_measure) {}
  ~SampleDialog() override { Destroy(); }

  int clicks() const { return clicks_; }
  double progress() const { return progress_.position(); }
  int scroll() const { return scroll_.position(); }

  int32_t OnCreate() override {
    if (!SkinnedDialog::OnCreate())
      return 0;
    if (!Place(step_, kStepButton, kStepId, L"Step") || !Place(reset_, kResetButton, kResetId, L"Reset") ||
        !Place(close_, kCloseButton, kCloseId, L"Close") ||
        !Place(progress_, kProgress, kProgressId, nullptr) || !Place(scroll_, kScrollBar, kScrollId, nullptr))
      return 0;
    scroll_.Setup(0, kScrollButton, kScrollThumb, kScrollPage, kScrollRange);
    SetWindowText(kTitle);
    Move(200, 150);
    ShowStatus();
    if (frames_to_measure_ > 0)
      PostMessageW(window_handle(), kMeasureMessage, 0, 0);
    return 1;
  }

  void OnSkinLoaded() override {
    RemoveFontManager(L"sample");
    LoadSkinFonts(L"sample", ini());
    title_.reset(LoadSkinTextBox(ini(), L"TITLE", L"sample"));
    status_.reset(LoadSkinTextBox(ini(), L"STATUS", L"sample"));
    spinner_.reset(LoadSkinImage(category(), L"spinner"));
    ShowStatus();
  }

  int32_t OnNotify(int32_t code, intptr_t p1, intptr_t p2) override {
    if (code == NOTIFY_CLICKED) {
      ++clicks_;
      if (p1 == kStepId)
        progress_.SetPos(progress_.position() + 0.1);
      else if (p1 == kResetId)
        progress_.SetPos(0.0);
      else if (p1 == kCloseId)
        OnOK();
    } else if (code == NOTIFY_SCROLL_POS_CHANGED || code == NOTIFY_SCROLL_INCREMENT ||
               code == NOTIFY_SCROLL_DECREMENT) {
      progress_.SetPos(static_cast<double>(scroll_.position()) / (kScrollRange - kScrollPage));
    } else {
      return SkinnedDialog::OnNotify(code, p1, p2);
    }
    ShowStatus();
    return 1;
  }

  void OnUpdate() override {
    if (spinner_ && spinner_->Tick())
      Invalidate();
  }

  void OnPaint(HDC dc, Dib* surface) override {
    SkinnedDialog::OnPaint(dc, surface);
    if (title_)
      title_->Draw(surface);
    if (status_)
      status_->Draw(surface);
    if (spinner_)
      spinner_->Draw(surface, 1);
  }

 protected:
  LRESULT WindowProcedure(UINT message, WPARAM wparam, LPARAM lparam) override {
    if (message == kMeasureMessage) {
      MeasureFrames();
      return 0;
    }
    return SkinnedDialog::WindowProcedure(message, wparam, lparam);
  }

 private:
  bool Place(NWnd& control, const RECT& rect, int id, const wchar_t* text) {
    if (!control.Create(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, id, this))
      return false;
    if (text != nullptr)
      static_cast<NButton&>(control).SetText(text);
    control.Show(1, 0);
    return true;
  }

  void ShowStatus() {
    if (!status_)
      return;
    wchar_t text[96];
    swprintf(text, 96, L"Progress %d %%  -  %d clicks", static_cast<int>(progress_.position() * 100 + 0.5),
             clicks_);
    status_->text().Assign(text);
    status_->literal = 0;
    status_->Render(1);
    Invalidate();
  }

  // Times frames as the frame clock runs them: the tree's update, then a repaint of the whole window.
  void MeasureFrames() {
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    double total_ms = 0, worst_ms = 0;
    for (int i = 0; i < frames_to_measure_; ++i) {
      progress_.SetPos((i % 100) / 100.0);
      QueryPerformanceCounter(&start);
      Update();
      InvalidateWindow();
      UpdateWindow(window_handle());
      QueryPerformanceCounter(&end);
      double ms = 1000.0 * (end.QuadPart - start.QuadPart) / frequency.QuadPart;
      total_ms += ms;
      if (ms > worst_ms)
        worst_ms = ms;
    }
    wprintf(L"frames=%d average_ms=%.3f worst_ms=%.3f size=%dx%d\n", frames_to_measure_,
            total_ms / frames_to_measure_, worst_ms, width(), height());
    fflush(stdout);
    OnOK();
  }

  int frames_to_measure_;
  int clicks_ = 0;
  NButton step_, reset_, close_;
  NProgressCtrl progress_;
  NScrollBar scroll_;
  std::unique_ptr<NTextBox> title_, status_;
  std::unique_ptr<NImage> spinner_;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    fwprintf(stderr, L"usage: skin_sample <folder> [--frames N]\n");
    return 2;
  }
  std::wstring folder = argv[1];
  int frames = argc >= 4 && std::wcscmp(argv[2], L"--frames") == 0 ? _wtoi(argv[3]) : 0;
  if (!WriteSampleSkin(folder) || !SetCurrentDirectoryW(folder.c_str()) || !SkinLoader::LoadSkinInfo()) {
    fwprintf(stderr, L"the sample skin could not be written or read\n");
    return 3;
  }
  int result;
  wchar_t line[128];
  {
    SampleDialog dialog(frames);
    dialog.SetSkin(L"sample", L"sample_dlg");
    result = static_cast<int>(dialog.DoModal());
    swprintf(line, 128, L"clicks=%d progress=%d scroll=%d", dialog.clicks(),
             static_cast<int>(dialog.progress() * 100 + 0.5), dialog.scroll());
  }
  RemoveAllFontManagers();
  SkinLoader::UnloadSkinInfo();
  wprintf(L"result=%d %ls\n", result, line);
  if (FILE* file = _wfopen(L"result.txt", L"w")) {
    fwprintf(file, L"%ls\n", line);
    fclose(file);
  }
  return result == IDOK ? 0 : 1;
}

#include "app/windows/SelfUpdaterDlg.h"

#include <memory>

#include "app/session/HandOver.h"
#include "app/session/SessionValues.h"
#include "ui/base/IniFile.h"
#include "ui/base/IniStringContainer.h"
#include "ui/controls/ControlCanvas.h"
#include "ui/gfx/Dib.h"
#include "ui/gfx/GdiHandles.h"

namespace {

const wchar_t kSkinFolder[] = L"updater\\updater_res";

// The plain look's colours (COLORREF, 0x00BBGGRR).
constexpr COLORREF kPlainFrame = 0x9A6218;
constexpr COLORREF kPlainBack = 0xBE873D;
constexpr COLORREF kPlainBarBack = 0xF9E793;
constexpr COLORREF kPlainBarFill = 0x26C6FE;
constexpr RECT kPlainFileFrame = {23, 196, 375, 205};  // corners included
constexpr RECT kPlainUpdateFrame = {23, 211, 375, 220};

COLORREF IniColor(IniContainer* ini, const wchar_t* section, const wchar_t* prefix) {
  const std::wstring base(prefix);
  return RGB(ini->GetInt(section, (base + L"_r").c_str(), 0) & 0xFF,
             ini->GetInt(section, (base + L"_g").c_str(), 0) & 0xFF,
             ini->GetInt(section, (base + L"_b").c_str(), 0) & 0xFF);
}

// An image of the skin folder, as a DIB section so that GDI can copy from it; null when missing.
Dib* LoadSkinImage(IniContainer* ini, const wchar_t* section) {
  const wchar_t* name = ini->GetString(section, L"image", L"");
  if (name == nullptr || name[0] == 0)
    return nullptr;
  const std::wstring path = std::wstring(kSkinFolder) + L"\\" + name;
  return path.size() < MAX_PATH ? Dib::Load(path.c_str(), 1) : nullptr;
}

// Copies the first `width` columns of `image` to (x, y) of `dc`.
void BlitImage(HDC dc, const Dib* image, int32_t x, int32_t y, int32_t width) {
  if (image == nullptr || image->bitmap() == nullptr || width <= 0)
    return;
  ScopedMemoryDC source(dc, image->bitmap());
  if (source.valid())
    BitBlt(dc, x, y, width, image->height(), source.get(), 0, 0, SRCCOPY);
}

void FillSolid(HDC dc, const RECT& rect, COLORREF colour) {
  ScopedGdiObject<HBRUSH> brush(CreateSolidBrush(colour));
  if (brush.get() != nullptr)
    FillRect(dc, &rect, brush.get());
}

// A one-pixel frame with both corners included, its inside in the bar colour and the first `fill` columns of
// the inside in the fill colour.
void PaintPlainBar(HDC dc, const RECT& frame, int32_t fill) {
  ScopedGdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, kPlainFrame));
  HGDIOBJ old_pen = SelectObject(dc, pen.get());
  HGDIOBJ old_brush = SelectObject(dc, GetStockObject(NULL_BRUSH));
  Rectangle(dc, frame.left, frame.top, frame.right + 1, frame.bottom + 1);
  SelectObject(dc, old_brush);
  SelectObject(dc, old_pen);
  const RECT inside = {frame.left + 1, frame.top + 1, frame.right, frame.bottom};
  FillSolid(dc, inside, kPlainBarBack);
  if (fill > 0)
    FillSolid(dc, {inside.left, inside.top, inside.left + fill, inside.bottom}, kPlainBarFill);
}

}  // namespace

SelfUpdaterDlg::SelfUpdaterDlg() : SelfUpdaterDlg(SelfUpdateJob::Options()) {}

SelfUpdaterDlg::SelfUpdaterDlg(const SelfUpdateJob::Options& options) : job_(options) {}

SelfUpdaterDlg::~SelfUpdaterDlg() {
  Destroy();
  job_.RequestStop();
  job_.Join();
  ReleaseSkin();
}

void SelfUpdaterDlg::ReleaseSkin() {
  for (Dib** image : {&back_, &file_bar_.image, &update_bar_.image}) {
    if (*image != nullptr)
      (*image)->Release();
    *image = nullptr;
  }
  if (font_ != nullptr)
    DeleteObject(font_);
  font_ = nullptr;
}

void SelfUpdaterDlg::CreateTextFont(const wchar_t* name,
                                    int32_t size,
                                    int32_t charset,
                                    bool bold,
                                    bool italic,
                                    bool underline) {
  font_ = CreateFontW(size, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, italic, underline, FALSE,
                      static_cast<BYTE>(charset), OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                      DEFAULT_PITCH | FF_DONTCARE, name);
}

bool SelfUpdaterDlg::LoadSkin() {
  std::unique_ptr<IniStringContainer> ini(
      LoadIniFile((std::wstring(kSkinFolder) + L"\\updater.ini").c_str()));
  if (ini == nullptr)
    return false;
  back_ = LoadSkinImage(ini.get(), L"BACK");
  if (back_ == nullptr)  // no background, no window to show the skin in
    return false;
  color_key_ = IniColor(ini.get(), L"BACK", L"colorkey");
  text_ = {ini->GetInt(L"TEXT_FILE", L"x", 0), ini->GetInt(L"TEXT_FILE", L"y", 0)};
  text_color_ = IniColor(ini.get(), L"TEXT_FILE", L"color");
  CreateTextFont(ini->GetString(L"TEXT_FILE", L"name", L"Arial"), ini->GetInt(L"TEXT_FILE", L"size", 16),
                 ini->GetInt(L"TEXT_FILE", L"charset", 0), ini->GetInt(L"TEXT_FILE", L"bold", 0) != 0,
                 ini->GetInt(L"TEXT_FILE", L"italic", 0) != 0,
                 ini->GetInt(L"TEXT_FILE", L"underline", 0) != 0);
  for (auto section :
       {std::make_pair(L"FILE_PROGRESS", &file_bar_), std::make_pair(L"UPDATE_PROGRESS", &update_bar_)}) {
    section.second->x = ini->GetInt(section.first, L"x", 0);
    section.second->y = ini->GetInt(section.first, L"y", 0);
    section.second->image = LoadSkinImage(ini.get(), section.first);
  }
  return true;
}

int32_t SelfUpdaterDlg::OnCreate() {
  if (!LoadSkin()) {
    ReleaseSkin();
    text_ = {24, 177};
    text_color_ = 0;
    CreateTextFont(L"Arial", 16, 0, false, false, false);
    Resize(kPlainWidth, kPlainHeight);
  } else {
    Resize(back_->width(), back_->height());
    // The color-key pixels of the background, as the surface stores them.
    const uint32_t key =
        0xFF000000u | GetRValue(color_key_) << 16 | GetGValue(color_key_) << 8 | GetBValue(color_key_);
    if (HRGN region = back_->CreateColorKeyRegion(key))
      SetWindowRgn(GetHwnd(), region, TRUE);  // the window owns the region from here
  }
  SetWindowText(kSelfUpdateDialogCaption);
  worker_started_ = job_.Start();
  return 1;
}

void SelfUpdaterDlg::OnDestroy() {
  job_.RequestStop();
  job_.Join();
  NDialog::OnDestroy();
}

void SelfUpdaterDlg::OnCancel() {
  job_.RequestStop();
}

void SelfUpdaterDlg::OnOK() {
  // Enter does not end the update either.
}

int32_t SelfUpdaterDlg::FullWidth(const Bar& bar) const {
  if (back_ == nullptr)
    return kPlainBarWidth;
  return bar.image != nullptr ? bar.image->width() : 0;
}

void SelfUpdaterDlg::OnUpdate() {
  if (!worker_started_ || job_.status() == kSelfUpdateFinished) {
    if (in_modal_run() && !modal_ending())
      EndModal(IDOK);
    else if (!in_modal_run())
      Destroy();
    return;
  }
  DownloaderProgress progress = {};
  job_.GetProgress(&progress);
  int32_t file = 0, update = 0;
  if (progress.state == kDownloaderTransferring) {
    file =
        progress.total > 0 ? static_cast<int32_t>(FullWidth(file_bar_) * progress.done / progress.total) : 0;
  } else if (progress.state == kDownloaderDone) {
    file = FullWidth(file_bar_);
    update = FullWidth(update_bar_);
  }
  std::wstring name = job_.ShownName();
  if (file != file_bar_width_ || update != update_bar_width_ || name != shown_name_) {
    file_bar_width_ = file;
    update_bar_width_ = update;
    shown_name_.swap(name);
    Invalidate();
  }
}

void SelfUpdaterDlg::PaintPlain(HDC dc, int32_t width, int32_t height) {
  FillSolid(dc, {0, 0, width, height}, kPlainBack);
  PaintPlainBar(dc, kPlainFileFrame, file_bar_width_);
  PaintPlainBar(dc, kPlainUpdateFrame, update_bar_width_);
}

void SelfUpdaterDlg::PaintSkinned(HDC dc) {
  BlitImage(dc, back_, 0, 0, back_->width());
  BlitImage(dc, file_bar_.image, file_bar_.x, file_bar_.y, file_bar_width_);
  BlitImage(dc, update_bar_.image, update_bar_.x, update_bar_.y, update_bar_width_);
}

void SelfUpdaterDlg::OnPaint(HDC, Dib* surface) {
  ControlCanvas canvas(surface);
  HDC dc = canvas.dc();
  if (dc == nullptr)
    return;
  if (back_ != nullptr)
    PaintSkinned(dc);
  else
    PaintPlain(dc, surface->width(), surface->height());
  HGDIOBJ old_font = font_ != nullptr ? SelectObject(dc, font_) : nullptr;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, text_color_);
  TextOutW(dc, text_.x, text_.y, shown_name_.c_str(), static_cast<int>(shown_name_.size()));
  if (old_font != nullptr)
    SelectObject(dc, old_font);
}

void SelfUpdaterDlg::OnCopyData(COPYDATASTRUCT* data) {
  HandOverRecord record;
  if (ReadHandOverRecord(data, &record))
    HoldHandOver(record);
}

SelfUpdateState RunSelfUpdaterDialog() {
  SelfUpdaterDlg dialog;
  dialog.Create(SelfUpdaterDlg::kPlainWidth, SelfUpdaterDlg::kPlainHeight);
  dialog.DoModal();
  dialog.job().RequestStop();
  dialog.job().Join();
  // The restarted launcher inherits the announced version (the environment) and start-up reads it; the
  // session is this thread's, so the version reaches it only now that the worker has ended.
  int32_t version = 0;
  if (dialog.job().AnnouncedVersion(&version))
    SetGameVersion(version);
  return static_cast<SelfUpdateState>(dialog.result());
}

#include "app/windows/UpdateServerSelectDialog.h"

#include <utility>

#include "app/launcherupdate/ServerList.h"
#include "selfupdate/LauncherInfo.h"
#include "ui/base/IniFile.h"
#include "ui/base/IniStringContainer.h"
#include "ui/gfx/Dib.h"
#include "ui/gfx/GdiHandles.h"
#include "ui/view/NotifyCodes.h"

namespace {

const wchar_t kDialogSection[] = L"UpdateServerSelectDlg";
const wchar_t kListSection[] = L"UpdateServerSelectList";

COLORREF SkinColor(IniContainer* ini, const wchar_t* section, const wchar_t* prefix) {
  const std::wstring base(prefix);
  return RGB(ini->GetInt(section, (base + L"_r").c_str(), 0) & 0xFF,
             ini->GetInt(section, (base + L"_g").c_str(), 0) & 0xFF,
             ini->GetInt(section, (base + L"_b").c_str(), 0) & 0xFF);
}

}  // namespace

int32_t ServerRowAt(const ServerListGeometry& g, int32_t first_visible, int32_t count, int32_t x, int32_t y) {
  if (x < g.x || x > g.x + g.width || y < g.y)
    return -1;
  for (int32_t row = 0; row < g.rows && first_visible + row < count; ++row) {
    const int32_t top = g.y + row * (g.height + g.gap);
    if (y >= top && y < top + g.height)
      return first_visible + row;
  }
  return -1;
}

LRESULT ServerListHitTest(const ServerListGeometry& g, int32_t x, int32_t y) {
  const int32_t bottom = g.y + g.rows * g.height + (g.rows > 0 ? (g.rows - 1) * g.gap : 0);
  return x >= g.x && x <= g.x + g.width && y >= g.y && y <= bottom ? HTCLIENT : HTCAPTION;
}

int32_t ClampFirstVisible(int32_t first_visible, int32_t count, int32_t rows) {
  const int32_t last = count - rows;
  if (first_visible > last)
    first_visible = last;
  return first_visible < 0 ? 0 : first_visible;
}

void MarkDisabledServers(ServerList* list, uint32_t installed_version, uint32_t installed_separate) {
  for (int32_t i = 0; i < list->count(); ++i) {
    ServerRecord& server = list->records()[i];
    const uint32_t current = static_cast<uint32_t>(server.current_version);
    const uint32_t separate = static_cast<uint32_t>(server.separate_version);
    // An address that does not fit the process-wide field could never be loaded at the next start, which
    // would then ask for a server again: it cannot be chosen either.
    server.disabled = current < installed_version ||
                              (current == installed_version && separate < installed_separate) ||
                              !IsUsableUpdateAddr(server.address)
                          ? 1
                          : 0;
  }
}

UpdateServerSelectDialog::UpdateServerSelectDialog(ServerList* list,
                                                   std::wstring skin_folder,
                                                   std::wstring version_ini)
    : list_(list), skin_folder_(std::move(skin_folder)), version_ini_(std::move(version_ini)) {}

UpdateServerSelectDialog::~UpdateServerSelectDialog() {
  Destroy();
  ReleaseSkin();
}

void UpdateServerSelectDialog::ReleaseSkin() {
  for (Dib** image : {&back_, &canvas_}) {
    if (*image != nullptr)
      (*image)->Release();
    *image = nullptr;
  }
  if (font_ != nullptr)
    DeleteObject(font_);
  font_ = nullptr;
  delete ini_;
  ini_ = nullptr;
}

bool UpdateServerSelectDialog::LoadSkin() {
  ReleaseSkin();
  ini_ = LoadIniFile((skin_folder_ + L"\\UpdateServerSelect.ini").c_str());
  if (ini_ == nullptr)
    return false;
  width_ = ini_->GetInt(kDialogSection, L"width", 0);
  height_ = ini_->GetInt(kDialogSection, L"height", 0);
  back_ = LoadServerSelectImage(skin_folder_, ini_->GetString(kDialogSection, L"back", L""));
  color_key_ = SkinColor(ini_, kDialogSection, L"colorkey");
  geometry_ = {
      ini_->GetInt(kListSection, L"button_x", 0),     ini_->GetInt(kListSection, L"button_y", 0),
      ini_->GetInt(kListSection, L"button_width", 0), ini_->GetInt(kListSection, L"button_height", 0),
      ini_->GetInt(kListSection, L"button_count", 0), ini_->GetInt(kListSection, L"button_gap", 0),
      ini_->GetInt(kListSection, L"text_x", 0),       ini_->GetInt(kListSection, L"text_y", 0)};
  font_ = CreateFontW(ini_->GetInt(kListSection, L"font_size", 0), 0, 0, 0,
                      ini_->GetInt(kListSection, L"font_bold", 0) ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                      static_cast<BYTE>(ini_->GetInt(kListSection, L"font_charset", 0)), OUT_DEFAULT_PRECIS,
                      CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                      ini_->GetString(kListSection, L"font_name", L""));
  normal_text_ = SkinColor(ini_, kListSection, L"color_normal_text");
  selected_back_ = SkinColor(ini_, kListSection, L"color_selected_back");
  selected_border_ = SkinColor(ini_, kListSection, L"color_selected_border");
  selected_text_ = SkinColor(ini_, kListSection, L"color_selected_text");
  disabled_text_ = SkinColor(ini_, kListSection, L"color_disabled_text");
  return back_ != nullptr && width_ > 0 && height_ > 0;
}

INT_PTR UpdateServerSelectDialog::DoModal() {
  if (ini_ == nullptr || back_ == nullptr || width_ <= 0 || height_ <= 0)
    return -1;
  Create(width_, height_);
  return NDialog::DoModal();
}

int32_t UpdateServerSelectDialog::OnCreate() {
  const uint32_t installed =
      version_ini_.empty() ? 0
                           : GetPrivateProfileIntW(L"UpdInfo", L"CurrentVersion", 0, version_ini_.c_str());
  const uint32_t separate =
      version_ini_.empty() ? 0
                           : GetPrivateProfileIntW(L"UpdInfo", L"SeparateStatus", 0, version_ini_.c_str());
  MarkDisabledServers(list_, installed, separate);
  Resize(width_, height_);  // the window starts at 1 x 1
  ok_.CreateFromSkin(ini_, L"UpdateServerSelectBtnOK", skin_folder_, kOkId, this);
  cancel_.CreateFromSkin(ini_, L"UpdateServerSelectBtnCancel", skin_folder_, kCancelId, this);
  scroll_bar_made_ =
      scroll_bar_.CreateFromSkin(ini_, skin_folder_, kScrollBarId, this, geometry_.rows, list_->count());
  if (scroll_bar_made_ && list_->count() <= geometry_.rows)
    scroll_bar_.Enable(0);
  const uint32_t key =
      0xFF000000u | GetRValue(color_key_) << 16 | GetGValue(color_key_) << 8 | GetBValue(color_key_);
  if (HRGN region = back_->CreateColorKeyRegion(key))
    SetWindowRgn(GetHwnd(), region, TRUE);  // the window owns the region from here
  first_visible_ = 0;
  selected_ = -1;
  return 1;
}

void UpdateServerSelectDialog::PaintRow(HDC dc, int32_t row, int32_t index) {
  const ServerRecord& server = list_->records()[index];
  const int32_t top = geometry_.y + row * (geometry_.height + geometry_.gap);
  COLORREF text = server.disabled ? disabled_text_ : normal_text_;
  if (index == selected_) {
    ScopedGdiObject<HBRUSH> back(CreateSolidBrush(selected_back_));
    ScopedGdiObject<HPEN> border(CreatePen(PS_SOLID, 1, selected_border_));
    HGDIOBJ old_brush = SelectObject(dc, back.get());
    HGDIOBJ old_pen = SelectObject(dc, border.get());
    Rectangle(dc, geometry_.x, top, geometry_.x + geometry_.width, top + geometry_.height);
    SelectObject(dc, old_pen);
    SelectObject(dc, old_brush);
    text = selected_text_;
  }
  SetTextColor(dc, text);
  TextOutW(dc, geometry_.x + geometry_.text_x, top + geometry_.text_y, server.name,
           static_cast<int>(wcslen(server.name)));
}

void UpdateServerSelectDialog::OnPaint(HDC, Dib* surface) {
  // The rows are drawn with GDI onto a DIB section that holds the background (made once, kept for the next
  // paint), then copied whole into the surface.
  if (canvas_ == nullptr || canvas_->width() != surface->width() || canvas_->height() != surface->height()) {
    if (canvas_ != nullptr)
      canvas_->Release();
    canvas_ = Dib::CreateBlank(surface->width(), surface->height(), 1);
  }
  if (canvas_ == nullptr || canvas_->bitmap() == nullptr)
    return;
  canvas_->FillRect({0, 0, canvas_->width(), canvas_->height()}, 0xFF000000u);
  Dib::Draw(nullptr, nullptr, back_, canvas_, 0);
  {
    ScopedMemoryDC dc(nullptr, canvas_->bitmap());
    if (!dc.valid())
      return;
    HGDIOBJ old_font = font_ != nullptr ? SelectObject(dc.get(), font_) : nullptr;
    SetBkMode(dc.get(), TRANSPARENT);
    for (int32_t row = 0; row < geometry_.rows && first_visible_ + row < list_->count(); ++row)
      PaintRow(dc.get(), row, first_visible_ + row);
    if (old_font != nullptr)
      SelectObject(dc.get(), old_font);
    GdiFlush();
  }
  canvas_->SetOpaque();
  Dib::Draw(nullptr, nullptr, canvas_, surface, 0);
}

void UpdateServerSelectDialog::OnLButtonDown(int32_t x, int32_t y) {
  const int32_t index = ServerRowAt(geometry_, first_visible_, list_->count(), x, y);
  if (index < 0 || list_->records()[index].disabled)
    return;
  selected_ = index;
  Invalidate();
}

void UpdateServerSelectDialog::ScrollTo(int32_t first_visible) {
  first_visible_ = ClampFirstVisible(first_visible, list_->count(), geometry_.rows);
  if (scroll_bar_made_)
    scroll_bar_.SetPosition(first_visible_);
  Invalidate();
}

void UpdateServerSelectDialog::OnMouseWheel(int32_t, int32_t, int32_t notches) {
  ScrollTo(first_visible_ + (notches <= 0 ? 1 : -1));
}

int32_t UpdateServerSelectDialog::OnNotify(int32_t code, intptr_t p1, intptr_t) {
  switch (code) {
    case NOTIFY_CLICKED:
      if (p1 == kOkId)
        EndModal(IDOK);
      else if (p1 == kCancelId)
        EndModal(IDCANCEL);
      return 1;
    case NOTIFY_SCROLL_DECREMENT:
    case NOTIFY_SCROLL_INCREMENT:
    case NOTIFY_SCROLL_POS_CHANGED:
      if (p1 == kScrollBarId) {
        first_visible_ = ClampFirstVisible(scroll_bar_.position(), list_->count(), geometry_.rows);
        Invalidate();
        return 1;
      }
      return 0;
    default:
      return 0;
  }
}

LRESULT UpdateServerSelectDialog::HitTestCaption(int32_t x, int32_t y) {
  return ServerListHitTest(geometry_, x, y);
}

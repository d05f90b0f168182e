#include "ui/skinned/SkinnedEdit.h"

#include <cwchar>

#include "ui/base/IniStringContainer.h"
#include "ui/base/NumberText.h"
#include "ui/skin/NFontManager.h"

namespace {

const wchar_t kSection[] = L"EDIT";
const int32_t kCtlColorEdit = WM_CTLCOLOREDIT - WM_CTLCOLORMSGBOX;
const int32_t kCtlColorStatic = WM_CTLCOLORSTATIC - WM_CTLCOLORMSGBOX;

// The COLORREF of the keys <name>_r, _g, _b; `colour` is left as it is when all three are absent.
void ReadColour(IniContainer* ini, const wchar_t* const (&keys)[3], COLORREF* colour) {
  if (ini->GetString(kSection, keys[0], nullptr) == nullptr &&
      ini->GetString(kSection, keys[1], nullptr) == nullptr &&
      ini->GetString(kSection, keys[2], nullptr) == nullptr)
    return;
  *colour = RGB(ini->GetInt(kSection, keys[0], 0) & 255, ini->GetInt(kSection, keys[1], 0) & 255,
                ini->GetInt(kSection, keys[2], 0) & 255);
}

const wchar_t* const kBackKeys[3] = {L"back_color_r", L"back_color_g", L"back_color_b"};
const wchar_t* const kTextKeys[3] = {L"text_color_r", L"text_color_g", L"text_color_b"};
const wchar_t* const kDisabledBackKeys[3] = {L"disabled_back_color_r", L"disabled_back_color_g",
                                             L"disabled_back_color_b"};

}  // namespace

SkinnedEdit::SkinnedEdit() : disabled_back_colour_(GetSysColor(COLOR_BTNFACE)) {}

SkinnedEdit::~SkinnedEdit() {
  Destroy();
  SkinnedEdit::ReleaseSkin();
}

void SkinnedEdit::SetNumberRange(int32_t minimum, int32_t maximum) {
  if ((style() & ES_NUMBER) == 0)
    return;
  minimum_ = minimum;
  maximum_ = maximum;
  range_check_ = 1;
}

int SkinnedEdit::LoadSkin() {
  if (!SkinnedCtrl::LoadSkin())
    return 0;
  IniStringContainer* skin = ini();
  int32_t x = skin->GetInt(kSection, L"x", 0);
  int32_t y = skin->GetInt(kSection, L"y", 0);
  int32_t width = skin->GetInt(kSection, L"width", 0);
  int32_t height = skin->GetInt(kSection, L"height", 0);
  int32_t limit = skin->GetInt(kSection, L"limit", 0);
  const wchar_t* font_id = skin->GetString(kSection, L"font_id", nullptr);
  NFontManager* fonts = FindFontManager(category_id().GetString());
  FontInfo font;
  if (fonts != nullptr && font_id != nullptr && fonts->FindFont(font_id, &font))
    TakeFont(font.font);
  SetLimitText(static_cast<uint32_t>(limit));
  ReadColour(skin, kBackKeys, &back_colour_);
  ReadColour(skin, kTextKeys, &text_colour_);
  ReadColour(skin, kDisabledBackKeys, &disabled_back_colour_);
  Move(x, y);
  Resize(width, height);
  Invalidate();
  return 1;
}

void SkinnedEdit::ReleaseSkin() {
  back_colour_ = kDefaultBackColour;
  text_colour_ = kDefaultTextColour;
  disabled_back_colour_ = GetSysColor(COLOR_BTNFACE);
  SkinnedCtrl::ReleaseSkin();
}

void SkinnedEdit::TakeFont(HFONT font) {
  LOGFONTW description;
  if (GetObjectW(font, sizeof(description), &description) != sizeof(description))
    return;
  HFONT copy = CreateFontIndirectW(&description);
  if (copy == nullptr)
    return;
  // The window lets go of the old copy before it is deleted.
  SetFont(copy);
  font_.reset(copy);
}

HBRUSH SkinnedEdit::KeepBrush(COLORREF colour) {
  brush_.Reset(CreateSolidBrush(colour));
  return brush_.get();
}

HBRUSH SkinnedEdit::OnCtlColor(HDC dc, int32_t type) {
  if (type == kCtlColorEdit) {
    SetBkColor(dc, back_colour_);
    SetBkMode(dc, OPAQUE);
    SetTextColor(dc, text_colour_);
    return KeepBrush(back_colour_);
  }
  if (type == kCtlColorStatic) {
    SetBkColor(dc, disabled_back_colour_);
    SetBkMode(dc, OPAQUE);
    return KeepBrush(disabled_back_colour_);
  }
  return nullptr;
}

void SkinnedEdit::OnKillFocus() {
  if (!range_check_)
    return;
  int32_t value = TextToInt32(GetText());
  if (value < minimum_)
    value = minimum_;
  if (value > maximum_)
    value = maximum_;
  // A buffer of its own: any 32-bit value with its sign fits, whatever the box's limit is.
  wchar_t number[16];
  swprintf(number, sizeof(number) / sizeof(number[0]), L"%d", static_cast<int>(value));
  SetText(number);
  Invalidate();
}

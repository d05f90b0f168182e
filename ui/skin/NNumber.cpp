#include "ui/skin/NNumber.h"

#include <memory>
#include <new>

#include "ui/base/IniStringContainer.h"
#include "ui/gfx/Dib.h"
#include "ui/skin/SkinLoader.h"

NNumber::~NNumber() {
  for (Dib* digit : digits_) {
    if (digit != nullptr)
      digit->Release();
  }
  if (dot_ != nullptr)
    dot_->Release();
}

int NNumber::LoadDigitImage(int32_t digit, const wchar_t* path) {
  if (digit < 0 || digit > 9)
    return 0;
  Dib* image = Dib::Load(path, 0);
  if (image == nullptr)
    return 0;
  if (digits_[digit] != nullptr)
    digits_[digit]->Release();
  digits_[digit] = image;
  return 1;
}

int NNumber::LoadDotImage(const wchar_t* path) {
  Dib* image = Dib::Load(path, 0);
  if (image == nullptr)
    return 0;
  if (dot_ != nullptr)
    dot_->Release();
  dot_ = image;
  return 1;
}

void NNumber::Draw(Dib* destination) const {
  if (destination == nullptr)
    return;
  POINT pen = {x_, y_};
  for (const wchar_t* c = text_.GetString(); *c != L'\0'; ++c) {
    Dib* glyph = nullptr;
    if (*c >= L'0' && *c <= L'9')
      glyph = digits_[*c - L'0'];
    else if (*c == L'.')
      glyph = dot_;
    else
      break;
    if (glyph == nullptr)
      continue;
    Dib::Draw(nullptr, &pen, glyph, destination, 1);
    pen.x += glyph->width();
  }
}

std::wstring DigitFileName(const wchar_t* pattern, int32_t digit) {
  std::wstring name = pattern != nullptr ? pattern : L"";
  size_t at = name.find(L"%d");
  if (at != std::wstring::npos)
    name.replace(at, 2, std::to_wstring(digit));
  return name;
}

NNumber* LoadSkinNumber(SkinLoader* category) {
  std::unique_ptr<IniStringContainer> ini(LoadControlSkinIni(category, L"version_number"));
  if (!ini)
    return nullptr;
  const wchar_t* pattern = ini->GetString(L"NUMBER", L"image", nullptr);
  if (pattern == nullptr)
    return nullptr;
  std::unique_ptr<NNumber> number(new (std::nothrow) NNumber());
  if (!number)
    return nullptr;
  number->set_position(ini->GetInt(L"NUMBER", L"x", 0), ini->GetInt(L"NUMBER", L"y", 0));
  for (int32_t digit = 0; digit <= 9; ++digit) {
    const wchar_t* path = OpenSkinFile(category, DigitFileName(pattern, digit).c_str());
    if (path == nullptr || !number->LoadDigitImage(digit, path))
      return nullptr;
  }
  if (const wchar_t* dot = ini->GetString(L"NUMBER", L"image_dot", nullptr)) {
    const wchar_t* path = OpenSkinFile(category, dot);
    if (path == nullptr || !number->LoadDotImage(path))
      return nullptr;
  }
  return number.release();
}

#include "app/texts/MessageFormat.h"

namespace {

// `format` with each "%<placeholder>" replaced by `value` and "%%" by "%".
std::wstring ReplacePlaceholder(const wchar_t* format, wchar_t placeholder, const std::wstring& value) {
  std::wstring text;
  if (format == nullptr)
    return text;
  for (const wchar_t* position = format; *position != 0; ++position) {
    if (position[0] == L'%' && position[1] == placeholder) {
      text += value;
      ++position;
    } else if (position[0] == L'%' && position[1] == L'%') {
      text += L'%';
      ++position;
    } else {
      text += *position;
    }
  }
  return text;
}

}  // namespace

std::wstring FormatMessageText(const wchar_t* format, const wchar_t* value) {
  return ReplacePlaceholder(format, L's', value != nullptr ? value : L"");
}

std::wstring FormatMessageNumber(const wchar_t* format, int32_t value) {
  return ReplacePlaceholder(format, L'd', std::to_wstring(value));
}

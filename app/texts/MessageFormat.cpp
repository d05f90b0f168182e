#include "app/texts/MessageFormat.h"

std::wstring FormatMessageText(const wchar_t* format, const wchar_t* value) {
  std::wstring text;
  if (format == nullptr)
    return text;
  for (const wchar_t* position = format; *position != 0; ++position) {
    if (position[0] == L'%' && position[1] == L's') {
      text += value != nullptr ? value : L"";
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

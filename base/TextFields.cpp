#include "base/TextFields.h"

#include <cwchar>

bool CopyToField(wchar_t* field, size_t width, const wchar_t* text) {
  if (width == 0)
    return text == nullptr || text[0] == 0;
  field[0] = 0;
  return AppendToField(field, width, text);
}

bool AppendToField(wchar_t* field, size_t width, const wchar_t* text) {
  if (width == 0)
    return text == nullptr || text[0] == 0;
  size_t used = 0;
  while (used < width - 1 && field[used] != 0)
    ++used;
  if (text == nullptr)
    return true;
  size_t length = std::wcslen(text);
  size_t room = width - 1 - used;
  size_t copied = length < room ? length : room;
  std::wmemcpy(field + used, text, copied);
  field[used + copied] = 0;
  return copied == length;
}

bool IsPlainName(const wchar_t* name) {
  if (name == nullptr || name[0] == 0)
    return false;
  if (std::wcspbrk(name, L"\\/:") != nullptr)
    return false;
  return std::wcsstr(name, L"..") == nullptr;
}

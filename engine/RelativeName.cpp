#include "engine/RelativeName.h"

#include <cwchar>

namespace {

bool IsSeparator(wchar_t c) {
  return c == L'\\' || c == L'/';
}

bool IsRefusedCharacter(wchar_t c) {
  return c < 0x20 || wcschr(L":*?\"<>|", c) != nullptr;
}

}  // namespace

bool IsSafeRelativeName(const wchar_t* name) {
  if (name == nullptr || name[0] == L'\0' || IsSeparator(name[0]))
    return false;
  size_t component_start = 0;
  for (size_t i = 0;; ++i) {
    if (i > kMaxRelativeNameLength)
      return false;
    wchar_t c = name[i];
    if (c == L'\0' || IsSeparator(c)) {
      if (i - component_start == 2 && name[component_start] == L'.' && name[component_start + 1] == L'.')
        return false;
      if (c == L'\0')
        return true;
      component_start = i + 1;
      continue;
    }
    if (IsRefusedCharacter(c))
      return false;
  }
}

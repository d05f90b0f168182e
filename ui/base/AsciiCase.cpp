#include "ui/base/AsciiCase.h"

bool EqualsIgnoringAsciiCase(const wchar_t* a, const wchar_t* b) {
  if (a == nullptr || b == nullptr)
    return false;
  for (size_t i = 0;; ++i) {
    if (FoldAsciiCase(a[i]) != FoldAsciiCase(b[i]))
      return false;
    if (a[i] == 0)
      return true;
  }
}

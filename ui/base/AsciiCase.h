// Text compares that ignore the case of the ASCII letters A-Z only: file names, pack entries and image cache
// keys. The fold is our own rather than the C library's or the system's, so that no locale (a Turkish dotted
// I, for instance) can make two names equal or different behind our back. Ini sections and keys compare
// exactly.
#pragma once

#include <cstddef>

// 'A'-'Z' become 'a'-'z'; every other unit is returned as it is.
inline wchar_t FoldAsciiCase(wchar_t unit) {
  return (unit >= L'A' && unit <= L'Z') ? static_cast<wchar_t>(unit - L'A' + L'a') : unit;
}

// True when both texts are non-null and equal after FoldAsciiCase, up to and including their NULs.
bool EqualsIgnoringAsciiCase(const wchar_t* a, const wchar_t* b);

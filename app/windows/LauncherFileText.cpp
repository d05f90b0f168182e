#include "app/windows/LauncherFileText.h"

#include <cwchar>

namespace {

wchar_t LowerAscii(wchar_t c) {
  return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

// The length of `folder` when `path` lies inside it (or is it), else 0.
size_t InsideFolder(const std::wstring& path, const wchar_t* folder) {
  if (folder == nullptr)
    return 0;
  size_t length = std::wcslen(folder);
  // A folder given with its trailing backslash still matches.
  while (length > 0 && folder[length - 1] == L'\\')
    --length;
  if (length == 0 || path.size() < length)
    return 0;
  for (size_t i = 0; i < length; ++i) {
    if (LowerAscii(path[i]) != LowerAscii(folder[i]))
      return 0;
  }
  if (path.size() > length && path[length] != L'\\')
    return 0;
  return length;
}

}  // namespace

std::wstring ShownFileText(const wchar_t* current_file, const wchar_t* game_folder) {
  std::wstring path;
  if (current_file != nullptr)
    path.assign(current_file, wcsnlen(current_file, 260));
  std::wstring shown;
  size_t inside = InsideFolder(path, game_folder);
  if (inside > 0) {
    shown = path.substr(inside);
    if (!shown.empty() && shown[0] == L'\\')
      shown.erase(0, 1);
  } else {
    size_t slash = path.rfind(L'\\');
    shown = slash == std::wstring::npos ? path : path.substr(slash + 1);
  }
  for (wchar_t& c : shown) {
    if (c == L'\\')
      c = L'/';
  }
  return shown;
}

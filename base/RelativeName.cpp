#include "base/RelativeName.h"

#include <climits>
#include <cwchar>
#include <string>

#include "base/Paths.h"

namespace {

bool IsSeparator(wchar_t c) {
  return c == L'\\' || c == L'/';
}

bool IsRefusedCharacter(wchar_t c) {
  return c < 0x20 || c == 0x7F || wcschr(L":*?\"<>|", c) != nullptr;
}

wchar_t AsciiUpper(wchar_t c) {
  return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

bool IsDeviceDigit(wchar_t c) {
  // Windows takes the superscript digits one to three for COM and LPT ports as well.
  return (c >= L'1' && c <= L'9') || c == 0x00B9 || c == 0x00B2 || c == 0x00B3;
}

// True when the text [begin, end) is a device name. Windows looks at a part up to its first dot, with the
// blanks before that dot dropped: "nul", "NUL.txt" and "nul .txt" are all the device.
bool IsDeviceName(const wchar_t* begin, const wchar_t* end) {
  const wchar_t* stem_end = begin;
  while (stem_end != end && *stem_end != L'.')
    ++stem_end;
  while (stem_end != begin && stem_end[-1] == L' ')
    --stem_end;
  wchar_t stem[8] = {};
  const size_t length = static_cast<size_t>(stem_end - begin);
  if (length < 3 || length > 7)
    return false;
  for (size_t i = 0; i < length; ++i)
    stem[i] = AsciiUpper(begin[i]);
  static const wchar_t* const kNames[] = {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"};
  for (const wchar_t* device : kNames) {
    if (wcscmp(stem, device) == 0)
      return true;
  }
  return length == 4 && (wcsncmp(stem, L"COM", 3) == 0 || wcsncmp(stem, L"LPT", 3) == 0) &&
         IsDeviceDigit(begin[3]);
}

// One part between separators (not empty).
bool IsSafePart(const wchar_t* begin, const wchar_t* end) {
  const wchar_t last = end[-1];
  return last != L'.' && last != L' ' && !IsDeviceName(begin, end);
}

// The full path Windows makes of `path` (no file system access), with a backslash at its end when `folder`.
bool FullPathOf(const wchar_t* path, bool folder, wchar_t (&out)[MAX_PATH]) {
  const DWORD length = GetFullPathNameW(path, MAX_PATH, out, nullptr);
  if (length == 0 || length >= MAX_PATH)
    return false;
  if (folder && out[length - 1] != L'\\') {
    if (length + 1 >= MAX_PATH)
      return false;
    out[length] = L'\\';
    out[length + 1] = L'\0';
  }
  return true;
}

bool CheckRelativeName(const wchar_t* name, bool allow_empty_parts, size_t max_length) {
  // A byte-order mark first would be taken for the installed-file list's own when its record is the list's
  // first line: read back, the record would name another file.
  if (name == nullptr || name[0] == L'\0' || IsSeparator(name[0]) || name[0] == 0xFEFF)
    return false;
  size_t part_start = 0;
  for (size_t i = 0;; ++i) {
    if (i > max_length)
      return false;
    const wchar_t c = name[i];
    if (c == L'\0' || IsSeparator(c)) {
      if (i == part_start && !allow_empty_parts)
        return false;
      if (i > part_start && !IsSafePart(name + part_start, name + i))
        return false;
      if (c == L'\0')
        return true;
      part_start = i + 1;
      continue;
    }
    if (IsRefusedCharacter(c))
      return false;
  }
}

}  // namespace

bool IsSafeRelativeName(const wchar_t* name) {
  return CheckRelativeName(name, true, kMaxRelativeNameLength);
}

bool IsSafeRelativeFileName(const wchar_t* name) {
  return CheckRelativeName(name, false, kMaxRelativeNameLength);
}

bool IsSafeRelativeFileName(std::string_view utf8_name) {
  if (utf8_name.empty() || utf8_name.size() > static_cast<size_t>(INT_MAX))
    return false;
  const int bytes = static_cast<int>(utf8_name.size());
  const int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8_name.data(), bytes, nullptr, 0);
  if (length <= 0)
    return false;
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8_name.data(), bytes, &wide[0], length);
  // A NUL inside the bytes would end the wide name early: the name checked would not be the name stored.
  if (wide.find(L'\0') != std::wstring::npos)
    return false;
  return CheckRelativeName(wide.c_str(), false, wide.size());
}

bool JoinUnderRoot(wchar_t (&out)[MAX_PATH], const wchar_t* root, const wchar_t* name) {
  out[0] = L'\0';
  wchar_t full_root[MAX_PATH];
  wchar_t full_path[MAX_PATH];
  if (root == nullptr || root[0] == L'\0' || !IsSafeRelativeName(name) || !base::JoinPath(out, root, name) ||
      !FullPathOf(root, true, full_root) || !FullPathOf(out, false, full_path)) {
    out[0] = L'\0';
    return false;
  }
  const size_t root_length = wcslen(full_root);
  if (wcslen(full_path) <= root_length || _wcsnicmp(full_path, full_root, root_length) != 0) {
    out[0] = L'\0';
    return false;
  }
  return true;
}

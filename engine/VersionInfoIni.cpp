#include "engine/VersionInfoIni.h"

#include <windows.h>

#include <cstring>
#include <cwctype>
#include <string>

#include "base/ScopedHandle.h"
#include "engine/EngineFiles.h"

namespace {

const wchar_t kSection[] = L"UpdInfo";
const wchar_t kCurrentVersion[] = L"CurrentVersion";
const wchar_t kSeparateStatus[] = L"SeparateStatus";
const wchar_t kUpdaterVersion[] = L"UpdaterVersion";
// An ini larger than this is not one of ours: it is not rewritten.
constexpr DWORD kMaxIniBytes = 1 << 20;

int ReadValue(const wchar_t* ini_path, const wchar_t* key) {
  return static_cast<int>(GetPrivateProfileIntW(kSection, key, 0, ini_path));
}

template <typename Char>
bool IsBlank(Char c) {
  return c == ' ' || c == '\t';
}

// `text` [begin, end) with blanks trimmed equals the ASCII `name`, compared without regard to case.
template <typename Char>
bool TrimmedEquals(const std::basic_string<Char>& text, size_t begin, size_t end, const wchar_t* name) {
  while (begin < end && IsBlank(text[begin]))
    ++begin;
  while (end > begin && IsBlank(text[end - 1]))
    --end;
  const size_t length = wcslen(name);
  if (end - begin != length)
    return false;
  for (size_t i = 0; i < length; ++i) {
    if (towlower(static_cast<wchar_t>(text[begin + i])) != towlower(name[i]))
      return false;
  }
  return true;
}

template <typename Char>
std::basic_string<Char> Widen(const std::string& ascii) {
  return std::basic_string<Char>(ascii.begin(), ascii.end());
}

// One line of the text: [begin, end) without its line break; `next` is where the following line starts.
struct Line {
  size_t begin;
  size_t end;
  size_t next;
};

template <typename Char>
Line LineAt(const std::basic_string<Char>& text, size_t begin) {
  size_t next = text.find(static_cast<Char>('\n'), begin);
  next = next == std::basic_string<Char>::npos ? text.size() : next + 1;
  size_t end = next;
  while (end > begin && (text[end - 1] == '\n' || text[end - 1] == '\r'))
    --end;
  return {begin, end, next};
}

template <typename Char>
bool IsSectionLine(const std::basic_string<Char>& text, const Line& line) {
  size_t at = line.begin;
  while (at < line.end && IsBlank(text[at]))
    ++at;
  return at < line.end && text[at] == '[';
}

template <typename Char>
bool IsOurSection(const std::basic_string<Char>& text, const Line& line) {
  if (!IsSectionLine(text, line))
    return false;
  const size_t open = text.find(static_cast<Char>('['), line.begin);
  const size_t close = text.find(static_cast<Char>(']'), open);
  return close != std::basic_string<Char>::npos && close < line.end &&
         TrimmedEquals(text, open + 1, close, kSection);
}

// Sets the three keys in `text` (see MergeVersionInfoText).
template <typename Char>
std::basic_string<Char> MergeKeys(std::basic_string<Char> text, const VersionInfo& info) {
  const wchar_t* const names[] = {kCurrentVersion, kSeparateStatus, kUpdaterVersion};
  const int values[] = {info.current_version, info.separate_status, info.updater_version};
  const std::basic_string<Char> line_break = Widen<Char>("\r\n");
  bool set[3] = {false, false, false};
  bool in_section = false;
  bool section_found = false;
  size_t section_end = std::basic_string<Char>::npos;  // after the section's last line that is not blank
  for (size_t at = 0; at < text.size();) {
    Line line = LineAt(text, at);
    if (IsSectionLine(text, line)) {
      in_section = !section_found && IsOurSection(text, line);
      section_found = section_found || in_section;
      if (in_section)
        section_end = line.next;
    } else if (in_section) {
      const size_t equals = text.find(static_cast<Char>('='), line.begin);
      for (int k = 0; k < 3 && equals < line.end; ++k) {
        if (set[k] || !TrimmedEquals(text, line.begin, equals, names[k]))
          continue;
        const std::basic_string<Char> value = Widen<Char>(std::to_string(values[k]));
        text.replace(equals + 1, line.end - equals - 1, value);
        line = LineAt(text, line.begin);
        set[k] = true;
      }
      if (line.end > line.begin)
        section_end = line.next;
    }
    at = line.next;
  }
  std::basic_string<Char> added;
  if (!section_found)
    added = Widen<Char>("[UpdInfo]\r\n");
  for (int k = 0; k < 3; ++k) {
    if (!set[k]) {
      const std::wstring name = names[k];
      added += std::basic_string<Char>(name.begin(), name.end()) + static_cast<Char>('=') +
               Widen<Char>(std::to_string(values[k])) + line_break;
    }
  }
  if (added.empty())
    return text;
  size_t insert_at = section_found ? section_end : text.size();
  if (insert_at > 0 && text[insert_at - 1] != '\n') {
    text.insert(insert_at, line_break);
    insert_at += line_break.size();
  }
  text.insert(insert_at, added);
  return text;
}

// The whole ini, or an empty text for a missing one. False when it exists but cannot be read whole.
bool ReadIniBytes(const wchar_t* ini_path, std::string* bytes) {
  bytes->clear();
  UniqueHandle file(CreateFileW(ini_path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr));
  if (!file) {
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
  }
  const DWORD size = GetFileSize(file.get(), nullptr);
  if (size == INVALID_FILE_SIZE || size > kMaxIniBytes)
    return false;
  bytes->resize(size);
  DWORD read = 0;
  return size == 0 || (ReadFile(file.get(), &(*bytes)[0], size, &read, nullptr) && read == size);
}

}  // namespace

std::string MergeVersionInfoText(const std::string& old_bytes, const VersionInfo& info) {
  const bool utf16 = old_bytes.size() >= 2 && static_cast<unsigned char>(old_bytes[0]) == 0xFF &&
                     static_cast<unsigned char>(old_bytes[1]) == 0xFE;
  if (!utf16)
    return MergeKeys(old_bytes, info);
  std::u16string wide((old_bytes.size() - 2) / 2, u'\0');
  if (!wide.empty())
    std::memcpy(&wide[0], old_bytes.data() + 2, wide.size() * 2);
  wide = MergeKeys(wide, info);
  std::string merged = old_bytes.substr(0, 2);
  merged.append(reinterpret_cast<const char*>(wide.data()), wide.size() * 2);
  return merged;
}

VersionInfo ReadVersionInfo(const wchar_t* ini_path) {
  VersionInfo info;
  if (ini_path == nullptr || ini_path[0] == L'\0')
    return info;
  info.current_version = ReadValue(ini_path, kCurrentVersion);
  info.separate_status = ReadValue(ini_path, kSeparateStatus);
  info.updater_version = ReadValue(ini_path, kUpdaterVersion);
  return info;
}

bool WriteVersionInfo(const wchar_t* ini_path, const VersionInfo& info) {
  if (ini_path == nullptr || ini_path[0] == L'\0')
    return false;
  std::string old_bytes;
  if (!ReadIniBytes(ini_path, &old_bytes))
    return false;
  const std::string text = MergeVersionInfoText(old_bytes, info);
  return engine_files::ReplaceFileContents(ini_path, text.data(), text.size(), FILE_ATTRIBUTE_NORMAL) ==
         engine_files::kFileDone;
}

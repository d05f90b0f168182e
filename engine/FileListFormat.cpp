#include "engine/FileListFormat.h"

#include <cstdint>
#include <cwchar>
#include <cwctype>

#include "base/RelativeName.h"

namespace {

constexpr size_t kFieldCount = 5;

struct Span {
  const wchar_t* begin;
  const wchar_t* end;
};

bool IsBlank(wchar_t c) {
  return c == L' ' || (c >= L'\t' && c <= L'\r');
}

// The wide-text-to-long rule over one field, with the range check that the rule itself lacks: false when the
// value lies outside [low, high].
bool ParseNumber(Span field, int64_t low, int64_t high, int64_t& value) {
  const wchar_t* p = field.begin;
  while (p != field.end && IsBlank(*p))
    ++p;
  bool negative = false;
  if (p != field.end && (*p == L'+' || *p == L'-')) {
    negative = *p == L'-';
    ++p;
  }
  // Every field fits in 33 bits; once the digits pass 10^10 the value is out of range whatever follows.
  constexpr int64_t kSaturated = 10000000000;
  int64_t magnitude = 0;
  for (; p != field.end && *p >= L'0' && *p <= L'9'; ++p) {
    if (magnitude < kSaturated)
      magnitude = magnitude * 10 + (*p - L'0');
  }
  value = negative ? -magnitude : magnitude;
  return value >= low && value <= high;
}

// Cuts one line into at most kFieldCount fields; returns how many were found.
size_t SplitFields(Span line, Span (&fields)[kFieldCount]) {
  size_t count = 0;
  const wchar_t* p = line.begin;
  while (count < kFieldCount) {
    while (p != line.end && *p == L':')
      ++p;
    if (p == line.end)
      break;
    const wchar_t* start = p;
    while (p != line.end && *p != L':')
      ++p;
    fields[count++] = Span{start, p};
  }
  return count;
}

bool ParseLine(Span line, FileRecord& record) {
  Span fields[kFieldCount];
  if (SplitFields(line, fields) < kFieldCount)
    return false;
  size_t name_length = static_cast<size_t>(fields[0].end - fields[0].begin);
  if (name_length > kMaxRelativeNameLength)
    return false;
  record = FileRecord{};
  wmemcpy(record.name, fields[0].begin, name_length);
  record.name[name_length] = L'\0';
  if (!IsSafeRelativeName(record.name))
    return false;
  int64_t registered_version, version, size, crc;
  if (!ParseNumber(fields[1], INT32_MIN, INT32_MAX, registered_version) ||
      !ParseNumber(fields[2], INT32_MIN, INT32_MAX, version) ||
      !ParseNumber(fields[3], INT32_MIN, INT32_MAX, size) ||
      !ParseNumber(fields[4], INT32_MIN, UINT32_MAX, crc))
    return false;
  record.registeredVersion = static_cast<int32_t>(registered_version);
  record.version = static_cast<int32_t>(version);
  record.size = static_cast<int32_t>(size);
  record.crc32 = static_cast<uint32_t>(crc);
  return true;
}

bool HoldsText(Span line) {
  for (const wchar_t* p = line.begin; p != line.end; ++p) {
    if (!IsBlank(*p))
      return true;
  }
  return false;
}

}  // namespace

std::vector<FileRecord> ParseFileListText(const wchar_t* text, size_t length, size_t* dropped) {
  if (dropped != nullptr)
    *dropped = 0;
  std::vector<FileRecord> records;
  if (text == nullptr)
    return records;
  const wchar_t* end = wmemchr(text, L'\0', length);
  if (end == nullptr)
    end = text + length;
  const wchar_t* p = text;
  if (p != end && *p == 0xFEFF)
    ++p;
  while (p != end) {
    const wchar_t* line_end = wmemchr(p, L'\n', static_cast<size_t>(end - p));
    if (line_end == nullptr)
      line_end = end;
    FileRecord record;
    const Span line{p, line_end};
    if (line_end != p && ParseLine(line, record))
      records.push_back(record);
    else if (dropped != nullptr && HoldsText(line))
      ++*dropped;
    p = line_end == end ? end : line_end + 1;
  }
  return records;
}

void AppendFileListLine(std::wstring& text, const FileRecord& record) {
  text.append(record.name, wcsnlen(record.name, sizeof(record.name) / sizeof(record.name[0])));
  for (int32_t value :
       {record.registeredVersion, record.version, record.size, static_cast<int32_t>(record.crc32)}) {
    text += L':';
    text += std::to_wstring(value);
  }
  text += L"\r\n";
}

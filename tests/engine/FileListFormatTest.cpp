#include "engine/FileListFormat.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "base/RelativeName.h"

namespace {

std::vector<FileRecord> Parse(const std::wstring& text) {
  return ParseFileListText(text.data(), text.size());
}

std::wstring Names(const std::vector<FileRecord>& records) {
  std::wstring names;
  for (const FileRecord& record : records)
    names += std::wstring(record.name) + L"|";
  return names;
}

LONG WINAPI ReportReadPastTheBuffer(EXCEPTION_POINTERS*) {
  fputs("the parser read past the end of its buffer\n", stderr);
  ExitProcess(3);
}

}  // namespace

TEST(FileListFormat, WellFormedLinesGiveTheirRecords) {
  std::vector<FileRecord> records = Parse(L"game.exe:3:7:1024:-559038737\r\ndata\\a.pak:0:1:0:12\r\n");
  ASSERT_EQ(2u, records.size());
  EXPECT_STREQ(L"game.exe", records[0].name);
  EXPECT_EQ(3, records[0].registeredVersion);
  EXPECT_EQ(7, records[0].version);
  EXPECT_EQ(1024, records[0].size);
  EXPECT_EQ(0xDEADBEEFu, records[0].crc32);
  EXPECT_STREQ(L"data\\a.pak", records[1].name);
  EXPECT_EQ(12u, records[1].crc32);
}

TEST(FileListFormat, LinesAndFieldsAreCutLeniently) {
  struct Case {
    std::wstring text;
    std::wstring names;
    const char* rule;
  } cases[] = {
      {L"\xFEFF"
       L"a:1:2:3:4\r\n",
       L"a|", "a leading byte-order mark is skipped"},
      {L"a:1:2:3:4\r\n\r\n\n\nb:1:2:3:4", L"a|b|", "runs of line breaks; no break after the last line"},
      {L"a::1:::2:3:4\n", L"a|", "runs of colons count as one"},
      {L":a:1:2:3:4\n", L"a|", "leading colon"},
      {L"a:1:2:3\nb:1:2:3:4\n", L"b|", "fewer than five fields"},
      {L"a:1:2:3:4:5:6\n", L"a|", "fields after the fifth are ignored"},
      {L"\n\n\n", L"", "only line breaks"},
      {L"no line break and no colon", L"", "one field"},
      {std::wstring(L"a:1:2:3:4\n\0b:1:2:3:4\n", 21), L"a|", "a NUL ends the text"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.names, Names(Parse(c.text))) << c.rule;
}

TEST(FileListFormat, NumbersFollowTheWideTextToLongRuleWithinRange) {
  std::vector<FileRecord> records = Parse(L"a: 12: -3:+4x:-1\r\nb:::x:\t7\r\n");
  ASSERT_EQ(1u, records.size()) << "b has only three fields";
  EXPECT_EQ(12, records[0].registeredVersion);
  EXPECT_EQ(-3, records[0].version);
  EXPECT_EQ(4, records[0].size) << "digits up to the first other character";
  EXPECT_EQ(0xFFFFFFFFu, records[0].crc32);

  records = Parse(L"a:x:y:z:w\n");
  ASSERT_EQ(1u, records.size());
  EXPECT_EQ(0, records[0].version) << "no digits gives 0";

  records = Parse(L"a:2147483647:-2147483648:0:4294967295\n");
  ASSERT_EQ(1u, records.size());
  EXPECT_EQ(2147483647, records[0].registeredVersion);
  EXPECT_EQ(INT32_MIN, records[0].version);
  EXPECT_EQ(0xFFFFFFFFu, records[0].crc32) << "a CRC written unsigned keeps its 32 bits";
}

TEST(FileListFormat, RecordsWithNumbersOutOfRangeAreDropped) {
  EXPECT_EQ(L"", Names(Parse(L"a:2147483648:2:3:4\n"
                             L"b:-2147483649:2:3:4\n"
                             L"c:1:99999999999999999999999999:3:4\n"
                             L"d:1:2:3:4294967296\n"
                             L"e:1:2:3:-2147483649\n")));
}

TEST(FileListFormat, UnsafeAndOverLongNamesAreDropped) {
  const std::wstring longest(kMaxRelativeNameLength, L'n');
  std::wstring text = L"..\\evil.dll:1:2:3:4\n\\abs.dll:1:2:3:4\nsub\\..\\..\\x:1:2:3:4\nok.dll:1:2:3:4\n";
  text += longest + L"x:1:2:3:4\n" + longest + L":1:2:3:4\n";
  std::vector<FileRecord> records = Parse(text);
  ASSERT_EQ(2u, records.size());
  EXPECT_STREQ(L"ok.dll", records[0].name);
  EXPECT_EQ(longest, records[1].name);
}

TEST(FileListFormat, VeryLongLinesAreDroppedWithoutHarmingTheirNeighbours) {
  std::wstring text = L"a:1:2:3:4\n" + std::wstring(200000, L'x') + L":1:2:3:4\n" + L"b:" +
                      std::wstring(100000, L'7') + L":2:3:4\nc:1:2:3:4";
  EXPECT_EQ(L"a|c|", Names(Parse(text)));
}

TEST(FileListFormat, ParsingNeverReadsPastTheBuffer) {
  // The text ends exactly at the end of a readable page; the next page is inaccessible, so one code unit read
  // too far ends the test program (at once, rather than waiting for a debugger).
  SetUnhandledExceptionFilter(&ReportReadPastTheBuffer);
  SYSTEM_INFO system;
  GetSystemInfo(&system);
  const size_t page = system.dwPageSize;
  char* area = static_cast<char*>(VirtualAlloc(nullptr, page * 2, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
  ASSERT_NE(nullptr, area);
  DWORD old_protection;
  ASSERT_TRUE(VirtualProtect(area + page, page, PAGE_NOACCESS, &old_protection));
  for (const std::wstring& text :
       {std::wstring(L"a:1:2:3:4\nb:1:2:3:"), std::wstring(L"a:1:2:3:4\nb:1:2:3:45"), std::wstring(L"abc"),
        std::wstring(L"\xFEFF"), std::wstring(L"a:1:2:3:4\n")}) {
    wchar_t* end = reinterpret_cast<wchar_t*>(area + page);
    wchar_t* start = end - text.size();
    std::memcpy(start, text.data(), text.size() * sizeof(wchar_t));
    ParseFileListText(start, text.size());
  }
  VirtualFree(area, 0, MEM_RELEASE);
  SetUnhandledExceptionFilter(nullptr);
}

TEST(FileListFormat, LinesAreWrittenWithSignedNumbers) {
  FileRecord record;
  std::memset(&record, 0, sizeof(record));
  wcscpy(record.name, L"data\\b.pak");
  record.registeredVersion = 5;
  record.version = -1;
  record.size = 2147483647;
  record.crc32 = 0x80000001u;
  std::wstring text;
  AppendFileListLine(text, record);
  EXPECT_EQ(L"data\\b.pak:5:-1:2147483647:-2147483647\r\n", text);
  std::vector<FileRecord> back = Parse(text);
  ASSERT_EQ(1u, back.size());
  EXPECT_EQ(0, std::memcmp(&record, &back[0], sizeof(record)));
}

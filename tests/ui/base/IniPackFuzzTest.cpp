// Seeded mutation fuzzing of the toolkit's readers of files that users exchange: the UTF-16 ini reader (every
// skin description and message table goes through it) and the pack archive behind the virtual files. Each
// input is checked against what the reader promises, not only for a crash.
#include <gtest/gtest.h>

#include <cwchar>
#include <set>
#include <string>
#include <vector>

#include "tests/support/GuardedBuffer.h"
#include "tests/support/Mutator.h"
#include "tests/support/TempFolder.h"
#include "tests/ui/base/PackWriter.h"
#include "ui/base/FileObject.h"
#include "ui/base/IniFile.h"
#include "ui/base/IniStringContainer.h"
#include "ui/base/VirtualFile.h"

namespace testing_support {
namespace {

bool IsBlank(wchar_t unit) {
  return unit == L' ' || unit == L'\t' || unit == L'\r' || unit == L'\n';
}

// A text handed out by the container: terminated, on one line, without blanks in front. (A NUL inside a line
// ends the text there as a C string, so blanks before such a NUL may end it.)
void ExpectTrimmedLine(const wchar_t* text, uint32_t text_units, size_t* total) {
  ASSERT_NE(nullptr, text);
  const size_t length = std::wcslen(text);
  ASSERT_LE(length, text_units);
  ASSERT_EQ(nullptr, std::wcspbrk(text, L"\r\n"));
  if (length != 0) {
    ASSERT_FALSE(IsBlank(text[0]));
  }
  *total += length;
}

// Walks every section and key: names are within the text, keys hold no '=', every key is
// found by a lookup in the first section of its name, and all texts together are no longer than the input.
void ExpectContainerWithinItsText(IniStringContainer* ini, uint32_t text_units) {
  size_t total = 0;
  int sections = 0;
  std::set<std::wstring> seen;  // a lookup reads the first section of a name only
  for (int more = ini->FirstSection(); more; more = ini->NextSection(), ++sections) {
    const wchar_t* name = ini->GetCurrentSectionName();
    ASSERT_NO_FATAL_FAILURE(ExpectTrimmedLine(name, text_units, &total));
    ASSERT_EQ(nullptr, std::wcschr(name, L']'));
    const bool first_of_its_name = seen.insert(name).second;
    for (int key_more = ini->FirstKey(); key_more; key_more = ini->NextKey()) {
      const wchar_t* key = ini->GetCurrentKeyName();
      const wchar_t* value = ini->GetCurrentValue();
      ASSERT_NO_FATAL_FAILURE(ExpectTrimmedLine(key, text_units, &total));
      ASSERT_NO_FATAL_FAILURE(ExpectTrimmedLine(value, text_units, &total));
      ASSERT_EQ(nullptr, std::wcschr(key, L'='));
      // A lookup finds this key or an earlier one of its name.
      if (first_of_its_name) {
        const wchar_t* found = ini->GetString(name, key, nullptr);
        ASSERT_NE(nullptr, found);
        ASSERT_EQ(nullptr, std::wcspbrk(found, L"\r\n"));
      }
    }
  }
  // Every text is copied once from its own part of the input.
  ASSERT_LE(total, text_units);
  ASSERT_LE(static_cast<uint32_t>(sections), text_units / 2 + 1);
}

std::vector<std::string> IniSeeds() {
  return {
      Utf16Bytes(L"[MESSAGE]\r\nTITLE = Orvane Launcher\r\nERR_1=Could not connect; try again\r\n", true),
      Utf16Bytes(L"; skin\n[FONT]\ncount=2\ncolorkey_r=255\n[FONT_0]\nid=small\nsize=12\nname=Arial\n"
                 L"[FONT_1]\nid=big\nsize=-20\nbold=1\n",
                 true),
      Utf16Bytes(L"[IMAGE]\r\nx=10\r\ny=-4\r\nframe_count=3\r\nframe_time=100\r\n[FRAME_0]\r\nimage=a.bmp\r\n"
                 L"[ FRAME_1 ]\r\nimage = b.png\r\n[FRAME_2\r\nimage=c.bmp=d\r\n[]\r\nlost=1\r\n",
                 true),
      Utf16Bytes(L"[\x4E2D\x6587]\n\x952E=\x503C\nkey\twith tab =\tvalue\t\n\n\n[A]\n[A]\nk=1\nk=2\n", true),
  };
}

std::vector<std::string> IniDictionary() {
  std::vector<std::string> tokens;
  for (const wchar_t* token : {L"[", L"]", L"=", L"\r\n", L"\n", L";", L" ", L"\t", L"count=",
                               L"[MESSAGE]\r\n", L"%s", L"%n", L"\xFEFF", L"\xFFFF", L"\xD800"})
    tokens.push_back(Utf16Bytes(token));
  return tokens;
}

TEST(IniFileFuzz, EveryContainerHoldsOnlyTrimmedTextsFromItsInput) {
  Mutator mutator(0x1A1F11E, Mutator::kText16);
  GuardedBuffer buffer;
  int parsed = 0;
  RunFuzzInputs("ini file", mutator, IniSeeds(), IniDictionary(), 30000, [&](const std::string& input) {
    const wchar_t* content = reinterpret_cast<const wchar_t*>(buffer.Place(input));
    IniStringContainer* ini = ParseIniFileContent(content, static_cast<uint32_t>(input.size()));
    const bool has_mark = input.size() >= 2 && input[0] == '\xFF' && input[1] == '\xFE';
    ASSERT_EQ(has_mark, ini != nullptr);
    if (ini == nullptr)
      return;
    ++parsed;
    ExpectContainerWithinItsText(ini, static_cast<uint32_t>(input.size() / 2));
    delete ini;
  });
  EXPECT_GT(parsed, 0);
}

// Pack archives: an independent reading of the table decides what the virtual files must serve.
struct TableEntry {
  std::wstring name;  // empty when the 64 units hold no NUL
  uint32_t offset;
  uint32_t size;
};

uint32_t Uint32At(const std::string& bytes, size_t at) {
  uint32_t value = 0;
  for (int i = 3; i >= 0; --i)
    value = (value << 8) | static_cast<uint8_t>(bytes[at + i]);
  return value;
}

// The table of a usable archive; false when the archive must be refused as a whole.
bool ReadPackTable(const std::string& bytes, std::vector<TableEntry>* entries) {
  if (bytes.size() < 12 || bytes.compare(0, 4, "ORPK") != 0)
    return false;
  const uint64_t count = Uint32At(bytes, 4);
  if (12 + count * 140 > bytes.size())
    return false;
  for (uint64_t i = 0; i < count; ++i) {
    const size_t at = static_cast<size_t>(12 + i * 140);
    std::wstring name = Utf16Units(bytes.substr(at, 128));
    const size_t end = name.find(L'\0');
    TableEntry entry = {end == std::wstring::npos ? L"" : name.substr(0, end), Uint32At(bytes, at + 128),
                        Uint32At(bytes, at + 132)};
    if (static_cast<uint64_t>(entry.offset) + entry.size > bytes.size())
      return false;
    entries->push_back(entry);
  }
  return true;
}

wchar_t FoldAscii(wchar_t unit) {
  return unit >= L'A' && unit <= L'Z' ? static_cast<wchar_t>(unit + 32) : unit;
}

bool SameIgnoringAsciiCase(const std::wstring& a, const std::wstring& b) {
  if (a.size() != b.size())
    return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (FoldAscii(a[i]) != FoldAscii(b[i]))
      return false;
  }
  return true;
}

const TableEntry* FirstEntryNamed(const std::vector<TableEntry>& entries, const std::wstring& name) {
  for (const TableEntry& entry : entries) {
    if (!entry.name.empty() && SameIgnoringAsciiCase(entry.name, name))
      return &entry;
  }
  return nullptr;
}

// Opens `name` from the archive's folder and checks that exactly the table's bytes come back.
void ExpectServedAsTheTableSays(const TempFolder& folder,
                                const std::string& archive,
                                bool usable,
                                const std::vector<TableEntry>& entries,
                                const std::wstring& name) {
  if (name.empty() || name.find_first_of(L"\\/") != std::wstring::npos)
    return;
  FileObject* file = OpenVirtualFile(folder.Join(L"skin\\" + name).c_str());
  const TableEntry* entry = usable ? FirstEntryNamed(entries, name) : nullptr;
  ASSERT_EQ(entry != nullptr, file != nullptr);
  if (file == nullptr)
    return;
  ASSERT_EQ(entry->size, VirtualFileSize(file));
  std::string data(entry->size + 1, '\0');
  EXPECT_NE(0, ReadVirtualFile(file, 0, &data[0], entry->size));
  data.resize(entry->size);
  EXPECT_EQ(archive.substr(entry->offset, entry->size), data);
  char byte = 0;
  EXPECT_EQ(0, ReadVirtualFile(file, entry->size, &byte, 1));
  EXPECT_EQ(0, ReadVirtualFile(file, entry->size == 0 ? 0 : entry->size - 1, &data[0], 2));
  CloseVirtualFile(file);
}

TEST(PackArchiveFuzz, ServesExactlyTheBytesItsTableNamesOrNothing) {
  const std::wstring names[] = {L"AppMessage.ini", L"a.bmp", L"frame_01.png", L"empty.dat"};
  PackWriter writer;
  writer.Add(names[0], Utf16Bytes(L"[MESSAGE]\r\nA=b\r\n", true))
      .Add(names[1], std::string(70, 'b'))
      .Add(names[2], "\x89PNG\r\n\x1A\n")
      .Add(names[3], "");
  const std::vector<std::string> seeds = {writer.Bytes(), PackWriter().Bytes(),
                                          PackWriter().Add(L"x", "1234").Bytes()};
  Mutator mutator(0x9AC4, Mutator::kBinary);
  TempFolder folder(L"packfuzz");
  const std::wstring archive_path = folder.Join(L"skin.pak");
  int usable_count = 0;
  RunFuzzInputs("pack archive", mutator, seeds, {Utf16Bytes(L"A.BMP")}, 250, [&](const std::string& input) {
    ReleaseAllVirtualFiles();
    ASSERT_TRUE(WriteFileBytes(archive_path, input));
    std::vector<TableEntry> entries;
    const bool usable = ReadPackTable(input, &entries);
    usable_count += usable;
    for (const std::wstring& name : names)
      ASSERT_NO_FATAL_FAILURE(ExpectServedAsTheTableSays(folder, input, usable, entries, name));
    for (size_t i = 0; i < entries.size() && i < 8; ++i)
      ASSERT_NO_FATAL_FAILURE(ExpectServedAsTheTableSays(folder, input, usable, entries, entries[i].name));
  });
  ReleaseAllVirtualFiles();
  EXPECT_GT(usable_count, 0);
}

}  // namespace
}  // namespace testing_support

#include "engine/EntryPaths.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <string>

namespace {

FileEntry Entry(int32_t kind, const wchar_t* name, int32_t version, int32_t registered_version) {
  FileEntry entry;
  entry.kind = kind;
  entry.version = version;
  entry.registered_version = registered_version;
  wcsncpy(entry.name, name, 259);
  return entry;
}

TEST(EntryPaths, TemporaryNamesAndUrlsFollowTheEntryKind) {
  struct Case {
    int32_t kind;
    const wchar_t* temp;  // null: none
    const wchar_t* url;   // null: none
  } cases[] = {
      {kEntryZip, L"C:\\Game\\data\\a b.pak.12.zip",
       L"http://files:8080/GAME/RegisteredHistory/00000009/data/a b.pak.zip"},
      {kEntryRtp, L"C:\\Game\\data\\a b.pak.12.rtp",
       L"http://files:8080/GAME/PatchArchive/data/a b.pak.zip/00000012/PATCH.RTP"},
      {kEntryNew, L"C:\\Game\\data\\a b.pak.12.new",
       L"http://files:8080/GAME/RegisteredHistory/00000009/data/a b.pak"},
      {kEntryDelete, L"C:\\Game\\data\\a b.pak", L""},
      {kEntryReserved, nullptr, nullptr},
      {0, nullptr, nullptr},
      {42, nullptr, nullptr},
  };
  for (const Case& c : cases) {
    const FileEntry entry = Entry(c.kind, L"data\\a b.pak", 12, 9);
    wchar_t temp[MAX_PATH];
    wchar_t url[entry_paths::kMaxUrlLength];
    EXPECT_EQ(c.temp != nullptr, entry_paths::BuildTempName(temp, L"C:\\Game", entry)) << c.kind;
    EXPECT_EQ(std::wstring(c.temp != nullptr ? c.temp : L""), temp) << c.kind;
    EXPECT_EQ(c.url != nullptr, entry_paths::BuildUrl(url, L"files:8080", L"GAME", entry)) << c.kind;
    EXPECT_EQ(std::wstring(c.url != nullptr ? c.url : L""), url) << c.kind;
  }
}

TEST(EntryPaths, ATemporaryNameThatDoesNotFitIsNotBuilt) {
  const std::wstring root(240, L'r');
  wchar_t temp[MAX_PATH];
  EXPECT_FALSE(entry_paths::BuildTempName(temp, root.c_str(), Entry(kEntryZip, L"data\\file.bin", 1, 1)));
  EXPECT_STREQ(L"", temp);
  EXPECT_TRUE(entry_paths::BuildTempName(temp, root.c_str(), Entry(kEntryZip, L"f.bin", 1, 1)));
}

TEST(EntryPaths, StaleTemporaryNamesAreOlderVersionsAndTheUnversionedOnes) {
  struct Case {
    const wchar_t* file;
    bool stale;
  } cases[] = {
      {L"a.dat.zip", true},
      {L"a.dat.rtp", true},
      {L"a.dat.new", true},
      {L"A.DAT.ZIP", true},
      {L"a.dat.0.zip", true},
      {L"a.dat.6.rtp", true},
      {L"a.dat.2.new", true},
      {L"a.dat.7.zip", false},
      {L"a.dat.8.zip", false},
      {L"a.dat.06.zip", false},
      {L"a.dat.-1.zip", false},
      {L"a.dat.1.bak", false},
      {L"a.dat.1.zipx", false},
      {L"a.dat.1", false},
      {L"a.dat", false},
      {L"a.data.1.zip", false},
      {L"a.dat..zip", false},
      {L"b.dat.1.zip", false},
      {L"a.dat.99999999999.zip", false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.stale, entry_paths::IsStaleTempName(c.file, L"a.dat", 7)) << c.file;
}

TEST(EntryPaths, ThePatchCommandNamesTheTargetFolderAndADriveByItsRoot) {
  struct Case {
    const wchar_t* target;
    const char* command;
  } cases[] = {
      {L"C:\\Games\\Demo\\data\\a.dat",
       R"("C:\Games\Demo\data\a.dat.3.rtp" "C:\Games\Demo\data" -q -not -nop -nos)"},
      {L"X:\\a.dat", R"("X:\a.dat.3.rtp" "X:\" -q -not -nop -nos)"},
  };
  for (const Case& c : cases) {
    std::string command;
    const std::wstring patch = std::wstring(c.target) + L".3.rtp";
    ASSERT_TRUE(entry_paths::BuildPatchCommandLine(&command, patch.c_str(),
                                                   entry_paths::PatchTargetFolder(c.target)));
    EXPECT_EQ(c.command, command);
  }
  EXPECT_EQ(L"", entry_paths::PatchTargetFolder(L"a.dat"));
}

TEST(EntryPaths, APatchCommandWithACharacterTheCodePageCannotHoldIsRefused) {
  // U+0100 has no exact form in the single-byte code pages; best fit would make it an "A".
  if (GetACP() == CP_UTF8)
    GTEST_SKIP() << "every character has an exact form in UTF-8";
  std::string command = "unchanged";
  EXPECT_FALSE(entry_paths::BuildPatchCommandLine(&command, L"C:\\G\\\x0100.dat.1.rtp", L"C:\\G"));
}

}  // namespace

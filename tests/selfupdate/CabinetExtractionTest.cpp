// The self-update package is unpacked by the platform's cabinet decoder through our callbacks. Real cabinets
// come from gcab; malformed and hostile ones from tests/fixtures/make_cabinet.py.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "selfupdate/CabinetCheck.h"
#include "selfupdate/CabinetExtraction.h"
#include "tests/support/TempFolder.h"
#include "tests/support/UnixCommand.h"
#include "tests/support/WinePaths.h"

namespace {

using testing_support::FileExists;
using testing_support::ReadFileBytes;
using testing_support::RunningUnderWine;
using testing_support::RunUnixCommand;
using testing_support::ShellQuote;
using testing_support::SourcePath;
using testing_support::TempFolder;
using testing_support::UnixPathOf;
using testing_support::WriteFileBytes;

TEST(CabinetTargetPath, KeepsEntriesInsideTheTargetFolder) {
  const std::wstring folder = L"C:\\target";
  struct Case {
    const wchar_t* name;
    const wchar_t* expected;
  } cases[] = {
      {L"a.txt", L"C:\\target\\a.txt"},
      {L"sub\\a.txt", L"C:\\target\\sub\\a.txt"},
      {L"sub/a.txt", L"C:\\target\\sub\\a.txt"},
      {L"", L""},
      {L"..\\evil.txt", L""},
      {L"sub\\..\\..\\evil.txt", L""},
      {L".. \\evil.txt", L""},
      {L"sub.\\evil.txt", L""},
      {L"\\evil.txt", L""},
      {L"/evil.txt", L""},
      {L"C:evil.txt", L""},
      {L"D:\\evil.txt", L""},
      {L"a.txt:stream", L""},
      {L"sub\\\\a.txt", L""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.expected, CabinetTargetPath(folder, c.name)) << c.name;
  EXPECT_EQ(L"C:\\target\\a.txt", CabinetTargetPath(L"C:\\target\\", L"a.txt"));
}

TEST(CabinetTargetPath, RefusesPathsThatWouldBeCutAt260Characters) {
  std::wstring folder = L"C:\\" + std::wstring(240, L'f');
  EXPECT_FALSE(CabinetTargetPath(folder, std::wstring(15, L'n')).empty());  // 259 characters
  EXPECT_TRUE(CabinetTargetPath(folder, std::wstring(16, L'n')).empty());   // 260 characters
}

TEST(CabinetResultFromFdiError, MapsFdiErrorsInOrder) {
  EXPECT_EQ(kCabinetFdiFailure, CabinetResultFromFdiError(0));
  EXPECT_EQ(kCabinetNotFound, CabinetResultFromFdiError(1));
  EXPECT_EQ(kCabinetTargetFileFailed, CabinetResultFromFdiError(8));
  EXPECT_EQ(kCabinetAborted, CabinetResultFromFdiError(11));
  EXPECT_EQ(kCabinetFdiFailure, CabinetResultFromFdiError(12));
}

class CabinetExtractionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!RunningUnderWine())
      GTEST_SKIP() << "makes cabinets with Unix tools";
    ASSERT_TRUE(testing_support::MakeFolders(target()));
  }

  std::wstring target() const { return work_.Join(L"target"); }
  std::wstring cabinet() const { return work_.Join(L"package.cab"); }

  // Writes a source file and returns its Unix path.
  std::string Source(const std::wstring& name, const std::string& bytes) {
    std::wstring path = work_.Join(L"source\\" + name);
    EXPECT_TRUE(WriteFileBytes(path, bytes));
    return UnixPathOf(path);
  }

  // Runs make_cabinet.py with `entries` (stored name -> source Unix path) and extra arguments.
  void MakeCabinet(const std::vector<std::pair<std::string, std::string>>& entries,
                   const std::string& extra = "") {
    std::string command = "python3 " + ShellQuote(UnixPathOf(SourcePath("tests/fixtures/make_cabinet.py"))) +
                          " " + ShellQuote(UnixPathOf(cabinet())) + " " + extra;
    for (const auto& entry : entries)
      command += " --entry " + ShellQuote(entry.first) + " " + ShellQuote(entry.second);
    std::string output;
    ASSERT_EQ(0, RunUnixCommand(command, &output)) << output;
  }

  // Runs gcab in the source folder on the given relative names.
  void MakeCabinetWithGcab(const std::vector<std::string>& names, bool compress) {
    std::string command = "cd " + ShellQuote(UnixPathOf(work_.Join(L"source"))) + " && gcab -c " +
                          (compress ? "-z " : "") + ShellQuote(UnixPathOf(cabinet()));
    for (const std::string& name : names)
      command += " " + ShellQuote(name);
    std::string output;
    ASSERT_EQ(0, RunUnixCommand(command, &output)) << output;
  }

  std::string Target(const std::wstring& name) {
    std::string bytes;
    EXPECT_TRUE(ReadFileBytes(target() + L"\\" + name, &bytes))
        << "missing " << std::string(name.begin(), name.end());
    return bytes;
  }

  TempFolder work_{L"cabinet"};
};

TEST_F(CabinetExtractionTest, ExtractsRealCabinetsStoredAndCompressed) {
  std::string big(200000, '\0');
  for (size_t i = 0; i < big.size(); ++i)
    big[i] = static_cast<char>((i * 7919) >> 3);
  Source(L"launcher.exe", big);
  Source(L"data\\skin.ini", "skin");
  for (bool compress : {false, true}) {
    MakeCabinetWithGcab({"launcher.exe", "data/skin.ini"}, compress);
    ASSERT_EQ(kCabinetExtracted, ExtractCabinet(cabinet().c_str(), target().c_str())) << compress;
    EXPECT_EQ(big, Target(L"launcher.exe"));
    EXPECT_EQ("skin", Target(L"data\\skin.ini"));
  }
}

TEST_F(CabinetExtractionTest, ReplacesReadOnlyHiddenAndLongerFilesCompletely) {
  ASSERT_TRUE(WriteFileBytes(target() + L"\\locked.dll", std::string(5000, 'o')));
  SetFileAttributesW((target() + L"\\locked.dll").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
  ASSERT_TRUE(WriteFileBytes(target() + L"\\long.txt", std::string(5000, 'o')));
  MakeCabinet({{"locked.dll", Source(L"locked.dll", "new")}, {"long.txt", Source(L"long.txt", "short")}});
  ASSERT_EQ(kCabinetExtracted, ExtractCabinet(cabinet().c_str(), target().c_str()));
  EXPECT_EQ("new", Target(L"locked.dll"));
  EXPECT_EQ("short", Target(L"long.txt"));
}

TEST_F(CabinetExtractionTest, AppliesTheCabinetsLocalTimeAndAttributes) {
  MakeCabinet({{"stamped.txt", Source(L"stamped.txt", "x")}}, "--attributes 0x23 --date 2021-03-04T05:06:08");
  ASSERT_EQ(kCabinetExtracted, ExtractCabinet(cabinet().c_str(), target().c_str()));
  std::wstring path = target() + L"\\stamped.txt";
  DWORD attributes = GetFileAttributesW(path.c_str());
  EXPECT_EQ(static_cast<DWORD>(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE),
            attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));

  WIN32_FILE_ATTRIBUTE_DATA data;
  ASSERT_TRUE(GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data));
  FILETIME local;
  SYSTEMTIME written;
  ASSERT_TRUE(FileTimeToLocalFileTime(&data.ftLastWriteTime, &local));
  ASSERT_TRUE(FileTimeToSystemTime(&local, &written));
  EXPECT_EQ(2021, written.wYear);
  EXPECT_EQ(3, written.wMonth);
  EXPECT_EQ(4, written.wDay);
  EXPECT_EQ(5, written.wHour);
  EXPECT_EQ(6, written.wMinute);
  EXPECT_EQ(8, written.wSecond);
}

TEST_F(CabinetExtractionTest, KeepsNamesOutsideTheSystemCodePage) {
  MakeCabinet({{"\xC5\xBE\xE6\x96\x87.txt", Source(L"plain.txt", "wide")}}, "--utf8-names");
  ASSERT_EQ(kCabinetExtracted, ExtractCabinet(cabinet().c_str(), target().c_str()));
  EXPECT_EQ("wide", Target(L"\u017E\u6587.txt"));
}

TEST_F(CabinetExtractionTest, RefusesCabinetsThatAreNotOneWholeFolder) {
  std::string a = Source(L"a.txt", "a"), b = Source(L"b.txt", "b");
  MakeCabinet({{"a.txt", a}, {"b.txt", b}}, "--folder-per-entry");
  EXPECT_EQ(kCabinetNotOneFolder, ExtractCabinet(cabinet().c_str(), target().c_str()));
  EXPECT_FALSE(FileExists(target() + L"\\a.txt"));

  ASSERT_TRUE(WriteFileBytes(cabinet(), "this is not a cabinet at all, only text"));
  EXPECT_EQ(kCabinetNotACabinet, ExtractCabinet(cabinet().c_str(), target().c_str()));

  std::wstring missing = work_.Join(L"missing.cab");
  EXPECT_EQ(kCabinetCannotOpen, ExtractCabinet(missing.c_str(), target().c_str()));

  MakeCabinet({{"big.bin", Source(L"big.bin", std::string(100000, 'z'))}}, "--truncate 40000");
  EXPECT_NE(kCabinetExtracted, ExtractCabinet(cabinet().c_str(), target().c_str()));
}

TEST_F(CabinetExtractionTest, RefusesEntriesThatLeaveTheTargetFolder) {
  std::string payload = Source(L"evil.txt", "evil");
  for (const char* name : {"..\\evil.txt", "sub\\..\\..\\evil.txt", "\\evil.txt", "C:evil.txt"}) {
    MakeCabinet({{name, payload}});
    EXPECT_EQ(kCabinetAborted, ExtractCabinet(cabinet().c_str(), target().c_str())) << name;
    EXPECT_FALSE(FileExists(work_.Join(L"evil.txt"))) << name;
  }
}

TEST_F(CabinetExtractionTest, TheBlockCheckRefusesDamagedBlocksBeforeTheDecoderSeesThem) {
  std::string text;
  for (int i = 0; i < 20000; ++i)
    text += "line " + std::to_string(i * 7919 % 1000) + " of the launcher's resources\n";
  Source(L"big.txt", text);
  MakeCabinetWithGcab({"big.txt"}, true);
  EXPECT_EQ(kCabinetExtracted, CheckCabinetBlocks(cabinet().c_str()));
  std::string whole;
  ASSERT_TRUE(ReadFileBytes(cabinet(), &whole));

  struct Case {
    const char* name;
    size_t offset;  // 0: cut the file to `keep` bytes instead
    size_t keep;
    int expected;
  } cases[] = {
      {"damaged deflate data", whole.size() / 2, 0, kCabinetDecompressionFailed},
      {"cut inside a block", 0, whole.size() - 100, kCabinetCorrupt},
      {"cut inside the header", 0, 20, kCabinetExtracted},  // not a cabinet: the decoder's own code follows
  };
  for (const Case& c : cases) {
    std::string damaged = c.offset != 0 ? whole : whole.substr(0, c.keep);
    for (size_t i = c.offset; c.offset != 0 && i < c.offset + 64; ++i)
      damaged[i] = static_cast<char>(damaged[i] ^ 0x5A);
    ASSERT_TRUE(WriteFileBytes(cabinet(), damaged));
    EXPECT_EQ(c.expected, CheckCabinetBlocks(cabinet().c_str())) << c.name;
    if (c.expected != kCabinetExtracted) {
      EXPECT_EQ(c.expected, CheckAndExtractCabinet(cabinet().c_str(), target().c_str())) << c.name;
    }
  }
  EXPECT_EQ(kCabinetCannotOpen, CheckCabinetBlocks(work_.Join(L"missing.cab").c_str()));
}

TEST_F(CabinetExtractionTest, TheBlockCheckRefusesFoldersThatShareTheirBlocks) {
  MakeCabinet({{"a.bin", Source(L"a.bin", std::string(30000, 'a'))},
               {"b.bin", Source(L"b.bin", "b")},
               {"c.bin", Source(L"c.bin", "c")}},
              "--folder-per-entry");
  EXPECT_EQ(kCabinetExtracted, CheckCabinetBlocks(cabinet().c_str()));
  std::string bytes;
  ASSERT_TRUE(ReadFileBytes(cabinet(), &bytes));
  // The second and third folder entries (after the 36-byte header) point at the first folder's block.
  bytes.replace(36 + 8, 4, bytes.substr(36, 4));
  bytes.replace(36 + 16, 4, bytes.substr(36, 4));
  ASSERT_TRUE(WriteFileBytes(cabinet(), bytes));
  EXPECT_EQ(kCabinetCorrupt, CheckCabinetBlocks(cabinet().c_str()));
}

}  // namespace

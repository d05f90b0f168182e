// Virtual files over loose files and pack archives: which source wins, sharing by path, damaged archives, and
// reads that must stay inside the file they name.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/support/TempFolder.h"
#include "tests/ui/base/PackWriter.h"
#include "ui/base/FileObject.h"
#include "ui/base/FileReading.h"
#include "ui/base/PackObject.h"
#include "ui/base/VirtualFile.h"

namespace testing_support {
namespace {

const char kFailed[] = "<failed>";

class VirtualFileTest : public ::testing::Test {
 protected:
  void SetUp() override { ReleaseAllVirtualFiles(); }
  void TearDown() override { ReleaseAllVirtualFiles(); }

  std::wstring Path(const std::wstring& relative) const { return folder_.Join(relative); }
  void Write(const std::wstring& relative, const std::string& bytes) {
    ASSERT_TRUE(WriteFileBytes(Path(relative), bytes)) << relative;
  }

  // The whole file read the way every caller does it, or kFailed.
  std::string ReadWhole(const std::wstring& relative) {
    FileObject* file = OpenVirtualFile(Path(relative).c_str());
    if (file == nullptr)
      return kFailed;
    std::string bytes(VirtualFileSize(file), '\0');
    int read = ReadVirtualFile(file, 0, &bytes[0], static_cast<uint32_t>(bytes.size()));
    CloseVirtualFile(file);
    return read ? bytes : kFailed;
  }

  TempFolder folder_{L"vfile"};
};

TEST_F(VirtualFileTest, LooseFileWinsOverPackEntry) {
  Write(L"data\\skin.pak", PackWriter().Add(L"a.bmp", "packed a").Add(L"b.bmp", "packed b").Bytes());
  Write(L"data\\skin\\a.bmp", "loose a");
  EXPECT_EQ("loose a", ReadWhole(L"data\\skin\\a.bmp"));
  EXPECT_EQ("packed b", ReadWhole(L"data\\skin\\b.bmp"));
  EXPECT_EQ(kFailed, ReadWhole(L"data\\skin\\c.bmp"));
}

TEST_F(VirtualFileTest, PathsDifferingInAsciiCaseShareOneObjectUntilTheLastClose) {
  Write(L"data\\skin.pak", PackWriter().Add(L"a.bmp", "packed a").Bytes());
  FileObject* upper = OpenVirtualFile(Path(L"DATA\\SKIN\\A.BMP").c_str());
  ASSERT_NE(nullptr, upper);
  FileObject* lower = OpenVirtualFile(Path(L"data\\skin\\a.bmp").c_str());
  EXPECT_EQ(upper, lower);
  EXPECT_EQ(2, upper->references());
  EXPECT_FALSE(upper->is_loose());

  CloseVirtualFile(lower);
  EXPECT_EQ(upper, FindOpenVirtualFile(Path(L"Data\\Skin\\a.BMP").c_str()));
  EXPECT_EQ(8u, VirtualFileSize(upper));
  CloseVirtualFile(upper);
  EXPECT_EQ(nullptr, FindOpenVirtualFile(Path(L"data\\skin\\a.bmp").c_str()));
}

TEST_F(VirtualFileTest, EmptyArchiveIsValidAndFindsNothing) {
  Write(L"data\\skin.pak", PackWriter().Bytes());
  PackObject pack;
  EXPECT_EQ(1, pack.Open(Path(L"data\\skin").c_str()));
  EXPECT_EQ(nullptr, pack.FindEntry(L"a.bmp"));
  EXPECT_EQ(kFailed, ReadWhole(L"data\\skin\\a.bmp"));
}

TEST_F(VirtualFileTest, ArchiveOneByteShortIsRefusedAndNotReadAgain) {
  std::string pack = PackWriter().Add(L"a.bmp", "packed a").Bytes();
  Write(L"data\\skin.pak", pack.substr(0, pack.size() - 1));
  Write(L"data\\skin\\loose.bmp", "loose");
  EXPECT_EQ(kFailed, ReadWhole(L"data\\skin\\a.bmp"));
  EXPECT_EQ("loose", ReadWhole(L"data\\skin\\loose.bmp"));  // loose files of the folder still open

  // Mended on disk, the archive is still not tried again during this run...
  Write(L"data\\skin.pak", pack);
  EXPECT_EQ(kFailed, ReadWhole(L"DATA\\skin\\a.bmp"));
  // ...until everything is released.
  ReleaseAllVirtualFiles();
  EXPECT_EQ("packed a", ReadWhole(L"data\\skin\\a.bmp"));
}

TEST_F(VirtualFileTest, DamagedArchivesAreRefusedAsAWhole) {
  const std::string data = "0123456789";
  const uint32_t data_offset = 12 + 140;
  struct Case {
    const char* what;
    std::string bytes;
  };
  const Case cases[] = {
      {"header cut short", PackHeaderBytes(0).substr(0, 8)},
      {"wrong magic", PackHeaderBytes(0, "ORPX")},
      {"table cut short", PackHeaderBytes(1) + PackEntryBytes(L"a.txt", data_offset, 0).substr(0, 139)},
      {"count beyond the file", PackHeaderBytes(20000000) + PackEntryBytes(L"a.txt", data_offset, 10) + data},
      {"entry one byte past the end", PackHeaderBytes(1) + PackEntryBytes(L"a.txt", data_offset, 11) + data},
      // 0xFFFFFFF8 + 0x10 wraps to 8 in 32 bits, which would look inside the file.
      {"entry wrapping past 4 GiB", PackHeaderBytes(1) + PackEntryBytes(L"a.txt", 0xFFFFFFF8u, 0x10) + data},
  };
  int index = 0;
  for (const Case& c : cases) {
    std::wstring folder = L"pack" + std::to_wstring(index++);
    Write(folder + L".pak", c.bytes);
    PackObject pack;
    EXPECT_EQ(0, pack.Open(Path(folder).c_str())) << c.what;
    EXPECT_EQ(nullptr, pack.handle()) << c.what;
    EXPECT_EQ(nullptr, pack.FindEntry(L"a.txt")) << c.what;
    EXPECT_EQ(kFailed, ReadWhole(folder + L"\\a.txt")) << c.what;
  }
  // The same entry inside the file is fine.
  Write(L"good.pak", PackHeaderBytes(1) + PackEntryBytes(L"a.txt", data_offset, 10) + data);
  EXPECT_EQ(data, ReadWhole(L"good\\a.txt"));
}

TEST_F(VirtualFileTest, EntryNamesMatchWholeAndFoldOnlyAsciiLetters) {
  const std::wstring long_name(64, L'n');  // fills all 64 units: no NUL
  Write(L"p.pak", PackWriter()
                      .Add(L"Mixed.TXT", "mixed")
                      .Add(L"mixed.txt", "second")
                      .Add(L"\x00c4rger.txt", "umlaut")
                      .Add(L"I.txt", "capital i")
                      .Add(long_name, "long")
                      .Bytes());
  PackObject pack;
  ASSERT_EQ(1, pack.Open(Path(L"p").c_str()));
  EXPECT_EQ("mixed", ReadWhole(L"p\\mIXED.txt"));  // first entry of equal names wins
  ReleaseAllVirtualFiles();
  EXPECT_EQ("umlaut", ReadWhole(L"p\\\x00c4RGER.TXT"));
  EXPECT_EQ(kFailed, ReadWhole(L"p\\\x00e4rger.txt"));  // no fold beyond ASCII
  EXPECT_EQ(kFailed, ReadWhole(L"p\\\x0131.txt"));      // dotless i is not I
  EXPECT_EQ("capital i", ReadWhole(L"p\\i.TXT"));
  EXPECT_EQ(nullptr, pack.FindEntry(long_name.c_str()));
  EXPECT_EQ(nullptr, pack.FindEntry((long_name + L"x").c_str()));
}

TEST_F(VirtualFileTest, ReadsStayInsideTheirFile) {
  Write(L"p.pak", PackWriter().Add(L"a.txt", "AAAA").Add(L"b.txt", "BBBB").Bytes());
  Write(L"loose.txt", "LLLL");
  for (const wchar_t* name : {L"p\\a.txt", L"loose.txt"}) {
    FileObject* file = OpenVirtualFile(Path(name).c_str());
    ASSERT_NE(nullptr, file) << name;
    char buffer[8] = {};
    EXPECT_EQ(0, ReadVirtualFile(file, 2, buffer, 4)) << name;  // would run into b.txt or past the end
    EXPECT_EQ(0, ReadVirtualFile(file, 0xFFFFFFFFu, buffer, 2)) << name;  // wraps to 1 in 32 bits
    EXPECT_EQ(0, ReadVirtualFile(file, 5, buffer, 0)) << name;
    EXPECT_EQ(1, ReadVirtualFile(file, 4, buffer, 0)) << name;
    EXPECT_EQ(1, ReadVirtualFile(file, 2, buffer, 2)) << name;
    EXPECT_EQ(std::string(2, name[0] == L'p' ? 'A' : 'L'), std::string(buffer, 2)) << name;
    CloseVirtualFile(file);
  }
}

TEST_F(VirtualFileTest, ObjectsThatAreNotOpenGiveNothing) {
  FileObject stranger;
  char buffer[4];
  EXPECT_EQ(0u, VirtualFileSize(&stranger));
  EXPECT_EQ(0, ReadVirtualFile(&stranger, 0, buffer, 0));
  CloseVirtualFile(&stranger);  // ignored
  EXPECT_EQ(0u, VirtualFileSize(nullptr));
  EXPECT_EQ(nullptr, OpenVirtualFile(nullptr));
  EXPECT_EQ(nullptr, OpenVirtualFile(L"no-folder-and-no-such-file.ini"));
}

TEST_F(VirtualFileTest, LongPathsAreRefusedNotCut) {
  // A real file at a path of exactly 259 units opens; one unit more must not reach it through a cut compare.
  std::wstring relative;
  while (Path(relative).size() < 240)
    relative += L"d123456789\\";
  relative += std::wstring(259 - Path(relative).size(), L'f');
  ASSERT_EQ(259u, Path(relative).size());
  Write(relative, "long");
  FileObject* file = OpenVirtualFile(Path(relative).c_str());
  ASSERT_NE(nullptr, file);
  EXPECT_EQ(nullptr, OpenVirtualFile(Path(relative + L"x").c_str()));
  EXPECT_EQ(1, file->references());
  CloseVirtualFile(file);

  FileObject loose;
  EXPECT_EQ(0, loose.OpenLoose(Path(relative + L"x").c_str()));
  // "<directory>.pak" must fit as well.
  PackObject pack;
  EXPECT_EQ(0, pack.Open(std::wstring(256, L'd').c_str()));
}

TEST_F(VirtualFileTest, ShortReadsAreFailures) {
  Write(L"ten.bin", "0123456789");
  UniqueHandle file = OpenFileForReading(Path(L"ten.bin").c_str());
  ASSERT_TRUE(file.valid());
  char buffer[4];
  EXPECT_TRUE(ReadFileAt(file.get(), 8, buffer, 2));
  EXPECT_FALSE(ReadFileAt(file.get(), 8, buffer, 4));
  EXPECT_FALSE(ReadFileAt(file.get(), 20, buffer, 1));
}

}  // namespace
}  // namespace testing_support

#include "engine/EngineFiles.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/TempFolder.h"

using engine_files::ConcatTexts;
using engine_files::CreateFileWithParents;
using engine_files::DeleteTree;
using engine_files::ForceDeleteFile;
using engine_files::kFileDone;
using engine_files::kFileFailed;
using engine_files::kPathFound;
using engine_files::kPathMissing;
using engine_files::MakeFolderChain;
using engine_files::MoveTree;
using engine_files::PathExists;
using testing_support::FileExists;
using testing_support::ReadFileBytes;
using testing_support::TempFolder;
using testing_support::WriteFileBytes;

namespace {

bool IsFolder(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string Contents(const std::wstring& path) {
  std::string bytes;
  EXPECT_TRUE(ReadFileBytes(path, &bytes)) << "cannot read the file";
  return bytes;
}

}  // namespace

TEST(EngineFiles, PathExistsFindsFilesAndFoldersAndRefusesEmptyPaths) {
  TempFolder root;
  ASSERT_TRUE(WriteFileBytes(root.Join(L"file.txt"), "x"));
  EXPECT_EQ(kPathFound, PathExists(root.Join(L"file.txt").c_str()));
  EXPECT_EQ(kPathFound, PathExists(root.path().c_str()));
  EXPECT_EQ(kPathMissing, PathExists(root.Join(L"missing.txt").c_str()));
  EXPECT_EQ(kPathMissing, PathExists(L""));
  EXPECT_EQ(kPathMissing, PathExists(nullptr));
}

TEST(EngineFiles, MakeFolderChainMakesEveryMissingLevelAndAcceptsAnExistingFolder) {
  TempFolder root;
  std::wstring deep = root.Join(L"one\\two\\three");
  EXPECT_EQ(kFileDone, MakeFolderChain(deep.c_str()));
  EXPECT_TRUE(IsFolder(root.Join(L"one")));
  EXPECT_TRUE(IsFolder(root.Join(L"one\\two")));
  EXPECT_TRUE(IsFolder(deep));
  EXPECT_EQ(kFileDone, MakeFolderChain(deep.c_str()));
  // Doubled separators inside the path are not a folder of their own.
  EXPECT_EQ(kFileDone, MakeFolderChain(root.Join(L"four\\\\five").c_str()));
  EXPECT_TRUE(IsFolder(root.Join(L"four\\five")));
}

TEST(EngineFiles, MakeFolderChainFailsWhenAFileIsInTheWay) {
  TempFolder root;
  ASSERT_TRUE(WriteFileBytes(root.Join(L"blocker"), "x"));
  EXPECT_EQ(kFileFailed, MakeFolderChain(root.Join(L"blocker").c_str()));
  EXPECT_EQ(kFileFailed, MakeFolderChain(root.Join(L"blocker\\below\\deeper").c_str()));
  EXPECT_EQ(kFileFailed, MakeFolderChain(L""));
  EXPECT_EQ(kFileFailed, MakeFolderChain(nullptr));
}

TEST(EngineFiles, MoveTreeReplacesAReadOnlyTargetAndKeepsSubfolders) {
  TempFolder root;
  std::wstring source = root.Join(L"Patch");
  std::wstring target = root.Join(L"install");
  ASSERT_TRUE(WriteFileBytes(source + L"\\game.dat", "new data"));
  ASSERT_TRUE(WriteFileBytes(source + L"\\maps\\level1.map", "new map"));
  ASSERT_TRUE(WriteFileBytes(target + L"\\game.dat", "old"));
  ASSERT_TRUE(SetFileAttributesW((target + L"\\game.dat").c_str(), FILE_ATTRIBUTE_READONLY));

  EXPECT_EQ(kFileDone, MoveTree(source.c_str(), target.c_str()));

  EXPECT_EQ("new data", Contents(target + L"\\game.dat"));
  EXPECT_EQ("new map", Contents(target + L"\\maps\\level1.map"));
  EXPECT_FALSE(FileExists(source)) << "the emptied source tree is deleted";
}

TEST(EngineFiles, MoveTreeMakesAMissingDestinationAndFailsOnMissingOrEmptyArguments) {
  TempFolder root;
  ASSERT_TRUE(WriteFileBytes(root.Join(L"from\\a.txt"), "a"));
  EXPECT_EQ(kFileDone, MoveTree(root.Join(L"from").c_str(), root.Join(L"to\\deeper").c_str()));
  EXPECT_EQ("a", Contents(root.Join(L"to\\deeper\\a.txt")));

  EXPECT_EQ(kFileFailed, MoveTree(root.Join(L"missing").c_str(), root.Join(L"to").c_str()));
  EXPECT_EQ(kFileFailed, MoveTree(L"", root.Join(L"to").c_str()));
  EXPECT_EQ(kFileFailed, MoveTree(root.Join(L"to").c_str(), nullptr));
}

TEST(EngineFiles, DeleteTreeRemovesReadOnlyFilesAndNestedFolders) {
  TempFolder root;
  std::wstring tree = root.Join(L"tree");
  ASSERT_TRUE(WriteFileBytes(tree + L"\\a\\b\\c.txt", "c"));
  ASSERT_TRUE(WriteFileBytes(tree + L"\\locked.txt", "l"));
  ASSERT_TRUE(SetFileAttributesW((tree + L"\\locked.txt").c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(kFileDone, DeleteTree(tree.c_str()));
  EXPECT_FALSE(FileExists(tree));
  EXPECT_EQ(kFileFailed, DeleteTree(tree.c_str()));
  EXPECT_EQ(kFileFailed, DeleteTree(L""));
}

TEST(EngineFiles, CreateFileWithParentsMakesFoldersAndEmptiesAnExistingFile) {
  TempFolder root;
  std::wstring path = root.Join(L"x\\y\\file.bin");
  {
    UniqueHandle file = CreateFileWithParents(path.c_str());
    ASSERT_TRUE(file);
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(file.get(), "abc", 3, &written, nullptr));
  }
  EXPECT_EQ("abc", Contents(path));
  {
    UniqueHandle file = CreateFileWithParents(path.c_str());
    ASSERT_TRUE(file);
  }
  EXPECT_EQ("", Contents(path));
  EXPECT_FALSE(CreateFileWithParents(L""));
  EXPECT_FALSE(CreateFileWithParents(nullptr));
}

// The attributes of a file left there are cleared only when the create is refused; the file is replaced either
// way, and a missing name is written at once.
TEST(EngineFiles, WriteWholeFileReplacesALeftoverWhateverItsAttributes) {
  const DWORD kLeftoverAttributes[] = {
      0, FILE_ATTRIBUTE_READONLY, FILE_ATTRIBUTE_HIDDEN,
      FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM};
  TempFolder root;
  const std::wstring path = root.Join(L"list.tmp");
  EXPECT_EQ(kFileDone, engine_files::WriteWholeFile(path.c_str(), "new", 3, FILE_ATTRIBUTE_HIDDEN));
  EXPECT_EQ("new", Contents(path));
  for (DWORD attributes : kLeftoverAttributes) {
    SCOPED_TRACE(attributes);
    ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL));
    ASSERT_TRUE(WriteFileBytes(path, "left over by an earlier run"));
    if (attributes != 0) {
      ASSERT_TRUE(SetFileAttributesW(path.c_str(), attributes));
    }
    EXPECT_EQ(kFileDone, engine_files::WriteWholeFile(path.c_str(), "abc", 3, FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ("abc", Contents(path));
  }
}

TEST(EngineFiles, ForceDeleteFileDeletesReadOnlyHiddenFiles) {
  TempFolder root;
  std::wstring path = root.Join(L"locked.txt");
  ASSERT_TRUE(WriteFileBytes(path, "x"));
  ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
  EXPECT_EQ(kFileDone, ForceDeleteFile(path.c_str()));
  EXPECT_FALSE(FileExists(path));
  EXPECT_EQ(kFileFailed, ForceDeleteFile(path.c_str()));
  EXPECT_EQ(kFileFailed, ForceDeleteFile(nullptr));
}

TEST(EngineFiles, ConcatTextsRefusesWhatDoesNotFit) {
  wchar_t out[8];
  EXPECT_TRUE(ConcatTexts(out, 8, {L"ab", L"\\", L"cdef"}));
  EXPECT_STREQ(L"ab\\cdef", out);
  EXPECT_FALSE(ConcatTexts(out, 8, {L"ab", L"\\", L"cdefg"}));
  EXPECT_STREQ(L"", out);
}

#include "base/Paths.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/support/TempFolder.h"

using base::CreateFolderChain;
using base::ForceDeleteFile;
using base::JoinPath;
using testing_support::TempFolder;
using testing_support::WriteFileBytes;

TEST(JoinPath, PutsOneBackslashBetweenThePartsAndRefusesWhatDoesNotFit) {
  wchar_t out[8] = L"junk";
  EXPECT_TRUE(JoinPath(out, L"C:", L"a.b"));
  EXPECT_STREQ(L"C:\\a.b", out);
  EXPECT_TRUE(JoinPath(out, 8, L"abc", L"def"));  // 7 characters and the terminator
  EXPECT_STREQ(L"abc\\def", out);
  EXPECT_FALSE(JoinPath(out, 8, L"abc", L"defg"));
  EXPECT_STREQ(L"", out);
  EXPECT_FALSE(JoinPath(out, 8, L"abcdefgh", L""));
  EXPECT_FALSE(JoinPath(out, 8, nullptr, L"a"));
  EXPECT_FALSE(JoinPath(out, 0, L"a", L"b"));
}

TEST(CreateFolderChain, CreatesEveryMissingLevelButNoFolderOverAFile) {
  TempFolder folder(L"tree");
  std::wstring deep = folder.Join(L"a\\b\\c");
  EXPECT_TRUE(CreateFolderChain((deep + L"\\").c_str()));
  EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(deep.c_str()));
  EXPECT_TRUE(CreateFolderChain(deep.c_str()));  // already there
  EXPECT_TRUE(CreateFolderChain(folder.Join(L"d\\\\e/f").c_str()));
  EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(folder.Join(L"d\\e\\f").c_str()));

  ASSERT_TRUE(WriteFileBytes(folder.Join(L"file"), "x"));
  EXPECT_FALSE(CreateFolderChain(folder.Join(L"file").c_str()));
  EXPECT_FALSE(CreateFolderChain(folder.Join(L"file\\below").c_str()));

  EXPECT_FALSE(CreateFolderChain((folder.path() + L"\\" + std::wstring(260, L'x')).c_str()));
  EXPECT_FALSE(CreateFolderChain(nullptr));
  EXPECT_FALSE(CreateFolderChain(L""));
}

namespace {

int g_seam_calls = 0;
BOOL WINAPI RefusingDelete(LPCWSTR) {
  ++g_seam_calls;
  SetLastError(ERROR_ACCESS_DENIED);
  return FALSE;
}

}  // namespace

TEST(ForceDeleteFile, DeletesReadOnlyHiddenSystemFilesThroughTheGivenCall) {
  TempFolder folder(L"delete");
  const std::wstring path = folder.Join(L"locked.dat");
  ASSERT_TRUE(WriteFileBytes(path, "x"));
  ASSERT_TRUE(SetFileAttributesW(path.c_str(),
                                 FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
  EXPECT_FALSE(ForceDeleteFile(path.c_str(), RefusingDelete));
  EXPECT_EQ(1, g_seam_calls);
  EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(path.c_str()));

  EXPECT_TRUE(ForceDeleteFile(path.c_str()));
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(path.c_str()));
  EXPECT_FALSE(ForceDeleteFile(path.c_str()));  // gone already
  EXPECT_FALSE(ForceDeleteFile(L""));
  EXPECT_FALSE(ForceDeleteFile(nullptr));
}

TEST(VisitFolder, VisitsEveryEntryButTheDotsAndStopsWhenTheVisitorSaysSo) {
  TempFolder folder(L"visit");
  ASSERT_TRUE(WriteFileBytes(folder.Join(L"a.txt"), "a"));
  ASSERT_TRUE(WriteFileBytes(folder.Join(L"sub\\b.txt"), "b"));
  std::vector<std::wstring> seen;
  EXPECT_TRUE(
      base::VisitFolder(folder.path().c_str(), [&](const wchar_t* path, const WIN32_FIND_DATAW& found) {
        EXPECT_EQ(folder.Join(found.cFileName), path);
        seen.push_back(found.cFileName);
        return true;
      }));
  std::sort(seen.begin(), seen.end());
  EXPECT_EQ((std::vector<std::wstring>{L"a.txt", L"sub"}), seen);

  int visits = 0;
  EXPECT_FALSE(base::VisitFolder(folder.path().c_str(), [&](const wchar_t*, const WIN32_FIND_DATAW&) {
    ++visits;
    return false;
  }));
  EXPECT_EQ(1, visits);
  EXPECT_FALSE(base::VisitFolder(folder.Join(L"missing").c_str(),
                                 [](const wchar_t*, const WIN32_FIND_DATAW&) { return true; }));
}

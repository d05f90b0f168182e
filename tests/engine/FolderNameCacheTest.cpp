#include "engine/FolderNameCache.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cwchar>
#include <string>

#include "tests/support/TempFolder.h"

using testing_support::TempFolder;
using testing_support::WriteFileBytes;

// A name counts as missing only when the listing of its folder, made after a few questions about it, did not
// hold it in any case; a folder that could not be read, or a path without a folder, is left to the file system.
TEST(FolderNameCache, AnswersMissingOnlyFromTheFirstListingOfAFolder) {
  TempFolder root;
  ASSERT_TRUE(CreateDirectoryW(root.Join(L"data").c_str(), nullptr));
  ASSERT_TRUE(WriteFileBytes(root.Join(L"data\\Sound.dat"), "x"));
  ASSERT_TRUE(CreateDirectoryW(root.Join(L"data\\fx").c_str(), nullptr));
  FolderNameCache cache;
  // The first questions about a folder are left to the file system; the next one lists it.
  for (const wchar_t* folder : {L"data", L"gone", L"gone\\deeper"}) {
    for (int i = 0; i < FolderNameCache::kQuestionsBeforeListing; ++i)
      EXPECT_FALSE(cache.WasMissing(root.Join(std::wstring(folder) + L"\\music.dat").c_str()));
  }
  struct Case {
    const wchar_t* name;
    bool missing;
  };
  const Case kCases[] = {
      {L"data\\Sound.dat", false},     // there
      {L"data\\SOUND.DAT", false},     // there, in another case
      {L"data\\fx", false},            // a folder of that name
      {L"data\\music.dat", true},      // not there
      {L"gone\\music.dat", true},      // its folder is missing
      {L"gone\\deeper\\a.dat", true},  // a missing folder below a missing one
      {L"data\\", false},              // no name
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(testing::Message() << std::string(c.name, c.name + wcslen(c.name)));
    EXPECT_EQ(c.missing, cache.WasMissing(root.Join(c.name).c_str()));
  }
  EXPECT_FALSE(cache.WasMissing(L"nofolder.dat"));
  EXPECT_FALSE(cache.WasMissing(nullptr));

  // Made after the listing: still taken for missing until the listing is cleared.
  ASSERT_TRUE(WriteFileBytes(root.Join(L"data\\music.dat"), "x"));
  EXPECT_TRUE(cache.WasMissing(root.Join(L"data\\music.dat").c_str()));
  cache.Clear();
  for (int i = 0; i <= FolderNameCache::kQuestionsBeforeListing; ++i)
    EXPECT_FALSE(cache.WasMissing(root.Join(L"data\\music.dat").c_str()));
}

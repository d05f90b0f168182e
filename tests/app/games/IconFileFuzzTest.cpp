// Seeded mutation fuzzing of what the icon fetch reads from outside: the file name taken from an icon URL
// (it must stay a plain name inside the game's icon folder), the "Content-Length" of a server's headers, and
// the folder's "icon_version.ini". A damaged version file may only cost a fetch: the icon counts as ready
// without a download only when the file records its version, and a failed fetch changes no file.
#include <windows.h>

#include <gtest/gtest.h>

#include <cwchar>
#include <string>
#include <vector>

#include "app/games/IconFile.h"
#include "tests/support/GuardedBuffer.h"
#include "tests/support/Mutator.h"
#include "tests/support/TempFolder.h"

namespace testing_support {
namespace {

std::vector<std::string> Encoded(std::initializer_list<const wchar_t*> texts) {
  std::vector<std::string> bytes;
  for (const wchar_t* text : texts)
    bytes.push_back(Utf16Bytes(text));
  return bytes;
}

TEST(IconFileFuzz, UrlFileNamesArePlainNamesAtTheEndOfTheUrl) {
  const std::vector<std::string> seeds =
      Encoded({L"http://img.example/icons/game1/icon_small.png", L"http://h/a/b/c.bmp?v=3", L"/x", L"y"});
  const std::vector<std::string> dictionary =
      Encoded({L"/", L"\\", L"..", L".", L":", L"C:", L"%2e%2e", L"::$DATA", L" "});
  Mutator mutator(0x1C0F, Mutator::kText16);
  GuardedBuffer buffer;
  int named = 0;
  RunFuzzInputs("icon url name", mutator, seeds, dictionary, 20000, [&](const std::string& input) {
    std::wstring url = Utf16Units(input);
    url = url.substr(0, url.find(L'\0'));
    const wchar_t* placed = buffer.PlaceText(url);
    const wchar_t* name = IconFileName(placed);
    if (name == nullptr)
      return;
    ++named;
    // The name is the url's tail after its last '/', one plain part that cannot leave the icon folder.
    ASSERT_GT(name, placed);
    ASSERT_EQ(L'/', name[-1]);
    const std::wstring part = name;
    ASSERT_EQ(url.size(), static_cast<size_t>(name - placed) + part.size());
    ASSERT_FALSE(part.empty());
    ASSERT_EQ(std::wstring::npos, part.find_first_of(L"/\\:"));
    ASSERT_EQ(std::wstring::npos, part.find(L".."));
    ASSERT_NE(std::wstring::npos, part.find_first_not_of(L". "));
  });
  EXPECT_GT(named, 0);
}

// Found by the fuzz test above: "/." gave "." as the file name, which is the icon folder itself.
TEST(IconFileName, NamesOfOnlyDotsAndBlanksAreNoFileNames) {
  for (const wchar_t* url : {L"http://h/.", L"/.", L"http://h/a/ .", L"http://h/. . ", L"http://h/ "})
    EXPECT_EQ(nullptr, IconFileName(url)) << url;
  for (const wchar_t* url : {L"http://h/.a", L"http://h/a.", L"http://h/ a "})
    EXPECT_NE(nullptr, IconFileName(url)) << url;
  wchar_t path[MAX_PATH];
  EXPECT_EQ(kIconFetchFailed, FetchIconFile(L".", L"http://127.0.0.1:1/icon.png", 7, path));
  EXPECT_EQ(kIconFetchFailed, FetchIconFile(L" . ", L"http://127.0.0.1:1/icon.png", 7, path));
}

TEST(IconFileFuzz, ContentLengthIsANumberOfTheHeadersOrNone) {
  const std::vector<std::string> seeds =
      Encoded({L"HTTP/1.1 200 OK\r\nContent-Type: image/png\r\nContent-Length: 1234\r\n\r\n",
               L"HTTP/1.1 200 OK\r\ncontent-length:\t0\r\n", L"Content-Length: 9223372036854775807\n"});
  const std::vector<std::string> dictionary = Encoded(
      {L"Content-Length:", L"CONTENT-LENGTH: ", L"\r\n", L"\n", L"99999999999999999999", L"-1", L" "});
  Mutator mutator(0xC1E7, Mutator::kText16);
  GuardedBuffer buffer;
  int found = 0;
  RunFuzzInputs("content length", mutator, seeds, dictionary, 20000, [&](const std::string& input) {
    std::wstring headers = Utf16Units(input);
    headers = headers.substr(0, headers.find(L'\0'));
    const int64_t length = ContentLengthOf(buffer.PlaceText(headers));
    ASSERT_GE(length, -1);
    if (length < 0)
      return;
    ++found;
    // The digits are the headers' own (leading zeros aside).
    ASSERT_NE(std::wstring::npos, headers.find(std::to_wstring(length)));
  });
  EXPECT_GT(found, 0);
}

// The version file, through the real fetch: the server is a closed loopback port, so any fetch fails.
TEST(IconFileFuzz, DamagedVersionFilesCostAFetchAndAFailedFetchChangesNothing) {
  TempFolder folder(L"iconfuzz");
  wchar_t previous[MAX_PATH];
  ASSERT_NE(0u, GetCurrentDirectoryW(MAX_PATH, previous));
  ASSERT_TRUE(SetCurrentDirectoryW(folder.path().c_str()));
  const std::wstring icon_folder = folder.Join(L"icons\\game1");
  ASSERT_TRUE(MakeFolders(icon_folder));
  const std::wstring icon = icon_folder + L"\\icon.png";
  const std::wstring version_file = icon_folder + L"\\icon_version.ini";
  ASSERT_TRUE(WriteFileBytes(icon, "icon bytes"));
  const std::vector<std::string> seeds = {"[icon_version]\r\nicon.png=7\r\nother.bmp=3\r\n",
                                          Utf16Bytes(L"[icon_version]\r\nicon.png=7\r\n", true)};
  const std::vector<std::string> dictionary = {"[icon_version]\r\n", "icon.png=", "7", "=", "\r\n", ";", "-"};
  Mutator mutator(0x1C07, Mutator::kText8);
  GuardedBuffer buffer;
  int ready = 0;
  // Every fetch that the version file does not spare tries the closed port: the seeds run whole, not cut at
  // every length (the launcher-info test cuts a profile file at every length).
  RunFuzzMutations("icon version file", mutator, seeds, dictionary, 50, [&](const std::string& input) {
    ASSERT_TRUE(WriteFileBytes(version_file, input));
    wchar_t* path = reinterpret_cast<wchar_t*>(buffer.PlaceSpace(MAX_PATH * 2));
    const int result = FetchIconFile(L"game1", L"http://127.0.0.1:1/icons/icon.png", 7, path);
    ASSERT_TRUE(result == kIconFetchReady || result == kIconFetchFailed) << result;
    if (result == kIconFetchReady) {
      ++ready;
      ASSERT_STREQ(icon.c_str(), path);
      ASSERT_NE(std::string::npos, input.find('7'));
    }
    std::string after;
    ASSERT_TRUE(ReadFileBytes(version_file, &after));
    ASSERT_EQ(input, after);
    ASSERT_TRUE(ReadFileBytes(icon, &after));
    ASSERT_EQ("icon bytes", after);
  });
  SetCurrentDirectoryW(previous);
  EXPECT_GT(ready, 0);
}

}  // namespace
}  // namespace testing_support

// Reading whole ini files: the byte-order mark decides, odd bytes and foreign encodings never reach the
// parser.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "tests/support/TempFolder.h"
#include "tests/ui/base/PackWriter.h"
#include "ui/base/IniFile.h"
#include "ui/base/IniStringContainer.h"
#include "ui/base/VirtualFile.h"

namespace testing_support {
namespace {

std::string Utf16Bytes(const std::wstring& text) {
  std::string bytes;
  for (wchar_t unit : text) {
    bytes.push_back(static_cast<char>(unit & 0xFF));
    bytes.push_back(static_cast<char>(unit >> 8));
  }
  return bytes;
}

const std::string kMark = "\xFF\xFE";

std::unique_ptr<IniStringContainer> ParseBytes(const std::string& bytes) {
  std::wstring units((bytes.size() + 1) / 2, L'\0');
  std::memcpy(&units[0], bytes.data(), bytes.size());
  return std::unique_ptr<IniStringContainer>(
      ParseIniFileContent(units.data(), static_cast<uint32_t>(bytes.size())));
}

TEST(IniFile, OnlyLittleEndianUtf16WithItsMarkIsParsed) {
  struct Case {
    const char* what;
    std::string bytes;
  };
  const Case refused[] = {
      {"empty", ""},
      {"shorter than the mark", "\xFF"},
      {"big-endian mark", "\xFE\xFF" + std::string("\0[\0S\0]", 6)},
      {"UTF-8 with mark", "\xEF\xBB\xBF[S]\r\nk=v"},
      {"ANSI", "[S]\r\nk=v"},
  };
  for (const Case& c : refused)
    EXPECT_EQ(nullptr, ParseBytes(c.bytes)) << c.what;

  auto empty = ParseBytes(kMark);
  ASSERT_NE(nullptr, empty);
  EXPECT_EQ(0, empty->FirstSection());

  // The odd last byte is half a unit: ignored, and never glued onto the value.
  auto odd = ParseBytes(kMark + Utf16Bytes(L"[S]\r\nk=v") + "A");
  ASSERT_NE(nullptr, odd);
  EXPECT_STREQ(L"v", odd->GetString(L"S", L"k", nullptr));
}

class IniFileLoadTest : public ::testing::Test {
 protected:
  void SetUp() override { ReleaseAllVirtualFiles(); }
  void TearDown() override { ReleaseAllVirtualFiles(); }
  std::unique_ptr<IniStringContainer> Load(const std::wstring& relative) {
    return std::unique_ptr<IniStringContainer>(LoadIniFile(folder_.Join(relative).c_str()));
  }
  TempFolder folder_{L"inifile"};
};

TEST_F(IniFileLoadTest, LoadsLooseAndPackedFilesAndClosesThem) {
  ASSERT_TRUE(WriteFileBytes(folder_.Join(L"skin\\loose.ini"), kMark + Utf16Bytes(L"[A]\r\nk=loose\r\n")));
  ASSERT_TRUE(
      WriteFileBytes(folder_.Join(L"skin.pak"),
                     PackWriter().Add(L"packed.ini", kMark + Utf16Bytes(L"[A]\r\nk=packed")).Bytes()));
  auto loose = Load(L"skin\\loose.ini");
  auto packed = Load(L"skin\\packed.ini");
  ASSERT_NE(nullptr, loose);
  ASSERT_NE(nullptr, packed);
  EXPECT_STREQ(L"loose", loose->GetString(L"A", L"k", nullptr));
  EXPECT_STREQ(L"packed", packed->GetString(L"A", L"k", nullptr));
  EXPECT_EQ(nullptr, FindOpenVirtualFile(folder_.Join(L"skin\\loose.ini").c_str()));
  EXPECT_EQ(nullptr, FindOpenVirtualFile(folder_.Join(L"skin\\packed.ini").c_str()));
  EXPECT_EQ(nullptr, Load(L"skin\\missing.ini"));
}

}  // namespace
}  // namespace testing_support

// Seeded mutation fuzzing of the launcher-info ini "ZEPHLauncherInfo.ini" (read through the system's profile
// functions). A read text stays terminated within its field, an update address is taken only when it fits
// the field it is loaded into, and reading changes no file.
#include <windows.h>

#include <gtest/gtest.h>

#include <cwchar>
#include <string>
#include <vector>

#include "selfupdate/LauncherInfo.h"
#include "tests/support/GuardedBuffer.h"
#include "tests/support/Mutator.h"
#include "tests/support/TempFolder.h"

namespace testing_support {
namespace {

const std::string kLauncherInfoText =
    "[LAUNCHER_INFO]\r\nupdate_addr=127.0.0.1:8080/launcher\r\nupdate_name=Main server\r\nversion=12\r\n";

TEST(LauncherInfoFuzz, ReadTextsStayInTheirFieldsAndOnlyAnAddressThatFitsIsTaken) {
  TempFolder folder(L"launcherinfofuzz");
  const std::wstring path = folder.Join(kLauncherInfoFileName);
  ASSERT_TRUE(SetLauncherInfoPath(path.c_str()));
  const std::vector<std::string> seeds = {
      kLauncherInfoText, "[LAUNCHER_INFO]\nversion=4294967295\nupdate_addr=" + std::string(70, 'h') + "\n",
      Utf16Bytes(L"[LAUNCHER_INFO]\r\nupdate_addr=srv\r\nupdate_name=\x4E2D\x6587\r\nversion=-3\r\n", true)};
  const std::vector<std::string> dictionary = {
      "[LAUNCHER_INFO]\r\n", "update_addr=", "update_name=", "version=", "=", ";", "\r\n", "\"",
      std::string(1100, 'x')};
  Mutator mutator(0x11F0, Mutator::kText8);
  GuardedBuffer text_buffer;
  GuardedBuffer field_buffer;
  int taken = 0;
  RunFuzzInputs("launcher info", mutator, seeds, dictionary, 80, [&](const std::string& input) {
    ASSERT_TRUE(WriteFileBytes(path, input));
    // Both reads end at a no-access page: a text longer than its 1024 units would fault.
    wchar_t* text = reinterpret_cast<wchar_t*>(text_buffer.PlaceSpace(kLauncherInfoTextUnits * 2));
    ReadLauncherInfoUpdateName(text);
    ASSERT_NE(nullptr, std::wmemchr(text, L'\0', kLauncherInfoTextUnits));
    ReadLauncherInfoUpdateAddr(text);
    ASSERT_NE(nullptr, std::wmemchr(text, L'\0', kLauncherInfoTextUnits));
    wchar_t* field = reinterpret_cast<wchar_t*>(field_buffer.PlaceSpace(kUpdateAddrUnits * 2));
    std::wmemset(field, L'#', kUpdateAddrUnits);
    const int result = LoadUpdateAddrFromLauncherInfo(field);
    const bool fits = text[0] != 0 && std::wcslen(text) < kUpdateAddrUnits;
    ASSERT_EQ(fits ? 1 : 0, result);
    if (fits) {
      ++taken;
      ASSERT_STREQ(text, field);
    } else {
      ASSERT_EQ(std::wstring(kUpdateAddrUnits, L'#'), std::wstring(field, kUpdateAddrUnits));
    }
    ASSERT_EQ(ReadLauncherInfoVersion() != 12 ? 1 : 0, IsLauncherVersionChanged(12));
    // Reading is not writing: the file is as the test wrote it.
    std::string after;
    ASSERT_TRUE(ReadFileBytes(path, &after));
    ASSERT_EQ(input, after);
  });
  SetLauncherInfoPath(nullptr);
  EXPECT_GT(taken, 0);
}

}  // namespace
}  // namespace testing_support

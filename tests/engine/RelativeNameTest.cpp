#include "engine/RelativeName.h"

#include <gtest/gtest.h>

#include <string>

TEST(RelativeName, NamesThatStayBelowTheRootAreAccepted) {
  const std::wstring longest(kMaxRelativeNameLength, L'a');
  const wchar_t* names[] = {L"game.exe",
                            L"data\\maps\\level1.map",
                            L"data/maps/level1.map",
                            L".config",
                            L"a..b",
                            L"...",
                            L"x\\.\\y",
                            L"Patch\\game.dat",
                            L"folder\\",
                            longest.c_str()};
  for (size_t i = 0; i < sizeof(names) / sizeof(names[0]); ++i)
    EXPECT_TRUE(IsSafeRelativeName(names[i])) << "name " << i;
}

TEST(RelativeName, NamesThatCouldLeaveTheRootAreRefused) {
  const std::wstring too_long(kMaxRelativeNameLength + 1, L'a');
  struct Case {
    const wchar_t* name;
    const char* why;
  } cases[] = {
      {L"", "empty"},
      {L"..", "parent"},
      {L"..\\evil.dll", "parent first"},
      {L"data\\..\\..\\evil.dll", "parent inside"},
      {L"data/../evil.dll", "parent between slashes"},
      {L"data\\..", "parent last"},
      {L"\\Windows\\evil.dll", "leading backslash"},
      {L"/etc/evil", "leading slash"},
      {L"\\\\server\\share\\evil.dll", "UNC path"},
      {L"\\\\?\\C:\\evil.dll", "device path"},
      {L"C:\\Windows\\evil.dll", "drive and absolute"},
      {L"C:evil.dll", "drive relative"},
      {L"game.dat:stream", "alternate stream"},
      {L"line\r\nbreak", "control characters"},
      {L"tab\there", "control character"},
      {L"wild*.dll", "wildcard"},
      {L"what?.dll", "wildcard"},
      {L"a\"b", "quote"},
      {L"a<b>c", "angle brackets"},
      {L"a|b", "pipe"},
      {too_long.c_str(), "longer than a name field"},
  };
  for (const Case& c : cases)
    EXPECT_FALSE(IsSafeRelativeName(c.name)) << c.why;
  EXPECT_FALSE(IsSafeRelativeName(nullptr));
}

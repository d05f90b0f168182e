#include "base/RelativeName.h"

#include <gtest/gtest.h>

#include <string>

TEST(RelativeName, NamesThatStayBelowTheRootAreAccepted) {
  const std::wstring longest(kMaxRelativeNameLength, L'a');
  const wchar_t* names[] = {L"game.exe",
                            L"data\\maps\\level1.map",
                            L"data/maps/level1.map",
                            L".config",
                            L"a..b",
                            L"CONFIG.SYS",
                            L"com10.dat",
                            L"lpt.txt",
                            L"nul_file",
                            L"x\\console\\aux_data.bin",
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
      {L"...", "dots only"},
      {L"x\\.\\y", "current folder"},
      {L"data\\file.", "trailing dot"},
      {L"data\\file ", "trailing blank"},
      {L"data.\\file", "trailing dot in a folder"},
      {L".. \\evil.dll", "parent with a blank"},
      {L"CON", "console device"},
      {L"data\\nul.txt", "null device with extension"},
      {L"Aux", "device in mixed case"},
      {L"prn .log", "device with a blank before the extension"},
      {L"COM1", "serial port"},
      {L"bin\\lpt9.dll", "printer port"},
      {L"COM\u00B9.txt", "port with a superscript digit"},
      {L"CONOUT$", "console output"},
      {L"\xFEFFgame.exe", "byte-order mark first"},
      {too_long.c_str(), "longer than a name field"},
  };
  for (const Case& c : cases)
    EXPECT_FALSE(IsSafeRelativeName(c.name)) << c.why;
  EXPECT_FALSE(IsSafeRelativeName(nullptr));
}

TEST(RelativeName, JoinedPathsStayBelowTheFullPathOfTheRoot) {
  struct Case {
    const wchar_t* root;
    const wchar_t* name;
    const wchar_t* joined;  // null: refused
  } cases[] = {
      {L"C:\\Games\\Orvane", L"data\\a.dat", L"C:\\Games\\Orvane\\data\\a.dat"},
      {L"C:\\Games\\Orvane", L"data/a.dat", L"C:\\Games\\Orvane\\data/a.dat"},
      {L"C:\\Games\\..\\Orvane", L"a.dat", L"C:\\Games\\..\\Orvane\\a.dat"},
      {L"Q:\\", L"a.dat", L"Q:\\\\a.dat"},
      {L"C:\\Games\\Orvane", L"..\\Orvane2\\a.dat", nullptr},
      {L"C:\\Games\\Orvane", L"data\\..\\..\\a.dat", nullptr},
      {L"C:\\Games\\Orvane", L"nul", nullptr},
      {L"C:\\Games\\Orvane", L"a.dat.", nullptr},
      {L"C:\\Games\\Orvane", L"folder\\", L"C:\\Games\\Orvane\\folder\\"},
      {L"", L"a.dat", nullptr},
  };
  for (const Case& c : cases) {
    wchar_t out[MAX_PATH] = L"junk";
    const bool joined = JoinUnderRoot(out, c.root, c.name);
    EXPECT_EQ(c.joined != nullptr, joined) << c.root << L" + " << c.name;
    EXPECT_EQ(std::wstring(c.joined != nullptr ? c.joined : L""), std::wstring(out)) << c.name;
  }
}

TEST(RelativeName, FileNamesMustHaveEveryPartAndValidUtf8) {
  // A file name is a relative name with no empty part: no doubled separator, no separator at the end.
  for (const wchar_t* name : {L"game.exe", L"bin\\game.exe", L"data/maps/m.map"})
    EXPECT_TRUE(IsSafeRelativeFileName(name)) << name;
  for (const wchar_t* name : {L"a\\\\b", L"a\\", L"a//b", L"", L"..\\x", L"nul.txt", L"a\x7F"})
    EXPECT_FALSE(IsSafeRelativeFileName(name)) << name;
  EXPECT_FALSE(IsSafeRelativeFileName(static_cast<const wchar_t*>(nullptr)));

  EXPECT_TRUE(IsSafeRelativeFileName(std::string_view("b\xC3\xA9.dat")));
  EXPECT_FALSE(IsSafeRelativeFileName(std::string_view("b\xC3.dat")));        // cut UTF-8 sequence
  EXPECT_FALSE(IsSafeRelativeFileName(std::string_view("a\0b", 3)));          // NUL inside the bytes
  EXPECT_FALSE(IsSafeRelativeFileName(std::string_view("COM\xC2\xB9.log")));  // superscript port digit
  EXPECT_TRUE(IsSafeRelativeFileName(std::string(1040, 'n')));  // the caller bounds a UTF-8 name's length
}

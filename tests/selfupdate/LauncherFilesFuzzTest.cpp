// Seeded mutation fuzzing of the launcher's own update files: the launcher-info ini "ZEPHLauncherInfo.ini"
// (read through the system's profile functions) and the update-server list "locallist.xml". A read text
// stays terminated within its field, an update address is taken only when it fits the process-wide field,
// reading changes no file, and a list is either refused whole or made of complete records within their
// fields, never more records than the text has "Local" elements.
#include <windows.h>

#include <gtest/gtest.h>

#include <cwchar>
#include <string>
#include <vector>

#include "app/launcherupdate/ServerList.h"
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

std::string LocalRecord(const std::string& name, const std::string& address, const std::string& numbers) {
  return "<Local><local_name>" + name + "</local_name><lupdate_addr>" + address + "</lupdate_addr>" +
         numbers + "</Local>";
}

std::vector<std::string> ServerListSeeds() {
  return {"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<LocalList>\r\n" +
              LocalRecord("Main", "127.0.0.1:8080/launcher",
                          "<current_version>12</current_version><separate_version>3</separate_version>") +
              "\r\n" + LocalRecord("\xEC\x84\x9C\xEB\xB2\x84 &amp; B", "host.example/x", "") +
              "\r\n</LocalList>",
          "<LocalList>" + LocalRecord("a", "b", "<current_version>-7</current_version>") + "</LocalList>",
          "\xEF\xBB\xBF<LocalList><!-- none --></LocalList>"};
}

std::vector<std::string> ServerListDictionary() {
  return {"<Local>",
          "</Local>",
          "<local_name>",
          "</local_name>",
          "<lupdate_addr>",
          "&amp;",
          "&#0;",
          "&#x10FFFF;",
          "<![CDATA[",
          "]]>",
          "<!--",
          "2147483648",
          "-",
          "\xEF\xBB\xBF",
          "\xC3\x28",
          "\xF4\x90\x80\x80",
          std::string(1030, 'n')};
}

size_t CountOf(const std::string& text, const std::string& token) {
  size_t count = 0;
  for (size_t at = text.find(token); at != std::string::npos; at = text.find(token, at + 1))
    ++count;
  return count;
}

// What every reading of a list must give: refused whole, or complete records within their fields.
void ExpectWholeListOrNone(const ServerList& list, int result, const std::string& input) {
  ASSERT_TRUE(result == 0 || result == 1) << result;
  if (result == 0) {
    ASSERT_EQ(0, list.count());
    ASSERT_EQ(nullptr, list.records());
    return;
  }
  ASSERT_GE(list.count(), 0);
  ASSERT_EQ(list.count() == 0, list.records() == nullptr);
  ASSERT_LE(static_cast<size_t>(list.count()), CountOf(input, "<Local"));
  for (int i = 0; i < list.count(); ++i) {
    const ServerRecord& record = list.records()[i];
    ASSERT_NE(nullptr, std::wmemchr(record.name, L'\0', 1024));
    ASSERT_NE(nullptr, std::wmemchr(record.address, L'\0', 1024));
    ASSERT_NE(L'\0', record.name[0]);
    ASSERT_NE(L'\0', record.address[0]);
    ASSERT_EQ(0, record.disabled);
  }
}

TEST(ServerListFuzz, ListsAreRefusedWholeOrHoldCompleteRecordsWithinTheirFields) {
  Mutator mutator(0x10CA1, Mutator::kText8);
  GuardedBuffer buffer;
  int accepted = 0;
  RunFuzzInputs(
      "server list", mutator, ServerListSeeds(), ServerListDictionary(), 3000, [&](const std::string& input) {
        ServerList list;
        const int result = list.ParseBytes(reinterpret_cast<const char*>(buffer.Place(input)), input.size());
        ASSERT_NO_FATAL_FAILURE(ExpectWholeListOrNone(list, result, input));
        accepted += list.count() > 0;
      });
  EXPECT_GT(accepted, 0);
}

// The real path: the file as the server selection reads it gives the list its bytes give.
TEST(ServerListFuzz, AFileGivesTheListItsBytesGive) {
  TempFolder folder(L"serverlistfuzz");
  const std::wstring path = folder.Join(L"locallist.xml");
  Mutator mutator(0x10CA2, Mutator::kText8);
  int accepted = 0;
  RunFuzzMutations("server list file", mutator, ServerListSeeds(), ServerListDictionary(), 40,
                   [&](const std::string& input) {
                     ASSERT_TRUE(WriteFileBytes(path, input));
                     ServerList from_file;
                     const int result = from_file.Parse(path.c_str());
                     ASSERT_NO_FATAL_FAILURE(ExpectWholeListOrNone(from_file, result, input));
                     accepted += from_file.count() > 0;
                     ServerList from_bytes;
                     ASSERT_EQ(from_bytes.ParseBytes(input.data(), input.size()), result);
                     ASSERT_EQ(from_bytes.count(), from_file.count());
                     for (int i = 0; i < from_file.count(); ++i) {
                       ASSERT_STREQ(from_bytes.records()[i].name, from_file.records()[i].name);
                       ASSERT_STREQ(from_bytes.records()[i].address, from_file.records()[i].address);
                       ASSERT_EQ(from_bytes.records()[i].current_version,
                                 from_file.records()[i].current_version);
                     }
                   });
  EXPECT_GT(accepted, 0);
}

}  // namespace
}  // namespace testing_support

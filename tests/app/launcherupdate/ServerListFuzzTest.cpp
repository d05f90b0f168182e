// Seeded mutation fuzzing of the update-server list "locallist.xml": a list is either refused whole or made
// of complete records within their fields, never more records than the text has "Local" elements.
#include <windows.h>

#include <gtest/gtest.h>

#include <cwchar>
#include <string>
#include <vector>

#include "app/launcherupdate/ServerList.h"
#include "tests/support/GuardedBuffer.h"
#include "tests/support/Mutator.h"
#include "tests/support/TempFolder.h"

namespace testing_support {
namespace {

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

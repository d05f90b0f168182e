// The update-server list: what a well-formed "locallist.xml" gives, and every malformed one read as
// unreadable.
#include <gtest/gtest.h>

#include <string>

#include "app/launcherupdate/ServerList.h"
#include "tests/support/TempFolder.h"

namespace {

std::string Local(const std::string& inner) {
  return "<Local>" + inner + "</Local>";
}

TEST(ServerList, ReadsEveryServerFromAWidePath) {
  testing_support::TempFolder folder(L"server-list-\u017E");
  const std::wstring path = folder.Join(L"locallist.xml");
  const std::string xml =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<LocalList>" +
      Local(
          "<local_name>North \xC5\xBE</local_name><lupdate_addr>n.example:81/u</lupdate_addr>"
          "<current_version>12</current_version><separate_version>3</separate_version>") +
      Local("<local_name>South</local_name><lupdate_addr>s.example</lupdate_addr>") + "</LocalList>";
  ASSERT_TRUE(testing_support::WriteFileBytes(path, xml));
  ServerList list;
  ASSERT_EQ(1, list.Parse(path.c_str()));
  ASSERT_EQ(2, list.count());
  EXPECT_STREQ(L"North \u017E", list.records()[0].name);
  EXPECT_STREQ(L"n.example:81/u", list.records()[0].address);
  EXPECT_EQ(12, list.records()[0].current_version);
  EXPECT_EQ(3, list.records()[0].separate_version);
  EXPECT_EQ(0, list.records()[1].current_version);  // missing numbers are 0
  EXPECT_EQ(0, list.records()[1].disabled);
  EXPECT_EQ(0, list.Parse(folder.Join(L"missing.xml").c_str()));
  EXPECT_EQ(0, list.count());
}

TEST(ServerList, RefusesMalformedListsWhole) {
  const std::string good = Local("<local_name>A</local_name><lupdate_addr>a</lupdate_addr>");
  const std::string cases[] = {
      "",
      "not xml",
      "<OtherList>" + good + "</OtherList>",
      "<LocalList>" + good + Local("<local_name>B</local_name>") + "</LocalList>",
      "<LocalList>" + Local("<lupdate_addr>b</lupdate_addr>") + "</LocalList>",
      "<LocalList>" + Local("<local_name></local_name><lupdate_addr>b</lupdate_addr>") + "</LocalList>",
      "<LocalList>" +
          Local("<local_name>" + std::string(1024, 'n') + "</local_name><lupdate_addr>b</lupdate_addr>") +
          "</LocalList>",
      "<LocalList>" + Local("<local_name local_name=\"attr\"/><lupdate_addr>b</lupdate_addr>") +
          "</LocalList>",
  };
  for (const std::string& xml : cases) {
    ServerList list;
    EXPECT_EQ(0, list.ParseText(xml.c_str())) << xml.substr(0, 120);
    EXPECT_EQ(0, list.count());
  }
  ServerList list;
  EXPECT_EQ(1, list.ParseText(("<LocalList>" +
                               Local("<local_name>" + std::string(1023, 'n') +
                                     "</local_name><lupdate_addr>b</lupdate_addr>") +
                               "</LocalList>")
                                  .c_str()));
  EXPECT_EQ(1, list.ParseText("<LocalList/>"));
  EXPECT_EQ(0, list.count());
}

}  // namespace

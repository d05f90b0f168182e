// The notice and search-keyword files: which elements become records, which texts fill their fields, and
// what gets published.
#include <windows.h>

#include <gtest/gtest.h>

#include <cwchar>
#include <string>
#include <utility>
#include <vector>

#include "app/texts/XMLNotice.h"
#include "app/texts/XMLSearchKeyword.h"
#include "app/texts/XmlRecordFile.h"
#include "tests/support/GuardedBuffer.h"
#include "tests/support/TempFolder.h"

namespace {

using testing_support::TempFolder;
using testing_support::WriteFileBytes;

const char kDeclaration[] = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";

class XmlRecordsTest : public ::testing::Test {
 protected:
  void TearDown() override {
    ReleaseRawNotices();
    ReleaseRawKeywords();
  }
  std::wstring File(const std::string& content, const std::wstring& name = L"file.xml") {
    std::wstring path = folder_.Join(name);
    EXPECT_TRUE(WriteFileBytes(path, content));
    return path;
  }
  bool LoadNotices(const std::string& content) { return notices_.Load(File(content).c_str()); }
  bool LoadKeywords(const std::string& content) { return keywords_.Load(File(content).c_str()); }

  TempFolder folder_{L"xml"};
  CXMLNotice notices_;
  CXMLSearchKeyword keywords_;
};

TEST_F(XmlRecordsTest, ReadsEveryElementFromTheFirstNoticeOn) {
  ASSERT_TRUE(
      LoadNotices(std::string(kDeclaration) +
                  "<notices><header><subject>not a notice</subject></header>"
                  "<notice><subject>first</subject><url>http://a/</url></notice>"
                  "<notice><url>http://b/</url><subject>second</subject><subject>later</subject></notice>"
                  "<other attr=\"x\"><subject>third</subject><url>http://c/</url></other>"
                  "</notices>"));
  const auto& records = notices_.records();
  ASSERT_EQ(3u, records.size());
  EXPECT_STREQ(L"first", records[0].subject);
  EXPECT_STREQ(L"http://a/", records[0].url);
  EXPECT_STREQ(L"second", records[1].subject);  // only the first child of a name counts
  EXPECT_STREQ(L"third", records[2].subject);
  EXPECT_STREQ(L"http://c/", records[2].url);
}

TEST_F(XmlRecordsTest, TakesTextAndCdataButNothingElse) {
  ASSERT_TRUE(
      LoadNotices("<n><notice><subject><![CDATA[a <b> & c]]></subject><url><!-- no -->http://x/</url>"
                  "</notice><notice><subject><b>bold</b></subject><url></url></notice></n>"));
  const auto& records = notices_.records();
  ASSERT_EQ(2u, records.size());
  EXPECT_STREQ(L"a <b> & c", records[0].subject);
  EXPECT_STREQ(L"", records[0].url);
  EXPECT_STREQ(L"", records[1].subject);
  EXPECT_STREQ(L"", records[1].url);
}

TEST_F(XmlRecordsTest, LeavesOverLongFieldsEmptyRatherThanCut) {
  // Measured in UTF-16 units with the terminator: 1023 characters fit a notice field, 1024 do not; an
  // "é" is one unit (two UTF-8 bytes), a character outside the basic plane two.
  std::string e_acute = "\xC3\xA9";
  std::string clef = "\xF0\x9D\x84\x9E";
  std::string kept;
  for (int i = 0; i < 1023; ++i)
    kept += e_acute;
  std::string dropped = std::string(1022, 'x') + clef;
  ASSERT_TRUE(LoadNotices(std::string(kDeclaration) + "<n><notice><subject>" + kept + "</subject><url>" +
                          dropped + "</url></notice></n>"));
  ASSERT_EQ(1u, notices_.records().size());
  EXPECT_EQ(std::wstring(1023, L'\u00E9'), notices_.records()[0].subject);
  EXPECT_STREQ(L"", notices_.records()[0].url);

  ASSERT_TRUE(LoadKeywords("<k><item><view_content>" + std::string(300, 'v') + "</view_content>" +
                           "<link_type>t</link_type><keyword>" + std::string(259, 'k') + "</keyword>" +
                           "<section>s</section><href>" + std::string(260, 'h') + "</href></item></k>"));
  ASSERT_EQ(1u, keywords_.records().size());
  const KeywordRecord& keyword = keywords_.records()[0];
  EXPECT_STREQ(L"", keyword.view_content);
  EXPECT_STREQ(L"t", keyword.link_type);
  EXPECT_EQ(std::wstring(259, L'k'), keyword.keyword);
  EXPECT_STREQ(L"s", keyword.section);
  EXPECT_STREQ(L"", keyword.href);  // 260 units would fit the field, but not the limit
}

TEST_F(XmlRecordsTest, ReadsKeywordsAndYieldsEmptyRecordsForEmptyItems) {
  ASSERT_TRUE(LoadKeywords(std::string(kDeclaration) +
                           "<keywords><item><view_content>Hint</view_content><link_type>1</link_type>"
                           "<keyword>term</keyword><section>sec</section><href>http://h/</href></item>"
                           "<item/></keywords>"));
  const auto& records = keywords_.records();
  ASSERT_EQ(2u, records.size());
  EXPECT_STREQ(L"Hint", records[0].view_content);
  EXPECT_STREQ(L"1", records[0].link_type);
  EXPECT_STREQ(L"term", records[0].keyword);
  EXPECT_STREQ(L"sec", records[0].section);
  EXPECT_STREQ(L"http://h/", records[0].href);
  KeywordRecord empty = {};
  EXPECT_EQ(0, memcmp(&empty, &records[1], sizeof empty));
}

TEST_F(XmlRecordsTest, DecodesUtf8AndReplacesInvalidBytes) {
  ASSERT_TRUE(LoadNotices(std::string(kDeclaration) + "<n><notice><subject>Gr\xC3\xBC\xC3\x9F"
                                                      "e \xE2\x82\xAC</subject>"
                                                      "<url>a\xFF"
                                                      "b</url></notice></n>"));
  ASSERT_EQ(1u, notices_.records().size());
  EXPECT_STREQ(L"Gr\u00FC\u00DFe \u20AC", notices_.records()[0].subject);
  EXPECT_STREQ(L"a\uFFFDb", notices_.records()[0].url);
}

// Runs of UTF-8 lead bytes without their continuation bytes, long enough to reach a field's width: the field
// holds a terminated text or nothing, never a text without its terminator.
TEST_F(XmlRecordsTest, RunsOfInvalidLeadBytesAtTheFieldWidthLeaveATerminatedFieldOrNone) {
  // The parser steps over a lead byte's whole sequence, so runs are whole sequences of it.
  const std::pair<const char*, std::vector<size_t>> cases[] = {
      {"\xE3\xE3\xE3", {330, 338, 339, 340, 341, 342, 682}},
      {"\xF0\xF0\xF0\xF0", {250, 254, 255, 256, 257, 512}}};
  for (const auto& c : cases) {
    const char* lead = c.first;
    for (size_t run : c.second) {
      std::string text = "Shop \xE2\x82\xAC";
      for (size_t i = 0; i < run; ++i)
        text += lead;
      ASSERT_TRUE(LoadNotices(std::string(kDeclaration) + "<n><notice><subject>" + text + "</subject><url>u" +
                              text.substr(0, 8 + 240) + "</url></notice></n>"));
      ASSERT_EQ(1u, notices_.records().size());
      const NoticeRecord& record = notices_.records()[0];
      EXPECT_NE(nullptr, std::wmemchr(record.subject, L'\0', 1024)) << run;
      EXPECT_NE(nullptr, std::wmemchr(record.url, L'\0', 1024)) << run;
      ASSERT_TRUE(
          LoadKeywords("<r><item><view_content>" + text.substr(0, 8 + 276) + "</view_content></item></r>"));
      ASSERT_EQ(1u, keywords_.records().size());
      EXPECT_LE(std::wcslen(keywords_.records()[0].view_content), 259u) << run;
    }
  }
}

TEST_F(XmlRecordsTest, OpensFilesThroughWidePaths) {
  std::wstring path = File("<n><notice><subject>wide</subject></notice></n>", L"\u00E9\u4E2D\u03A9.xml");
  ASSERT_TRUE(notices_.Load(path.c_str()));
  ASSERT_EQ(1u, notices_.records().size());
  EXPECT_STREQ(L"wide", notices_.records()[0].subject);
}

TEST_F(XmlRecordsTest, FailsForMissingEmptyOrBrokenFiles) {
  EXPECT_FALSE(notices_.Load(nullptr));
  EXPECT_FALSE(notices_.Load(L""));
  EXPECT_FALSE(notices_.Load(folder_.Join(L"missing.xml").c_str()));
  EXPECT_FALSE(LoadNotices("<n><notice><subject>open</n>"));
  EXPECT_FALSE(LoadKeywords(""));
  EXPECT_TRUE(notices_.records().empty());
}

TEST_F(XmlRecordsTest, PublishesOnlyWhenThereAreRecords) {
  ASSERT_TRUE(LoadNotices("<n><notice><subject>one</subject></notice><notice/></n>"));
  ASSERT_TRUE(notices_.Publish());
  ASSERT_EQ(2, RawNoticeCount());
  EXPECT_STREQ(L"one", RawNotices()[0].subject);

  // A file without records loads, but publishes nothing, and the count says so.
  CXMLNotice none;
  ASSERT_TRUE(none.Load(File("<n><other><subject>x</subject></other></n>").c_str()));
  EXPECT_TRUE(none.records().empty());
  EXPECT_FALSE(none.Publish());
  EXPECT_EQ(0, RawNoticeCount());

  CXMLSearchKeyword no_root;
  ASSERT_TRUE(no_root.Load(File("<?xml version=\"1.0\"?><!-- nothing -->").c_str()));
  EXPECT_FALSE(no_root.Publish());
  EXPECT_EQ(0, RawKeywordCount());

  ASSERT_TRUE(LoadKeywords("<k><item><keyword>a</keyword></item></k>"));
  ASSERT_TRUE(keywords_.Publish());
  ASSERT_TRUE(LoadKeywords("<k><item><keyword>b</keyword></item><item/></k>"));
  ASSERT_TRUE(keywords_.Publish());  // replaces the earlier array
  ASSERT_EQ(2, RawKeywordCount());
  EXPECT_STREQ(L"b", RawKeywords()[0].keyword);
}

// TinyXML steps over a whole UTF-8 sequence even where the text ends inside it, and so read up to three
// bytes past the end of a file (a fuzz test found it). Each text here ends at a no-access page.
TEST(XmlBytes, TextsEndingInsideAUtf8SequenceAreReadOnlyToTheirEnd) {
  testing_support::GuardedBuffer buffer;
  const std::vector<std::pair<std::string, bool>> cases = {
      {"<n><notice><subject>\xE0", false},
      {"\xEF\xBB\xBF<n><notice><subject>x</subject></notice></n>\xF0\x9F", true},
      {"<?xml version=\"1.0\" encoding=\"UTF-8\"?><n a=\"\xF4", false},
      {"<n><notice><subject>ok</subject></notice></n>", true},
      {std::string("<n><notice/></n>\0\xE0", 18), true}};  // the text ends at its NUL
  for (const auto& [text, parses] : cases) {
    const char* bytes = reinterpret_cast<const char*>(buffer.Place(text));
    TiXmlDocument document;
    EXPECT_EQ(parses, ParseXmlBytes(&document, bytes, text.size(), TIXML_ENCODING_UTF8)) << text;
    CXMLNotice notices;
    EXPECT_EQ(parses, notices.LoadBytes(bytes, text.size())) << text;
    // The copy TinyXML reads, placed at the guard page itself: its padding holds the parser's reads.
    const std::string padded =
        NormalizedXmlText(text.data(), text.size()) + std::string(kXmlTextPadding, '\0');
    TiXmlDocument direct;
    direct.Parse(reinterpret_cast<const char*>(buffer.Place(padded)), nullptr, TIXML_ENCODING_UTF8);
    EXPECT_EQ(parses, !direct.Error()) << text;
  }
}

}  // namespace

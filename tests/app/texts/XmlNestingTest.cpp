// The depth bound of the XML readers: what the scan counts as nesting (as TinyXML nests), and that every
// reader refuses a file nested deeper than the bound before TinyXML parses it.
#include <gtest/gtest.h>

#include <string>

#include "app/launcherupdate/ServerList.h"
#include "app/texts/XMLNotice.h"
#include "app/texts/XMLSearchKeyword.h"
#include "app/texts/XmlNesting.h"
#include "app/texts/XmlRecordFile.h"

namespace {

std::string Repeat(const std::string& part, int times) {
  std::string text;
  for (int i = 0; i < times; ++i)
    text += part;
  return text;
}

// Neither what TinyXML reads as text (comments, CDATA, processing instructions, quoted values) nor
// self-closing tags count; what TinyXML steps over as one character (a UTF-8 sequence, a character reference)
// hides no end tag and no comment start from the count.
TEST(XmlNestingDepth, CountsTheLevelsTinyXmlNests) {
  const std::string lead_byte_trap = "<r>\xE3<!--<b><b>--></b></b></r>";  // E3 steps over "<!" in UTF-8
  struct Case {
    std::string text;
    TiXmlEncoding encoding;
    size_t depth;
  } cases[] = {
      {"<a><b><c/></b></a>", TIXML_ENCODING_UTF8, 3},
      {"<a>" + Repeat("<b/>", 100) + "</a>", TIXML_ENCODING_UTF8, 2},
      {"<a><!-- " + Repeat("<b>", 100) + " --><e/></a>", TIXML_ENCODING_UTF8, 2},
      {"<a><![CDATA[" + Repeat("<b>", 100) + "]]><e/></a>", TIXML_ENCODING_UTF8, 2},
      {"<a t=\"" + Repeat("<b>", 100) + "\" u='>'><e/></a>", TIXML_ENCODING_UTF8, 2},
      {"<?xml version=\"1>0\"?><a><?pi x?><b/></a>", TIXML_ENCODING_UTF8, 2},
      {"<!DOCTYPE a><a>\n  <b attr=\"/>\">text &lt;c&gt;</b>\n</a>", TIXML_DEFAULT_ENCODING, 2},
      // A processing instruction ends at its first '>', not at "?>".
      {"<r><?p>" + Repeat("<b>", 3) + "?>" + Repeat("</b>", 3) + "</r>", TIXML_ENCODING_UTF8, 4},
      // "&#x" takes everything up to ";", here an end tag each time.
      {"<r>" + Repeat("<b>&#x</b>x;", 3) + Repeat("</b>", 3) + "</r>", TIXML_ENCODING_UTF8, 4},
      {lead_byte_trap, TIXML_ENCODING_UTF8, 3},
      {lead_byte_trap, TIXML_ENCODING_LEGACY, 1},
      {"\xEF\xBB\xBF" + lead_byte_trap, TIXML_DEFAULT_ENCODING, 3},
      {"<?xml version=\"1.0\" encoding=\"UTF-8\"?>" + lead_byte_trap, TIXML_DEFAULT_ENCODING, 3},
      {"x<a><b/></a>", TIXML_ENCODING_UTF8, 0},  // the document ends at text before its root
      {"", TIXML_ENCODING_UTF8, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.depth, XmlNestingDepth(c.text.data(), c.text.size(), c.encoding, 1000)) << c.text;
}

TEST(XmlNestingDepth, StopsCountingPastTheLimitAndAtTheFirstNul) {
  const std::string deep = Repeat("<a>", 5000);
  EXPECT_EQ(11u, XmlNestingDepth(deep.data(), deep.size(), TIXML_ENCODING_UTF8, 10));
  const std::string cut = "<a><b>" + std::string(1, '\0') + "<c><d>";
  EXPECT_EQ(2u, XmlNestingDepth(cut.data(), cut.size(), TIXML_ENCODING_UTF8, 1000));
}

// TinyXML recurses once per open element: some 30,000 levels (about 210 KB) overflow the stack. Each reader
// refuses a file nested deeper than the bound, reads one exactly as deep, and a real file with comments and
// CDATA full of tags still reads.
TEST(XmlReaders, RefuseFilesNestedDeeperThanTheBound) {
  const int bound = static_cast<int>(kMaxXmlNesting);
  for (int levels : {bound + 1, 30000}) {
    const std::string notices =
        "<n><notice>" + Repeat("<x>", levels) + Repeat("</x>", levels) + "</notice></n>";
    EXPECT_FALSE(CXMLNotice().LoadBytes(notices.data(), notices.size())) << levels;
    const std::string keywords = "<k>" + Repeat("<item>", levels) + Repeat("</item>", levels) + "</k>";
    EXPECT_FALSE(CXMLSearchKeyword().LoadBytes(keywords.data(), keywords.size())) << levels;
    const std::string servers =
        "<LocalList>" + Repeat("<Local>", levels) + Repeat("</Local>", levels) + "</LocalList>";
    EXPECT_EQ(0, ServerList().ParseText(servers.c_str())) << levels;
  }
  const std::string as_deep = "<n><notice><subject>s</subject>" + Repeat("<x>", bound - 2) +
                              Repeat("</x>", bound - 2) + "</notice></n>";
  CXMLNotice reader;
  ASSERT_TRUE(reader.LoadBytes(as_deep.data(), as_deep.size()));
  ASSERT_EQ(1u, reader.records().size());
  EXPECT_STREQ(L"s", reader.records()[0].subject);

  const std::string noisy = "<?xml version=\"1.0\"?>\n<LocalList><!-- " + Repeat("<Local>", 200) +
                            " --><Local><local_name><![CDATA[" + Repeat("<b>", 200) +
                            "]]></local_name><lupdate_addr>h</lupdate_addr></Local></LocalList>";
  ServerList list;
  ASSERT_EQ(1, list.ParseText(noisy.c_str()));
  EXPECT_EQ(std::wstring(L"h"), list.records()[0].address);
}

}  // namespace

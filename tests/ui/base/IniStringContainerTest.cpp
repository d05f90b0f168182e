// The ini text parser: which lines make sections and keys, what a value holds, which duplicate wins, and the
// cursor walks over sections and keys.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ui/base/IniStringContainer.h"

namespace {

std::unique_ptr<IniStringContainer> ParseText(const std::wstring& text) {
  return std::unique_ptr<IniStringContainer>(
      IniStringContainer::Parse(text.data(), static_cast<uint32_t>(text.size())));
}

// Every (section, key, value) in file order, through the cursors.
std::vector<std::wstring> Walk(IniContainer* ini) {
  std::vector<std::wstring> seen;
  for (int more = ini->FirstSection(); more; more = ini->NextSection()) {
    for (int key = ini->FirstKey(); key; key = ini->NextKey())
      seen.push_back(std::wstring(ini->GetCurrentSectionName()) + L"|" + ini->GetCurrentKeyName() + L"=" +
                     ini->GetCurrentValue());
    if (ini->FirstKey() == 0)
      seen.push_back(std::wstring(ini->GetCurrentSectionName()) + L"|");
  }
  return seen;
}

TEST(IniStringContainer, LinesBecomeSectionsAndKeysByTheTextRules) {
  struct Case {
    const wchar_t* text;
    std::vector<std::wstring> expected;
  };
  const Case cases[] = {
      {L"[ S ]\nk=v", {L"S|k=v"}},
      {L"[S\nk=v", {L"S|k=v"}},                   // header without ']'
      {L"[S] trailing ; x\nk=v", {L"S|k=v"}},     // text after ']' ignored
      {L"[]\n[   ]\n[\n[ \t\r\nk=v", {}},         // no name: no section, so the key has none either
      {L"k=v\n[S]\nj=w", {L"S|j=w"}},             // keys before any section dropped
      {L"[S]\nkey=a=b ; c", {L"S|key=a=b ; c"}},  // '=' and ';' inside a value
      {L"[S]\n  ;key=v\n;[T]\nk=v", {L"S|k=v"}},  // comments, also after blanks
      {L"[S]\nk=\nj=   \n=value", {L"S|k=", L"S|j=", L"S|=value"}},
      {L"[S]\nno equals sign\nk=v", {L"S|k=v"}},
      {L"[S]\n \t key \t=\t value \t \nx y = 1 2 ", {L"S|key=value", L"S|x y=1 2"}},
      {L"[A]\rk=1\r\n[B]\r\n\r\nk=2\n\nk=3", {L"A|k=1", L"B|k=2", L"B|k=3"}},  // CR, CR LF and LF endings
      {L"[E]\n[F]\nk=v", {L"E|", L"F|k=v"}},
      {L"", {}},
      {L"\r\n\t \n", {}},
  };
  for (const Case& c : cases) {
    auto ini = ParseText(c.text);
    ASSERT_NE(nullptr, ini) << c.text;
    EXPECT_EQ(c.expected, Walk(ini.get())) << c.text;
  }
}

TEST(IniStringContainer, FirstOfDuplicateSectionsAndKeysWins) {
  auto ini = ParseText(L"[A]\r\nx = 1 \r\nx = 9\r\n[A]\r\nx=2\r\ny=3");
  ASSERT_NE(nullptr, ini);
  EXPECT_STREQ(L"1", ini->GetString(L"A", L"x", L"default"));
  EXPECT_EQ(1, ini->GetInt(L"A", L"x", -1));
  // Keys of the later section of the same name are not reached by name...
  EXPECT_STREQ(L"default", ini->GetString(L"A", L"y", L"default"));
  // ...but a walk sees both sections.
  EXPECT_EQ((std::vector<std::wstring>{L"A|x=1", L"A|x=9", L"A|x=2", L"A|y=3"}), Walk(ini.get()));
}

TEST(IniStringContainer, LookupsAreExactAndGiveTheCallersDefault) {
  auto ini = ParseText(L"[Font]\nsize=12\n[N]\nk=\nword=abc\nbig=99999999999\nf=2.5");
  ASSERT_NE(nullptr, ini);
  const wchar_t* fallback = L"fallback";
  EXPECT_EQ(fallback, ini->GetString(L"FONT", L"size", fallback));  // the default pointer itself
  EXPECT_EQ(fallback, ini->GetString(L"Font", L"Size", fallback));
  EXPECT_EQ(fallback, ini->GetString(nullptr, L"size", fallback));
  EXPECT_EQ(fallback, ini->GetString(L"Font", nullptr, fallback));
  EXPECT_STREQ(L"12", ini->GetString(L"Font", L"size", fallback));
  EXPECT_STREQ(L"", ini->GetString(L"N", L"k", fallback));  // empty, not the default

  EXPECT_EQ(0, ini->GetInt(L"N", L"k", 7));
  EXPECT_EQ(0, ini->GetInt(L"N", L"word", 7));
  EXPECT_EQ(7, ini->GetInt(L"N", L"missing", 7));
  EXPECT_EQ(INT32_MAX, ini->GetInt(L"N", L"big", 7));
  EXPECT_EQ(2.5, ini->GetFloat(L"N", L"f", 0.5));
  EXPECT_EQ(0.5, ini->GetFloat(L"N", L"missing", 0.5));
}

TEST(IniStringContainer, ParsingStopsAtTheGivenCount) {
  // The text is not NUL-terminated where the count ends; nothing beyond it may be read.
  std::wstring text = L"[S]\nk=12345";
  auto ini = std::unique_ptr<IniStringContainer>(IniStringContainer::Parse(text.data(), 8));
  ASSERT_NE(nullptr, ini);
  EXPECT_STREQ(L"12", ini->GetString(L"S", L"k", nullptr));
}

TEST(IniStringContainer, EmptyContainerAnswersEveryLookupWithNothing) {
  auto ini = ParseText(L"x=1\n");
  ASSERT_NE(nullptr, ini);
  EXPECT_EQ(nullptr, ini->GetCurrentSectionName());
  EXPECT_EQ(nullptr, ini->GetCurrentKeyName());
  EXPECT_EQ(0, ini->FirstSection());
  EXPECT_EQ(0, ini->NextSection());
  EXPECT_EQ(0, ini->FirstKey());
  EXPECT_EQ(0, ini->FindKey(L"x"));
  EXPECT_STREQ(L"d", ini->GetString(L"", L"x", L"d"));
  EXPECT_EQ(3, ini->GetInt(L"", L"x", 3));
}

TEST(IniStringContainer, CursorsWalkFindAndStopAtTheEnd) {
  auto ini = ParseText(L"[A]\na=1\nb=2\n[B]\nc=3\n[C]\n");
  ASSERT_NE(nullptr, ini);
  // After parsing: the first section and its first key.
  EXPECT_STREQ(L"A", ini->GetCurrentSectionName());
  EXPECT_STREQ(L"a", ini->GetCurrentKeyName());
  EXPECT_STREQ(L"1", ini->GetCurrentValue());

  EXPECT_EQ(1, ini->FindKey(L"b"));
  EXPECT_STREQ(L"2", ini->GetCurrentValue());
  EXPECT_EQ(0, ini->NextKey());
  EXPECT_EQ(nullptr, ini->GetCurrentKeyName());
  EXPECT_EQ(0, ini->NextKey());

  EXPECT_EQ(1, ini->FindSection(L"B"));
  EXPECT_EQ(nullptr, ini->GetCurrentKeyName());  // finding a section leaves the key cursor
  EXPECT_EQ(1, ini->FirstKey());
  EXPECT_STREQ(L"c", ini->GetCurrentKeyName());
  EXPECT_EQ(0, ini->FindKey(L"a"));  // only the current section is searched
  EXPECT_EQ(nullptr, ini->GetCurrentKeyName());

  EXPECT_EQ(1, ini->NextSection());
  EXPECT_STREQ(L"C", ini->GetCurrentSectionName());
  EXPECT_EQ(0, ini->FirstKey());
  EXPECT_EQ(0, ini->NextSection());
  EXPECT_EQ(nullptr, ini->GetCurrentSectionName());
  EXPECT_EQ(0, ini->NextSection());

  // Without a current section the key operations leave the key cursor alone.
  EXPECT_EQ(1, ini->FindSection(L"A"));
  EXPECT_EQ(1, ini->FirstKey());
  EXPECT_EQ(0, ini->FindSection(L"a"));
  EXPECT_EQ(nullptr, ini->GetCurrentSectionName());
  EXPECT_EQ(0, ini->FirstKey());
  EXPECT_EQ(0, ini->FindKey(L"b"));
  EXPECT_STREQ(L"a", ini->GetCurrentKeyName());
}

}  // namespace

// Splitting the command line: the tokens the portal's values arrive in.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/session/CommandLineTokens.h"

namespace {

// Splits a copy of `text` and returns its tokens; checks that counting alone agrees and changes nothing.
std::vector<std::wstring> Split(const std::wstring& text) {
  std::wstring counted = text;
  int32_t count = 0;
  EXPECT_EQ(1, SplitArguments(&counted[0], nullptr, &count));
  EXPECT_EQ(text, counted) << "counting must leave the text as it is";

  std::wstring buffer = text;
  std::vector<wchar_t*> pointers(static_cast<size_t>(count) + 1);
  int32_t recorded = count;
  EXPECT_EQ(1, SplitArguments(&buffer[0], pointers.data(), &recorded));
  EXPECT_EQ(count, recorded);
  std::vector<std::wstring> tokens;
  for (int32_t i = 0; i < recorded; ++i)
    tokens.push_back(pointers[static_cast<size_t>(i)]);
  return tokens;
}

using Tokens = std::vector<std::wstring>;

TEST(SplitArguments, FollowsTheQuotingAndBackslashRules) {
  struct Case {
    const wchar_t* text;
    Tokens tokens;
  } cases[] = {
      {L"", {}},
      {L"   ", {}},
      {L"a", {L"a"}},
      {L"prog.exe /GameID:ABC", {L"prog.exe", L"/GameID:ABC"}},
      {L"  a   b  ", {L"a", L"b"}},
      // Only U+0020 separates: a tab belongs to the token.
      {L"a\tb c", {L"a\tb", L"c"}},
      // Quotes keep blanks and are removed; a quote in the middle works too.
      {L"/UserNick:\"a b\" x", {L"/UserNick:a b", L"x"}},
      {L"\"C:\\Program Files\\l.exe\" /a:1", {L"C:\\Program Files\\l.exe", L"/a:1"}},
      {L"\"\"", {L""}},
      {L"a\"\"b", {L"ab"}},
      // An unclosed quote runs to the end.
      {L"\"a b", {L"a b"}},
      // Backslashes before a quote are halved and the quote is literal.
      {L"a\\\\\"b", {L"a\\\"b"}},
      {L"a\\\"b", {L"a\"b"}},
      {L"\\\\\\\"x", {L"\\\"x"}},
      // A literal quote does not toggle quoting: the blank after it still separates.
      {L"a\\\" b", {L"a\"", L"b"}},
      // Backslashes not before a quote stay whole.
      {L"C:\\dir\\\\x", {L"C:\\dir\\\\x"}},
      {L"a\\", {L"a\\"}},
      // Inside quotes, a halved run and its literal quote stay inside.
      {L"\"a \\\" b\" c", {L"a \" b", L"c"}},
      // A backslash run can start a token.
      {L"\\\\\"x y", {L"\\\"x", L"y"}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.tokens, Split(c.text)) << c.text;
}

TEST(SplitArguments, AFullArrayStopsRecordingButKeepsCounting) {
  std::wstring text = L"one \"tw o\" three four";
  wchar_t* tokens[2] = {};
  int32_t count = 2;
  EXPECT_EQ(0, SplitArguments(&text[0], tokens, &count));
  EXPECT_EQ(4, count);
  EXPECT_STREQ(L"one", tokens[0]);
  EXPECT_STREQ(L"tw o", tokens[1]);

  std::wstring none = L"a b";
  count = 0;
  wchar_t* no_room[1] = {};
  EXPECT_EQ(0, SplitArguments(&none[0], no_room, &count));
  EXPECT_EQ(2, count);
}

TEST(SplitArguments, NullTextHasNoTokens) {
  int32_t count = 5;
  EXPECT_EQ(1, SplitArguments(nullptr, nullptr, &count));
  EXPECT_EQ(0, count);
}

}  // namespace

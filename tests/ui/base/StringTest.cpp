// The launcher's own string: exact-size blocks, the empty string without a block, and failures that leave the
// content as it was.
#include <gtest/gtest.h>

#include <cwchar>

#include "ui/base/String.h"

namespace {

TEST(String, NewAndEmptiedStringsGiveAnEmptyTextNotNull) {
  String text;
  ASSERT_NE(nullptr, text.GetString());
  EXPECT_STREQ(L"", text.GetString());
  EXPECT_EQ(0, text.GetLength());

  for (const wchar_t* empty : {static_cast<const wchar_t*>(nullptr), L""}) {
    ASSERT_EQ(1, text.Assign(L"abc"));
    EXPECT_EQ(1, text.Assign(empty));
    EXPECT_EQ(0, text.GetLength());
    EXPECT_STREQ(L"", text.GetString());
  }
}

TEST(String, AssigningItsOwnTextKeepsTheBlock) {
  String text;
  ASSERT_EQ(1, text.Assign(L"hello"));
  const wchar_t* block = text.GetString();
  EXPECT_EQ(1, text.Assign(text.GetString()));
  EXPECT_EQ(block, text.GetString());
  EXPECT_STREQ(L"hello", text.GetString());

  // A text inside the own block is copied before the old block goes.
  EXPECT_EQ(1, text.Assign(text.GetString() + 2));
  EXPECT_STREQ(L"llo", text.GetString());
  EXPECT_EQ(3, text.GetLength());
}

TEST(String, AppendJoinsTextsAndTreatsEmptyAsNothing) {
  String text;
  EXPECT_EQ(1, text.Append(L"ab"));  // onto an empty string: an assignment
  EXPECT_STREQ(L"ab", text.GetString());
  const wchar_t* block = text.GetString();
  EXPECT_EQ(1, text.Append(nullptr));
  EXPECT_EQ(1, text.Append(L""));
  EXPECT_EQ(block, text.GetString());

  EXPECT_EQ(1, text.Append(text.GetString()));  // its own text
  EXPECT_STREQ(L"abab", text.GetString());
  EXPECT_EQ(1, text.Append(L"c"));
  EXPECT_STREQ(L"ababc", text.GetString());
  EXPECT_EQ(5, text.GetLength());
}

TEST(String, EqualsUpToComparesExactlyAndAtMostCountUnits) {
  struct Case {
    const wchar_t* a;
    const wchar_t* b;
    int32_t count;
    int expected;
  };
  const Case cases[] = {
      {L"abc", L"xyz", 0, 1},   {L"", L"abc", 0, 1},      {nullptr, L"abc", 0, 0}, {L"abc", nullptr, -1, 0},
      {L"abcd", L"abcx", 3, 1}, {L"abcd", L"abcx", 4, 0}, {L"abc", L"abc", 10, 1}, {L"abc", L"abcd", 10, 0},
      {L"abc", L"abcd", -1, 0}, {L"abc", L"abc", -1, 1},  {L"Abc", L"abc", -1, 0}, {L"", L"", -1, 1},
      {L"ab", L"ab", 2, 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.expected, String::EqualsUpTo(c.a, c.b, c.count))
        << (c.a ? c.a : L"(null)") << " / " << (c.b ? c.b : L"(null)") << " / " << c.count;
  }
}

wchar_t* RefuseEveryBlock(size_t) {
  return nullptr;
}

// A refused block is a 0 result and the text stays whole, whatever the change: never a crash, never a cut
// text.
TEST(String, AFailedAllocationIsReportedAndKeepsTheContent) {
  String text;
  ASSERT_EQ(1, text.Assign(L"ab"));
  const StringBlockAllocator real = SetStringBlockAllocator(&RefuseEveryBlock);
  const int appended = text.Append(L"cd");
  const int appended_itself = text.Append(text.GetString());
  const int assigned = text.Assign(L"xyz");
  String fresh;
  const int assigned_fresh = fresh.Assign(L"x");
  SetStringBlockAllocator(real);
  EXPECT_EQ(0, appended);
  EXPECT_EQ(0, appended_itself);
  EXPECT_EQ(0, assigned);
  EXPECT_EQ(0, assigned_fresh);
  EXPECT_STREQ(L"ab", text.GetString());
  EXPECT_EQ(2, text.GetLength());
  EXPECT_STREQ(L"", fresh.GetString());
  EXPECT_EQ(0, fresh.GetLength());
  EXPECT_EQ(1, text.Append(L"cd")) << "the default allocation is back";
  EXPECT_STREQ(L"abcd", text.GetString());
}

}  // namespace

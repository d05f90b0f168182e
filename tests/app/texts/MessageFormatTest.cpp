#include "app/texts/MessageFormat.h"

#include <gtest/gtest.h>

TEST(FormatMessageText, ReplacesOnlyItsOwnPlaceholders) {
  EXPECT_EQ(L"File data/a.map changed (100%)", FormatMessageText(L"File %s changed (100%%)", L"data/a.map"));
  EXPECT_EQ(L"%d %n x x", FormatMessageText(L"%d %n %s %s", L"x"));
  EXPECT_EQ(L"", FormatMessageText(nullptr, L"x"));
}

// Ini numbers convert like wcstol / wcstod but never depend on the locale, and saturate instead of wrapping.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>

#include "ui/base/NumberText.h"

namespace {

TEST(NumberText, IntegersStopAtTheFirstOtherCharacterAndSaturate) {
  struct Case {
    const wchar_t* text;
    int32_t expected;
  };
  const Case cases[] = {
      {L"42", 42},
      {L"  -17xyz", -17},
      {L"\t\r\n\v\f+5", 5},
      {L"abc", 0},
      {L"", 0},
      {L"- 5", 0},
      {L"0x10", 0},
      {L"007", 7},
      {L"2147483647", INT32_MAX},
      {L"2147483648", INT32_MAX},
      {L"99999999999999999999999999", INT32_MAX},
      {L"-2147483648", INT32_MIN},
      {L"-2147483649", INT32_MIN},
      {L"-99999999999999999999999999", INT32_MIN},
      {L"\x3000"
       L"7",
       0},                   // ideographic space is not ASCII white space
      {L"\xff11\xff12", 0},  // full-width digits are not digits here
      {L"1\x0663", 1},       // nor are Arabic-Indic ones
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.expected, TextToInt32(c.text)) << c.text;
  EXPECT_EQ(0, TextToInt32(nullptr));
}

TEST(NumberText, FractionsUseThePointAndGiveTheNearestDouble) {
  struct Case {
    const wchar_t* text;
    double expected;
  };
  const Case cases[] = {
      {L"1.5", 1.5},
      {L" -2.25e2", -225.0},
      {L"3.", 3.0},
      {L".5", 0.5},
      {L"1e", 1.0},
      {L"1e+", 1.0},
      {L"1,5", 1.0},
      {L"abc", 0.0},
      {L".", 0.0},
      {L"0.1", 0.1},
      {L"+7E-1x", 0.7},
      {L"1e-400", 0.0},
      {L"0.000001e-320", 0.0},
      {L"123456789012345678901234567890", 1.2345678901234568e29},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.expected, TextToDouble(c.text)) << c.text;
  EXPECT_EQ(HUGE_VAL, TextToDouble(L"1e400"));
  EXPECT_EQ(-HUGE_VAL, TextToDouble(L"-123e99999999999"));
  EXPECT_EQ(0.0, TextToDouble(nullptr));
  EXPECT_TRUE(std::signbit(TextToDouble(L"-1e-400")));
}

TEST(NumberText, ConversionIgnoresTheProcessLocale) {
  // A locale whose decimal separator is a comma must not change how "1.5" reads.
  const char* locale = std::setlocale(LC_ALL, "German_Germany.1252");
  if (locale == nullptr)
    locale = std::setlocale(LC_ALL, "de-DE");
  if (locale == nullptr)
    GTEST_SKIP() << "no comma locale available";
  EXPECT_EQ(1.5, TextToDouble(L"1.5"));
  EXPECT_EQ(1.0, TextToDouble(L"1,5"));
  EXPECT_EQ(-12, TextToInt32(L" -12"));
  std::setlocale(LC_ALL, "C");
}

}  // namespace

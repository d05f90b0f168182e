#include "ui/base/NumberText.h"

#include <charconv>
#include <cmath>
#include <string>

namespace {

bool IsAsciiSpace(wchar_t unit) {
  return unit == L' ' || (unit >= L'\t' && unit <= L'\r');
}

bool IsAsciiDigit(wchar_t unit) {
  return unit >= L'0' && unit <= L'9';
}

// Skips white space and reads an optional sign; returns the position after them.
const wchar_t* SkipSpaceAndSign(const wchar_t* text, bool* negative) {
  while (IsAsciiSpace(*text))
    ++text;
  *negative = *text == L'-';
  if (*text == L'-' || *text == L'+')
    ++text;
  return text;
}

// The decimal number at `text` without its sign, as ASCII: "digits[.digits][e[sign]digits]".
struct DecimalText {
  std::string ascii;
  // Power of ten of the first significant digit plus one, with the exponent added; decides whether a value
  // out of range is too large (> 0) or too small.
  long long magnitude = 0;
};

void ReadExponent(const wchar_t* text, DecimalText* number) {
  if (*text != L'e' && *text != L'E')
    return;
  const wchar_t* digits = text + 1;
  bool negative = *digits == L'-';
  if (*digits == L'-' || *digits == L'+')
    ++digits;
  if (!IsAsciiDigit(*digits))
    return;
  number->ascii += negative ? "e-" : "e";
  long long exponent = 0;
  for (; IsAsciiDigit(*digits); ++digits) {
    number->ascii += static_cast<char>(*digits);
    if (exponent < 1000000)
      exponent = exponent * 10 + (*digits - L'0');
  }
  number->magnitude += negative ? -exponent : exponent;
}

// False when no digit is there.
bool ReadDecimal(const wchar_t* text, DecimalText* number) {
  bool any_digit = false;
  bool significant = false;
  for (; IsAsciiDigit(*text); ++text) {
    any_digit = true;
    significant = significant || *text != L'0';
    if (significant)
      ++number->magnitude;
    number->ascii += static_cast<char>(*text);
  }
  if (*text == L'.') {
    number->ascii += '.';
    for (++text; IsAsciiDigit(*text); ++text) {
      any_digit = true;
      if (!significant && *text == L'0')
        --number->magnitude;
      significant = significant || *text != L'0';
      number->ascii += static_cast<char>(*text);
    }
  }
  if (!any_digit)
    return false;
  ReadExponent(text, number);
  return true;
}

}  // namespace

int32_t TextToInt32(const wchar_t* text) {
  if (text == nullptr)
    return 0;
  bool negative = false;
  text = SkipSpaceAndSign(text, &negative);
  // Accumulated as a magnitude in 64 bits and clamped once it passes the range, so no digit count can wrap.
  const int64_t limit = negative ? -static_cast<int64_t>(INT32_MIN) : INT32_MAX;
  int64_t magnitude = 0;
  for (; IsAsciiDigit(*text); ++text) {
    magnitude = magnitude * 10 + (*text - L'0');
    if (magnitude > limit)
      magnitude = limit;
  }
  return static_cast<int32_t>(negative ? -magnitude : magnitude);
}

int32_t TextToInt32Pattern(const wchar_t* text) {
  if (text == nullptr)
    return 0;
  bool negative = false;
  const wchar_t* digits = SkipSpaceAndSign(text, &negative);
  if (negative)
    return TextToInt32(text);
  // Unsigned arithmetic wraps modulo 2^32 by definition: each step keeps the low 32 bits of the value.
  uint32_t pattern = 0;
  for (; IsAsciiDigit(*digits); ++digits)
    pattern = pattern * 10u + static_cast<uint32_t>(*digits - L'0');
  return static_cast<int32_t>(pattern);
}

double TextToDouble(const wchar_t* text) {
  if (text == nullptr)
    return 0.0;
  bool negative = false;
  text = SkipSpaceAndSign(text, &negative);
  double value = 0.0;
  try {
    DecimalText number;
    if (!ReadDecimal(text, &number))
      return 0.0;
    const char* first = number.ascii.data();
    const char* last = first + number.ascii.size();
    std::from_chars_result result = std::from_chars(first, last, value, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range)
      value = number.magnitude > 0 ? HUGE_VAL : 0.0;
    else if (result.ec != std::errc())
      value = 0.0;
  } catch (...) {
    // Only the digit copy can throw (out of memory for an absurdly long value); treat it as no number.
    value = 0.0;
  }
  return negative ? -value : value;
}

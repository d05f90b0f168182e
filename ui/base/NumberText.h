// Number conversion of ini values in the manner of the C library's wcstol and wcstod, but the same in every
// locale: only the ASCII white space (space, tab, LF, VT, FF, CR) is skipped, the decimal point is always
// '.', and only ASCII digits count. Conversion stops at the first character that does not fit; no digits
// gives 0.
#pragma once

#include <cstdint>

// Base 10: leading white space, an optional sign, digits. A value outside the 32-bit range saturates at
// INT32_MAX or INT32_MIN (as wcstol does with a 32-bit long). Null gives 0.
int32_t TextToInt32(const wchar_t* text);

// Base 10 as TextToInt32, for a number that stands for a 32-bit pattern (a window handle that its writer
// printed as an unsigned value): without a minus sign the value is taken modulo 2^32, so "2147549284" gives
// the pattern 0x80010064 and "4294967295" gives -1; with one it saturates as in TextToInt32.
int32_t TextToInt32Pattern(const wchar_t* text);

// Leading white space, an optional sign, digits with an optional '.', an optional exponent ('e' or 'E',
// optional sign, digits). The nearest double is returned; too large a value gives plus or minus HUGE_VAL, too
// small a value gives zero (with its sign), as wcstod does. Null gives 0.
double TextToDouble(const wchar_t* text);

// Reading numbers from text the way the template and the settings need it.
#pragma once

#include <cstdint>
#include <string_view>

#include "engine/result.h"

namespace tarnivo {

// Leading-number parse: blanks, tabs and line feeds are skipped wherever they
// stand ("1 0" reads 10); then an optional sign, digits, an optional "." and
// digits, and an optional exponent (E, optional sign, digits). "&H" and "&O"
// read a hexadecimal or octal whole number instead (never negative: "&HFFFF" is
// 65535). Reading stops at the first character that cannot continue the number;
// no number at all gives 0. Never fails: a value beyond the range of a double
// gives an infinity, which callers check. Linear in the length of the text.
double ParseLeadingNumber(std::wstring_view text) noexcept;

// Whole-text conversions. The text must be one number (the forms above, no
// inner blanks), with blanks, tabs, CR and LF allowed around it. Anything else,
// the empty text included, is TypeMismatch; a value out of range is Overflow.
//
// TextToInt32 rounds a fraction to the nearest whole number, a half to the even
// neighbour ("2.5" gives 2, "3.5" gives 4), then requires the 32-bit range.
Result<std::int32_t> TextToInt32(std::wstring_view text);
// TextToDouble keeps the fraction ("0.5" stays 0.5).
Result<double> TextToDouble(std::wstring_view text);

// Nearest whole number, a half to the even neighbour; independent of the
// floating-point rounding mode.
double RoundHalfToEven(double value) noexcept;

}  // namespace tarnivo

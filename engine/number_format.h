// Writing numbers as text: the classic decimal text of a double and the number
// pictures the program uses ("000…" for sequence numbers, "0.0000" for elapsed
// seconds, "0000" for the revision).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/result.h"

namespace tarnivo {

// A zero picture this wide or wider is refused as out of memory at once: a
// 32-bit process could never hold the padding (a quarter gibi-character).
inline constexpr std::int32_t kMaxPictureWidth = std::int32_t{1} << 28;

// The decimal text of a double as the classic conversion writes it: at most 15
// significant digits, no trailing zeros ("0.3" for 3 * 0.1, "1" for 1.0,
// "-0.5"), fixed notation for decimal exponents -4 to 14, otherwise E notation
// with a signed exponent of at least two digits ("1E+15", "1.5E-05",
// "1.23456789012346E+17"). Negative zero gives "0". Infinities and NaN, which
// the evaluator never passes, give "INF", "-INF" and "NAN".
std::wstring DoubleToText(double value);

// `value` through a picture of `width` zeros. The 15-digit decimal text of the
// value is rounded to a whole number, a half away from zero (2.5 gives 3, -2.5
// gives -3), and padded on the left with "0" to at least `width` digits, never
// cut; a minus sign goes before the zeros unless the rounded number is 0
// ("-0005", but "000" for -0.4). Width 0 gives DoubleToText(value), fraction
// kept. Fails with InvalidArgument for a negative width, OutOfMemory for
// width >= kMaxPictureWidth or when the text cannot be allocated, Overflow
// for an infinity or NaN.
Result<std::wstring> FormatWithZeroPicture(double value, std::int32_t width);

// The start of a text that may be too long to be made whole, and the whole text's length.
struct PartialText {
  std::wstring Text;
  std::uint64_t Length = 0;
};

// FormatWithZeroPicture of which only the first `kept` characters are made: a width of a
// hundred million costs no more than a width of `kept`. The same failures.
Result<PartialText> FormatWithZeroPicturePart(double value, std::int32_t width, std::size_t kept);

// The picture "0.0000" for decimals = 4: at least one digit before the point and
// exactly `decimals` after it (0 to 30), correctly rounded; no minus sign on a
// result that shows only zeros.
std::wstring FormatFixed(double value, int decimals);

// The picture "0000" for minDigits = 4: a whole number padded with "0" to at
// least minDigits digits, never cut (41 gives "0041", 12345 gives "12345");
// the minus sign goes before the zeros.
std::wstring FormatZeroPadded(std::int64_t value, int minDigits);

// `value` with its digits in groups of three, a blank between: 1234 as "1 234".
std::wstring GroupedNumber(std::int64_t value);

}  // namespace tarnivo

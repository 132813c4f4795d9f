#include "engine/number_parse.h"

#include <charconv>
#include <cmath>
#include <cstddef>
#include <limits>
#include <string>

#include "engine/text.h"

namespace tarnivo {
namespace {

bool IsDecimalDigit(wchar_t c) noexcept { return c >= L'0' && c <= L'9'; }

// Value of c as a digit of the given base (8 or 16), or -1.
int DigitValue(wchar_t c, int base) noexcept {
  int value = -1;
  if (c >= L'0' && c <= L'9')
    value = c - L'0';
  else if (c >= L'a' && c <= L'f')
    value = c - L'a' + 10;
  else if (c >= L'A' && c <= L'F')
    value = c - L'A' + 10;
  return value < base ? value : -1;
}

// Base of a "&H" / "&O" marker letter, or 0.
int RadixOfMarker(wchar_t c) noexcept {
  if (c == L'h' || c == L'H') return 16;
  if (c == L'o' || c == L'O') return 8;
  return 0;
}

// The pieces of a decimal number, as ASCII digits, gathered before conversion.
struct DecimalText {
  bool Negative = false;
  std::string IntegerDigits;
  std::string FractionDigits;
  bool ExponentNegative = false;
  std::string ExponentDigits;

  bool HasDigits() const { return !IntegerDigits.empty() || !FractionDigits.empty(); }
};

// Decimal exponent of the leading non-zero digit, saturated so that absurdly
// long exponents cannot overflow. Used only to tell overflow from underflow.
std::int64_t MagnitudeOf(const DecimalText& number) {
  constexpr std::int64_t kCap = 1'000'000'000'000LL;
  std::int64_t exponent = 0;
  for (const char c : number.ExponentDigits) {
    exponent = exponent * 10 + (c - '0');
    if (exponent > kCap) {
      exponent = kCap;
      break;
    }
  }
  if (number.ExponentNegative) exponent = -exponent;
  const auto firstNonZero = number.IntegerDigits.find_first_not_of('0');
  if (firstNonZero != std::string::npos) {
    return exponent + static_cast<std::int64_t>(number.IntegerDigits.size() - firstNonZero) - 1;
  }
  const auto leadingZeros = number.FractionDigits.find_first_not_of('0');
  if (leadingZeros == std::string::npos) return -1;  // all zeros: nothing to overflow
  return exponent - static_cast<std::int64_t>(leadingZeros) - 1;
}

// Correctly rounded conversion; beyond the range of a double gives an infinity,
// below it a zero, both with the number's sign.
double ToDouble(const DecimalText& number) {
  if (!number.HasDigits()) return 0.0;
  std::string text = number.IntegerDigits.empty() ? "0" : number.IntegerDigits;
  if (!number.FractionDigits.empty()) text += '.' + number.FractionDigits;
  if (!number.ExponentDigits.empty()) {
    text += number.ExponentNegative ? "e-" : "e";
    text += number.ExponentDigits;
  }
  double value = 0.0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  static_cast<void>(end);
  if (error == std::errc::result_out_of_range) {
    value = MagnitudeOf(number) > 0 ? std::numeric_limits<double>::infinity() : 0.0;
  }
  return number.Negative ? -value : value;
}

// Reads a text front to back, stepping over the characters that the leading
// number parse ignores (blanks, tabs, line feeds).
class BlankSkippingReader {
 public:
  explicit BlankSkippingReader(std::wstring_view text) noexcept : text_(text) {}

  // The next significant character, or L'\0' at the end (a NUL continues no number).
  wchar_t Peek() noexcept {
    while (pos_ < text_.size() && IsSkipped(text_[pos_])) ++pos_;
    return pos_ < text_.size() ? text_[pos_] : L'\0';
  }
  void Advance() noexcept { ++pos_; }
  std::size_t Position() const noexcept { return pos_; }
  void Rewind(std::size_t position) noexcept { pos_ = position; }

 private:
  static bool IsSkipped(wchar_t c) noexcept { return c == L' ' || c == L'\t' || c == L'\n'; }

  std::wstring_view text_;
  std::size_t pos_ = 0;
};

void ReadDigits(BlankSkippingReader& reader, std::string& digits) {
  for (wchar_t c = reader.Peek(); IsDecimalDigit(c); c = reader.Peek()) {
    digits += static_cast<char>(c);
    reader.Advance();
  }
}

double ReadRadixDigits(BlankSkippingReader& reader, int base) noexcept {
  double value = 0.0;
  for (int digit = DigitValue(reader.Peek(), base); digit >= 0;
       digit = DigitValue(reader.Peek(), base)) {
    value = value * base + digit;
    reader.Advance();
  }
  return value;
}

// Reads "E[sign]digits" when it is complete; otherwise leaves the reader where it was.
void ReadExponent(BlankSkippingReader& reader, DecimalText& number) {
  const wchar_t marker = reader.Peek();
  if (marker != L'e' && marker != L'E') return;
  const std::size_t start = reader.Position();
  reader.Advance();
  const wchar_t sign = reader.Peek();
  if (sign == L'+' || sign == L'-') reader.Advance();
  if (!IsDecimalDigit(reader.Peek())) {
    reader.Rewind(start);
    return;
  }
  number.ExponentNegative = sign == L'-';
  ReadDigits(reader, number.ExponentDigits);
}

// Strict parse of a whole (already trimmed) text as one number; false if it is not one.
bool ParseExactNumber(std::wstring_view text, double& value) {
  std::size_t pos = 0;
  const auto at = [&](std::size_t i) { return i < text.size() ? text[i] : L'\0'; };
  if (at(0) == L'&') {
    const int base = RadixOfMarker(at(1));
    if (base == 0 || text.size() < 3) return false;
    value = 0.0;
    for (pos = 2; pos < text.size(); ++pos) {
      const int digit = DigitValue(text[pos], base);
      if (digit < 0) return false;
      value = value * base + digit;
    }
    return true;
  }
  DecimalText number;
  if (at(pos) == L'+' || at(pos) == L'-') number.Negative = at(pos++) == L'-';
  for (; IsDecimalDigit(at(pos)); ++pos) number.IntegerDigits += static_cast<char>(text[pos]);
  if (at(pos) == L'.') {
    for (++pos; IsDecimalDigit(at(pos)); ++pos)
      number.FractionDigits += static_cast<char>(text[pos]);
  }
  if (!number.HasDigits()) return false;
  if (at(pos) == L'e' || at(pos) == L'E') {
    ++pos;
    if (at(pos) == L'+' || at(pos) == L'-') number.ExponentNegative = at(pos++) == L'-';
    for (; IsDecimalDigit(at(pos)); ++pos) number.ExponentDigits += static_cast<char>(text[pos]);
    if (number.ExponentDigits.empty()) return false;
  }
  if (pos != text.size()) return false;
  value = ToDouble(number);
  return true;
}

}  // namespace

double ParseLeadingNumber(std::wstring_view text) noexcept {
  try {
    BlankSkippingReader reader(text);
    if (reader.Peek() == L'&') {
      reader.Advance();
      const int base = RadixOfMarker(reader.Peek());
      if (base == 0) return 0.0;
      reader.Advance();
      return ReadRadixDigits(reader, base);
    }
    DecimalText number;
    const wchar_t sign = reader.Peek();
    if (sign == L'+' || sign == L'-') {
      number.Negative = sign == L'-';
      reader.Advance();
    }
    ReadDigits(reader, number.IntegerDigits);
    if (reader.Peek() == L'.') {
      reader.Advance();
      ReadDigits(reader, number.FractionDigits);
    }
    if (!number.HasDigits()) return 0.0;
    ReadExponent(reader, number);
    return ToDouble(number);
  } catch (const std::bad_alloc&) {
    // Only the digit buffers allocate; a number that long cannot be held.
    return std::numeric_limits<double>::infinity();
  }
}

double RoundHalfToEven(double value) noexcept {
  if (!std::isfinite(value)) return value;
  const double below = std::floor(value);
  const double fraction = value - below;
  if (fraction < 0.5) return below;
  if (fraction > 0.5) return below + 1.0;
  return std::fmod(below, 2.0) == 0.0 ? below : below + 1.0;
}

Result<double> TextToDouble(std::wstring_view text) {
  double value = 0.0;
  if (!ParseExactNumber(Trim(text), value)) return Failure{ErrorKind::TypeMismatch};
  if (!std::isfinite(value)) return Failure{ErrorKind::Overflow};
  return value;
}

Result<std::int32_t> TextToInt32(std::wstring_view text) {
  const Result<double> number = TextToDouble(text);
  if (!number.Ok()) return Failure{number.Error()};
  const double rounded = RoundHalfToEven(number.Value());
  constexpr double kLowest = static_cast<double>(std::numeric_limits<std::int32_t>::min());
  constexpr double kHighest = static_cast<double>(std::numeric_limits<std::int32_t>::max());
  if (rounded < kLowest || rounded > kHighest) return Failure{ErrorKind::Overflow};
  return static_cast<std::int32_t>(rounded);
}

}  // namespace tarnivo

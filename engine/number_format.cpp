#include "engine/number_format.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <new>
#include <string_view>

namespace tarnivo {
namespace {

constexpr int kSignificantDigits = 15;

// A finite double rounded to 15 significant digits: value = 0.d1d2d3... scaled
// so that Digits[0] stands at 10^Exponent. Trailing zeros are removed; zero is
// Digits "0", Exponent 0, not negative.
struct SignificantDigits {
  bool Negative = false;
  std::string Digits;
  int Exponent = 0;
};

SignificantDigits Decompose(double value) {
  SignificantDigits result;
  if (value == 0.0) {
    result.Digits = "0";
    return result;
  }
  // "-d.ddddddddddddddde+XXX" fits easily.
  std::array<char, 40> buffer{};
  const auto written = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                     std::chars_format::scientific, kSignificantDigits - 1);
  std::string_view text(buffer.data(), static_cast<std::size_t>(written.ptr - buffer.data()));
  if (text.front() == '-') {
    result.Negative = true;
    text.remove_prefix(1);
  }
  const auto e = text.find('e');
  for (const char c : text.substr(0, e)) {
    if (c != '.') result.Digits += c;
  }
  result.Digits.erase(result.Digits.find_last_not_of('0') + 1);
  const std::string_view exponentText = text.substr(e + 1);
  const char* first = exponentText.data() + (exponentText.front() == '+' ? 1 : 0);
  std::from_chars(first, exponentText.data() + exponentText.size(), result.Exponent);
  return result;
}

std::wstring Widen(std::string_view ascii) { return std::wstring(ascii.begin(), ascii.end()); }

std::wstring NonFiniteText(double value) {
  if (std::isnan(value)) return L"NAN";
  return value < 0 ? L"-INF" : L"INF";
}

std::string ScientificText(const SignificantDigits& number) {
  std::string text = number.Negative ? "-" : "";
  text += number.Digits.front();
  if (number.Digits.size() > 1) text += '.' + number.Digits.substr(1);
  const int magnitude = std::abs(number.Exponent);
  text += number.Exponent < 0 ? "E-" : "E+";
  if (magnitude < 10) text += '0';
  text += std::to_string(magnitude);
  return text;
}

std::string FixedText(const SignificantDigits& number) {
  std::string text = number.Negative ? "-" : "";
  const auto& digits = number.Digits;
  if (number.Exponent < 0) {
    text += "0.";
    text.append(static_cast<std::size_t>(-number.Exponent - 1), '0');
    return text + digits;
  }
  const auto wholeCount = static_cast<std::size_t>(number.Exponent) + 1;
  if (digits.size() <= wholeCount) {
    text += digits;
    text.append(wholeCount - digits.size(), '0');
    return text;
  }
  return text + digits.substr(0, wholeCount) + '.' + digits.substr(wholeCount);
}

// Adds one to a string of decimal digits ("" counts as "0").
void Increment(std::string& digits) {
  for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
    if (*it != '9') {
      ++*it;
      return;
    }
    *it = '0';
  }
  digits.insert(digits.begin(), '1');
}

// Whole part of the number rounded half away from zero, as digits without sign.
std::string RoundedWholeDigits(const SignificantDigits& number) {
  const auto& digits = number.Digits;
  std::string whole;
  char firstDropped = '0';
  if (number.Exponent >= 0) {
    const auto wholeCount = static_cast<std::size_t>(number.Exponent) + 1;
    whole = digits.substr(0, std::min(wholeCount, digits.size()));
    whole.append(wholeCount > digits.size() ? wholeCount - digits.size() : 0, '0');
    if (wholeCount < digits.size()) firstDropped = digits[wholeCount];
  } else if (number.Exponent == -1) {
    firstDropped = digits.front();
  }
  if (firstDropped >= '5') Increment(whole);
  return whole.empty() ? "0" : whole;
}

// The sign, the zeros up to `minDigits` and the digits; of those only the first `kept`.
PartialText PadWithZeros(bool negative, std::string_view digits, std::size_t minDigits,
                         std::size_t kept) {
  const std::size_t padding = minDigits > digits.size() ? minDigits - digits.size() : 0;
  PartialText text;
  text.Length = (negative ? 1u : 0u) + std::uint64_t{padding} + digits.size();
  text.Text.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(text.Length, kept)));
  if (negative && kept > 0) text.Text += L'-';
  text.Text.append(std::min(padding, kept - text.Text.size()), L'0');
  const std::size_t room = kept - text.Text.size();
  text.Text.append(digits.begin(), digits.begin() + std::min(digits.size(), room));
  return text;
}

std::wstring PadWithZeros(bool negative, std::string_view digits, std::size_t minDigits) {
  return PadWithZeros(negative, digits, minDigits, std::numeric_limits<std::size_t>::max()).Text;
}

}  // namespace

std::wstring DoubleToText(double value) {
  if (!std::isfinite(value)) return NonFiniteText(value);
  const SignificantDigits number = Decompose(value);
  const bool useScientific = number.Exponent < -4 || number.Exponent >= kSignificantDigits;
  return Widen(useScientific ? ScientificText(number) : FixedText(number));
}

Result<PartialText> FormatWithZeroPicturePart(double value, std::int32_t width, std::size_t kept) {
  if (width < 0) return Failure{ErrorKind::InvalidArgument};
  if (width >= kMaxPictureWidth) return Failure{ErrorKind::OutOfMemory};
  if (!std::isfinite(value)) return Failure{ErrorKind::Overflow};
  try {
    if (width == 0) {
      std::wstring text = DoubleToText(value);
      const std::uint64_t length = text.size();
      if (text.size() > kept) text.resize(kept);
      return PartialText{std::move(text), length};
    }
    const SignificantDigits number = Decompose(value);
    const std::string whole = RoundedWholeDigits(number);
    const bool negative = number.Negative && whole != "0";
    return PadWithZeros(negative, whole, static_cast<std::size_t>(width), kept);
  } catch (const std::bad_alloc&) {
    return Failure{ErrorKind::OutOfMemory};
  }
}

Result<std::wstring> FormatWithZeroPicture(double value, std::int32_t width) {
  Result<PartialText> text =
      FormatWithZeroPicturePart(value, width, std::numeric_limits<std::size_t>::max());
  if (!text.Ok()) return Failure{text.Error()};
  return std::move(text).Value().Text;
}

std::wstring FormatFixed(double value, int decimals) {
  if (!std::isfinite(value)) return NonFiniteText(value);
  decimals = std::clamp(decimals, 0, 30);
  // Up to 309 whole digits for the largest double, the sign, the point and the decimals.
  std::array<char, 350> buffer{};
  const auto written = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                     std::chars_format::fixed, decimals);
  std::string_view text(buffer.data(), static_cast<std::size_t>(written.ptr - buffer.data()));
  if (text.front() == '-' && text.find_first_not_of("-0.") == std::string_view::npos) {
    text.remove_prefix(1);
  }
  return Widen(text);
}

std::wstring FormatZeroPadded(std::int64_t value, int minDigits) {
  // The magnitude in unsigned arithmetic, so the lowest int64 needs no extra branch.
  const auto magnitude =
      value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
  return PadWithZeros(value < 0, std::to_string(magnitude),
                      static_cast<std::size_t>(std::max(minDigits, 0)));
}

std::wstring GroupedNumber(std::int64_t value) {
  const std::wstring digits = std::to_wstring(value < 0 ? -value : value);
  std::wstring grouped = value < 0 ? L"-" : L"";
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped.push_back(L' ');
    grouped.push_back(digits[i]);
  }
  return grouped;
}

}  // namespace tarnivo

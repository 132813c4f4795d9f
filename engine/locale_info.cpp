#include "engine/locale_info.h"

#include <cstddef>

#include "engine/number_format.h"

namespace tarnivo {
namespace {

// Number of equal characters starting at pos.
std::size_t RunLength(std::wstring_view text, std::size_t pos) {
  std::size_t end = pos;
  while (end < text.size() && text[end] == text[pos]) ++end;
  return end - pos;
}

int TwelveHour(int hour) { return hour % 12 == 0 ? 12 : hour % 12; }

const std::wstring& Designator(const DateTime& value, const LocaleInfo& locale) {
  return value.Hour < 12 ? locale.AmDesignator : locale.PmDesignator;
}

// Appends the text of one run of a pattern letter; false if the letter is no code.
bool AppendField(std::wstring& out, wchar_t letter, std::size_t run, const DateTime& value,
                 const LocaleInfo& locale) {
  const auto number = [&](int n) { out += FormatZeroPadded(n, run >= 2 ? 2 : 1); };
  switch (letter) {
    case L'd':
      if (run <= 2)
        number(value.Day);
      else {
        const auto& names = run == 3 ? locale.AbbreviatedDayNames : locale.DayNames;
        out += names[static_cast<std::size_t>(DayOfWeek(value) - 1)];
      }
      return true;
    case L'M':
      if (run <= 2)
        number(value.Month);
      else {
        const auto& names = run == 3 ? locale.AbbreviatedMonthNames : locale.MonthNames;
        out += names[static_cast<std::size_t>(value.Month - 1)];
      }
      return true;
    case L'y':
      if (run <= 2)
        number(value.Year % 100);
      else
        out += FormatZeroPadded(value.Year, 4);
      return true;
    case L'h':
      number(TwelveHour(value.Hour));
      return true;
    case L'H':
      number(value.Hour);
      return true;
    case L'm':
      number(value.Minute);
      return true;
    case L's':
      number(value.Second);
      return true;
    case L't': {
      const std::wstring& designator = Designator(value, locale);
      out += run == 1 ? designator.substr(0, 1) : designator;
      return true;
    }
    case L'g':
      return true;
    default:
      return false;
  }
}

}  // namespace

std::wstring FormatLocalePattern(std::wstring_view pattern, const DateTime& value,
                                 const LocaleInfo& locale) {
  const DateTime when = Normalized(value);
  std::wstring out;
  std::size_t pos = 0;
  while (pos < pattern.size()) {
    const wchar_t c = pattern[pos];
    if (c == L'\'') {
      // Quoted literal; "''" inside it, or on its own, is one quote.
      if (pos + 1 < pattern.size() && pattern[pos + 1] == L'\'') {
        out += L'\'';
        pos += 2;
        continue;
      }
      ++pos;
      while (pos < pattern.size()) {
        if (pattern[pos] != L'\'')
          out += pattern[pos++];
        else if (pos + 1 < pattern.size() && pattern[pos + 1] == L'\'') {
          out += L'\'';
          pos += 2;
        } else {
          ++pos;
          break;
        }
      }
      continue;
    }
    const std::size_t run = RunLength(pattern, pos);
    if (!AppendField(out, c, run, when, locale)) out.append(run, c);
    pos += run;
  }
  return out;
}

std::wstring GeneralDateText(const DateTime& value, const LocaleInfo& locale) {
  const DateTime when = Normalized(value);
  std::wstring text = FormatLocalePattern(locale.ShortDatePattern, when, locale);
  if (when.Hour != 0 || when.Minute != 0 || when.Second != 0) {
    text += L' ';
    text += FormatLocalePattern(locale.LongTimePattern, when, locale);
  }
  return text;
}

}  // namespace tarnivo

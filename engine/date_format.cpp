#include "engine/date_format.h"

#include <cstddef>
#include <utility>

#include "engine/number_format.h"
#include "engine/text.h"

namespace tarnivo {
namespace {

enum class Code {
  Literal,  // Token::Text as it stands
  DateSeparator,
  TimeSeparator,
  Marker,        // AM/PM, am/pm, A/P, a/p: Token::Text is the code as written
  LocaleMarker,  // AMPM
  Day,
  Day2,
  DayName,
  DayFullName,
  Weekday,
  Week,
  Month,
  Month2,
  MonthName,
  MonthFullName,
  Quarter,
  YearDay,
  Year2,
  Year4,
  Hour,
  Hour2,
  Minute,
  Minute2,
  Second,
  Second2,
};

struct Token {
  Code Kind = Code::Literal;
  std::size_t Length = 1;  // characters of the picture consumed
  std::wstring_view Text;
};

bool StartsWithIgnoringCase(std::wstring_view text, std::size_t pos, std::wstring_view prefix) {
  if (text.size() - pos < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (LowerAscii(text[pos + i]) != prefix[i]) return false;
  }
  return true;
}

// Length (at most `limit`) of the run of one letter, in either case, at pos.
std::size_t RunLength(std::wstring_view text, std::size_t pos, std::size_t limit) {
  const wchar_t letter = LowerAscii(text[pos]);
  std::size_t length = 1;
  while (length < limit && pos + length < text.size() && LowerAscii(text[pos + length]) == letter)
    ++length;
  return length;
}

// The code for a letter run: the longest code of that letter no longer than the run.
Token LetterToken(std::wstring_view picture, std::size_t pos, wchar_t letter) {
  const std::size_t run = RunLength(picture, pos, 4);
  const auto pick = [](Code code, std::size_t length) { return Token{code, length, {}}; };
  switch (letter) {
    case L'd': {
      constexpr Code kCodes[] = {Code::Day, Code::Day2, Code::DayName, Code::DayFullName};
      return pick(kCodes[run - 1], run);
    }
    case L'm': {
      constexpr Code kCodes[] = {Code::Month, Code::Month2, Code::MonthName, Code::MonthFullName};
      return pick(kCodes[run - 1], run);
    }
    case L'y':
      if (run == 4) return pick(Code::Year4, 4);
      return run >= 2 ? pick(Code::Year2, 2) : pick(Code::YearDay, 1);
    case L'w':
      return run >= 2 ? pick(Code::Week, 2) : pick(Code::Weekday, 1);
    case L'h':
      return run >= 2 ? pick(Code::Hour2, 2) : pick(Code::Hour, 1);
    case L'n':
      return run >= 2 ? pick(Code::Minute2, 2) : pick(Code::Minute, 1);
    case L's':
      return run >= 2 ? pick(Code::Second2, 2) : pick(Code::Second, 1);
    case L'q':
      return pick(Code::Quarter, 1);
    default:
      return Token{Code::Literal, 1, picture.substr(pos, 1)};
  }
}

// The token that starts at pos (pos < picture.size()).
Token NextToken(std::wstring_view picture, std::size_t pos) {
  const wchar_t c = picture[pos];
  switch (c) {
    case L'\\':
      if (pos + 1 == picture.size()) return Token{Code::Literal, 1, {}};
      return Token{Code::Literal, 2, picture.substr(pos + 1, 1)};
    case L'"': {
      const std::size_t close = picture.find(L'"', pos + 1);
      if (close == std::wstring_view::npos) {
        return Token{Code::Literal, picture.size() - pos, picture.substr(pos + 1)};
      }
      return Token{Code::Literal, close - pos + 1, picture.substr(pos + 1, close - pos - 1)};
    }
    case L'/':
      return Token{Code::DateSeparator, 1, {}};
    case L':':
      return Token{Code::TimeSeparator, 1, {}};
    default:
      break;
  }
  const wchar_t letter = LowerAscii(c);
  if (letter == L'a') {
    if (StartsWithIgnoringCase(picture, pos, L"am/pm"))
      return Token{Code::Marker, 5, picture.substr(pos, 5)};
    if (StartsWithIgnoringCase(picture, pos, L"ampm")) return Token{Code::LocaleMarker, 4, {}};
    if (StartsWithIgnoringCase(picture, pos, L"a/p"))
      return Token{Code::Marker, 3, picture.substr(pos, 3)};
  }
  return LetterToken(picture, pos, letter);
}

bool HoldsMarker(std::wstring_view picture) {
  for (std::size_t pos = 0; pos < picture.size();) {
    const Token token = NextToken(picture, pos);
    if (token.Kind == Code::Marker || token.Kind == Code::LocaleMarker) return true;
    pos += token.Length;
  }
  return false;
}

class PictureWriter {
 public:
  PictureWriter(const DateTime& value, const LocaleInfo& locale, bool twelveHour)
      : value_(value), locale_(locale), twelveHour_(twelveHour) {}

  void Write(const Token& token) {
    if (token.Kind == Code::Literal) {
      out_ += token.Text;
      return;
    }
    if (token.Kind == Code::DateSeparator || token.Kind == Code::TimeSeparator) {
      out_ += token.Kind == Code::DateSeparator ? locale_.DateSeparator : locale_.TimeSeparator;
      return;
    }
    const bool minutes = afterHour_;
    afterHour_ = token.Kind == Code::Hour || token.Kind == Code::Hour2;
    WriteCode(token, minutes);
  }

  std::wstring Take() { return std::move(out_); }

 private:
  void Number(int value, int digits) { out_ += FormatZeroPadded(value, digits); }

  int ClockHour() const {
    if (!twelveHour_) return value_.Hour;
    return value_.Hour % 12 == 0 ? 12 : value_.Hour % 12;
  }

  void WriteMarker(std::wstring_view code) {
    const bool morning = value_.Hour < 12;
    if (code.size() == 5)
      out_ += morning ? code.substr(0, 2) : code.substr(3, 2);
    else
      out_ += morning ? code.substr(0, 1) : code.substr(2, 1);
  }

  void WriteCode(const Token& token, bool monthMeansMinutes) {
    const auto day = static_cast<std::size_t>(DayOfWeek(value_) - 1);
    const auto month = static_cast<std::size_t>(value_.Month - 1);
    switch (token.Kind) {
      case Code::Marker:
        WriteMarker(token.Text);
        break;
      case Code::LocaleMarker:
        out_ += value_.Hour < 12 ? locale_.AmDesignator : locale_.PmDesignator;
        break;
      case Code::Day:
        Number(value_.Day, 1);
        break;
      case Code::Day2:
        Number(value_.Day, 2);
        break;
      case Code::DayName:
        out_ += locale_.AbbreviatedDayNames[day];
        break;
      case Code::DayFullName:
        out_ += locale_.DayNames[day];
        break;
      case Code::Weekday:
        Number(DayOfWeek(value_), 1);
        break;
      case Code::Week:
        Number(WeekOfYear(value_), 1);
        break;
      case Code::Month:
        Number(monthMeansMinutes ? value_.Minute : value_.Month, 1);
        break;
      case Code::Month2:
        Number(monthMeansMinutes ? value_.Minute : value_.Month, 2);
        break;
      case Code::MonthName:
        out_ += locale_.AbbreviatedMonthNames[month];
        break;
      case Code::MonthFullName:
        out_ += locale_.MonthNames[month];
        break;
      case Code::Quarter:
        Number(QuarterOf(value_), 1);
        break;
      case Code::YearDay:
        Number(DayOfYear(value_), 1);
        break;
      case Code::Year2:
        Number(value_.Year % 100, 2);
        break;
      case Code::Year4:
        Number(value_.Year, 4);
        break;
      case Code::Hour:
        Number(ClockHour(), 1);
        break;
      case Code::Hour2:
        Number(ClockHour(), 2);
        break;
      case Code::Minute:
        Number(value_.Minute, 1);
        break;
      case Code::Minute2:
        Number(value_.Minute, 2);
        break;
      case Code::Second:
        Number(value_.Second, 1);
        break;
      case Code::Second2:
        Number(value_.Second, 2);
        break;
      case Code::Literal:
      case Code::DateSeparator:
      case Code::TimeSeparator:
        break;  // written by Write()
    }
  }

  const DateTime& value_;
  const LocaleInfo& locale_;
  const bool twelveHour_;
  bool afterHour_ = false;  // the last code written was h or hh
  std::wstring out_;
};

}  // namespace

std::wstring FormatDateTime(std::wstring_view picture, const DateTime& value,
                            const LocaleInfo& locale) {
  const DateTime when = Normalized(value);
  if (picture.empty()) return GeneralDateText(when, locale);
  PictureWriter writer(when, locale, HoldsMarker(picture));
  for (std::size_t pos = 0; pos < picture.size();) {
    const Token token = NextToken(picture, pos);
    writer.Write(token);
    pos += token.Length;
  }
  return writer.Take();
}

}  // namespace tarnivo

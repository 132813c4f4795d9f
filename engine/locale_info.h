// The locale data the date pictures need, as plain values. The application
// fills it from the platform's locale once; the defaults are a complete
// Chinese (PRC) set, so the engine works and is testable without Windows.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "engine/date_time.h"

namespace tarnivo {

struct LocaleInfo {
  // Sunday first (the platform's own lists start with Monday: rotate them).
  std::array<std::wstring, 7> AbbreviatedDayNames{L"周日", L"周一", L"周二", L"周三",
                                                  L"周四", L"周五", L"周六"};
  std::array<std::wstring, 7> DayNames{L"星期日", L"星期一", L"星期二", L"星期三",
                                       L"星期四", L"星期五", L"星期六"};
  // January first.
  std::array<std::wstring, 12> AbbreviatedMonthNames{L"1月", L"2月",  L"3月",  L"4月",
                                                     L"5月", L"6月",  L"7月",  L"8月",
                                                     L"9月", L"10月", L"11月", L"12月"};
  std::array<std::wstring, 12> MonthNames{L"一月", L"二月", L"三月", L"四月", L"五月",   L"六月",
                                          L"七月", L"八月", L"九月", L"十月", L"十一月", L"十二月"};
  std::wstring DateSeparator = L"/";
  std::wstring TimeSeparator = L":";
  std::wstring AmDesignator = L"上午";
  std::wstring PmDesignator = L"下午";
  // The locale's short date and long time patterns, in the platform's pattern
  // syntax (see FormatLocalePattern); together they make the general date text.
  std::wstring ShortDatePattern = L"yyyy/M/d";
  std::wstring LongTimePattern = L"H:mm:ss";
};

// Formats `value` with a pattern in the platform's locale syntax: d dd (day),
// ddd dddd+ (day names), M MM (month), MMM MMMM+ (month names), y (year without
// century, no leading zero), yy, yyy+ (full year), h hh+ (12-hour clock),
// H HH+ (24-hour clock), m mm+ (minutes), s ss+ (seconds), t (first character
// of the designator), tt+ (designator), g+ (era: nothing, the calendar has one
// era), text in single quotes literal ('' is a quote); anything else as it stands.
std::wstring FormatLocalePattern(std::wstring_view pattern, const DateTime& value,
                                 const LocaleInfo& locale);

// The general date text: the short date, followed by a blank and the long
// time unless the time is midnight ("2024/3/5 14:07:09", "2024/3/5").
std::wstring GeneralDateText(const DateTime& value, const LocaleInfo& locale);

}  // namespace tarnivo

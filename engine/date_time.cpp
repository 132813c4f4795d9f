#include "engine/date_time.h"

#include <algorithm>

namespace tarnivo {

DateTime Normalized(const DateTime& value) noexcept {
  DateTime result;
  result.Year = std::clamp(value.Year, 1, 9999);
  result.Month = std::clamp(value.Month, 1, 12);
  result.Day = std::clamp(value.Day, 1, DaysInMonth(result.Year, result.Month));
  result.Hour = std::clamp(value.Hour, 0, 23);
  result.Minute = std::clamp(value.Minute, 0, 59);
  result.Second = std::clamp(value.Second, 0, 59);
  return result;
}

DateTime DateOnly(const DateTime& value) noexcept {
  DateTime result = value;
  result.Hour = result.Minute = result.Second = 0;
  return result;
}

bool IsLeapYear(std::int32_t year) noexcept {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(std::int32_t year, std::int32_t month) noexcept {
  constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 31;
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

int DayOfWeek(const DateTime& value) noexcept {
  // Sakamoto's method: 0 = Sunday.
  constexpr int kMonthOffset[12] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
  const int month = std::clamp(value.Month, 1, 12);
  const int year = value.Year - (month < 3 ? 1 : 0);
  const int weekday =
      (year + year / 4 - year / 100 + year / 400 + kMonthOffset[month - 1] + value.Day) % 7;
  return (weekday + 7) % 7 + 1;
}

int DayOfYear(const DateTime& value) noexcept {
  int days = value.Day;
  for (int month = 1; month < value.Month && month <= 12; ++month)
    days += DaysInMonth(value.Year, month);
  return days;
}

int WeekOfYear(const DateTime& value) noexcept {
  const DateTime firstOfJanuary{value.Year, 1, 1, 0, 0, 0};
  const int offset = DayOfWeek(firstOfJanuary) - 1;  // days of week 1 that fall in the year before
  return (DayOfYear(value) - 1 + offset) / 7 + 1;
}

int QuarterOf(const DateTime& value) noexcept { return (value.Month - 1) / 3 + 1; }

}  // namespace tarnivo

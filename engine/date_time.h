// A local date and time of day to the second, and the calendar arithmetic the
// date pictures need (Gregorian calendar, Sunday as first day of the week).
#pragma once

#include <cstdint>

namespace tarnivo {

struct DateTime {
  std::int32_t Year = 1899;  // the default is the classic zero date, 30 December 1899
  std::int32_t Month = 12;   // 1-12
  std::int32_t Day = 30;     // 1-31
  std::int32_t Hour = 0;     // 0-23
  std::int32_t Minute = 0;   // 0-59
  std::int32_t Second = 0;   // 0-59

  friend bool operator==(const DateTime&, const DateTime&) = default;
};

// The same value with every field clamped into its valid range (year 1-9999,
// day within its month), so that arithmetic on it cannot misbehave.
DateTime Normalized(const DateTime& value) noexcept;

// The same day at midnight.
DateTime DateOnly(const DateTime& value) noexcept;

// The following expect a Normalized() value.
bool IsLeapYear(std::int32_t year) noexcept;
int DaysInMonth(std::int32_t year, std::int32_t month) noexcept;
int DayOfWeek(const DateTime& value) noexcept;   // 1 (Sunday) to 7 (Saturday)
int DayOfYear(const DateTime& value) noexcept;   // 1 to 366
int WeekOfYear(const DateTime& value) noexcept;  // 1 to 54; week 1 holds 1 January
int QuarterOf(const DateTime& value) noexcept;   // 1 to 4

}  // namespace tarnivo

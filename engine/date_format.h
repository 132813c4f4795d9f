// The date and time pictures of the settings "Formatdate" and "Formatnow".
#pragma once

#include <string>
#include <string_view>

#include "engine/date_time.h"
#include "engine/locale_info.h"

namespace tarnivo {

// Formats `value` with a picture. Codes (letters in either case):
//   d dd        day of the month, 1-31 / 01-31
//   ddd dddd    weekday name, abbreviated / full
//   w           day of the week, 1 (Sunday) to 7
//   ww          week of the year, 1-54 (week 1 holds 1 January, weeks start on Sunday)
//   m mm        month, 1-12 / 01-12; minutes when the code before them was h or hh
//               (separators and literals between do not matter: "hh:mm" is minutes)
//   mmm mmmm    month name, abbreviated / full
//   q           quarter, 1-4
//   y           day of the year, 1-366
//   yy yyyy     year, 00-99 / four digits
//   h hh        hour, 0-23 / 00-23; 1-12 / 01-12 when the picture holds an AM/PM code
//   n nn        minutes; s ss seconds
//   AM/PM am/pm A/P a/p   the marker, spelt as the code is written ("AM" or "PM",
//               "a" or "p", ...); AMPM gives the locale's designators
//   / :         the locale's date and time separators
//   \x          the character x; "text" the text (an unclosed quote runs to the end;
//               a "\" at the very end gives nothing)
// A run of one code letter longer than its longest code is cut, from the left,
// into the longest codes that fit: "yyy" is yy then y, "ddddd" is dddd then d,
// "mmmmm" mmmm then m, "hhh" hh then h, "qq" q then q. Every other character is
// copied as it stands. The empty picture gives the locale's general date text.
// Fields out of range are clamped (see Normalized). Linear in the picture's length.
std::wstring FormatDateTime(std::wstring_view picture, const DateTime& value,
                            const LocaleInfo& locale);

}  // namespace tarnivo

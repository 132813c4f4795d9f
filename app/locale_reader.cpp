#include "app/locale_reader.h"

#include <windows.h>

#include <cstddef>

namespace tarnivo {
namespace {

// Replaces `target` with the locale's value of `type` (which may be empty, as AM/PM
// designators are in some locales); leaves it alone when the system cannot give one.
void ReadInto(LCTYPE type, std::wstring& target) {
  wchar_t buffer[128];
  const int length =
      GetLocaleInfoW(LOCALE_USER_DEFAULT, type, buffer, static_cast<int>(std::size(buffer)));
  if (length > 0) target.assign(buffer, static_cast<std::size_t>(length - 1));  // minus the NUL
}

LocaleInfo ReadLocale() {
  LocaleInfo locale;
  // The system's day lists start with Monday; ours with Sunday.
  for (std::size_t day = 0; day < 7; ++day) {
    const std::size_t sundayFirst = (day + 1) % 7;
    ReadInto(static_cast<LCTYPE>(LOCALE_SDAYNAME1 + day), locale.DayNames[sundayFirst]);
    ReadInto(static_cast<LCTYPE>(LOCALE_SABBREVDAYNAME1 + day),
             locale.AbbreviatedDayNames[sundayFirst]);
  }
  for (std::size_t month = 0; month < 12; ++month) {
    ReadInto(static_cast<LCTYPE>(LOCALE_SMONTHNAME1 + month), locale.MonthNames[month]);
    ReadInto(static_cast<LCTYPE>(LOCALE_SABBREVMONTHNAME1 + month),
             locale.AbbreviatedMonthNames[month]);
  }
  ReadInto(LOCALE_SDATE, locale.DateSeparator);
  ReadInto(LOCALE_STIME, locale.TimeSeparator);
  ReadInto(LOCALE_S1159, locale.AmDesignator);
  ReadInto(LOCALE_S2359, locale.PmDesignator);
  ReadInto(LOCALE_SSHORTDATE, locale.ShortDatePattern);
  ReadInto(LOCALE_STIMEFORMAT, locale.LongTimePattern);
  return locale;
}

}  // namespace

const LocaleInfo& UserLocale() {
  static const LocaleInfo locale = ReadLocale();
  return locale;
}

}  // namespace tarnivo

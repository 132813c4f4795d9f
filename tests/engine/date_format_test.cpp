#include "engine/date_format.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "engine/locale_info.h"
#include "test_support.h"

namespace tarnivo {
namespace {

// Tuesday, day 65 of the leap year 2024.
const DateTime kAfternoon{2024, 3, 5, 14, 7, 9};

struct PictureCase {
  std::wstring Picture;
  std::wstring Expected;
};

void ExpectPictures(const DateTime& value, const LocaleInfo& locale,
                    std::initializer_list<PictureCase> cases) {
  for (const PictureCase& c : cases) {
    SCOPED_TRACE(test::Show(c.Picture));
    EXPECT_EQ(FormatDateTime(c.Picture, value, locale), c.Expected);
  }
}

TEST(FormatDateTime, CodesOfTheTable) {
  ExpectPictures(kAfternoon, LocaleInfo{},
                 {
                     {L"yymmdd", L"240305"},
                     {L"hhmmss", L"140709"},
                     {L"yyyy-mm-dd", L"2024-03-05"},
                     {L"hh:mm:ss", L"14:07:09"},
                     {L"yy-mm-dd & hh:mm:ss", L"24-03-05 & 14:07:09"},
                     {L"d dd m mm", L"5 05 3 03"},
                     {L"ddd dddd mmm mmmm", L"周二 星期二 3月 三月"},
                     {L"w ww q y", L"3 10 1 65"},
                     {L"h hh n nn s ss", L"14 14 7 07 9 09"},
                     {L"h:m:s", L"14:7:9"},
                     {L"yyyy年m月d日", L"2024年3月5日"},
                     {L"hh时mm分", L"14时07分"},  // literals between h and m: still minutes
                     {L"hh dd mm", L"14 05 03"},  // the code before mm is dd: month
                     {L"mm nn", L"03 07"},
                     {L"YYYY-MM-DD HH:NN", L"2024-03-05 14:07"},
                     {L"c%_.", L"c%_."},
                 });
}

TEST(FormatDateTime, AmPmCodesSwitchToTwelveHours) {
  ExpectPictures(kAfternoon, LocaleInfo{},
                 {
                     {L"h:nn AM/PM", L"2:07 PM"},
                     {L"hh:nn am/pm", L"02:07 pm"},
                     {L"h:nn A/P", L"2:07 P"},
                     {L"h:nn a/p", L"2:07 p"},
                     {L"hh Am/pM", L"02 pM"},
                     {L"hh AMPM", L"02 下午"},
                     {L"a/p hh:mm", L"p 02:07"},      // the marker may come first
                     {L"hh \"AM/PM\"", L"14 AM/PM"},  // a quoted marker is text
                 });
  ExpectPictures({2024, 3, 5, 0, 5, 0}, LocaleInfo{},
                 {{L"h:nn AM/PM", L"12:05 AM"}, {L"hh AMPM", L"12 上午"}});
  ExpectPictures({2024, 3, 5, 12, 30, 0}, LocaleInfo{}, {{L"h:nn a/p", L"12:30 p"}});
}

TEST(FormatDateTime, SeparatorsComeFromTheLocaleAndLiteralsAreCopied) {
  LocaleInfo dotted;
  dotted.DateSeparator = L".";
  dotted.TimeSeparator = L"-";
  ExpectPictures(kAfternoon, dotted,
                 {
                     {L"d/m/yy hh:nn", L"5.3.24 14-07"},
                     {L"\"a/b:c\"", L"a/b:c"},
                     {L"\\/\\:", L"/:"},
                     {L"\\h\\h", L"hh"},
                     {L"\\\\", L"\\"},
                     {L"yy\\", L"24"},  // a "\" at the end gives nothing
                     {L"\\\"yy\\\"", L"\"24\""},
                     {L"\"Date: \"yyyy", L"Date: 2024"},
                     {L"yy\"open", L"24open"},  // an unclosed quote runs to the end
                     {L"\"\"", L""},
                 });
}

TEST(FormatDateTime, CodeRunsLongerThanACodeAreCutFromTheLeft) {
  ExpectPictures(kAfternoon, LocaleInfo{},
                 {
                     {L"yyy", L"2465"},
                     {L"yyyyy", L"202465"},
                     {L"ddddd", L"星期二5"},
                     {L"mmmmm", L"三月3"},
                     {L"qq", L"11"},
                     {L"hhh", L"1414"},
                     {L"www", L"103"},
                     {L"sss", L"099"},
                 });
}

TEST(FormatDateTime, WeekdayWeekQuarterAndDayOfYearAtYearEdges) {
  struct Case {
    DateTime Value;
    std::wstring Expected;  // "w ww q y"
  };
  const Case cases[] = {
      {{2022, 1, 1}, L"7 1 1 1"},                                   // 1 January on a Saturday
      {{2022, 1, 2}, L"1 2 1 2"},                                   // the next day starts week 2
      {{2022, 12, 31}, L"7 53 4 365"}, {{2023, 1, 1}, L"1 1 1 1"},  // 1 January on a Sunday
      {{2023, 1, 7}, L"7 1 1 7"},      {{2023, 1, 8}, L"1 2 1 8"},
      {{2000, 12, 31}, L"1 54 4 366"},  // leap year starting on a Saturday: week 54
      {{2024, 12, 31}, L"3 53 4 366"}, {{2024, 2, 29}, L"5 9 1 60"},
      {{2024, 4, 1}, L"2 14 2 92"},    {{2024, 6, 30}, L"1 27 2 182"},
      {{2024, 7, 1}, L"2 27 3 183"},   {{2024, 9, 30}, L"2 40 3 274"},
      {{2024, 10, 1}, L"3 40 4 275"},  {{1900, 3, 1}, L"5 9 1 60"},  // 1900 is no leap year
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Value.Year << "-" << c.Value.Month << "-" << c.Value.Day);
    EXPECT_EQ(FormatDateTime(L"w ww q y", c.Value, LocaleInfo{}), c.Expected);
  }
}

TEST(FormatDateTime, EmptyPictureGivesTheGeneralDate) {
  EXPECT_EQ(FormatDateTime(L"", kAfternoon, LocaleInfo{}), L"2024/3/5 14:07:09");
  EXPECT_EQ(FormatDateTime(L"", {2024, 3, 5, 0, 0, 0}, LocaleInfo{}), L"2024/3/5");
  EXPECT_EQ(FormatDateTime(L"", {2024, 3, 5, 0, 0, 1}, LocaleInfo{}), L"2024/3/5 0:00:01");
  LocaleInfo american;
  american.ShortDatePattern = L"M/d/yyyy";
  american.LongTimePattern = L"h:mm:ss tt";
  american.AmDesignator = L"AM";
  american.PmDesignator = L"PM";
  EXPECT_EQ(FormatDateTime(L"", kAfternoon, american), L"3/5/2024 2:07:09 PM");
}

TEST(FormatDateTime, OutOfRangeFieldsAreClamped) {
  EXPECT_EQ(FormatDateTime(L"yyyy-mm-dd hh:nn:ss", {2023, 2, 31, 25, 61, -1}, LocaleInfo{}),
            L"2023-02-28 23:59:00");
  EXPECT_EQ(FormatDateTime(L"yyyy mmmm dddd y ww",
                           {INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN}, LocaleInfo{}),
            L"0001 一月 星期一 1 1");
  EXPECT_EQ(FormatDateTime(L"yyyy mmm ddd", {INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX, INT_MAX},
                           LocaleInfo{}),
            L"9999 12月 周五");
}

TEST(FormatLocalePattern, PlatformPatternSyntax) {
  struct Case {
    std::wstring Pattern, Expected;
  };
  const Case cases[] = {
      {L"yyyy/M/d", L"2024/3/5"},
      {L"dd/MM/yy", L"05/03/24"},
      {L"y", L"24"},
      {L"dddd, MMMM d, yyyy", L"星期二, 三月 5, 2024"},
      {L"ddd MMM", L"周二 3月"},
      {L"H:mm:ss", L"14:07:09"},
      {L"hh:mm tt", L"02:07 下午"},
      {L"h t", L"2 下"},
      {L"'at' H'h'", L"at 14h"},
      {L"'it''s'", L"it's"},
      {L"''", L"'"},
      {L"'open", L"open"},
      {L"gg yyyy", L" 2024"},
      {L"x-z", L"x-z"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(test::Show(c.Pattern));
    EXPECT_EQ(FormatLocalePattern(c.Pattern, kAfternoon, LocaleInfo{}), c.Expected);
  }
  EXPECT_EQ(FormatLocalePattern(L"y h H", {2005, 1, 1, 0, 0, 0}, LocaleInfo{}), L"5 12 0");
}

}  // namespace
}  // namespace tarnivo

#include "engine/number_parse.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "test_support.h"

namespace tarnivo {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

TEST(ParseLeadingNumber, ReadsTheNumberAtTheStartAndIgnoresTheRest) {
  struct Case {
    std::wstring Text;
    double Expected;
  };
  const Case cases[] = {
      {L"50", 50},
      {L"1%", 1},
      {L" 2.5", 2.5},
      {L"", 0},
      {L"abc", 0},
      {L"1 0", 10},        // blanks inside are skipped, not ends
      {L"\t1\n2 3", 123},  // tabs and line feeds too
      {L"1\r2", 1},        // a CR is no blank
      {L"&H10", 16},
      {L"&h1f%", 31},
      {L"&O17", 15},
      {L"&o8", 0},  // 8 is no octal digit
      {L"&H", 0},
      {L"&X1", 0},
      {L"&HFFFFFFFF", 4294967295.0},
      {L"-3.5e-1x", -0.35},
      {L"1e2", 100},
      {L"1E+2%", 100},
      {L"1E 2", 100},
      {L"1e", 1},  // an exponent without digits is not read
      {L"1e+x", 1},
      {L".5", 0.5},
      {L"-.5", -0.5},
      {L"5.", 5},
      {L"+7", 7},
      {L"- 7", -7},
      {L"--1", 0},
      {L"1.2.3", 1.2},
      {L"1,5", 1},
      {L"\xFF11\xFF12", 0},  // full-width digits are no digits
      {L"1e400", kInfinity},
      {L"-1e400", -kInfinity},
      {L"1e-400", 0},
      {L"0e99999999999999999999", 0},
      {L"1e-99999999999999999999", 0},
      {L"0.1e1", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(test::Show(c.Text));
    EXPECT_EQ(ParseLeadingNumber(c.Text), c.Expected);
  }
}

TEST(ParseLeadingNumber, LongDigitStringsAreCorrectlyScaled) {
  EXPECT_EQ(ParseLeadingNumber(L"1" + std::wstring(400, L'0')), kInfinity);
  EXPECT_EQ(ParseLeadingNumber(L"0." + std::wstring(400, L'0') + L"1"), 0.0);
  EXPECT_EQ(ParseLeadingNumber(L"0." + std::wstring(400, L'0') + L"1e401"), 1.0);
  EXPECT_EQ(ParseLeadingNumber(std::wstring(100000, L'0') + L"7"), 7.0);
  EXPECT_EQ(ParseLeadingNumber(std::wstring(100000, L'F').insert(0, L"&H")), kInfinity);
}

// "ok <n>" or "error <number>".
std::wstring Outcome(const Result<std::int32_t>& result) {
  if (result.Ok()) return L"ok " + std::to_wstring(result.Value());
  return L"error " + std::to_wstring(DescribeError(result.Error()).Number);
}

TEST(TextToInt32, ConvertsAWholeTextRoundingHalvesToEven) {
  struct Case {
    std::wstring Text, Expected;
  };
  const Case cases[] = {
      {L"6", L"ok 6"},
      {L" 12 ", L"ok 12"},
      {L"\t7\r\n", L"ok 7"},
      {L"+3", L"ok 3"},
      {L"&H10", L"ok 16"},
      {L"&O17", L"ok 15"},
      {L"1e1", L"ok 10"},
      {L"0.5", L"ok 0"},
      {L".5", L"ok 0"},
      {L"1.5", L"ok 2"},
      {L"2.5", L"ok 2"},
      {L"3.5", L"ok 4"},
      {L"2.5000001", L"ok 3"},
      {L"2.4999999", L"ok 2"},
      {L"-0.5", L"ok 0"},
      {L"-1.5", L"ok -2"},
      {L"-2.5", L"ok -2"},
      {L"1e-400", L"ok 0"},
      {L"2147483647", L"ok 2147483647"},
      {L"-2147483648", L"ok -2147483648"},
      {L"-2147483648.5", L"ok -2147483648"},
      {L"2147483648", L"error 6"},
      {L"-2147483649", L"error 6"},
      {L"2147483647.5", L"error 6"},  // rounds to the even 2147483648
      {L"&HFFFFFFFF", L"error 6"},
      {L"1e400", L"error 6"},
      {L"", L"error 13"},
      {L"   ", L"error 13"},
      {L"abc", L"error 13"},
      {L"x", L"error 13"},
      {L"1 0", L"error 13"},
      {L"1%", L"error 13"},
      {L".", L"error 13"},
      {L"-", L"error 13"},
      {L"1e", L"error 13"},
      {L"&H", L"error 13"},
      {L"&HG", L"error 13"},
      {L"- 5", L"error 13"},
      {std::wstring(L"1\0", 2), L"error 13"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(test::Show(c.Text));
    EXPECT_EQ(Outcome(TextToInt32(c.Text)), c.Expected);
  }
  EXPECT_EQ(Outcome(TextToInt32(L"1" + std::wstring(100000, L'0'))), L"error 6");
}

TEST(TextToDouble, KeepsTheFraction) {
  struct Case {
    std::wstring Text;
    bool Ok;
    double Value;
    ErrorKind Error;
  };
  const Case cases[] = {
      {L"0.5", true, 0.5, {}},
      {L" -1.25 ", true, -1.25, {}},
      {L"1e1", true, 10, {}},
      {L"&H10", true, 16, {}},
      {L"0", true, 0, {}},
      {L"", false, 0, ErrorKind::TypeMismatch},
      {L"on", false, 0, ErrorKind::TypeMismatch},
      {L"1e400", false, 0, ErrorKind::Overflow},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(test::Show(c.Text));
    const Result<double> result = TextToDouble(c.Text);
    ASSERT_EQ(result.Ok(), c.Ok);
    if (c.Ok)
      EXPECT_EQ(result.Value(), c.Value);
    else
      EXPECT_EQ(result.Error(), c.Error);
  }
}

TEST(RoundHalfToEven, RoundsHalvesToTheEvenNeighbour) {
  const double cases[][2] = {
      {0.5, 0},   {1.5, 2},  {2.5, 2},  {-0.5, 0},   {-1.5, -2},
      {-2.5, -2}, {0.49, 0}, {0.51, 1}, {-0.51, -1}, {4503599627370497.0, 4503599627370497.0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c[0]);
    EXPECT_EQ(RoundHalfToEven(c[0]), c[1]);
  }
}

}  // namespace
}  // namespace tarnivo

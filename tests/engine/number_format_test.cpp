#include "engine/number_format.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "test_support.h"

namespace tarnivo {
namespace {

TEST(GroupedNumber, ThreeDigitsAGroup) {
  const std::pair<std::int64_t, std::wstring> cases[] = {
      {0, L"0"},          {999, L"999"},           {1234, L"1 234"},
      {20000, L"20 000"}, {1234567, L"1 234 567"}, {-1000, L"-1 000"}};
  for (const auto& [value, text] : cases) EXPECT_EQ(GroupedNumber(value), text) << value;
}

TEST(DoubleToText, WritesAtMostFifteenSignificantDigits) {
  struct Case {
    double Value;
    std::wstring Expected;
  };
  const Case cases[] = {
      {3 * 0.1, L"0.3"},
      {1.0, L"1"},
      {-0.5, L"-0.5"},
      {0.0, L"0"},
      {-0.0, L"0"},
      {10 + 1 * 0.4, L"10.4"},
      {10 + 3 * 0.4, L"11.2"},  // 11.200000000000001 in binary
      {2.0 / 3.0, L"0.666666666666667"},
      {123.456, L"123.456"},
      {1e14, L"100000000000000"},
      {999999999999999.0, L"999999999999999"},
      {1e15, L"1E+15"},
      {9999999999999995.0, L"1E+16"},  // rounds up into the next decade
      {123456789012345678.0, L"1.23456789012346E+17"},
      {1.5e300, L"1.5E+300"},
      {0.0001, L"0.0001"},
      {0.00001, L"1E-05"},
      {-0.000012345, L"-1.2345E-05"},
      {1e-300, L"1E-300"},
      {std::numeric_limits<double>::max(), L"1.79769313486232E+308"},
      {std::numeric_limits<double>::denorm_min(), L"4.94065645841247E-324"},
      {std::numeric_limits<double>::infinity(), L"INF"},
      {-std::numeric_limits<double>::infinity(), L"-INF"},
      {std::numeric_limits<double>::quiet_NaN(), L"NAN"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "value " << c.Value);
    EXPECT_EQ(DoubleToText(c.Value), c.Expected);
  }
}

TEST(FormatWithZeroPicture, PadsNeverCutsAndRoundsHalvesAwayFromZero) {
  struct Case {
    double Value;
    std::int32_t Width;
    std::wstring Expected;
  };
  const Case cases[] = {
      {0, 3, L"ok 000"},
      {1, 3, L"ok 001"},
      {1001, 3, L"ok 1001"},
      {-5, 4, L"ok -0005"},
      {10.4, 3, L"ok 010"},
      {10.5, 3, L"ok 011"},
      {11.5, 3, L"ok 012"},
      {2.5, 1, L"ok 3"},
      {-2.5, 1, L"ok -3"},
      {0.5, 1, L"ok 1"},
      {0.49, 1, L"ok 0"},
      {-0.5, 3, L"ok -001"},
      {-0.4, 3, L"ok 000"},  // no "-000"
      {-0.0, 2, L"ok 00"},
      {9.5, 1, L"ok 10"},
      {99.5, 2, L"ok 100"},
      {1e-300, 2, L"ok 00"},
      {0.05, 1, L"ok 0"},
      {1e20, 3, L"ok 100000000000000000000"},  // full digits, no E notation
      {123456789012345678.0, 1, L"ok 123456789012346000"},
      {0.3, 0, L"ok 0.3"},
      {-5, 0, L"ok -5"},
      {1e15, 0, L"ok 1E+15"},
      {1, -1, L"error 5"},
      {1, kMaxPictureWidth, L"error 7"},
      {1, std::numeric_limits<std::int32_t>::max(), L"error 7"},
      {std::numeric_limits<double>::infinity(), 3, L"error 6"},
      {std::numeric_limits<double>::quiet_NaN(), 0, L"error 6"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "value " << c.Value << " width " << c.Width);
    EXPECT_EQ(test::Outcome(FormatWithZeroPicture(c.Value, c.Width)), c.Expected);
  }
}

TEST(FormatWithZeroPicture, WideButHoldablePaddingIsProduced) {
  const Result<std::wstring> result = FormatWithZeroPicture(7, 100000);
  ASSERT_TRUE(result.Ok());
  EXPECT_EQ(result.Value(), std::wstring(99999, L'0') + L"7");
}

// Only the start is made, however wide the picture; the length is the whole text's.
TEST(FormatWithZeroPicturePart, MakesOnlyTheKeptStart) {
  struct Case {
    double Value;
    std::int32_t Width;
    std::size_t Kept;
    std::wstring Text;
    std::uint64_t Length;
  };
  const Case cases[] = {
      {7, 268435455, 5, L"00000", 268435455},
      {-5, 100000000, 3, L"-00", 100000001},
      {123, 5, 4, L"0012", 5},
      {123, 5, 10, L"00123", 5},
      {-123, 2, 2, L"-1", 4},
      {2.5, 0, 2, L"2.", 3},
      {7, 3, 0, L"", 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Value << " " << c.Width << " " << c.Kept);
    const Result<PartialText> part = FormatWithZeroPicturePart(c.Value, c.Width, c.Kept);
    ASSERT_TRUE(part.Ok());
    EXPECT_EQ(part.Value().Text, c.Text);
    EXPECT_EQ(part.Value().Length, c.Length);
  }
  EXPECT_EQ(test::Outcome(FormatWithZeroPicture(1, kMaxPictureWidth)), L"error 7");
}

TEST(FormatFixed, FourDecimalsForElapsedSeconds) {
  struct Case {
    double Value;
    std::wstring Expected;
  };
  const Case cases[] = {
      {0.3125, L"0.3125"},    {0, L"0.0000"},
      {12.5, L"12.5000"},     {0.00004, L"0.0000"},
      {0.00006, L"0.0001"},   {-0.00001, L"0.0000"},
      {-1.5, L"-1.5000"},     {86399.99999, L"86400.0000"},
      {2.0 / 3.0, L"0.6667"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "value " << c.Value);
    EXPECT_EQ(FormatFixed(c.Value, 4), c.Expected);
  }
  EXPECT_EQ(FormatFixed(2.5, 0), L"2");
}

TEST(FormatZeroPadded, FourDigitsForTheRevision) {
  struct Case {
    std::int64_t Value;
    int MinDigits;
    std::wstring Expected;
  };
  const Case cases[] = {
      {41, 4, L"0041"},   {12345, 4, L"12345"},
      {0, 4, L"0000"},    {9999, 4, L"9999"},
      {-41, 4, L"-0041"}, {5, 0, L"5"},
      {5, -3, L"5"},      {std::numeric_limits<std::int64_t>::min(), 1, L"-9223372036854775808"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Value << " / " << c.MinDigits);
    EXPECT_EQ(FormatZeroPadded(c.Value, c.MinDigits), c.Expected);
  }
}

}  // namespace
}  // namespace tarnivo

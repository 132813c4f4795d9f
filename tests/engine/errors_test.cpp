#include "engine/errors.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>

namespace tarnivo {
namespace {

constexpr auto kLastKind = ErrorKind::PathNotFound;

// The numbers and texts users read in Err.LOG and look up in the help.
TEST(ErrorTable, NumbersAndTextsOfTheLog) {
  struct Case {
    ErrorKind Kind;
    int Number;
    std::wstring Text;
  };
  const Case cases[] = {
      {ErrorKind::OutOfRange, 9, L"下标越界"},
      {ErrorKind::BadFileName, 52, L"文件名无效"},
      {ErrorKind::FileInUse, 55, L"文件已打开"},
      {ErrorKind::FileExists, 58, L"文件已存在"},
      {ErrorKind::FileAccess, 75, L"路径/文件访问错误"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Number);
    EXPECT_EQ(DescribeError(c.Kind).Number, c.Number);
    EXPECT_EQ(std::wstring(DescribeError(c.Kind).Text), c.Text);
  }
}

TEST(ErrorTable, EveryKindHasANumberAndATextOfItsOwn) {
  std::set<int> numbers;
  std::set<std::wstring> texts;
  for (int i = 0; i <= static_cast<int>(kLastKind); ++i) {
    const auto kind = static_cast<ErrorKind>(i);
    const ErrorInfo info = DescribeError(kind);
    SCOPED_TRACE(info.Number);
    EXPECT_EQ(info.Kind, kind);
    EXPECT_GT(info.Number, 0);
    EXPECT_TRUE(numbers.insert(info.Number).second);
    EXPECT_TRUE(texts.insert(std::wstring(info.Text)).second);
  }
}

// What a failed MoveFileW can answer (Windows and Wine), by the number the log shows: a
// taken name, a locked file, a refused name and a denied access must be told apart.
TEST(ErrorTable, RenameErrorsOfTheSystemGetTheNumberThatExplainsThem) {
  struct Case {
    std::uint32_t Win32Error;
    int Number;
  };
  const Case cases[] = {
      {183, 58}, {80, 58},  {32, 55},   {33, 55},          {2, 53},   {3, 76},  {5, 70},
      {19, 70},  {123, 52}, {66, 52},   {206, 52},         {112, 61}, {21, 57}, {1117, 57},
      {0, 75},   {87, 75},  {1392, 75}, {0xFFFFFFFFu, 75},  // no kind of their own
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Win32Error);
    EXPECT_EQ(DescribeError(KindOfSystemError(c.Win32Error)).Number, c.Number);
  }
}

}  // namespace
}  // namespace tarnivo

#include "engine/errors.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace tarnivo {
namespace {

TEST(ErrorTable, KindsCarryTheClassicNumbersAndChineseTexts) {
  struct Case {
    ErrorKind Kind;
    int Number;
    std::wstring Text;
  };
  const Case cases[] = {
      {ErrorKind::InvalidArgument, 5, L"无效的过程调用或参数"},
      {ErrorKind::Overflow, 6, L"溢出"},
      {ErrorKind::OutOfMemory, 7, L"内存不足"},
      {ErrorKind::OutOfRange, 9, L"下标越界"},
      {ErrorKind::TypeMismatch, 13, L"类型不匹配"},
  };
  std::set<int> numbers;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Number);
    const ErrorInfo info = DescribeError(c.Kind);
    EXPECT_EQ(info.Kind, c.Kind);
    EXPECT_EQ(info.Number, c.Number);
    EXPECT_EQ(std::wstring(info.Text), c.Text);
    numbers.insert(info.Number);
  }
  EXPECT_EQ(numbers.size(), std::size(cases));
}

}  // namespace
}  // namespace tarnivo

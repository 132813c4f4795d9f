#include "engine/errors.h"

#include <gtest/gtest.h>

#include <cstdint>
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
      {ErrorKind::BadFileName, 52, L"文件名无效"},
      {ErrorKind::FileNotFound, 53, L"文件未找到"},
      {ErrorKind::FileInUse, 55, L"文件已打开"},
      {ErrorKind::DeviceIo, 57, L"设备 I/O 错误"},
      {ErrorKind::FileExists, 58, L"文件已存在"},
      {ErrorKind::DiskFull, 61, L"磁盘已满"},
      {ErrorKind::PermissionDenied, 70, L"没有权限"},
      {ErrorKind::FileAccess, 75, L"路径/文件访问错误"},
      {ErrorKind::PathNotFound, 76, L"路径未找到"},
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

TEST(ErrorTable, RenameErrorsOfTheSystemHaveKindsOfTheirOwn) {
  // A taken name, a locked file, a missing file, an invalid name and a denied access must
  // be told apart in the log.
  struct Case {
    std::uint32_t Win32Error;
    ErrorKind Kind;
  };
  const Case cases[] = {
      {2, ErrorKind::FileNotFound},         {3, ErrorKind::PathNotFound},
      {5, ErrorKind::PermissionDenied},     {19, ErrorKind::PermissionDenied},
      {32, ErrorKind::FileInUse},           {33, ErrorKind::FileInUse},
      {80, ErrorKind::FileExists},          {183, ErrorKind::FileExists},
      {66, ErrorKind::BadFileName},         {123, ErrorKind::BadFileName},
      {206, ErrorKind::BadFileName},        {31, ErrorKind::DeviceIo},
      {1117, ErrorKind::DeviceIo},          {112, ErrorKind::DiskFull},
      {0, ErrorKind::FileAccess},           {87, ErrorKind::FileAccess},
      {0xFFFFFFFFu, ErrorKind::FileAccess},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Win32Error);
    EXPECT_EQ(KindOfSystemError(c.Win32Error), c.Kind);
  }
}

}  // namespace
}  // namespace tarnivo

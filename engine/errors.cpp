#include "engine/errors.h"

#include <array>
#include <cstddef>

namespace tarnivo {
namespace {

constexpr std::array kErrorTable{
    ErrorInfo{ErrorKind::InvalidArgument, 5, L"无效的过程调用或参数"},
    ErrorInfo{ErrorKind::Overflow, 6, L"溢出"},
    ErrorInfo{ErrorKind::OutOfMemory, 7, L"内存不足"},
    ErrorInfo{ErrorKind::OutOfRange, 9, L"下标越界"},
    ErrorInfo{ErrorKind::TypeMismatch, 13, L"类型不匹配"},
    ErrorInfo{ErrorKind::BadFileName, 52, L"文件名无效"},
    ErrorInfo{ErrorKind::FileNotFound, 53, L"文件未找到"},
    ErrorInfo{ErrorKind::FileInUse, 55, L"文件已打开"},
    ErrorInfo{ErrorKind::DeviceIo, 57, L"设备 I/O 错误"},
    ErrorInfo{ErrorKind::FileExists, 58, L"文件已存在"},
    ErrorInfo{ErrorKind::DiskFull, 61, L"磁盘已满"},
    ErrorInfo{ErrorKind::PermissionDenied, 70, L"没有权限"},
    ErrorInfo{ErrorKind::FileAccess, 75, L"路径/文件访问错误"},
    ErrorInfo{ErrorKind::PathNotFound, 76, L"路径未找到"},
    ErrorInfo{ErrorKind::NoDateTaken, 1001, L"无拍摄日期"},
    ErrorInfo{ErrorKind::InvalidRule, 1002, L"转换规则无效"},
};

// Row i must describe enumerator i, and no number may be used twice: the log
// readers and support rely on a number meaning one thing only.
constexpr bool TableIsConsistent() {
  for (std::size_t i = 0; i < kErrorTable.size(); ++i) {
    if (static_cast<std::size_t>(kErrorTable[i].Kind) != i) return false;
    for (std::size_t j = i + 1; j < kErrorTable.size(); ++j) {
      if (kErrorTable[i].Number == kErrorTable[j].Number) return false;
    }
  }
  return true;
}
static_assert(TableIsConsistent(), "error table out of step with ErrorKind");

}  // namespace

ErrorInfo DescribeError(ErrorKind kind) noexcept {
  const auto index = static_cast<std::size_t>(kind);
  // An out-of-range enum value can only come from a cast; never read past the table.
  if (index >= kErrorTable.size()) return ErrorInfo{kind, 5, kErrorTable[0].Text};
  return kErrorTable[index];
}

ErrorKind KindOfSystemError(std::uint32_t win32Error) noexcept {
  // Win32 codes by number, so this table stays free of windows.h.
  switch (win32Error) {
    case 2:  // ERROR_FILE_NOT_FOUND
      return ErrorKind::FileNotFound;
    case 3:   // ERROR_PATH_NOT_FOUND
    case 15:  // ERROR_INVALID_DRIVE
    case 53:  // ERROR_BAD_NETPATH
    case 67:  // ERROR_BAD_NET_NAME
      return ErrorKind::PathNotFound;
    case 5:   // ERROR_ACCESS_DENIED
    case 19:  // ERROR_WRITE_PROTECT
    case 65:  // ERROR_NETWORK_ACCESS_DENIED
      return ErrorKind::PermissionDenied;
    case 32:  // ERROR_SHARING_VIOLATION
    case 33:  // ERROR_LOCK_VIOLATION
      return ErrorKind::FileInUse;
    case 80:   // ERROR_FILE_EXISTS
    case 183:  // ERROR_ALREADY_EXISTS
      return ErrorKind::FileExists;
    case 66:   // ERROR_BAD_DEV_TYPE: Wine's answer for a reserved device name (CON, NUL.txt)
    case 123:  // ERROR_INVALID_NAME
    case 161:  // ERROR_BAD_PATHNAME
    case 206:  // ERROR_FILENAME_EXCED_RANGE
      return ErrorKind::BadFileName;
    case 21:    // ERROR_NOT_READY
    case 23:    // ERROR_CRC
    case 29:    // ERROR_WRITE_FAULT
    case 30:    // ERROR_READ_FAULT
    case 31:    // ERROR_GEN_FAILURE
    case 1117:  // ERROR_IO_DEVICE
      return ErrorKind::DeviceIo;
    case 39:   // ERROR_HANDLE_DISK_FULL
    case 112:  // ERROR_DISK_FULL
      return ErrorKind::DiskFull;
    default:
      return ErrorKind::FileAccess;
  }
}

}  // namespace tarnivo

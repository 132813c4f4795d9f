// Failure kinds of the engine, each with a stable number and a short Chinese
// text. The numbers follow the classic runtime's error table, so the numbers in
// Err.LOG mean what users of such programs already know.
#pragma once

#include <cstdint>
#include <string_view>

namespace tarnivo {

// To add a kind: append an enumerator here and the matching row, at the same
// position, to the table in errors.cpp (a static_assert there checks the order).
enum class ErrorKind : std::uint8_t {
  InvalidArgument,  // 5
  Overflow,         // 6
  OutOfMemory,      // 7
  OutOfRange,       // 9
  TypeMismatch,     // 13
  // Failures of a rename; the system's own message goes into the log beside these texts.
  BadFileName,       // 52: a name the system refuses or the program will not give
  FileNotFound,      // 53
  FileInUse,         // 55: another program holds the file open or locked
  DeviceIo,          // 57
  FileExists,        // 58: the new name is taken
  DiskFull,          // 61
  PermissionDenied,  // 70
  FileAccess,        // 75: any other system error
  PathNotFound,      // 76
  // A failure of a line of the program's own.
  NoDateTaken,  // 1001: the file holds no date the photo was taken (or is no photo)
  InvalidRule,  // 1002: a filter that cannot be applied; the failure's detail says why
};

struct ErrorInfo {
  ErrorKind Kind;
  std::int32_t Number;     // the error number written to the log
  std::wstring_view Text;  // static storage; valid for the whole program
};

// Number and message text of a failure kind.
ErrorInfo DescribeError(ErrorKind kind) noexcept;

// The kind of a Win32 error code returned by a failed rename (FileAccess for codes
// without a kind of their own).
ErrorKind KindOfSystemError(std::uint32_t win32Error) noexcept;

}  // namespace tarnivo

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

}  // namespace tarnivo

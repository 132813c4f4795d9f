#include "app/single_instance.h"

#include <windows.h>

#include <cstdint>
#include <cwchar>

namespace tarnivo {

std::wstring SingleInstance::MutexName(const std::wstring& executablePath) {
  std::wstring upper = executablePath;
  if (!upper.empty()) CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
  // A mutex name may not hold "\" and is limited in length: use a hash of the path.
  uint64_t hash = 14695981039346656037ull;  // FNV-1a
  for (const wchar_t c : upper) {
    hash ^= static_cast<uint16_t>(c);
    hash *= 1099511628211ull;
  }
  wchar_t digits[17];
  swprintf(digits, 17, L"%016llx", static_cast<unsigned long long>(hash));
  return L"Local\\Tarnivo-" + std::wstring(digits);
}

SingleInstance::SingleInstance(const std::wstring& executablePath)
    : mutex_(CreateMutexW(nullptr, FALSE, MutexName(executablePath).c_str())) {
  // Without a mutex the program cannot tell; it runs rather than refusing to start.
  first_ = !mutex_ || GetLastError() != ERROR_ALREADY_EXISTS;
}

}  // namespace tarnivo

#include "app/version_info.h"

#include <windows.h>

#include <vector>

#include "app/res/version.h"

namespace tarnivo {

namespace {

std::wstring RunningModulePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD copied = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (copied == 0) return {};
    if (copied < path.size()) return path.substr(0, copied);
    path.resize(path.size() * 2);  // cut to fit: try a larger buffer
  }
}

}  // namespace

std::optional<int> FileRevision(const std::wstring& modulePath) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(modulePath.c_str(), &ignored);
  if (size == 0) return std::nullopt;
  std::vector<BYTE> data(size);
  if (!GetFileVersionInfoW(modulePath.c_str(), 0, size, data.data())) return std::nullopt;
  void* block = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(data.data(), L"\\", &block, &length) || !block ||
      length < sizeof(VS_FIXEDFILEINFO)) {
    return std::nullopt;
  }
  const auto* info = static_cast<const VS_FIXEDFILEINFO*>(block);
  if (info->dwSignature != 0xFEEF04BD) return std::nullopt;
  return static_cast<int>(LOWORD(info->dwFileVersionLS));
}

int ProgramRevision() {
  return FileRevision(RunningModulePath()).value_or(TARNIVO_VERSION_REVISION);
}

}  // namespace tarnivo

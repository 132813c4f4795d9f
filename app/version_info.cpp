#include "app/version_info.h"

#include <windows.h>

#include <vector>

#include "app/res/version.h"
#include "win/paths.h"

namespace tarnivo {

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

int ProgramRevision() { return FileRevision(ExecutablePath()).value_or(TARNIVO_VERSION_REVISION); }

}  // namespace tarnivo

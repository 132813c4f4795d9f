#include "settings/path_probe.h"

#include <windows.h>

#include "win/paths.h"

namespace tarnivo {

int32_t GetPathAttributes(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(ExtendedPath(path).c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) return static_cast<int32_t>(attributes);
  // Only "file not found" means missing; a missing parent folder (error 3), a bad name
  // and the rest count as "other failure", which the callers' rule lets through.
  return GetLastError() == ERROR_FILE_NOT_FOUND ? kProbeNotFound : kProbeOtherFailure;
}

}  // namespace tarnivo

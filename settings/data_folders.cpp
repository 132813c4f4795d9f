#include "settings/data_folders.h"

#include <windows.h>

#include "win/handles.h"
#include "win/paths.h"

namespace tarnivo {

std::wstring UserDataFolder() {
  const DWORD needed = GetEnvironmentVariableW(L"LOCALAPPDATA", nullptr, 0);
  if (needed == 0) return {};
  std::wstring folder(needed, L'\0');
  const DWORD copied = GetEnvironmentVariableW(L"LOCALAPPDATA", folder.data(), needed);
  if (copied == 0 || copied >= needed) return {};
  folder.resize(copied);
  return EnsureTrailingBackslash(std::move(folder)) + L"Tarnivo";
}

bool CanCreateFilesIn(const std::wstring& folder) {
  const std::wstring probe = EnsureTrailingBackslash(folder) + L"~tarnivo-probe-" +
                             std::to_wstring(GetCurrentProcessId()) + L".tmp";
  UniqueFileHandle file(CreateFileW(ExtendedPath(probe).c_str(), GENERIC_WRITE, 0, nullptr,
                                    CREATE_NEW,
                                    FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
  if (!file) return false;
  file.Reset();
  // Closing deleted it; a folder that turned read-only meanwhile may have kept it. What
  // this cannot delete either stays, and the answer is the same.
  DeleteFileW(ExtendedPath(probe).c_str());
  return true;
}

std::wstring DataFolders::Records() const {
  if (Fallback.empty() || CanCreateFilesIn(Program)) return Program;
  // Already there, or made now; where even that fails the program folder stays, and what
  // cannot be written there fails as it always did.
  if (CreateDirectoryW(ExtendedPath(Fallback).c_str(), nullptr) ||
      GetLastError() == ERROR_ALREADY_EXISTS) {
    return Fallback;
  }
  return Program;
}

}  // namespace tarnivo

#pragma once
// Files named by a date and dated by another: the template "%modified%" then gives each
// file the name its date spells, which lets a test or a benchmark rotate a whole folder.
#include <windows.h>

#include <cwchar>
#include <string>

namespace tarnivo::test {

// 2026-01-01 00:00:00 and `k` seconds as "%modified%" spells it with its default picture,
// followed by ".jpg".
inline std::wstring RotationName(int k) {
  wchar_t name[32];
  swprintf(name, 32, L"20260101_%02d%02d%02d.jpg", k / 3600, k / 60 % 60, k % 60);
  return name;
}

// Sets the last write of `path` to 2026-01-01 00:00:00 and `k` seconds, local time; false
// when the system refuses.
inline bool SetModified(const std::wstring& path, int k) {
  const SYSTEMTIME local{2026,
                         1,
                         0,
                         1,
                         static_cast<WORD>(k / 3600),
                         static_cast<WORD>(k / 60 % 60),
                         static_cast<WORD>(k % 60),
                         0};
  FILETIME localTime{}, utc{};
  if (!SystemTimeToFileTime(&local, &localTime) || !LocalFileTimeToFileTime(&localTime, &utc)) {
    return false;
  }
  const HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const bool set = SetFileTime(file, nullptr, nullptr, &utc) != FALSE;
  CloseHandle(file);
  return set;
}

}  // namespace tarnivo::test

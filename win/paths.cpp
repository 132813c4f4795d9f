#include "win/paths.h"

#include <windows.h>
// Needs windows.h before it.
#include <shlwapi.h>

#include "win/code_page.h"
#include "win/handles.h"

namespace tarnivo {

std::wstring EnsureTrailingBackslash(std::wstring path) {
  if (path.empty() || path.back() != L'\\') path.push_back(L'\\');
  return path;
}

std::wstring FolderOf(const std::wstring& path) {
  const std::size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

namespace {

constexpr std::wstring_view kExtendedPrefix = L"\\\\?\\";
constexpr std::wstring_view kExtendedUncPrefix = L"\\\\?\\UNC\\";
constexpr std::wstring_view kDevicePrefix = L"\\\\.\\";

bool StartsWith(std::wstring_view text, std::wstring_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

// The full path of `path` as GetFullPathNameW makes it; "" when it cannot.
std::wstring FullPath(const std::wstring& path) {
  if (path.empty()) return {};
  const DWORD needed = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return {};
  std::wstring full(needed, L'\0');
  const DWORD copied = GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
  if (copied == 0 || copied >= needed) return {};
  full.resize(copied);
  return full;
}

}  // namespace

std::wstring ExtendedPath(const std::wstring& path) {
  if (StartsWith(path, kExtendedPrefix) || StartsWith(path, kDevicePrefix)) return path;
  std::wstring full = FullPath(path);
  if (full.empty()) return {};
  if (StartsWith(full, kExtendedPrefix) || StartsWith(full, kDevicePrefix)) return full;
  if (StartsWith(full, L"\\\\")) return std::wstring(kExtendedUncPrefix) + full.substr(2);
  return std::wstring(kExtendedPrefix) + full;
}

namespace {

// The volume and the file index of a folder; false when the system does not say.
bool FolderIdentity(const std::wstring& folder, BY_HANDLE_FILE_INFORMATION& info) {
  const std::wstring path = ExtendedPath(folder);
  if (path.empty()) return false;
  // No access rights asked: only the folder's identity is read.
  const UniqueFileHandle handle(
      CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  return handle && GetFileInformationByHandle(handle.Get(), &info) &&
         (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
         (info.nFileIndexHigh != 0 || info.nFileIndexLow != 0);
}

}  // namespace

bool IsSameFolder(const std::wstring& a, const std::wstring& b) {
  BY_HANDLE_FILE_INFORMATION first{}, second{};
  if (FolderIdentity(a, first) && FolderIdentity(b, second)) {
    return first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
           first.nFileIndexHigh == second.nFileIndexHigh &&
           first.nFileIndexLow == second.nFileIndexLow;
  }
  const std::wstring fullA = EnsureTrailingBackslash(FullFolderPath(a));
  const std::wstring fullB = EnsureTrailingBackslash(FullFolderPath(b));
  return fullA.size() > 1 &&
         CompareStringOrdinal(fullA.c_str(), static_cast<int>(fullA.size()), fullB.c_str(),
                              static_cast<int>(fullB.size()), TRUE) == CSTR_EQUAL;
}

std::wstring CurrentDirectory() {
  const DWORD needed = GetCurrentDirectoryW(0, nullptr);
  if (needed == 0) return {};
  std::wstring folder(needed, L'\0');
  const DWORD copied = GetCurrentDirectoryW(needed, folder.data());
  if (copied == 0 || copied >= needed) return {};
  folder.resize(copied);
  return folder;
}

std::wstring FullFolderPath(const std::wstring& folder) {
  std::wstring full = FullPath(folder);
  if (full.empty()) return {};
  // The system opens "pics ." and "pics " as "pics": the last name is read the same way
  // here, so that what is shown is what is listed and renamed in.
  while (full.size() > 3 && !PathIsRootW(full.c_str()) &&
         (full.back() == L'\\' || full.back() == L' ' || full.back() == L'.')) {
    full.pop_back();
  }
  return full;
}

std::wstring ExecutablePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD copied = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (copied == 0) return {};
    if (copied < path.size()) return path.substr(0, copied);
    path.resize(path.size() * 2);  // cut to fit: try a larger buffer
  }
}

std::wstring ProgramFolder() {
  std::wstring buffer = ExecutablePath();
  const size_t slash = buffer.find_last_of(L'\\');
  if (slash == std::wstring::npos) return {};
  // Keep the "\" of a drive root ("C:\"), drop it everywhere else.
  const bool isRoot = slash == 2 && buffer[1] == L':';
  buffer.resize(isRoot ? slash + 1 : slash);
  return buffer;
}

std::wstring AnsiSafeFolder(const std::wstring& folder) {
  if (FitsAnsi(folder)) return folder;
  const DWORD needed = GetShortPathNameW(folder.c_str(), nullptr, 0);
  if (needed == 0) return folder;
  std::wstring shortForm(needed, L'\0');
  const DWORD copied = GetShortPathNameW(folder.c_str(), shortForm.data(), needed);
  if (copied == 0 || copied >= needed) return folder;
  shortForm.resize(copied);
  return FitsAnsi(shortForm) ? shortForm : folder;
}

}  // namespace tarnivo

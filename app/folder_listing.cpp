#include "app/folder_listing.h"

#include "app/explorer_order.h"
#include "app/wildcard.h"
#include "settings/paths.h"
#include "win/handles.h"

namespace tarnivo {

namespace {

bool PassesFlags(DWORD attributes, const FileListFlags& flags) {
  if ((attributes & FILE_ATTRIBUTE_HIDDEN) && !flags.Hidden) return false;
  if ((attributes & FILE_ATTRIBUTE_SYSTEM) && !flags.System) return false;
  if (flags.ReadOnly && !(attributes & FILE_ATTRIBUTE_READONLY)) return false;
  if (flags.Archive && !(attributes & FILE_ATTRIBUTE_ARCHIVE)) return false;
  return flags.Normal || (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                        FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE));
}

bool IsFolder(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(ExtendedPath(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

bool ListFolder(const std::wstring& folder, const std::wstring& pattern, const FileListFlags& flags,
                std::vector<std::wstring>& names) {
  // Enumerate everything and match the long names here: the system's own wildcard
  // search also matches 8.3 short names, which would list files that do not match.
  const WildcardPattern matcher(pattern);
  WIN32_FIND_DATAW data;
  UniqueFindHandle find(FindFirstFileExW((EnsureTrailingBackslash(ExtendedPath(folder)) + L"*").c_str(),
                                         FindExInfoBasic, &data, FindExSearchNameMatch, nullptr,
                                         FIND_FIRST_EX_LARGE_FETCH));
  std::vector<std::wstring> found;
  if (find.Get() == INVALID_HANDLE_VALUE) {
    // An empty drive root has not even "." and "..": that is an empty list, not a failure.
    if (GetLastError() != ERROR_FILE_NOT_FOUND || !IsFolder(folder)) return false;
  } else {
    do {
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
      if (!PassesFlags(data.dwFileAttributes, flags)) continue;
      if (matcher.Matches(data.cFileName)) found.emplace_back(data.cFileName);
    } while (FindNextFileW(find.Get(), &data));
    // Any other end means the folder could not be read to the end.
    if (GetLastError() != ERROR_NO_MORE_FILES) return false;
  }
  SortInExplorerOrder(found);
  names = std::move(found);
  return true;
}

}  // namespace tarnivo

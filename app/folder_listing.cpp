#include "app/folder_listing.h"

#include "app/explorer_order.h"
#include "app/wildcard.h"
#include "win/handles.h"
#include "win/paths.h"

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

bool IsDotEntry(const wchar_t* name) {
  return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
}

std::uint64_t Ticks(const FILETIME& time) {
  return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

ListedFile FileOf(const WIN32_FIND_DATAW& data) {
  ListedFile file;
  file.Name = data.cFileName;
  file.ShortName = data.cAlternateFileName;
  file.Size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  file.Created = Ticks(data.ftCreationTime);
  file.LastWrite = Ticks(data.ftLastWriteTime);
  file.Attributes = data.dwFileAttributes;
  return file;
}

bool IsFolder(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(ExtendedPath(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

bool ListFolder(const std::wstring& folder, const std::wstring& pattern, const FileListFlags& flags,
                WorkList& listing) {
  // Enumerate everything and match the long names here: the system's own wildcard
  // search also matches 8.3 short names, which would list files that do not match.
  const WildcardPattern matcher(pattern);
  WIN32_FIND_DATAW data;
  // The standard level for the short names, which a new name can clash with too.
  UniqueFindHandle find(FindFirstFileExW(
      (EnsureTrailingBackslash(ExtendedPath(folder)) + L"*").c_str(), FindExInfoStandard, &data,
      FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
  std::vector<ListedFile> found;
  std::vector<std::wstring> others;
  if (find.Get() == INVALID_HANDLE_VALUE) {
    // An empty drive root has not even "." and "..": that is an empty list, not a failure.
    if (GetLastError() != ERROR_FILE_NOT_FOUND || !IsFolder(folder)) return false;
  } else {
    do {
      const bool listed = !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                          PassesFlags(data.dwFileAttributes, flags) &&
                          matcher.Matches(data.cFileName);
      if (listed) {
        found.push_back(FileOf(data));
        continue;
      }
      if (IsDotEntry(data.cFileName)) continue;
      others.emplace_back(data.cFileName);
      if (data.cAlternateFileName[0] != L'\0') others.emplace_back(data.cAlternateFileName);
    } while (FindNextFileW(find.Get(), &data));
    // Any other end means the folder could not be read to the end.
    if (GetLastError() != ERROR_NO_MORE_FILES) return false;
  }
  std::vector<std::wstring_view> names;
  names.reserve(found.size());
  for (const ListedFile& file : found) names.push_back(file.Name);
  const std::vector<std::size_t> order = ExplorerOrder(names);
  WorkList list;
  list.Folder = folder;
  list.Entries.reserve(order.size());
  for (const std::size_t index : order) list.Entries.push_back(std::move(found[index]));
  list.OtherNames = std::move(others);
  listing = std::move(list);
  return true;
}

}  // namespace tarnivo

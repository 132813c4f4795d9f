#include "app/file_list.h"

#include <commctrl.h>

#include <algorithm>

#include "win/handles.h"
#include "win/list_box.h"
#include "app/wildcard.h"
#include "settings/paths.h"

namespace tarnivo {

namespace {

constexpr UINT_PTR kSubclassId = 1;

bool IsRoot(const std::wstring& path) {
  return (path.size() == 3 && path[1] == L':' && path[2] == L'\\') || path == L"\\";
}

bool PassesFlags(DWORD attributes, const FileListFlags& flags) {
  if ((attributes & FILE_ATTRIBUTE_HIDDEN) && !flags.Hidden) return false;
  if ((attributes & FILE_ATTRIBUTE_SYSTEM) && !flags.System) return false;
  if (flags.ReadOnly && !(attributes & FILE_ATTRIBUTE_READONLY)) return false;
  if (flags.Archive && !(attributes & FILE_ATTRIBUTE_ARCHIVE)) return false;
  return flags.Normal || (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                        FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE));
}

bool IsFolder(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

using FindHandle = UniqueFindHandle;

// Sort keys for the shell's logical order. A key is a string of symbols compared one by
// one: a character is its rank (from kFirstCharacter on); a run of digits is kNumber,
// then the count of its significant digits, then those digits, so numbers compare by
// value and come before any other character, as in the shell.
constexpr char32_t kNumber = 1;
constexpr char32_t kFirstCharacter = 2;
constexpr size_t kCodeUnits = 0x10000;

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// -1, 0 or 1: how the user's locale orders two characters without regard to case, the
// comparison the shell's logical order applies character by character.
int CompareCharacters(LCID locale, wchar_t a, wchar_t b) {
  const int result = CompareStringW(locale, NORM_IGNORECASE, &a, 1, &b, 1);
  if (result != 0) return result - CSTR_EQUAL;
  // The locale cannot compare them: fall back to the upper-cased code units.
  const auto upper = [](wchar_t c) {
    CharUpperBuffW(&c, 1);
    return c;
  };
  return upper(a) < upper(b) ? -1 : upper(a) > upper(b) ? 1 : 0;
}

// The rank of each character (other than a digit) that occurs in `names`; characters
// the locale holds equal share a rank. Only the characters in use are compared, so
// this costs little next to comparing whole names through the locale.
std::vector<char32_t> CharacterRanks(const std::vector<std::wstring>& names) {
  std::vector<bool> seen(kCodeUnits);
  std::vector<wchar_t> used;
  for (const std::wstring& name : names) {
    for (const wchar_t c : name) {
      if (IsDigit(c) || seen[c]) continue;
      seen[c] = true;
      used.push_back(c);
    }
  }
  const LCID locale = GetThreadLocale();
  // A merge sort stays in bounds even if the locale's answers were not consistent.
  std::stable_sort(used.begin(), used.end(),
                   [locale](wchar_t a, wchar_t b) { return CompareCharacters(locale, a, b) < 0; });
  std::vector<char32_t> ranks(kCodeUnits);
  char32_t rank = kFirstCharacter;
  for (size_t i = 0; i < used.size(); ++i) {
    if (i > 0 && CompareCharacters(locale, used[i - 1], used[i]) != 0) ++rank;
    ranks[used[i]] = rank;
  }
  return ranks;
}

std::u32string SortKey(const std::wstring& name, const std::vector<char32_t>& ranks) {
  std::u32string key;
  key.reserve(name.size() + 4);
  for (size_t i = 0; i < name.size();) {
    if (!IsDigit(name[i])) {
      key.push_back(ranks[name[i]]);
      ++i;
      continue;
    }
    size_t end = i;
    while (end < name.size() && IsDigit(name[end])) ++end;
    while (i + 1 < end && name[i] == L'0') ++i;  // leading zeros do not change the number
    const size_t digits = name[i] == L'0' ? 0 : end - i;
    key.push_back(kNumber);
    key.push_back(static_cast<char32_t>(digits));
    for (size_t d = end - digits; d < end; ++d)
      key.push_back(static_cast<char32_t>(name[d] - L'0'));
    i = end;
  }
  return key;
}

}  // namespace

void SortInExplorerOrder(std::vector<std::wstring>& names) {
  const std::vector<char32_t> ranks = CharacterRanks(names);
  struct Item {
    std::u32string Key;
    std::wstring* Name;
  };
  std::vector<Item> items;
  items.reserve(names.size());
  for (std::wstring& name : names) items.push_back({SortKey(name, ranks), &name});
  std::sort(items.begin(), items.end(), [](const Item& a, const Item& b) {
    const int order = a.Key.compare(b.Key);
    return order != 0 ? order < 0 : *a.Name < *b.Name;
  });
  std::vector<std::wstring> sorted;
  sorted.reserve(names.size());
  for (Item& item : items) sorted.push_back(std::move(*item.Name));
  names = std::move(sorted);
}

std::wstring NormalizeFolder(const std::wstring& folder) {
  const DWORD needed = GetFullPathNameW(folder.c_str(), 0, nullptr, nullptr);
  std::wstring full;
  if (needed > 0) {
    full.resize(needed);
    const DWORD copied = GetFullPathNameW(folder.c_str(), needed, full.data(), nullptr);
    full.resize(copied < needed ? copied : 0);
  }
  if (full.empty()) full = folder;
  while (full.size() > 1 && full.back() == L'\\' && !IsRoot(full)) full.pop_back();
  return full;
}

bool ListFolder(const std::wstring& folder, const std::wstring& pattern, const FileListFlags& flags,
                std::vector<std::wstring>& names) {
  // Enumerate everything and match the long names here: the system's own wildcard
  // search also matches 8.3 short names, which would list files that do not match.
  const WildcardPattern matcher(pattern);
  WIN32_FIND_DATAW data;
  FindHandle find(FindFirstFileExW((EnsureTrailingBackslash(folder) + L"*").c_str(),
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

bool FileList::Create(HWND parent, int controlId, const RECT& bounds) {
  list_ = CreateDatalessListBox(parent, controlId, bounds);
  if (!list_) return false;
  if (!SetWindowSubclass(list_, ListProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this))) {
    return false;
  }
  // A new list shows the process's working folder until a path is set.
  std::wstring current(MAX_PATH, L'\0');
  const DWORD copied = GetCurrentDirectoryW(static_cast<DWORD>(current.size()), current.data());
  current.resize(copied < current.size() ? copied : 0);
  if (!SetPath(current.empty() ? std::wstring(L".") : current)) path_ = NormalizeFolder(current);
  return true;
}

bool FileList::Reload(const std::wstring& folder) {
  std::vector<std::wstring> names;
  if (!ListFolder(folder, pattern_, flags_, names)) return false;
  entries_ = std::move(names);
  ShowEntries();
  return true;
}

void FileList::ShowEntries() {
  if (!list_) return;
  // The box holds no data of its own, so setting the count is the whole refill.
  SendMessageW(list_, LB_SETCOUNT, entries_.size(), 0);
  InvalidateRect(list_, nullptr, TRUE);
}

bool FileList::SetPath(const std::wstring& folder) {
  // An empty path names no folder (joined with "*" it would search the drive's root).
  if (folder.empty()) return false;
  const std::wstring normalized = NormalizeFolder(folder);
  if (!Reload(normalized)) return false;
  path_ = normalized;
  return true;
}

void FileList::SetPattern(const std::wstring& pattern) {
  pattern_ = pattern;
  Refresh();
}

void FileList::SetHidden(bool value) {
  flags_.Hidden = value;
  Refresh();
}

void FileList::SetSystem(bool value) {
  flags_.System = value;
  Refresh();
}

void FileList::SetReadOnly(bool value) {
  flags_.ReadOnly = value;
  Refresh();
}

void FileList::SetArchive(bool value) {
  flags_.Archive = value;
  Refresh();
}

void FileList::Refresh() {
  if (Reload(path_)) return;
  entries_.clear();  // the folder vanished or cannot be read any more
  ShowEntries();
}

int32_t FileList::ListIndex() const {
  if (!list_) return -1;
  const LRESULT index = SendMessageW(list_, LB_GETCURSEL, 0, 0);
  return index == LB_ERR ? -1 : static_cast<int32_t>(index);
}

void FileList::SetListIndex(int32_t index) {
  if (list_) SendMessageW(list_, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

std::wstring FileList::FileName() const {
  const int32_t index = ListIndex();
  return index >= 0 && index < Count() ? entries_[static_cast<size_t>(index)] : std::wstring();
}

void FileList::SetFont(HFONT font) { SetListBoxFont(list_, font); }

void FileList::DrawItem(const DRAWITEMSTRUCT& item) const {
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  // Rows take the colours the parent gives the whole list, so the rows and the empty
  // part below them look the same.
  HBRUSH background = nullptr;
  COLORREF text = GetSysColor(COLOR_WINDOWTEXT);
  if (selected) {
    background = GetSysColorBrush(COLOR_HIGHLIGHT);
    text = GetSysColor(COLOR_HIGHLIGHTTEXT);
  } else {
    background = reinterpret_cast<HBRUSH>(SendMessageW(GetParent(item.hwndItem), WM_CTLCOLORLISTBOX,
                                                       reinterpret_cast<WPARAM>(item.hDC),
                                                       reinterpret_cast<LPARAM>(item.hwndItem)));
    if (background) {
      text = GetTextColor(item.hDC);
    } else {
      background = GetSysColorBrush(COLOR_WINDOW);
    }
  }
  FillRect(item.hDC, &item.rcItem, background);
  if (item.itemID != static_cast<UINT>(-1) && item.itemID < entries_.size()) {
    const std::wstring& name = entries_[item.itemID];
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, text);
    RECT bounds = item.rcItem;
    bounds.left += 2;
    DrawTextW(item.hDC, name.c_str(), static_cast<int>(name.size()), &bounds,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  }
  if (item.itemState & ODS_FOCUS) DrawFocusRect(item.hDC, &item.rcItem);
}

LRESULT CALLBACK FileList::ListProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                    DWORD_PTR data) {
  auto* self = reinterpret_cast<FileList*>(data);
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN:
      if (self->OnMouseDown) self->OnMouseDown();
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(hwnd, ListProc, kSubclassId);
      break;
    default:
      break;
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace tarnivo

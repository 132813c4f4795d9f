#include "app/file_list.h"

#include <commctrl.h>
#include <shlwapi.h>

#include <algorithm>

#include "app/wildcard.h"
#include "settings/paths.h"

namespace tarnivo {

namespace {

constexpr UINT_PTR kSubclassId = 1;

bool IsRoot(const std::wstring& path) {
  return (path.size() == 3 && path[1] == L':' && path[2] == L'\\') || path == L"\\";
}

bool PassesFlags(DWORD attributes, const FileListFlags& flags) {
  if ((attributes & FILE_ATTRIBUTE_HIDDEN) && !flags.hidden) return false;
  if ((attributes & FILE_ATTRIBUTE_SYSTEM) && !flags.system) return false;
  if (flags.readOnly && !(attributes & FILE_ATTRIBUTE_READONLY)) return false;
  if (flags.archive && !(attributes & FILE_ATTRIBUTE_ARCHIVE)) return false;
  return flags.normal || (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                        FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE));
}

class FindHandle {
 public:
  explicit FindHandle(HANDLE h) : h_(h) {}
  FindHandle(const FindHandle&) = delete;
  FindHandle& operator=(const FindHandle&) = delete;
  ~FindHandle() {
    if (h_ != INVALID_HANDLE_VALUE) FindClose(h_);
  }
  HANDLE Get() const { return h_; }

 private:
  HANDLE h_;
};

}  // namespace

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

bool ListFolder(const std::wstring& folder, const std::wstring& pattern,
                const FileListFlags& flags, std::vector<std::wstring>& names) {
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
    if (GetLastError() != ERROR_FILE_NOT_FOUND) return false;
  } else {
    do {
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
      if (!PassesFlags(data.dwFileAttributes, flags)) continue;
      if (matcher.Matches(data.cFileName)) found.emplace_back(data.cFileName);
    } while (FindNextFileW(find.Get(), &data));
  }
  std::sort(found.begin(), found.end(), [](const std::wstring& a, const std::wstring& b) {
    return StrCmpLogicalW(a.c_str(), b.c_str()) < 0;
  });
  names = std::move(found);
  return true;
}

bool FileList::Create(HWND parent, int controlId, const RECT& bounds) {
  list_ = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTBOXW, L"",
                          WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY |
                              LBS_NODATA | LBS_OWNERDRAWFIXED | LBS_NOINTEGRALHEIGHT,
                          bounds.left, bounds.top, bounds.right - bounds.left,
                          bounds.bottom - bounds.top, parent,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)),
                          GetModuleHandleW(nullptr), nullptr);
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
  const std::wstring normalized = NormalizeFolder(folder);
  if (!Reload(normalized)) return false;
  path_ = normalized;
  return true;
}

void FileList::SetPattern(const std::wstring& pattern) {
  pattern_ = pattern;
  Refresh();
}

void FileList::SetHidden(bool value) { flags_.hidden = value; Refresh(); }
void FileList::SetSystem(bool value) { flags_.system = value; Refresh(); }
void FileList::SetReadOnly(bool value) { flags_.readOnly = value; Refresh(); }
void FileList::SetArchive(bool value) { flags_.archive = value; Refresh(); }

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

void FileList::SetFont(HFONT font) {
  SendMessageW(list_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  HDC dc = GetDC(list_);
  if (!dc) return;
  const HGDIOBJ old = SelectObject(dc, font);
  TEXTMETRICW metrics{};
  if (GetTextMetricsW(dc, &metrics)) {
    SendMessageW(list_, LB_SETITEMHEIGHT, 0, MAKELPARAM(metrics.tmHeight + 2, 0));
  }
  SelectObject(dc, old);
  ReleaseDC(list_, dc);
}

void FileList::DrawItem(const DRAWITEMSTRUCT& item) const {
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  FillRect(item.hDC, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
  if (item.itemID != static_cast<UINT>(-1) && item.itemID < entries_.size()) {
    const std::wstring& name = entries_[item.itemID];
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    RECT text = item.rcItem;
    text.left += 2;
    DrawTextW(item.hDC, name.c_str(), static_cast<int>(name.size()), &text,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  }
  if (item.itemState & ODS_FOCUS) DrawFocusRect(item.hDC, &item.rcItem);
}

LRESULT CALLBACK FileList::ListProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                    UINT_PTR, DWORD_PTR data) {
  auto* self = reinterpret_cast<FileList*>(data);
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN:
      if (self->onMouseDown) self->onMouseDown();
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

#include "app/file_list.h"

#include <commctrl.h>

#include "settings/paths.h"
#include "win/list_box.h"

namespace tarnivo {

namespace {

constexpr UINT_PTR kSubclassId = 1;

}  // namespace

bool FileList::Create(HWND parent, int controlId, const RECT& bounds) {
  list_ = CreateDatalessListBox(parent, controlId, bounds);
  if (!list_) return false;
  if (!SetWindowSubclass(list_, ListProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this))) {
    return false;
  }
  // A new list stands on the process's working folder until a path is set. It is read
  // only when it is first shown: at start-up the folder of the command line comes at once.
  const std::wstring current = CurrentDirectory();
  const std::wstring full = FullFolderPath(current.empty() ? std::wstring(L".") : current);
  path_ = full.empty() ? current : full;
  return true;
}

bool FileList::Reload(const std::wstring& folder) {
  std::vector<std::wstring> names;
  if (!ListFolder(folder, pattern_, flags_, names)) return false;
  entries_ = std::move(names);
  read_ = true;
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
  const std::wstring full = FullFolderPath(folder);
  if (full.empty() || !Reload(full)) return false;
  path_ = full;
  return true;
}

void FileList::SetPattern(const std::wstring& pattern) {
  pattern_ = pattern;
  RefreshIfRead();
}

void FileList::SetHidden(bool value) {
  flags_.Hidden = value;
  RefreshIfRead();
}

void FileList::SetSystem(bool value) {
  flags_.System = value;
  RefreshIfRead();
}

void FileList::SetReadOnly(bool value) {
  flags_.ReadOnly = value;
  RefreshIfRead();
}

void FileList::SetArchive(bool value) {
  flags_.Archive = value;
  RefreshIfRead();
}

void FileList::RefreshIfRead() {
  if (read_) Refresh();
}

void FileList::EnsureRead() {
  if (!read_) Refresh();
}

void FileList::Refresh() {
  if (Reload(path_)) return;
  read_ = true;
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

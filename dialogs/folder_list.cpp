#include "dialogs/folder_list.h"

#include <commctrl.h>
#include <shlwapi.h>

#include <algorithm>

#include "win/handles.h"
#include "win/list_box.h"
#include "win/paths.h"

namespace tarnivo {

namespace {

constexpr int kGlyphWidth = 14;
constexpr int kGlyphHeight = 10;

using FindHandle = UniqueFindHandle;

// Makes the thread's file calls fail instead of showing the system's "insert a disk"
// message, for as long as it lives.
class CriticalErrorsFail {
 public:
  CriticalErrorsFail() {
    changed_ = SetThreadErrorMode(SEM_FAILCRITICALERRORS, &previous_) != FALSE;
  }
  CriticalErrorsFail(const CriticalErrorsFail&) = delete;
  CriticalErrorsFail& operator=(const CriticalErrorsFail&) = delete;
  ~CriticalErrorsFail() {
    if (changed_) SetThreadErrorMode(previous_, nullptr);
  }

 private:
  DWORD previous_ = 0;
  bool changed_ = false;
};

// The folders inside `path`, sorted. False when `path` cannot be read.
bool ReadSubfolders(const std::wstring& path, std::vector<std::wstring>& names) {
  WIN32_FIND_DATAW data;
  FindHandle find(FindFirstFileExW((EnsureTrailingBackslash(ExtendedPath(path)) + L"*").c_str(),
                                   FindExInfoBasic, &data, FindExSearchLimitToDirectories, nullptr,
                                   FIND_FIRST_EX_LARGE_FETCH));
  std::vector<std::wstring> found;
  if (find.Get() == INVALID_HANDLE_VALUE) {
    // An empty drive root has not even "." and "..": an empty list, not a failure.
    if (GetLastError() != ERROR_FILE_NOT_FOUND) return false;
  } else {
    do {
      if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
      const std::wstring name = data.cFileName;
      if (name != L"." && name != L"..") found.push_back(name);
    } while (FindNextFileW(find.Get(), &data));
    // Any other end means the folder could not be read to the end.
    if (GetLastError() != ERROR_NO_MORE_FILES) return false;
  }
  std::sort(found.begin(), found.end(), [](const std::wstring& a, const std::wstring& b) {
    return StrCmpLogicalW(a.c_str(), b.c_str()) < 0;
  });
  names = std::move(found);
  return true;
}

void FillWith(HDC dc, const RECT& rect, COLORREF color) {
  SetDCBrushColor(dc, color);
  FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

// A small folder: closed for the folders inside the opened one, open for the rest.
void DrawFolderGlyph(HDC dc, int x, int y, bool open) {
  constexpr COLORREF kEdge = RGB(128, 96, 0);
  const RECT tab{x, y, x + 6, y + 2};
  const RECT body{x, y + 2, x + kGlyphWidth, y + kGlyphHeight};
  FillWith(dc, tab, kEdge);
  FillWith(dc, body, kEdge);
  const RECT inside{body.left + 1, body.top + 1, body.right - 1, body.bottom - 1};
  FillWith(dc, inside, open ? RGB(255, 250, 220) : RGB(240, 200, 80));
  if (!open) return;
  const POINT flap[] = {{x + 3, y + 5},
                        {x + kGlyphWidth + 2, y + 5},
                        {x + kGlyphWidth - 1, y + kGlyphHeight},
                        {x, y + kGlyphHeight}};
  const SelectedObject pen(dc, GetStockObject(DC_PEN));
  const SelectedObject brush(dc, GetStockObject(DC_BRUSH));
  SetDCPenColor(dc, kEdge);
  SetDCBrushColor(dc, RGB(240, 200, 80));
  Polygon(dc, flap, 4);
}

}  // namespace

bool ReadFolderRows(const std::wstring& path, std::vector<FolderRow>& rows) {
  // A drive without a medium fails quietly here instead of asking the user for a disk.
  const CriticalErrorsFail quiet;
  const DWORD attributes = GetFileAttributesW(ExtendedPath(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
    return false;
  const wchar_t* rest = PathSkipRootW(path.c_str());
  if (!rest) return false;  // no root: not a full path
  std::vector<std::wstring> inside;
  if (!ReadSubfolders(path, inside)) return false;

  std::vector<FolderRow> result;
  std::wstring root(path.c_str(), rest);
  root = EnsureTrailingBackslash(root);
  result.push_back({root, root, 0, true});
  std::wstring current = root;
  int level = 0;
  for (const wchar_t* part = rest; *part;) {
    const wchar_t* end = part;
    while (*end && *end != L'\\') ++end;
    if (end != part) {
      const std::wstring name(part, end);
      current = (level == 0 ? current : current + L"\\") + name;
      result.push_back({current, name, ++level, true});
    }
    part = *end ? end + 1 : end;
  }
  for (const std::wstring& name : inside) {
    result.push_back({EnsureTrailingBackslash(current) + name, name, level + 1, false});
  }
  rows = std::move(result);
  return true;
}

bool FolderList::Create(HWND parent, int controlId, const RECT& bounds) {
  list_ = CreateDatalessListBox(parent, controlId, bounds);
  return list_ != nullptr;
}

bool FolderList::SetPath(const std::wstring& folder) {
  const std::wstring full = FullFolderPath(folder);
  std::vector<FolderRow> rows;
  if (full.empty() || !ReadFolderRows(full, rows)) return false;
  path_ = full;
  rows_ = std::move(rows);
  // The box holds no data of its own: setting the count is the whole refill.
  SendMessageW(list_, LB_SETCOUNT, rows_.size(), 0);
  const auto opened =
      std::find_if(rows_.rbegin(), rows_.rend(), [](const FolderRow& r) { return r.Open; });
  SendMessageW(list_, LB_SETCURSEL, static_cast<WPARAM>(rows_.rend() - opened - 1), 0);
  InvalidateRect(list_, nullptr, TRUE);
  return true;
}

int32_t FolderList::ListIndex() const {
  const LRESULT index = SendMessageW(list_, LB_GETCURSEL, 0, 0);
  return index == LB_ERR ? -1 : static_cast<int32_t>(index);
}

void FolderList::SetFont(HFONT font) {
  const std::optional<TEXTMETRICW> metrics = SetListBoxFont(list_, font, kGlyphHeight + 4);
  if (metrics) indent_ = std::max<int>(metrics->tmAveCharWidth * 2, kGlyphWidth / 2);
}

void FolderList::SetColors(COLORREF back, COLORREF text) {
  back_ = back;
  text_ = text;
  InvalidateRect(list_, nullptr, TRUE);
}

void FolderList::DrawItem(const DRAWITEMSTRUCT& item) const {
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  FillWith(item.hDC, item.rcItem, selected ? GetSysColor(COLOR_HIGHLIGHT) : back_);
  if (item.itemID != static_cast<UINT>(-1) && item.itemID < rows_.size()) {
    const FolderRow& row = rows_[item.itemID];
    const int x = item.rcItem.left + 2 + row.Level * indent_;
    const int height = item.rcItem.bottom - item.rcItem.top;
    DrawFolderGlyph(item.hDC, x, item.rcItem.top + (height - kGlyphHeight) / 2, row.Open);
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : text_);
    RECT text = item.rcItem;
    text.left = x + kGlyphWidth + 4;
    DrawTextW(item.hDC, row.Name.c_str(), static_cast<int>(row.Name.size()), &text,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  }
  if (item.itemState & ODS_FOCUS) DrawFocusRect(item.hDC, &item.rcItem);
}

}  // namespace tarnivo

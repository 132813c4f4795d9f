#include "app/file_list.h"

#include <commctrl.h>
#include <windowsx.h>

#include "win/list_box.h"
#include "win/paths.h"

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
  auto unread = std::make_shared<WorkList>();
  unread->Folder = path_;
  view_.SetListing(std::move(unread), true);
  return true;
}

bool FileList::Reload(const std::wstring& folder, bool tickAll) {
  auto listing = std::make_shared<WorkList>();
  if (!ListFolder(folder, pattern_, flags_, *listing)) return false;
  view_.SetListing(std::move(listing), tickAll || !read_ || folder != path_);
  path_ = folder;
  read_ = true;
  ShowEntries();
  return true;
}

void FileList::ShowEntries() {
  if (list_) {
    // The box holds no data of its own, so setting the count is the whole refill.
    SendMessageW(list_, LB_SETCOUNT, static_cast<WPARAM>(view_.Count()), 0);
    InvalidateRect(list_, nullptr, TRUE);
  }
  if (OnChanged) OnChanged();
}

void FileList::SetOrder(ListOrder order, std::vector<std::optional<DateTime>> taken) {
  view_.SetOrder(order, std::move(taken));
  ShowEntries();
}

// A tick changes the rows' colours and the run, not the rows themselves.
void FileList::SetTicked(int32_t index, bool ticked) {
  if (view_.Ticked(index) == ticked) return;
  view_.SetTicked(index, ticked);
  ShowTicks();
}

void FileList::SetEntriesTicked(const std::vector<int32_t>& entries, bool ticked) {
  view_.SetEntriesTicked(entries, ticked);
  ShowTicks();
}

void FileList::InvertEntries(const std::vector<int32_t>& entries) {
  view_.InvertEntries(entries);
  ShowTicks();
}

void FileList::TickAll(bool ticked) {
  view_.TickAll(ticked);
  ShowTicks();
}

void FileList::InvertTicks() {
  view_.InvertTicks();
  ShowTicks();
}

void FileList::ShowTicks() {
  if (list_) InvalidateRect(list_, nullptr, TRUE);
  if (OnChanged) OnChanged();
}

bool FileList::SetPath(const std::wstring& folder) {
  // An empty path names no folder (joined with "*" it would search the drive's root).
  if (folder.empty()) return false;
  const std::wstring full = FullFolderPath(folder);
  return !full.empty() && Reload(full, false);
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

void FileList::Refresh(bool tickAll) {
  if (Reload(path_, tickAll)) return;
  read_ = true;
  // The folder vanished or cannot be read any more.
  auto empty = std::make_shared<WorkList>();
  empty->Folder = path_;
  view_.SetListing(std::move(empty), true);
  ShowEntries();
}

std::vector<std::wstring> FileList::Names() const {
  std::vector<std::wstring> names;
  names.reserve(static_cast<size_t>(view_.Count()));
  for (int32_t row = 0; row < view_.Count(); ++row) names.push_back(view_.At(row).Name);
  return names;
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
  return index >= 0 && index < Count() ? Entry(index) : std::wstring();
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
  const auto row = static_cast<int32_t>(item.itemID);
  if (item.itemID != static_cast<UINT>(-1) && row < view_.Count()) {
    const std::wstring& name = view_.At(row).Name;
    SetBkMode(item.hDC, TRANSPARENT);
    // A file left out of the run is drawn grey.
    SetTextColor(item.hDC, view_.Ticked(row) || selected ? text : GetSysColor(COLOR_GRAYTEXT));
    RECT bounds = item.rcItem;
    bounds.left += 2;
    DrawTextW(item.hDC, name.c_str(), static_cast<int>(name.size()), &bounds,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  }
  if (item.itemState & ODS_FOCUS) DrawFocusRect(item.hDC, &item.rcItem);
}

void FileList::EnableTips(std::function<std::wstring(int32_t index)> tipText) {
  tipText_ = std::move(tipText);
}

// The tip window is made when the mouse first moves over the list: a top-level window
// costs start-up a few milliseconds, and most starts never point at an entry.
bool FileList::CreateTip() {
  const HWND parent = GetParent(list_);
  tip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                         WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                         CW_USEDEFAULT, CW_USEDEFAULT, parent, nullptr, GetModuleHandleW(nullptr),
                         nullptr);
  if (!tip_) return false;
  TTTOOLINFOW tool{sizeof(tool)};
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = parent;
  tool.uId = reinterpret_cast<UINT_PTR>(list_);
  tool.lpszText = const_cast<wchar_t*>(L"");
  if (!SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool))) {
    DestroyWindow(tip_);
    tip_ = nullptr;
    return false;
  }
  // A width makes the tip break its lines at CR LF: the new name, then the reason.
  RECT bounds{};
  GetClientRect(list_, &bounds);
  SendMessageW(tip_, TTM_SETMAXTIPWIDTH, 0, 2 * (bounds.right - bounds.left));
  return true;
}

int32_t FileList::EntryAt(POINT client) const {
  // LB_ITEMFROMPOINT answers in 16 bits; the list holds more entries than that.
  const LRESULT top = SendMessageW(list_, LB_GETTOPINDEX, 0, 0);
  const LRESULT height = SendMessageW(list_, LB_GETITEMHEIGHT, 0, 0);
  if (top == LB_ERR || height == LB_ERR || height <= 0 || client.y < 0) return -1;
  const auto index = static_cast<int64_t>(top) + client.y / height;
  return index < Count() ? static_cast<int32_t>(index) : -1;
}

void FileList::OnMouseMove(const MSG& move) {
  if (!tipText_) return;
  if (!tip_) {
    // A refused tip window is asked for again at the next move; the list works without.
    if (!CreateTip()) return;
    // The tip subclasses the list from now on: this first move is handed to it by hand.
    SendMessageW(tip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&move));
  }
  const POINT client{GET_X_LPARAM(move.lParam), GET_Y_LPARAM(move.lParam)};
  const int32_t entry = EntryAt(client);
  if (entry == tipEntry_) return;
  tipEntry_ = entry;
  // The tip of the last entry goes; the new one shows after the usual pause.
  SendMessageW(tip_, TTM_POP, 0, 0);
  RefreshTip();
}

void FileList::RefreshTip() {
  if (!tip_) return;
  std::wstring text = tipEntry_ >= 0 && tipEntry_ < Count() && tipText_ ? tipText_(tipEntry_) : L"";
  TTTOOLINFOW tool{sizeof(tool)};
  tool.hwnd = GetParent(list_);
  tool.uId = reinterpret_cast<UINT_PTR>(list_);
  tool.lpszText = text.data();
  SendMessageW(tip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
  if (text.empty()) SendMessageW(tip_, TTM_POP, 0, 0);
}

LRESULT CALLBACK FileList::ListProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                    DWORD_PTR data) {
  auto* self = reinterpret_cast<FileList*>(data);
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN:
    // The second press of a double click is a press too.
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
    case WM_XBUTTONDBLCLK:
      if (self->OnMouseDown) {
        POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ClientToScreen(hwnd, &at);
        const UINT press = message == WM_LBUTTONDBLCLK   ? WM_LBUTTONDOWN
                           : message == WM_RBUTTONDBLCLK ? WM_RBUTTONDOWN
                           : message == WM_MBUTTONDBLCLK ? WM_MBUTTONDOWN
                           : message == WM_XBUTTONDBLCLK ? WM_XBUTTONDOWN
                                                         : message;
        self->OnMouseDown(press, at);
      }
      break;
    case WM_MOUSEMOVE:
      self->OnMouseMove(MSG{hwnd, message, wParam, lParam});
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

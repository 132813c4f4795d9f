#include "app/preview_window.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "app/control_ids.h"
#include "engine/error_log.h"
#include "win/fonts.h"
#include "win/twips.h"
#include "win/window_class.h"

namespace tarnivo {

namespace {

constexpr COLORREF kFailingColor = RGB(204, 0, 0);
constexpr COLORREF kUnchangedColor = RGB(128, 128, 128);

// The pop-up menu of the rows' ticks.
constexpr int kTickAll = 1;     // "全部勾选"
constexpr int kTickNone = 2;    // "全部不选"
constexpr int kTickInvert = 3;  // "反向勾选"
// The state images of the check boxes.
constexpr UINT kUnticked = 1;
constexpr UINT kTicked = 2;

// Pixels at 96 dpi.
constexpr int kWantedWidth = 600;
constexpr int kLeastWidth = 320;
constexpr int kLeastHeight = 200;
constexpr int kSummaryMargin = 4;

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

// The work area of the monitor that holds most of `window`.
RECT WorkAreaOf(HWND window) {
  MONITORINFO monitor{sizeof(monitor)};
  if (GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor)) {
    return monitor.rcWork;
  }
  RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  return work;
}

// A place of `wanted` size, shrunk to `work` if need be, that does not cover `owner`: to
// its right, left, below or above, the first where the whole size fits; else the largest
// of at least `least`; else (a screen too small) at the right edge of `work`.
RECT PlaceBeside(const RECT& owner, SIZE wanted, SIZE least, const RECT& work) {
  const SIZE size{std::min<LONG>(wanted.cx, Width(work)), std::min<LONG>(wanted.cy, Height(work))};
  const auto within = [](LONG value, LONG low, LONG high) {
    return std::max(low, std::min(value, high));
  };
  const RECT rooms[] = {
      {std::max(owner.right, work.left), work.top, work.right, work.bottom},
      {work.left, work.top, std::min(owner.left, work.right), work.bottom},
      {work.left, std::max(owner.bottom, work.top), work.right, work.bottom},
      {work.left, work.top, work.right, std::min(owner.top, work.bottom)},
  };
  RECT best{};
  LONG bestArea = -1;
  for (int side = 0; side < 4; ++side) {
    const RECT& room = rooms[side];
    const LONG width = std::min<LONG>(size.cx, std::max(0, Width(room)));
    const LONG height = std::min<LONG>(size.cy, std::max(0, Height(room)));
    const bool across = side < 2;
    LONG left = across ? (side == 0 ? room.left : room.right - width)
                       : within(owner.left, room.left, room.right - width);
    LONG top = across ? within(owner.top, room.top, room.bottom - height)
                      : (side == 2 ? room.top : room.bottom - height);
    const RECT place{left, top, left + width, top + height};
    if (width == size.cx && height == size.cy) return place;
    if (width >= least.cx && height >= least.cy && width * height > bestArea) {
      best = place;
      bestArea = width * height;
    }
  }
  if (bestArea >= 0) return best;
  const LONG top = within(owner.top, work.top, work.bottom - size.cy);
  return RECT{work.right - size.cx, top, work.right, top + size.cy};
}

void CopyText(const std::wstring& text, LPWSTR buffer, int capacity) {
  if (!buffer || capacity <= 0) return;
  const std::size_t length =
      std::min<std::size_t>(text.size(), static_cast<std::size_t>(capacity - 1));
  text.copy(buffer, length);
  buffer[length] = L'\0';
}

}  // namespace

PreviewWindow::~PreviewWindow() {
  if (hwnd_) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

bool PreviewWindow::Create(HWND owner) {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  const WindowClassSpec windowClass{kClassName, RoutedWindowProc<PreviewWindow>, nullptr, nullptr,
                                    GetSysColorBrush(COLOR_BTNFACE)};
  if (!RegisterWindowClass(windowClass)) return false;
  owner_ = owner;
  dpi_ = WindowDpi(owner);
  constexpr DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN;
  if (!CreateWindowExW(0, kClassName, kCaption, style, 0, 0, 0, 0, owner, nullptr, instance,
                       this)) {
    return false;
  }
  const auto child = [&](const wchar_t* windowClass, DWORD childStyle, int id) {
    return CreateWindowExW(0, windowClass, L"", WS_CHILD | WS_VISIBLE | childStyle, 0, 0, 0, 0,
                           hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance,
                           nullptr);
  };
  list_ =
      child(WC_LISTVIEWW, WS_TABSTOP | WS_BORDER | LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS,
            ids::PreviewList);
  summary_ = child(WC_STATICW, SS_LEFT | SS_NOPREFIX | SS_ENDELLIPSIS, ids::PreviewSummary);
  if (!list_ || !summary_) {
    DestroyWindow(hwnd_);
    return false;
  }
  constexpr DWORD extended = LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER | LVS_EX_CHECKBOXES;
  SendMessageW(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, extended, extended);
  // The list keeps no ticks of its own: it asks for each row's check box.
  SendMessageW(list_, LVM_SETCALLBACKMASK, LVIS_STATEIMAGEMASK, 0);
  const wchar_t* const headers[] = {L"原文件名", L"新文件名", L"状态"};
  for (int column = 0; column < 3; ++column) {
    LVCOLUMNW columnInfo{};
    columnInfo.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    columnInfo.pszText = const_cast<wchar_t*>(headers[column]);
    columnInfo.cx = MulDiv(column == 2 ? 220 : 170, dpi_, 96);
    columnInfo.iSubItem = column;
    if (SendMessageW(list_, LVM_INSERTCOLUMNW, column, reinterpret_cast<LPARAM>(&columnInfo)) < 0) {
      DestroyWindow(hwnd_);
      return false;
    }
  }
  ApplyFont();
  return true;
}

bool PreviewWindow::Open(HWND owner) {
  if (!hwnd_ && !Create(owner)) return false;
  if (!IsWindowVisible(hwnd_)) PlaceBesideOwner();
  // In front of the other windows, while the focus stays in the main window: the user
  // goes on typing the template and watches the rows follow.
  SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
  Show(result_, checking_);
  return true;
}

void PreviewWindow::Hide() {
  if (hwnd_) ShowWindow(hwnd_, SW_HIDE);
}

void PreviewWindow::PlaceBesideOwner() {
  RECT owner{};
  if (!GetWindowRect(owner_, &owner)) return;
  const SIZE wanted{MulDiv(kWantedWidth, dpi_, 96), Height(owner)};
  const SIZE least{MulDiv(kLeastWidth, dpi_, 96), MulDiv(kLeastHeight, dpi_, 96)};
  const RECT place = PlaceBeside(owner, wanted, least, WorkAreaOf(owner_));
  SetWindowPos(hwnd_, nullptr, place.left, place.top, Width(place), Height(place),
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void PreviewWindow::ApplyFont() {
  UniqueFont font = MakeMessageFont(dpi_);
  if (!font) return;  // the controls keep the font they have
  for (const HWND control : {list_, summary_}) {
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), TRUE);
  }
  font_ = std::move(font);
  Layout();
}

void PreviewWindow::Layout() {
  RECT client{};
  if (!list_ || !GetClientRect(hwnd_, &client)) return;
  TEXTMETRICW metrics{};
  const WindowDc dc(summary_);
  const SelectedObject selected(dc.Get(), font_.Get());
  const int lineHeight = dc && GetTextMetricsW(dc.Get(), &metrics) ? metrics.tmHeight : 16;
  const int margin = MulDiv(kSummaryMargin, dpi_, 96);
  const int summaryHeight = lineHeight + 2 * margin;
  const int listHeight = std::max(0, Height(client) - summaryHeight);
  MoveWindow(list_, 0, 0, Width(client), listHeight, TRUE);
  MoveWindow(summary_, margin, listHeight + margin, std::max(0, Width(client) - 2 * margin),
             lineHeight, TRUE);
}

void PreviewWindow::Show(std::shared_ptr<const PreviewResult> result, bool checking) {
  result_ = std::move(result);
  checking_ = checking;
  if (!hwnd_) return;
  const std::size_t rows = RowCount();
  // While typing the count stays: only the rows in view are drawn again.
  if (static_cast<std::size_t>(SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0)) != rows) {
    SendMessageW(list_, LVM_SETITEMCOUNT, rows, LVSICF_NOSCROLL);
  }
  InvalidateRect(list_, nullptr, FALSE);
  ShowSummary();
}

void PreviewWindow::ShowSummary() {
  const std::wstring text =
      checking_ || !result_
          ? std::wstring(kPreviewChecking)
          : PreviewSummaryText(result_->Counts, result_->Shown ? result_->Shown->LeftOut : 0);
  SetWindowTextW(summary_, text.c_str());
}

// Every row the list showed, the left-out ones among them.
std::size_t PreviewWindow::RowCount() const {
  if (!result_) return 0;
  return result_->Shown ? result_->Shown->RowListing.size() : result_->Rows.size();
}

// The run's row of a row shown; null for a row left out of the run.
const PreviewRow* PreviewWindow::RowAt(std::size_t index) const {
  if (!result_) return nullptr;
  if (const RowMap* shown = result_->Shown.get()) {
    if (index >= shown->RowWork.size() || shown->RowWork[index] < 0) return nullptr;
    index = static_cast<std::size_t>(shown->RowWork[index]);
  }
  return index < result_->Rows.size() ? &result_->Rows[index] : nullptr;
}

bool PreviewWindow::RowTicked(std::int32_t row) const {
  const RowMap* shown = result_ ? result_->Shown.get() : nullptr;
  if (!shown) return true;
  if (IsTicked) return IsTicked(*shown, row);
  return row >= 0 && static_cast<std::size_t>(row) < shown->RowWork.size() &&
         shown->RowWork[static_cast<std::size_t>(row)] >= 0;
}

void PreviewWindow::FillItemText(NMLVDISPINFOW& info) const {
  const auto index = static_cast<std::size_t>(info.item.iItem);
  if (info.item.mask & LVIF_STATE) {
    info.item.state = INDEXTOSTATEIMAGEMASK(RowTicked(info.item.iItem) ? kTicked : kUnticked);
    info.item.stateMask = LVIS_STATEIMAGEMASK;
  }
  if (!(info.item.mask & LVIF_TEXT) || index >= RowCount()) return;
  const PreviewRow* row = RowAt(index);
  std::wstring text;
  switch (info.item.iSubItem) {
    case 0: {
      const RowMap* shown = result_->Shown.get();
      text = LoggedText(
          shown ? shown->Listing->Entries[static_cast<std::size_t>(shown->RowListing[index])].Name
                : result_->List->Entries[index].Name);
      break;
    }
    case 1:
      if (row) text = LoggedName(row->NewName);
      break;
    default:
      text = row ? RowStatus(*row) : std::wstring(kLeftOut);
      break;
  }
  CopyText(text, info.item.pszText, info.item.cchTextMax);
}

void PreviewWindow::TickRows(const std::vector<std::int32_t>& rows, bool ticked, bool invert) {
  const RowMap* shown = result_ ? result_->Shown.get() : nullptr;
  if (!shown || rows.empty() || !Tick) return;
  Tick(*shown, rows, ticked, invert);
  InvalidateRect(list_, nullptr, FALSE);
}

std::vector<std::int32_t> PreviewWindow::SelectedRows() const {
  std::vector<std::int32_t> rows;
  for (LRESULT at = SendMessageW(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
       at >= 0; at = SendMessageW(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(at), LVNI_SELECTED)) {
    rows.push_back(static_cast<std::int32_t>(at));
  }
  return rows;
}

// A click on a row's check box ticks or unticks that row.
void PreviewWindow::OnClick(const NMITEMACTIVATE& click) {
  LVHITTESTINFO hit{};
  hit.pt = click.ptAction;
  if (SendMessageW(list_, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)) < 0) return;
  if (!(hit.flags & LVHT_ONITEMSTATEICON)) return;
  TickRows({hit.iItem}, !RowTicked(hit.iItem), false);
}

void PreviewWindow::ShowTickMenu(POINT screenPoint) {
  const UniqueMenu menu(CreatePopupMenu());
  if (!menu || !AppendMenuW(menu.Get(), MF_STRING, kTickAll, L"全部勾选") ||
      !AppendMenuW(menu.Get(), MF_STRING, kTickNone, L"全部不选") ||
      !AppendMenuW(menu.Get(), MF_STRING, kTickInvert, L"反向勾选")) {
    return;  // without a menu the boxes and Space still tick
  }
  const int chosen =
      PopupMenu ? PopupMenu(menu.Get(), screenPoint)
                : static_cast<int>(TrackPopupMenu(
                      menu.Get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD | TPM_NONOTIFY,
                      screenPoint.x, screenPoint.y, 0, hwnd_, nullptr));
  if (chosen == 0 || !hwnd_) return;
  std::vector<std::int32_t> all(RowCount());
  for (std::size_t row = 0; row < all.size(); ++row) all[row] = static_cast<std::int32_t>(row);
  TickRows(all, chosen == kTickAll, chosen == kTickInvert);
}

LRESULT PreviewWindow::CustomDraw(NMLVCUSTOMDRAW& draw) const {
  switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT: {
      const auto index = static_cast<std::size_t>(draw.nmcd.dwItemSpec);
      const PreviewRow* row = RowAt(index);
      if (!row && index < RowCount()) {  // left out of the run
        draw.clrText = kUnchangedColor;
        return CDRF_NEWFONT;
      }
      if (!row || row->Outcome == RowOutcome::Renamed) return CDRF_DODEFAULT;
      draw.clrText = row->Outcome == RowOutcome::Fails ? kFailingColor : kUnchangedColor;
      return CDRF_NEWFONT;
    }
    default:
      return CDRF_DODEFAULT;
  }
}

bool PreviewWindow::PreTranslateMessage(const MSG& message) {
  if (!hwnd_ || (message.hwnd != hwnd_ && !IsChild(hwnd_, message.hwnd))) return false;
  if (message.message != WM_KEYDOWN) return false;
  const bool inList = message.hwnd == list_;
  switch (message.wParam) {
    case VK_ESCAPE:
      Hide();
      return true;
    case VK_F5:
      Open(owner_);
      return true;
    case VK_SPACE: {
      // Taken here: the list's own handling would tick a box it does not keep.
      if (!inList) return false;
      const std::vector<std::int32_t> rows = SelectedRows();
      const LRESULT focused =
          SendMessageW(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED);
      const std::int32_t lead =
          focused >= 0 ? static_cast<std::int32_t>(focused) : (rows.empty() ? -1 : rows.front());
      if (lead >= 0)
        TickRows(rows.empty() ? std::vector<std::int32_t>{lead} : rows, !RowTicked(lead), false);
      return true;
    }
    case 'A': {
      if (!inList || GetKeyState(VK_CONTROL) >= 0) return false;
      LVITEMW all{};
      all.stateMask = LVIS_SELECTED;
      all.state = LVIS_SELECTED;
      SendMessageW(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                   reinterpret_cast<LPARAM>(&all));
      return true;
    }
    default:
      return false;
  }
}

LRESULT PreviewWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      if (header->hwndFrom != list_) break;
      if (header->code == LVN_GETDISPINFOW) {
        FillItemText(*reinterpret_cast<NMLVDISPINFOW*>(lParam));
        return 0;
      }
      if (header->code == NM_CUSTOMDRAW)
        return CustomDraw(*reinterpret_cast<NMLVCUSTOMDRAW*>(lParam));
      if (header->code == NM_CLICK) OnClick(*reinterpret_cast<NMITEMACTIVATE*>(lParam));
      break;
    }
    case WM_CONTEXTMENU: {
      if (reinterpret_cast<HWND>(wParam) != list_) break;
      POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      if (lParam == -1) {  // from the keyboard: at the list's corner
        at = POINT{0, 0};
        ClientToScreen(list_, &at);
      }
      ShowTickMenu(at);
      return 0;
    }
    case WM_SIZE:
      Layout();
      return 0;
    case WM_GETMINMAXINFO: {
      auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
      limits->ptMinTrackSize = POINT{MulDiv(kLeastWidth, dpi_, 96), MulDiv(kLeastHeight, dpi_, 96)};
      return 0;
    }
    case WM_DPICHANGED: {
      dpi_ = LOWORD(wParam);
      const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
      SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, Width(suggested),
                   Height(suggested), SWP_NOZORDER | SWP_NOACTIVATE);
      ApplyFont();
      return 0;
    }
    case WM_CLOSE:  // the close box hides it; the main window's end destroys it
      Hide();
      return 0;
    case WM_NCDESTROY: {
      const HWND self = hwnd_;
      hwnd_ = list_ = summary_ = nullptr;
      return DefWindowProcW(self, message, wParam, lParam);
    }
    default:
      break;
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

}  // namespace tarnivo

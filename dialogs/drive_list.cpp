#include "dialogs/drive_list.h"

#include <commctrl.h>

#include <cwctype>

namespace tarnivo {

namespace {
constexpr int kDropDownRows = 8;  // the open list shows this many drives before it scrolls
}

std::wstring DriveOf(const std::wstring& path) {
  if (path.size() < 2 || path[1] != L':') return {};
  const wchar_t letter = static_cast<wchar_t>(std::towupper(path[0]));
  if (letter < L'A' || letter > L'Z') return {};
  return std::wstring{letter, L':'};
}

bool DriveList::Create(HWND parent, int controlId, const RECT& bounds) {
  // A drop-down box's height includes its open list.
  const int closed = bounds.bottom - bounds.top;
  box_ = CreateWindowExW(
      0, WC_COMBOBOXW, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST,
      bounds.left, bounds.top, bounds.right - bounds.left, closed * (kDropDownRows + 1), parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)), GetModuleHandleW(nullptr), nullptr);
  return box_ != nullptr;
}

void DriveList::Fill(DWORD driveMask) {
  SendMessageW(box_, CB_RESETCONTENT, 0, 0);
  for (int bit = 0; bit < 26; ++bit) {
    if (!(driveMask & (1u << bit))) continue;
    const std::wstring text{static_cast<wchar_t>(L'A' + bit), L':'};
    SendMessageW(box_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
  const int index = IndexOf(drive_);
  SendMessageW(box_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  if (index < 0) drive_.clear();
}

int DriveList::IndexOf(const std::wstring& drive) const {
  if (drive.empty()) return -1;
  const LRESULT index = SendMessageW(box_, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                     reinterpret_cast<LPARAM>(drive.c_str()));
  return index == CB_ERR ? -1 : static_cast<int>(index);
}

std::wstring DriveList::TextAt(int index) const {
  const LRESULT length = SendMessageW(box_, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length == CB_ERR) return {};
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const LRESULT copied = SendMessageW(box_, CB_GETLBTEXT, static_cast<WPARAM>(index),
                                      reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied == CB_ERR ? 0 : static_cast<size_t>(copied));
  return text;
}

bool DriveList::Has(const std::wstring& drive) const { return IndexOf(DriveOf(drive)) >= 0; }

bool DriveList::SetDrive(const std::wstring& path) {
  const std::wstring drive = DriveOf(path);
  const int index = IndexOf(drive);
  if (index < 0) return false;
  SendMessageW(box_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  drive_ = drive;
  return true;
}

bool DriveList::TakePick() {
  const LRESULT index = SendMessageW(box_, CB_GETCURSEL, 0, 0);
  if (index == CB_ERR) return false;
  const std::wstring picked = TextAt(static_cast<int>(index));
  if (picked.empty() || picked == drive_) return false;
  drive_ = picked;
  return true;
}

}  // namespace tarnivo

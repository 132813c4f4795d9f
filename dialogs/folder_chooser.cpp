#include "dialogs/folder_chooser.h"

#include <commctrl.h>
#include <windowsx.h>

#include <vector>

#include "dialogs/chooser_ids.h"
#include "dialogs/placement.h"
#include "dialogs/short_path.h"
#include "settings/path_probe.h"
#include "win/control_colors.h"
#include "win/fonts.h"
#include "win/keyboard.h"
#include "win/paths.h"
#include "win/twips.h"
#include "win/window_class.h"

namespace tarnivo {

namespace {

constexpr COLORREF kBackColor = RGB(224, 224, 224);
constexpr COLORREF kTextColor = RGB(0, 0, 0);
constexpr UINT_PTR kSelectSubclassId = 1;
constexpr const wchar_t* kPictureClass = L"TarnivoChooserPicture";
constexpr const wchar_t* kSelectCaption = L"选  择";
constexpr const wchar_t* kDeviceUnavailable = L"设备不可用！";

// Places in twips from the top-left corner of the client area (of Picture1 for Command1).
constexpr int kClientWidth = 3045;
constexpr int kClientHeight = 3405;
constexpr TwipsRect kDrive1{120, 120, 1695, 300};
constexpr TwipsRect kDir1{120, 600, 2775, 2400};
constexpr TwipsRect kPicture1{1920, 120, 975, 300};
constexpr TwipsRect kCommand1{0, 0, 915, 245};
constexpr TwipsRect kLabpath{120, 3120, 2820, 210};

// A fixed dialog frame without an icon; Tab and the arrows move between its controls.
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

// Picture1 is only a frame around the select button: what the button asks of its
// parent (drawing, colours) is answered by the dialog.
LRESULT CALLBACK PictureProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DRAWITEM || message == WM_CTLCOLORBTN) {
    return SendMessageW(GetParent(hwnd), message, wParam, lParam);
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

FolderChooser::FolderChooser(FolderChooserOptions options) : options_(std::move(options)) {}

FolderChooser::~FolderChooser() {
  if (ownerDisabled_) EnableWindow(owner_, TRUE);
  if (hwnd_) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

bool FolderChooser::Load(HWND owner, std::wstring& startFolder, int32_t left, int32_t top) {
  if (hwnd_ || unloaded_) return false;  // a chooser is loaded once
  if (!CreateWindowAndControls(owner)) return false;
  OpenFirstFolder();
  Form_Load();
  Place(left, top);
  if (startFolder.empty()) startFolder = options_.ProgramFolder;
  OpenStartFolder(startFolder);
  return true;
}

bool FolderChooser::CreateWindowAndControls(HWND owner) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WindowClassSpec picture{kPictureClass, PictureProc};
  picture.Background = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  if (!RegisterWindowClass({kClassName, RoutedWindowProc<FolderChooser>}) ||
      !RegisterWindowClass(picture)) {
    return false;
  }
  // Drawn at the DPI of the window it belongs to, which may stand on another monitor than
  // the primary one.
  dpi_ = options_.Dpi > 0 ? options_.Dpi : WindowDpi(owner);
  RECT frame{0, 0, TwipsToPixels(kClientWidth, dpi_), TwipsToPixels(kClientHeight, dpi_)};
  AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
  backBrush_.Reset(CreateSolidBrush(kBackColor));
  owner_ = owner;
  hwnd_ = CreateWindowExW(kExStyle, kClassName, kCaption, kStyle, 0, 0, frame.right - frame.left,
                          frame.bottom - frame.top, owner, nullptr, instance, this);
  if (!hwnd_) return false;

  uiFont_ = MakeMessageFont(dpi_);
  const HFONT uiFont =
      uiFont_ ? uiFont_.Get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  buttonFont_ = MakeFont(L"宋体", 7.5, dpi_, GB2312_CHARSET);

  // Created in focus order: the drive list, the folder list, the button in its frame.
  if (!drive1_.Create(hwnd_, chooser_ids::Drive1, ToPixels(kDrive1, dpi_))) return false;
  SendMessageW(drive1_.Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(uiFont), FALSE);
  if (!dir1_.Create(hwnd_, chooser_ids::Dir1, ToPixels(kDir1, dpi_))) return false;
  dir1_.SetFont(uiFont);
  dir1_.SetColors(kBackColor, kTextColor);
  if (!CreateSelectButton(ToPixels(kPicture1, dpi_))) return false;
  const RECT label = ToPixels(kLabpath, dpi_);
  HWND labpath = CreateWindowExW(
      0, WC_STATICW, L"Labpath", WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_NOPREFIX,
      label.left, label.top, label.right - label.left, label.bottom - label.top, hwnd_,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(chooser_ids::Labpath)), instance, nullptr);
  if (!labpath) return false;
  SendMessageW(labpath, WM_SETFONT, reinterpret_cast<WPARAM>(uiFont), FALSE);
  return true;
}

bool FolderChooser::CreateSelectButton(const RECT& place) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  // A frame that holds the button; it takes no focus itself, the button inside it does.
  HWND picture = CreateWindowExW(
      WS_EX_CLIENTEDGE | WS_EX_CONTROLPARENT, kPictureClass, L"",
      WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, place.left, place.top, place.right - place.left,
      place.bottom - place.top, hwnd_,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(chooser_ids::Picture1)), instance, nullptr);
  if (!picture) return false;
  const RECT r = ToPixels(kCommand1, dpi_);
  // Owner-drawn so it can wear the dialog's grey. Space and Enter still "click" a button;
  // the dialog listens only to mouse-button releases on it.
  HWND button = CreateWindowExW(
      0, WC_BUTTONW, kSelectCaption, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW, r.left,
      r.top, r.right - r.left, r.bottom - r.top, picture,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(chooser_ids::Command1)), instance, nullptr);
  if (!button) return false;
  SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(buttonFont_.Get()), FALSE);
  return SetWindowSubclass(button, SelectButtonProc, kSelectSubclassId,
                           reinterpret_cast<DWORD_PTR>(this)) != FALSE;
}

// The lists start on the process's current folder. When that lies on no drive (the
// program started from a network share) or cannot be opened, they start on the system
// drive, else on the first drive that opens, so both always show a valid drive.
void FolderChooser::OpenFirstFolder() {
  drive1_.Fill(GetLogicalDrives());
  std::vector<std::wstring> candidates{CurrentDirectory()};
  wchar_t windows[MAX_PATH];
  const UINT length = GetWindowsDirectoryW(windows, MAX_PATH);
  if (length > 0 && length < MAX_PATH) candidates.push_back(DriveOf(windows) + L"\\");
  for (int i = 0; i < 26; ++i) {
    const wchar_t letter = static_cast<wchar_t>(L'A' + (i + 2) % 26);  // C: to Z:, then A: and B:
    candidates.push_back(std::wstring{letter, L':', L'\\'});
  }
  for (const std::wstring& folder : candidates) {
    if (!drive1_.Has(folder) || !dir1_.SetPath(folder)) continue;
    drive1_.SetDrive(dir1_.Path());
    return;
  }
}

void FolderChooser::Place(int32_t left, int32_t top) {
  TwipsPoint at{static_cast<double>(left), static_cast<double>(top)};
  if (left == 0 && top == 0) {
    RECT owner{};
    if (!owner_ || !GetWindowRect(owner_, &owner))
      SystemParametersInfoW(SPI_GETWORKAREA, 0, &owner, 0);
    RECT own{};
    GetWindowRect(hwnd_, &own);
    const TwipsBox box{PixelsToTwips(owner.left, dpi_), PixelsToTwips(owner.top, dpi_),
                       PixelsToTwips(owner.right - owner.left, dpi_),
                       PixelsToTwips(owner.bottom - owner.top, dpi_)};
    at = CentreOver(box, PixelsToTwips(own.right - own.left, dpi_),
                    PixelsToTwips(own.bottom - own.top, dpi_));
  }
  SetWindowPos(hwnd_, nullptr, TwipsToPixels(at.Left, dpi_), TwipsToPixels(at.Top, dpi_), 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FolderChooser::OpenStartFolder(const std::wstring& startFolder) {
  // A start folder on no listed drive (a network share) would leave the drive list naming
  // another drive than the folder list: both stay on the folder they opened on.
  if (!drive1_.Has(startFolder)) return;
  const std::wstring before = drive1_.Drive();
  drive1_.SetDrive(startFolder.substr(0, 3));
  if (drive1_.Drive() != before) Drive1_Change(before);
  SetFolder(startFolder);
}

void FolderChooser::Show() {
  if (!hwnd_) return;
  ShowWindow(hwnd_, SW_SHOW);
  SetFocus(drive1_.Handle());
}

std::wstring FolderChooser::ShowModal() {
  if (!hwnd_) return unloaded_ ? chosenFolder_ : std::wstring(kCanceledSelect);
  if (owner_ && IsWindowEnabled(owner_)) {
    EnableWindow(owner_, FALSE);
    ownerDisabled_ = true;
  }
  Show();
  MSG message;
  while (!unloaded_) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0 || got == -1) {
      // The program is ending: a cancel, and the program's own loop still gets the quit.
      Unload(UnloadMode::Other);
      if (got == 0) PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    if (PreTranslateMessage(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return chosenFolder_;
}

bool FolderChooser::PreTranslateMessage(MSG& message) {
  if (!hwnd_ || (message.hwnd != hwnd_ && !IsChild(hwnd_, message.hwnd))) return false;
  if (message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN) {
    // Key preview: the dialog sees the key before the control with the focus, which
    // still gets it.
    Form_KeyDown(static_cast<WORD>(message.wParam),
                 options_.ShiftState ? options_.ShiftState() : KeyboardShiftState());
    if (!hwnd_) return true;
  }
  // Alt+F4 closes the dialog wherever the focus is. A drop-down list box under Wine
  // swallows the system keys instead of passing them on to be turned into a close.
  if (message.message == WM_SYSKEYDOWN && message.wParam == VK_F4 &&
      (HIWORD(message.lParam) & KF_ALTDOWN)) {
    PostMessageW(hwnd_, WM_SYSCOMMAND, SC_CLOSE, 0);
    return true;
  }
  return IsDialogMessageW(hwnd_, &message) != FALSE;
}

bool FolderChooser::SetFolder(const std::wstring& folder) {
  const std::wstring before = dir1_.Path();
  if (!dir1_.SetPath(folder)) return false;
  if (CompareStringOrdinal(before.c_str(), -1, dir1_.Path().c_str(), -1, TRUE) != CSTR_EQUAL) {
    Dir1_Change();
  }
  return true;
}

void FolderChooser::SetLabpath(const std::wstring& text) {
  SetDlgItemTextW(hwnd_, chooser_ids::Labpath, text.c_str());
}

void FolderChooser::Form_Load() { SetLabpath(GetShortFileName(dir1_.Path())); }

void FolderChooser::Dir1_Change() { SetLabpath(GetShortFileName(dir1_.Path())); }

void FolderChooser::Drive1_Change(const std::wstring& previousDrive) {
  if (SetFolder(drive1_.Drive())) return;  // "C:" opens the drive's current folder
  // The drive cannot be opened (no medium, mapped to nothing). The drive list goes back
  // to the drive of the folder still shown, and that folder stays open.
  const std::wstring shown = DriveOf(dir1_.Path());
  drive1_.SetDrive(shown.empty() ? previousDrive : shown);
  SetLabpath(kDeviceUnavailable);  // until the next folder change
}

void FolderChooser::Command1_MouseUp() { Unload(UnloadMode::ByCode); }

void FolderChooser::Form_KeyDown(WORD keyCode, int shift) {
  // The key is tested before the clipboard is touched: reading it on every key press
  // would open the system-wide clipboard for each keystroke.
  if (!IsFolderPasteKey(keyCode, shift) || !options_.ClipboardText) return;
  const std::wstring text = options_.ClipboardText();
  // An empty text passes the probe (its query fails with "path not found") and would
  // open the current drive's root.
  if (text.empty() || !IsListableFolder(GetPathAttributes(text))) return;
  SetFolder(text);  // a folder that cannot be opened changes nothing; the drive list stays
}

void FolderChooser::Form_QueryUnload(UnloadMode mode) {
  chosenFolder_ = mode == UnloadMode::ByCode ? dir1_.Path() : std::wstring(kCanceledSelect);
}

void FolderChooser::Unload(UnloadMode mode) {
  if (unloaded_) return;
  Form_QueryUnload(mode);
  unloaded_ = true;
  // The owner is enabled before the dialog goes, so the activation returns to it.
  if (ownerDisabled_) {
    EnableWindow(owner_, TRUE);
    ownerDisabled_ = false;
  }
  if (hwnd_) DestroyWindow(hwnd_);
}

void FolderChooser::OnCommand(int id, int code) {
  switch (id) {
    case chooser_ids::Drive1: {
      // While the drop-down is open the arrows only browse; the pick counts when it closes.
      const bool dropped = SendMessageW(drive1_.Handle(), CB_GETDROPPEDSTATE, 0, 0) != FALSE;
      if (!(code == CBN_CLOSEUP || (code == CBN_SELCHANGE && !dropped))) break;
      const std::wstring before = drive1_.Drive();
      if (drive1_.TakePick()) Drive1_Change(before);
      break;
    }
    case chooser_ids::Dir1:
      if (code == LBN_DBLCLK) {
        const int32_t row = dir1_.ListIndex();
        if (row < 0) break;
        const std::wstring folder = dir1_.Rows()[static_cast<size_t>(row)].Path;
        SetFolder(folder);  // a folder gone meanwhile just stays closed
      }
      break;
    default:
      // IDOK and IDCANCEL (Enter and Esc) included: the dialog closes only by its select
      // button or by a cancel of the window itself.
      break;
  }
}

void FolderChooser::DrawSelectButton(const DRAWITEMSTRUCT& item) const {
  RECT face = item.rcItem;
  FillRect(item.hDC, &face, backBrush_.Get());
  const bool pushed = (item.itemState & ODS_SELECTED) != 0;
  DrawEdge(item.hDC, &face, pushed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
  const SelectedObject font(item.hDC, buttonFont_.Get());
  SetBkMode(item.hDC, TRANSPARENT);
  SetTextColor(item.hDC,
               (item.itemState & ODS_DISABLED) ? GetSysColor(COLOR_GRAYTEXT) : kTextColor);
  RECT label = face;
  if (pushed) OffsetRect(&label, 1, 1);
  DrawTextW(item.hDC, kSelectCaption, -1, &label,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  if (item.itemState & ODS_FOCUS) {
    InflateRect(&face, -3, -3);
    DrawFocusRect(item.hDC, &face);
  }
}

LRESULT FolderChooser::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (IsControlColorMessage(message)) {
    return ColorControl(reinterpret_cast<HDC>(wParam), kTextColor, kBackColor, backBrush_.Get());
  }
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (item->CtlID == static_cast<UINT>(chooser_ids::Dir1)) dir1_.DrawItem(*item);
      if (item->CtlID == static_cast<UINT>(chooser_ids::Command1)) DrawSelectButton(*item);
      return TRUE;
    }
    case WM_ERASEBKGND:
      return EraseWithBrush(hwnd_, reinterpret_cast<HDC>(wParam), backBrush_.Get());
    case WM_ACTIVATE:
      // Leaving and coming back keeps the control that had the focus.
      if (LOWORD(wParam) == WA_INACTIVE) {
        const HWND focus = GetFocus();
        if (focus && IsChild(hwnd_, focus)) lastFocus_ = focus;
      } else if (lastFocus_ && IsChild(hwnd_, lastFocus_)) {
        SetFocus(lastFocus_);
        return 0;
      }
      break;
    case WM_CLOSE:  // the close box, the system menu and Alt+F4
      Unload(UnloadMode::Other);
      return 0;
    case WM_NCDESTROY:
      // Destroyed without an unload (its owner went first): that is a cancel too.
      if (!unloaded_) {
        Form_QueryUnload(UnloadMode::Other);
        unloaded_ = true;
      }
      hwnd_ = nullptr;
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

// The select button selects when a mouse button (any of them) is released over it.
LRESULT CALLBACK FolderChooser::SelectButtonProc(HWND button, UINT message, WPARAM wParam,
                                                 LPARAM lParam, UINT_PTR, DWORD_PTR data) {
  switch (message) {
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
    case WM_XBUTTONUP: {
      // The button first finishes its own release (capture, pushed look).
      const LRESULT result = DefSubclassProc(button, message, wParam, lParam);
      const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      RECT client;
      // A press dragged off the button and released elsewhere selects nothing.
      if (GetClientRect(button, &client) && PtInRect(&client, at)) {
        reinterpret_cast<FolderChooser*>(data)->Command1_MouseUp();
      }
      return result;
    }
    case WM_NCDESTROY:
      RemoveWindowSubclass(button, SelectButtonProc, kSelectSubclassId);
      break;
    default:
      break;
  }
  return DefSubclassProc(button, message, wParam, lParam);
}

std::wstring ChooseFolder(HWND owner, std::wstring& startFolder, int32_t left, int32_t top,
                          FolderChooserOptions options) {
  FolderChooser chooser(std::move(options));
  if (!chooser.Load(owner, startFolder, left, top)) return kCanceledSelect;
  return chooser.ShowModal();
}

}  // namespace tarnivo

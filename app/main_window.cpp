#include "app/main_window.h"

#include <commctrl.h>
#include <shellapi.h>
#include <windowsx.h>

#include "app/clipboard.h"
#include "app/command_line.h"
#include "app/control_ids.h"
#include "app/layout.h"
#include "app/pictures.h"
#include "app/res/resource.h"
#include "settings/path_probe.h"
#include "win/code_page.h"
#include "win/control_colors.h"
#include "win/keyboard.h"
#include "win/paths.h"
#include "win/shell.h"
#include "win/window_class.h"

namespace tarnivo {

MainWindow::MainWindow(MainWindowOptions options)
    : options_(std::move(options)),
      settings_(options_.ProgramFolder, options_.FallbackFolder),
      batch_(BatchSession::Window{[this](RunState state) { SetRunningState(state); },
                                  [this](const BatchProgress& p) { ShowBatchProgress(p); },
                                  [this] { LetEventsRun(); }, EventsWaiting}) {}

MainWindow::~MainWindow() {
  dateReader_.reset();
  livePreview_.Stop();
  if (hwnd_) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

bool MainWindow::Create(int showCommand) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WindowClassSpec windowClass{kClassName, RoutedWindowProc<MainWindow>};
  windowClass.Icon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_TARNIVO));
  if (!windowClass.Icon) windowClass.Icon = LoadIconW(nullptr, IDI_APPLICATION);
  // The caption's small icon: the 16 x 16 drawing rather than the 32 x 32 one shrunk.
  windowClass.SmallIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_TARNIVO),
                                                        IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                        GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  if (!RegisterWindowClass(windowClass)) return false;
  constexpr DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  constexpr DWORD exStyle = WS_EX_CONTROLPARENT;
  windowBrush_.Reset(CreateSolidBrush(kWindowColor));
  editBrush_.Reset(CreateSolidBrush(kEditColor));
  // Size and place follow from the window's DPI, known once it exists: the layout sets
  // them before the window is shown.
  hwnd_ = CreateWindowExW(exStyle, kClassName, L"", style, 0, 0, 0, 0, nullptr, nullptr, instance,
                          this);
  if (!hwnd_) return false;
  if (!CreateControls()) return false;
  Form_Load();
  ShowWindow(hwnd_, showCommand);
  UpdateWindow(hwnd_);
  return true;
}

bool MainWindow::CreateControls() {
  if (!CreateLayoutControls()) return false;
  file1_.OnMouseDown = [this](UINT message, POINT at) { File1_MouseDown(message, at); };
  InitTemplateEditor();
  InitPreview();
  SetRunningState(RunState::Idle);
  return true;
}

int MainWindow::CurrentShiftState() const {
  return options_.ShiftState ? options_.ShiftState() : KeyboardShiftState();
}

// Start-up: each step goes ahead whatever the one before it managed.
void MainWindow::Form_Load() {
  SetWindowTextW(hwnd_, kCaption);
  keywords_ = ReadKeywords(SettingsReader());
  file1_.SetPattern(settings_.Read(setting::Pattern));
  file1_.SetOrder(SavedOrder());
  SetWindowTextW(Control(ids::TextPatt), file1_.Pattern().c_str());
  RestoreLastTemplate();
  currentFolder_ = FolderCandidate(options_.Arguments);
  // Probed as it is listed: as the system reads the name ("pics " opens "pics").
  const std::wstring full = FullFolderPath(currentFolder_);
  const bool listable = !full.empty() && IsListableFolder(GetPathAttributes(full));
  // A folder that cannot be listed leaves the list as it was.
  if (listable) file1_.SetPath(currentFolder_);
  // The working folder when the command line gave none that could be listed. Read once,
  // with the saved pattern: nothing before needed its files.
  file1_.EnsureRead();
  if (listable) RefreshStatusLine();
  AcceptDroppedFolders();
}

void MainWindow::Form_Unload() {
  if (unloaded_) return;
  if (batch_.Busy()) {  // the run ends first; it unloads the window then
    closePending_ = true;
    return;
  }
  unloaded_ = true;
  // The list's pattern, not unapplied text in the pattern box. A refused write (read-only
  // folder) just leaves the setting unsaved. The file is in the ANSI code page, where a
  // character it cannot hold becomes "?", itself a wildcard: such a pattern would list
  // more files at the next start than the user filtered, so the saved one stays instead.
  if (FitsAnsi(file1_.Pattern())) settings_.Write(setting::Pattern, file1_.Pattern());
  KeepLastTemplate();
  StopAcceptingDrops();
  dateReader_.reset();
  livePreview_.Stop();
  DestroyWindow(hwnd_);
}

void MainWindow::Labexit_Click() { Form_Unload(); }

void MainWindow::Form_KeyDown(WORD keyCode, int shift) {
  if (keyCode == VK_F5 && shift == 0) {
    OpenPreview();  // also during a run: the preview only shows
    return;
  }
  // The key is tested before the clipboard is touched: reading it on every key press
  // would open the system-wide clipboard for each keystroke.
  if (!IsFolderPasteKey(keyCode, shift)) return;
  if (batch_.Busy()) return;  // the list stays as the run found it
  const std::wstring text = ReadClipboardText(hwnd_);
  // No text at all (an empty clipboard, a picture) is no folder; the probe alone would let
  // it through and the list would move to the current drive's root.
  if (text.empty() || !IsListableFolder(GetPathAttributes(text))) return;
  file1_.SetPath(text);  // a path that cannot be listed leaves the list as it was
  RefreshStatusLine();
}

int MainWindow::ShowMessage(HWND owner, const std::wstring& text, const std::wstring& title,
                            UINT style) {
  return options_.ShowMessageBox ? options_.ShowMessageBox(owner, text, title, style)
                                 : MessageBoxW(owner, text.c_str(), title.c_str(), style);
}

void MainWindow::ShellOpen(const std::wstring& file) { ShellOpen(file, options_.ProgramFolder); }

void MainWindow::ShellOpen(const std::wstring& file, const std::wstring& inFolder) {
  const std::wstring folder = EnsureTrailingBackslash(inFolder);
  if (options_.ShellOpen) {
    options_.ShellOpen(hwnd_, file, folder);
    return;
  }
  // The shell reports a missing file or association itself; the program has nothing to add.
  shell::ShellExecuteA(hwnd_, "Open", ToAnsi(file).c_str(), "",
                       ToAnsi(AnsiSafeFolder(folder)).c_str(), SW_SHOWNORMAL);
}

void MainWindow::RefreshStatusLine() {
  const std::wstring line =
      L"当前目录[" + std::to_wstring(file1_.Count()) + L"]:  " + file1_.Path();
  SetWindowTextW(Control(ids::LabTitle(1)), line.c_str());
  summaryShown_ = false;
}

void MainWindow::SetRunningState(RunState state) {
  runState_ = state;
  const bool idle = state == RunState::Idle;
  ShowStartPicture();
  EnableStart();
  EnableWindow(Control(ids::TextRull), idle);
  EnableWindow(Control(ids::ImgRefresh), idle);
}

bool MainWindow::PreTranslateMessage(MSG& message) {
  if (!hwnd_) return false;
  if (preview_.PreTranslateMessage(message)) return true;
  const bool ours = message.hwnd == hwnd_ || IsChild(hwnd_, message.hwnd);
  if (!ours) return false;
  if (message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN) {
    const auto keyCode = static_cast<WORD>(message.wParam);
    const int shift = CurrentShiftState();
    const HWND target = message.hwnd;
    Form_KeyDown(keyCode, shift);  // key preview: the window sees the key first
    if (hwnd_ && target == Control(ids::TextPatt)) TextPatt_KeyDown(keyCode, shift);
    if (!hwnd_) return true;
    if (target == Control(ids::TextRull) && TextRull_KeyDown(keyCode, shift)) return true;
  }
  return IsDialogMessageW(hwnd_, &message) != FALSE;
}

void MainWindow::OnCommand(int id, int code) {
  if (id >= ids::CheckFileInfo(0) && id <= ids::CheckFileInfo(3)) {
    if (code == BN_CLICKED) CheckFileInfo_Click(id - ids::CheckFileInfo(0));
    return;
  }
  if (id >= ids::LabTitle(0) && id <= ids::LabTitle(4)) {
    if (code == STN_CLICKED) LabTitle_Click(id - ids::LabTitle(0));
    return;
  }
  switch (id) {
    case ids::ImgRefresh:
      if (code == STN_CLICKED) ImgRefresh_Click();
      break;
    case ids::ImgSetPath:
      if (code == STN_CLICKED) ImgSetPath_Click();
      break;
    case ids::ImgStart:
      if (code == STN_CLICKED) ImgStart_Click();
      break;
    case ids::TextPatt:
      if (code == EN_SETFOCUS) TextPatt_GotFocus();
      break;
    case ids::TextRull:
      if (code == EN_CHANGE) TextRull_Change();
      break;
    default:
      break;
  }
}

LRESULT MainWindow::ControlColor(HDC dc, HWND control) {
  // The owner-drawn status line sets its own text colour when it draws.
  const int id = GetDlgCtrlID(control);
  const bool edit = id == ids::TextPatt || id == ids::TextRull;
  return edit ? ColorControl(dc, kPlainTextColor, kEditColor, editBrush_.Get())
              : ColorControl(dc, kPlainTextColor, kWindowColor, windowBrush_.Get());
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (IsControlColorMessage(message)) {
    return ControlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
  }
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (item->CtlID == static_cast<UINT>(ids::File1)) {
        file1_.DrawItem(*item);
        return TRUE;
      }
      if (DrawDecoration(*item)) return TRUE;
      break;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      OnCaptionPress(message, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      return 0;
    case WM_SIZE:
      Form_Resize();
      return 0;
    case WM_DPICHANGED:
      OnDpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_SETCURSOR:
      if (OnSetCursor(reinterpret_cast<HWND>(wParam), LOWORD(lParam))) return TRUE;
      break;
    case WM_ERASEBKGND: {
      const auto dc = reinterpret_cast<HDC>(wParam);
      if (!EraseWithBrush(hwnd_, dc, windowBrush_.Get())) return 0;
      PaintWindowless(dc);
      return 1;
    }
    case kPreviewReady:
      OnPreviewReady();
      return 0;
    case kDatesReady:
      OnDatesReady();
      return 0;
    case WM_CLOSE:
      Form_Unload();
      return 0;
    case WM_DESTROY:
      return 0;
    case WM_NCDESTROY: {
      hwnd_ = nullptr;
      if (options_.OnUnloaded) {
        options_.OnUnloaded();
      } else {
        PostQuitMessage(0);
      }
      return 0;
    }
    default:
      break;
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

}  // namespace tarnivo

// Saves pictures of the real window in states a user reaches only in the middle of doing
// something: the running state, the preview beside the window and the folder chooser over
// it. Not a test; run by tools/screenshots.sh.
//   tarnivo_window_shots.exe OUT_FOLDER WORK_FOLDER
// writes OUT_FOLDER\running.bmp, OUT_FOLDER\preview.bmp and OUT_FOLDER\chooser.bmp;
// OUT_FOLDER\program is the program folder (config.ini).
#include <windows.h>
// Needs windows.h before it.
#include <shellapi.h>

#include <cstdio>
#include <string>

#include "app/control_ids.h"
#include "app/main_window.h"
#include "dialogs/folder_chooser.h"

namespace {

using tarnivo::FolderChooser;
using tarnivo::MainWindow;

// Handles the queue for `milliseconds`, the way the program's loops do, so every window
// has painted itself on the screen.
void Pump(MainWindow& window, DWORD milliseconds) {
  const DWORD until = GetTickCount() + milliseconds;
  do {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) continue;
      if (window.PreTranslateMessage(message)) continue;
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  } while (static_cast<LONG>(until - GetTickCount()) > 0);
}

// The screen inside `area` as a 24-bit BMP file.
bool SaveScreenArea(const RECT& area, const std::wstring& path) {
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  if (width <= 0 || height <= 0) return false;
  BITMAPINFOHEADER header{sizeof(header)};
  header.biWidth = width;
  header.biHeight = height;  // bottom-up, as BMP files store rows
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
  header.biSizeImage = stride * static_cast<DWORD>(height);
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS,
                                    &bits, nullptr, 0);
  bool ok = memory && bitmap;
  if (ok) {
    const HGDIOBJ old = SelectObject(memory, bitmap);
    ok = BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY) != FALSE;
    GdiFlush();
    SelectObject(memory, old);
  }
  if (ok) {
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof(file) + sizeof(header);
    file.bfSize = file.bfOffBits + header.biSizeImage;
    HANDLE out = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    ok = out != INVALID_HANDLE_VALUE && WriteFile(out, &file, sizeof(file), &written, nullptr) &&
         WriteFile(out, &header, sizeof(header), &written, nullptr) &&
         WriteFile(out, bits, header.biSizeImage, &written, nullptr);
    if (out != INVALID_HANDLE_VALUE) CloseHandle(out);
  }
  if (bitmap) DeleteObject(bitmap);
  if (memory) DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return ok;
}

RECT WindowArea(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return r;
}

struct ChooserShot {
  HWND main = nullptr;
  std::wstring path;
  int ticks = 0;
  bool saved = false;
} g_shot;

BOOL CALLBACK FindChooser(HWND window, LPARAM found) {
  wchar_t name[64] = L"";
  GetClassNameW(window, name, 64);
  if (lstrcmpW(name, FolderChooser::kClassName) != 0 || !IsWindowVisible(window)) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

void CALLBACK ShootChooser(HWND, UINT, UINT_PTR, DWORD) {
  HWND dialog = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindChooser, reinterpret_cast<LPARAM>(&dialog));
  if (!dialog || g_shot.saved || ++g_shot.ticks < 30) return;  // 1.5 s on the screen
  RECT both;
  const RECT main = WindowArea(g_shot.main);
  const RECT chooser = WindowArea(dialog);
  UnionRect(&both, &main, &chooser);
  g_shot.saved = SaveScreenArea(both, g_shot.path);
  PostMessageW(dialog, WM_CLOSE, 0, 0);
}

}  // namespace

int main() {
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!arguments || count != 3) {
    std::fputs("usage: tarnivo_window_shots OUT_FOLDER WORK_FOLDER\n", stderr);
    return 2;
  }
  const std::wstring out = arguments[1];
  const std::wstring work = arguments[2];
  LocalFree(arguments);

  tarnivo::MainWindowOptions options;
  options.ProgramFolder = out + L"\\program";
  options.Arguments = L"\"" + work + L"\"";
  options.OnUnloaded = [] {};
  options.ShellOpen = [](HWND, const std::wstring&, const std::wstring&) {};
  MainWindow window(std::move(options));
  if (!window.Create(SW_SHOWNORMAL)) {
    std::fputs("the window could not be created\n", stderr);
    return 1;
  }
  Pump(window, 1500);

  window.SetRunningState(tarnivo::RunState::Running);
  Pump(window, 800);
  if (!SaveScreenArea(WindowArea(window.Handle()), out + L"\\running.bmp")) return 1;
  window.SetRunningState(tarnivo::RunState::Idle);

  // The preview beside the window, for a template whose first new names are still taken.
  const HWND rull = GetDlgItem(window.Handle(), tarnivo::ids::TextRull);
  SendMessageW(rull, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"IMG_\r\n%Taxis:4,2,1%\r\n.jpg"));
  PostMessageW(rull, WM_KEYDOWN, VK_F5, 1);
  Pump(window, 1500);
  if (!window.PreviewHandle()) return 1;
  RECT both;
  const RECT main = WindowArea(window.Handle());
  const RECT preview = WindowArea(window.PreviewHandle());
  UnionRect(&both, &main, &preview);
  if (!SaveScreenArea(both, out + L"\\preview.bmp")) return 1;
  PostMessageW(window.PreviewHandle(), WM_CLOSE, 0, 0);
  Pump(window, 300);

  // The chooser as a click on the choose-folder image opens it, modal: a thread timer
  // takes the picture from inside its loop once it has been on the screen for a while,
  // then closes it.
  g_shot.main = window.Handle();
  g_shot.path = out + L"\\chooser.bmp";
  const UINT_PTR timer = SetTimer(nullptr, 0, 50, ShootChooser);
  PostMessageW(GetDlgItem(window.Handle(), tarnivo::ids::ImgSetPath), WM_LBUTTONDOWN, MK_LBUTTON,
               MAKELPARAM(5, 5));
  PostMessageW(GetDlgItem(window.Handle(), tarnivo::ids::ImgSetPath), WM_LBUTTONUP, 0,
               MAKELPARAM(5, 5));
  Pump(window, 500);  // returns once the chooser's loop has ended
  KillTimer(nullptr, timer);
  return g_shot.saved ? 0 : 1;
}

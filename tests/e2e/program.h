#pragma once
// tarnivo.exe started as its own process from a temp program folder, as a user would; the
// fixture of the end-to-end tests.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>

#include "app/control_ids.h"
#include "tests/support/temp_folder.h"
#include "win/window_text.h"

namespace tarnivo::test {

inline constexpr DWORD kStartTimeoutMs = 30000;
inline constexpr DWORD kExitTimeoutMs = 30000;

inline std::wstring BuiltProgram() {
  wchar_t self[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path(self, length);
  return path.substr(0, path.find_last_of(L'\\') + 1) + L"tarnivo.exe";
}

// A running copy of the program; ended (if still running) when it goes out of scope.
class Program {
 public:
  Program(const std::wstring& exe, const std::wstring& arguments) {
    std::wstring commandLine = L"\"" + exe + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
    STARTUPINFOW startup{sizeof(startup)};
    started_ = CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              nullptr, &startup, &info_) != FALSE;
  }
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;
  ~Program() {
    if (!started_) return;
    if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
      TerminateProcess(info_.hProcess, 1);
      WaitForSingleObject(info_.hProcess, kExitTimeoutMs);
    }
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
  }

  bool Started() const { return started_; }
  DWORD Id() const { return info_.dwProcessId; }
  bool WaitForExit(DWORD milliseconds) const {
    return WaitForSingleObject(info_.hProcess, milliseconds) == WAIT_OBJECT_0;
  }
  DWORD ExitCode() const {
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
  }

  // Ends the program at once, as a crash or the task manager would.
  bool Kill() const { return TerminateProcess(info_.hProcess, 1) && WaitForExit(kExitTimeoutMs); }

  // Closes `main` as its close box does; true once the program has ended with 0.
  bool Close(HWND main) const {
    PostMessageW(main, WM_CLOSE, 0, 0);
    return WaitForExit(kExitTimeoutMs) && ExitCode() == 0;
  }

  // The program's main window, once it has one (null after the timeout).
  HWND MainWindow() const {
    const DWORD until = GetTickCount() + kStartTimeoutMs;
    WaitForInputIdle(info_.hProcess, kStartTimeoutMs);
    for (;;) {
      Search search{info_.dwProcessId, nullptr};
      EnumWindows(FindOwnWindow, reinterpret_cast<LPARAM>(&search));
      if (search.Found && IsWindowVisible(search.Found)) return search.Found;
      if (static_cast<LONG>(until - GetTickCount()) <= 0 || WaitForExit(50)) return nullptr;
    }
  }

 private:
  struct Search {
    DWORD ProcessId;
    HWND Found;
  };
  static BOOL CALLBACK FindOwnWindow(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<Search*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t className[64] = {};
    GetClassNameW(window, className, 64);
    if (owner != search->ProcessId || std::wstring(className) != L"TarnivoMain") return TRUE;
    search->Found = window;
    return FALSE;
  }

  PROCESS_INFORMATION info_{};
  bool started_ = false;
};

inline std::wstring StatusText(HWND main) { return WindowText(GetDlgItem(main, ids::LabTitle(1))); }

class EndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    exe = programFolder / L"tarnivo.exe";
    ASSERT_TRUE(CopyFileW(BuiltProgram().c_str(), exe.c_str(), FALSE)) << GetLastError();
  }
  std::wstring Quoted(const std::wstring& path) const { return L"\"" + path + L"\""; }
  std::wstring ConfigPath() const { return programFolder / L"config.ini"; }

  TempFolder programFolder;
  TempFolder work;
  std::wstring exe;
};

inline void SetTemplate(HWND main, const std::wstring& text) {
  SendMessageW(GetDlgItem(main, ids::TextRull), WM_SETTEXT, 0,
               reinterpret_cast<LPARAM>(text.c_str()));
}

// Clicks the start image as a mouse would; the run starts when the program takes the click.
inline void ClickStart(HWND main) {
  const HWND start = GetDlgItem(main, ids::ImgStart);
  PostMessageW(start, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  PostMessageW(start, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
}

// Clicks the start image and waits for the run's summary, or for the program's end.
inline std::wstring RunAndWaitForSummary(const Program& program, HWND main) {
  // A summary still shown from an earlier run must not count as this run's.
  SendMessageW(GetDlgItem(main, ids::LabTitle(1)), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
  ClickStart(main);
  const DWORD until = GetTickCount() + kStartTimeoutMs;
  std::wstring status = StatusText(main);
  while (status.rfind(L"转换完成  用时", 0) != 0 && static_cast<LONG>(until - GetTickCount()) > 0 &&
         !program.WaitForExit(20)) {
    status = StatusText(main);
  }
  return status;
}

// The program's own pop-up menu, once it is open (null after the timeout).
inline HWND OpenPopupMenu(DWORD processId) {
  const DWORD until = GetTickCount() + kStartTimeoutMs;
  while (static_cast<LONG>(until - GetTickCount()) > 0) {
    for (HWND menu = FindWindowW(L"#32768", nullptr); menu;
         menu = FindWindowExW(nullptr, menu, L"#32768", nullptr)) {
      DWORD owner = 0;
      GetWindowThreadProcessId(menu, &owner);
      if (owner == processId && IsWindowVisible(menu)) return menu;
    }
    Sleep(20);
  }
  return nullptr;
}

// Waits until the status line satisfies `done`, or the program ends, or the timeout passes.
inline std::wstring WaitForStatus(const Program& program, HWND main,
                                  const std::function<bool(const std::wstring&)>& done,
                                  DWORD milliseconds = 60000) {
  const DWORD until = GetTickCount() + milliseconds;
  std::wstring status = StatusText(main);
  while (!done(status) && static_cast<LONG>(until - GetTickCount()) > 0 &&
         !program.WaitForExit(20)) {
    status = StatusText(main);
  }
  return status;
}

// Opens the template box's menu and chooses the item `upsFromTop` presses of the up key
// away from its top (the first press wraps to the last item), as a user would with the
// keyboard; false when the menu did not open.
inline bool ChooseFromTemplateMenu(const Program& program, HWND main, int upsFromTop) {
  const HWND box = GetDlgItem(main, ids::TextRull);
  PostMessageW(box, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 5));
  PostMessageW(box, WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
  const HWND menu = OpenPopupMenu(program.Id());
  if (!menu) return false;
  for (int i = 0; i < upsFromTop; ++i) PostMessageW(menu, WM_KEYDOWN, VK_UP, 1);
  PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 1);
  return true;
}

// The last items, upwards: 加入右键菜单, 打开模板文件夹, 保存为模板…, 模    板, 撤    销.
inline constexpr int kUpsToSaveTemplate = 3;
inline constexpr int kUpsToUndo = 5;

// Chooses "撤    销" and waits for the undo's summary.
inline std::wstring UndoFromTheMenu(const Program& program, HWND main) {
  if (!ChooseFromTemplateMenu(program, main, kUpsToUndo)) return L"no menu";
  return WaitForStatus(program, main, [](const std::wstring& text) {
    return text.rfind(L"撤销完成  用时", 0) == 0;
  });
}

}  // namespace tarnivo::test

// End-to-end: tarnivo.exe started as its own process from a temp program folder, as a
// user would, and read back through its window and the files it writes.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/control_ids.h"
#include "tests/support/temp_folder.h"
#include "win/window_text.h"

namespace tarnivo::test {
namespace {

constexpr DWORD kStartTimeoutMs = 30000;
constexpr DWORD kExitTimeoutMs = 30000;

std::wstring BuiltProgram() {
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
  bool WaitForExit(DWORD milliseconds) const {
    return WaitForSingleObject(info_.hProcess, milliseconds) == WAIT_OBJECT_0;
  }
  DWORD ExitCode() const {
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
  }

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

std::wstring StatusText(HWND main) { return WindowText(GetDlgItem(main, ids::LabTitle(1))); }

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

TEST_F(EndToEnd, ListsTheFolderAndSavesThePatternAtExit) {
  work.WriteFile(L"一.jpg");
  work.WriteFile(L"two.JPG");
  work.WriteFile(L"three.txt");
  Program program(exe, Quoted(work.Path()));
  ASSERT_TRUE(program.Started());
  const HWND main = program.MainWindow();
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(WindowText(main), L"《Tarnivo》 V 1.0");
  EXPECT_EQ(StatusText(main), L"当前目录[2]:  " + work.Path());
  EXPECT_FALSE(FileExists(ConfigPath()));  // nothing is written before the exit

  ASSERT_TRUE(program.Close(main));
  EXPECT_EQ(ReadFileBytes(ConfigPath()), "[main]\r\nPattern=*.jpg\r\n");
}

TEST_F(EndToEnd, PatternComesFromTheSettingsFileAndGoesBackUnchanged) {
  const std::string settings = "[main]\r\nPattern=*.txt\r\nwritelog=0\r\n";
  programFolder.WriteFile(L"config.ini", settings);
  work.WriteFile(L"a.jpg");
  work.WriteFile(L"b.txt");
  Program program(exe, Quoted(work.Path()));
  const HWND main = program.MainWindow();
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(StatusText(main), L"当前目录[1]:  " + work.Path());  // *.txt applied
  ASSERT_TRUE(program.Close(main));
  EXPECT_EQ(ReadFileBytes(ConfigPath()), settings);
}

TEST_F(EndToEnd, SecondStartEndsAtOnceAndTouchesNothing) {
  Program first(exe, Quoted(work.Path()));
  const HWND main = first.MainWindow();
  ASSERT_NE(main, nullptr);

  Program second(exe, Quoted(work.Path()));
  ASSERT_TRUE(second.Started());
  ASSERT_TRUE(second.WaitForExit(kExitTimeoutMs));
  EXPECT_EQ(second.ExitCode(), 0u);
  EXPECT_FALSE(FileExists(ConfigPath()));
  EXPECT_TRUE(IsWindow(main));

  // A copy of the program elsewhere has its own settings file and runs beside it.
  TempFolder otherProgramFolder;
  const std::wstring otherExe = otherProgramFolder / L"tarnivo.exe";
  ASSERT_TRUE(CopyFileW(exe.c_str(), otherExe.c_str(), FALSE));
  Program other(otherExe, Quoted(work.Path()));
  const HWND otherMain = other.MainWindow();
  ASSERT_NE(otherMain, nullptr);
  ASSERT_TRUE(other.Close(otherMain));
  EXPECT_TRUE(FileExists(otherProgramFolder / L"config.ini"));

  ASSERT_TRUE(first.Close(main));
  EXPECT_EQ(ReadFileBytes(ConfigPath()), "[main]\r\nPattern=*.jpg\r\n");
}

TEST_F(EndToEnd, StartsWithoutArgumentsAndWithBadOnes) {
  const std::wstring file = work.WriteFile(L"photo.jpg", "x");
  const std::wstring cases[] = {
      L"",
      Quoted(file),
      Quoted(work.Path() + L"\\" + std::wstring(300, L'x')),
      Quoted(work.Path() + L"\\사진"),
      L"\"" + work.Path() + L"\" \"" + work.Path() + L"\"",
  };
  for (const std::wstring& arguments : cases) {
    SCOPED_TRACE(arguments);
    Program program(exe, arguments);
    const HWND main = program.MainWindow();
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(WindowText(main), L"《Tarnivo》 V 1.0");
    ASSERT_TRUE(program.Close(main));
  }
}

// Clicks the start image as a mouse would and waits for the run's summary, or for the
// program's end.
std::wstring RunAndWaitForSummary(const Program& program, HWND main) {
  const HWND start = GetDlgItem(main, ids::ImgStart);
  PostMessageW(start, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  PostMessageW(start, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  const DWORD until = GetTickCount() + kStartTimeoutMs;
  std::wstring status = StatusText(main);
  while (status.rfind(L"转换完成  用时", 0) != 0 && static_cast<LONG>(until - GetTickCount()) > 0 &&
         !program.WaitForExit(20)) {
    status = StatusText(main);
  }
  return status;
}

TEST_F(EndToEnd, RenamesEveryListedFileInExplorerOrder) {
  // Each file holds its own old name, so the new names show the order they were given in.
  for (const char* name : {"IMG_1.jpg", "IMG_10.jpg", "IMG_2.jpg", "notes.txt"}) {
    work.WriteFile(std::wstring(name, name + std::char_traits<char>::length(name)), name);
  }
  Program program(exe, Quoted(work.Path()));
  const HWND main = program.MainWindow();
  ASSERT_NE(main, nullptr);
  const std::wstring templateText = L"photo_\r\n%Taxis:3,1,1%\r\n%ext%";
  SendMessageW(GetDlgItem(main, ids::TextRull), WM_SETTEXT, 0,
               reinterpret_cast<LPARAM>(templateText.c_str()));

  const std::wstring summary = RunAndWaitForSummary(program, main);
  EXPECT_NE(summary.find(L"秒, 共转换 :3个文件, 未转换 :0个文件"), std::wstring::npos) << summary;
  const std::vector<std::wstring> expected{L"notes.txt", L"photo_001.jpg", L"photo_002.jpg",
                                           L"photo_003.jpg"};
  EXPECT_EQ(FileNamesIn(work.Path()), expected);
  // IMG_2 before IMG_10, as the shell shows them.
  EXPECT_EQ(ReadFileBytes(work / L"photo_001.jpg"), "IMG_1.jpg");
  EXPECT_EQ(ReadFileBytes(work / L"photo_002.jpg"), "IMG_2.jpg");
  EXPECT_EQ(ReadFileBytes(work / L"photo_003.jpg"), "IMG_10.jpg");

  // A run without failures leaves the header alone in the log.
  const std::string log = ReadFileBytes(programFolder / L"Err.LOG");
  const std::string rule(32, '=');
  const std::string tail =
      rule + "\r\nphoto_\r\n%Taxis:3,1,1%\r\n%ext%\r\n" + rule + "\r\n\r\n\r\n";
  ASSERT_GE(log.size(), tail.size());
  EXPECT_EQ(log.substr(log.size() - tail.size()), tail);
  EXPECT_EQ(log.rfind("\t", 0), 0u);

  ASSERT_TRUE(program.Close(main));
}

TEST_F(EndToEnd, TakenNamesFailAndNoFileIsLost) {
  for (const wchar_t* name : {L"a.jpg", L"b.jpg", L"c.jpg"}) work.WriteFile(name, "x");
  programFolder.WriteFile(L"config.ini", "[main]\r\nopenlog=0\r\n");
  Program program(exe, Quoted(work.Path()));
  const HWND main = program.MainWindow();
  ASSERT_NE(main, nullptr);
  SendMessageW(GetDlgItem(main, ids::TextRull), WM_SETTEXT, 0,
               reinterpret_cast<LPARAM>(L"same.jpg"));

  const std::wstring summary = RunAndWaitForSummary(program, main);
  EXPECT_NE(summary.find(L"共转换 :1个文件, 未转换 :2个文件"), std::wstring::npos) << summary;
  const std::vector<std::wstring> expected{L"b.jpg", L"c.jpg", L"same.jpg"};
  EXPECT_EQ(FileNamesIn(work.Path()), expected);

  const std::string log = ReadFileBytes(programFolder / L"Err.LOG");
  const std::string rule(32, '=');
  EXPECT_NE(log.find("\r\n1" + rule + "\r\n"), std::string::npos);
  EXPECT_NE(log.find("\r\n2" + rule + "\r\n"), std::string::npos);
  EXPECT_EQ(log.find("\r\n3" + rule), std::string::npos);
  EXPECT_EQ(log.find("\r\r\n"), std::string::npos);  // CR LF pairs stay pairs

  ASSERT_TRUE(program.Close(main));
}

}  // namespace
}  // namespace tarnivo::test

// End-to-end: tarnivo.exe started from a script with switches, its output redirected to
// files as `tarnivo.exe … > list.txt` does, its exit code and the files it renames and writes
// read back.
#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "tests/e2e/program.h"
#include "win/code_page.h"

namespace tarnivo::test {
namespace {

const std::string kBom = "\xEF\xBB\xBF";

struct Finished {
  DWORD Code = STILL_ACTIVE;
  std::string Out;  // the bytes of standard output
  std::string Err;
};

// Runs the program to its end with standard output and error going to files.
Finished RunToEnd(const std::wstring& exe, const std::wstring& arguments) {
  TempFolder streams;
  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  const auto open = [&](const wchar_t* name) {
    return CreateFileW((streams / name).c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                       CREATE_ALWAYS, 0, nullptr);
  };
  const HANDLE out = open(L"out"), err = open(L"err");
  std::wstring commandLine = L"\"" + exe + L"\" " + arguments;
  STARTUPINFOW startup{sizeof(startup)};
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = out;
  startup.hStdError = err;
  PROCESS_INFORMATION info{};
  Finished finished;
  if (CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                     &startup, &info)) {
    if (WaitForSingleObject(info.hProcess, kExitTimeoutMs) != WAIT_OBJECT_0) {
      TerminateProcess(info.hProcess, 99);
    }
    GetExitCodeProcess(info.hProcess, &finished.Code);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
  }
  CloseHandle(out);
  CloseHandle(err);
  finished.Out = ReadFileBytes(streams / L"out");
  finished.Err = ReadFileBytes(streams / L"err");
  return finished;
}

class CommandLine : public EndToEnd {
 protected:
  void SaveTemplate(const std::wstring& name, const std::wstring& text) const {
    CreateDirectoryW((programFolder / L"模板").c_str(), nullptr);  // may be there already
    programFolder.WriteFile(L"模板\\" + name + L".txt", kBom + ToUtf8(text));
  }
  Finished Run(const std::wstring& arguments) const { return RunToEnd(exe, arguments); }
};

TEST_F(CommandLine, RunsASavedTemplateInTheChosenOrderAndUndoesIt) {
  // Sizes 3, 1, 2: by size falling, c then a then b.
  work.WriteFile(L"a.jpg", "x");
  work.WriteFile(L"b.jpg", "xy");
  work.WriteFile(L"c.jpg", "xyz");
  work.WriteFile(L"notes.txt", "left out by the pattern");
  SaveTemplate(L"旅行", L"旅行_\r\n%Taxis:2,1,1%\r\n%ext%");
  const Finished run = Run(Quoted(work.Path()) + L" /run /template 旅行 /sort size /desc");
  EXPECT_EQ(run.Code, 0u) << run.Err;
  EXPECT_EQ(FileNamesIn(work.Path()), (std::vector<std::wstring>{L"notes.txt", L"旅行_01.jpg",
                                                                 L"旅行_02.jpg", L"旅行_03.jpg"}));
  EXPECT_EQ(ReadFileBytes(work / L"旅行_01.jpg"), "xyz");
  EXPECT_EQ(run.Out.rfind(ToUtf8(L"转换完成  用时"), 0), 0u) << run.Out;
  EXPECT_NE(run.Out.find(ToUtf8(L"共转换 :3个文件, 未转换 :0个文件\r\n")), std::string::npos);
  EXPECT_TRUE(FileExists(programFolder / L"Err.LOG"));
  EXPECT_TRUE(FileExists(programFolder / L"Undo.LOG"));

  const Finished undo = Run(L"/undo");
  EXPECT_EQ(undo.Code, 0u) << undo.Err;
  EXPECT_NE(undo.Out.find(ToUtf8(L"共恢复 :3个文件, 未恢复 :0个文件")), std::string::npos);
  EXPECT_EQ(FileNamesIn(work.Path()),
            (std::vector<std::wstring>{L"a.jpg", L"b.jpg", L"c.jpg", L"notes.txt"}));
  EXPECT_EQ(Run(L"/undo").Code, 0u);  // nothing left to undo
}

TEST_F(CommandLine, ARunWithFailuresPrintsEachAndEndsWithOne) {
  work.WriteFile(L"a.jpg", "a");
  work.WriteFile(L"b.jpg", "b");
  SaveTemplate(L"same", L"same\r\n%ext%");
  const Finished run = Run(Quoted(work.Path()) + L" /run /template same");
  EXPECT_EQ(run.Code, 1u);
  EXPECT_EQ(FileNamesIn(work.Path()), (std::vector<std::wstring>{L"b.jpg", L"same.jpg"}));
  EXPECT_EQ(ReadFileBytes(work / L"same.jpg"), "a");
  EXPECT_EQ(run.Out.rfind(ToUtf8(L"b.jpg\tsame.jpg\t错误代号 58"), 0), 0u) << run.Out;
  EXPECT_NE(run.Out.find(ToUtf8(L"共转换 :1个文件, 未转换 :1个文件")), std::string::npos);
  EXPECT_NE(ReadFileBytes(programFolder / L"Err.LOG").find("b.jpg"), std::string::npos);
}

// Redirected, every name arrives exactly, whatever the code page holds.
TEST_F(CommandLine, PreviewToAFileIsExactUtf8AndRenamesNothing) {
  const std::vector<std::wstring> names{L"a.jpg", L"x_a.jpg", L"한국.jpg", L"😀.jpg"};
  for (const std::wstring& name : names) work.WriteFile(name, "x");
  const std::wstring templateFile =
      programFolder.WriteFile(L"t.txt", ToUtf8(L"x_\r\n%name%\r\n%ext%"));
  const Finished preview =
      Run(Quoted(work.Path()) + L" /preview /template-file " + Quoted(templateFile));
  EXPECT_EQ(preview.Code, 0u) << preview.Err;
  const std::wstring expected =
      L"a.jpg\tx_a.jpg\t顺移\r\n"
      L"x_a.jpg\tx_x_a.jpg\t将转换\r\n"
      L"😀.jpg\tx_😀.jpg\t将转换\r\n"
      L"한국.jpg\tx_한국.jpg\t将转换\r\n"
      L"将转换 4 个文件, 不变 0 个, 将失败 0 个\r\n";
  EXPECT_EQ(preview.Out, ToUtf8(expected));
  EXPECT_EQ(FileNamesIn(work.Path()), names);
  EXPECT_FALSE(FileExists(programFolder / L"Undo.LOG"));
}

TEST_F(CommandLine, BadArgumentsEndWithTwoAndRenameNothing) {
  work.WriteFile(L"a.jpg", "a");
  SaveTemplate(L"ok", L"new_\r\n%name%\r\n%ext%");
  const std::wstring folder = Quoted(work.Path());
  struct Case {
    std::wstring Arguments;
    std::wstring Says;  // in the error output
  };
  const Case cases[] = {
      {folder + L" /run /template ok /frob", L"不认识的参数: /frob"},
      {folder + L" /run /template", L"缺少 /template 的值"},
      {folder + L" /run", L"需要 /template 或 /template-file"},
      {folder + L" /run /preview /template ok", L"只能有一个"},
      {folder + L" /template ok", L"缺少 /run"},
      {folder + L" /run /template ok /sort colour", L"/sort 只能是"},
      {L"/run /template ok", L"缺少文件夹"},
      {Quoted(work / L"nowhere") + L" /run /template ok", L"没有这个文件夹"},
      {folder + L" /run /template 没有", L"没有这个模板: 没有"},
      {folder + L" /run /template-file " + Quoted(work / L"none.txt"), L"无法读取模板文件"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Arguments);
    const Finished run = Run(c.Arguments);
    EXPECT_EQ(run.Code, 2u);
    EXPECT_NE(run.Err.find(ToUtf8(c.Says)), std::string::npos) << run.Err;
    EXPECT_EQ(FileNamesIn(work.Path()), std::vector<std::wstring>{L"a.jpg"});
  }
  EXPECT_FALSE(FileExists(programFolder / L"Undo.LOG"));
  const Finished help = Run(L"/?");
  EXPECT_EQ(help.Code, 0u);
  EXPECT_NE(help.Out.find("/template-file"), std::string::npos);
}

TEST_F(CommandLine, ARunWhileTheWindowIsOpenEndsWithThreeAndRenamesNothing) {
  work.WriteFile(L"a.jpg", "a");
  SaveTemplate(L"ok", L"new_\r\n%name%\r\n%ext%");
  Program window(exe, Quoted(work.Path()));
  const HWND main = window.MainWindow();
  ASSERT_NE(main, nullptr);
  const Finished run = Run(Quoted(work.Path()) + L" /run /template ok");
  EXPECT_EQ(run.Code, 3u);
  EXPECT_NE(run.Err.find(ToUtf8(L"已在运行")), std::string::npos) << run.Err;
  EXPECT_EQ(FileNamesIn(work.Path()), std::vector<std::wstring>{L"a.jpg"});
  // The usage and a bad command line need no instance of their own.
  EXPECT_EQ(Run(L"/?").Code, 0u);
  EXPECT_EQ(Run(L"/frob").Code, 2u);
  ASSERT_TRUE(window.Close(main));
}

// "…\pics " is the folder the system opens for it, "…\pics": the window's status line,
// its list and a run from the command line all name that folder.
TEST_F(CommandLine, AFolderEndingInABlankIsTheOneTheSystemOpens) {
  work.MakeFolder(L"pics");
  work.WriteFile(L"pics\\a.jpg", "a");
  const std::wstring blank = work.Path() + L"\\pics ";
  Program program(exe, Quoted(blank));
  const HWND main = program.MainWindow();
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(StatusText(main), L"当前目录[1]:  " + work.Path() + L"\\pics");
  ASSERT_TRUE(program.Close(main));

  SaveTemplate(L"ok", L"new_\r\n%name%\r\n%ext%");
  const Finished run = Run(Quoted(blank) + L" /run /template ok");
  EXPECT_EQ(run.Code, 0u) << run.Err;
  EXPECT_EQ(FileNamesIn(work / L"pics"), std::vector<std::wstring>{L"new_a.jpg"});
}

// The program folder made unwritable even for root, as Program Files is for a user; undone
// when the test ends, so that the folder can go.
class UnwritableFolder {
 public:
  explicit UnwritableFolder(const std::wstring& folder) : unix_(UnixPath(folder)) {
    done_ = !unix_.empty() && Chattr(L"+i");
  }
  UnwritableFolder(const UnwritableFolder&) = delete;
  UnwritableFolder& operator=(const UnwritableFolder&) = delete;
  ~UnwritableFolder() {
    if (done_) Chattr(L"-i");
  }
  bool Done() const { return done_; }

 private:
  // Wine's own name of a file on the host.
  static std::wstring UnixPath(const std::wstring& path) {
    using ToUnix = char*(CDECL*)(const wchar_t*);
    const auto toUnix = reinterpret_cast<ToUnix>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!toUnix) return {};
    char* unix = toUnix(path.c_str());
    if (!unix) return {};
    const std::wstring converted = FromUtf8(unix).value_or(std::wstring());
    HeapFree(GetProcessHeap(), 0, unix);
    return converted;
  }
  // Wine starts a host program named by its host path, but neither its end nor its exit
  // code comes through: the shell leaves a mark once chattr has succeeded, and the mark is
  // awaited.
  bool Chattr(const wchar_t* flag) {
    const std::wstring mark = marks_ / (L"done" + std::to_wstring(++count_));
    const std::wstring unixMark = UnixPath(mark);
    std::wstring commandLine = L"/bin/sh -c \"/usr/bin/chattr " + std::wstring(flag) + L" '" +
                               unix_ + L"' && touch '" + unixMark + L"'\"";
    STARTUPINFOW startup{sizeof(startup)};
    PROCESS_INFORMATION info{};
    if (unixMark.empty() || !CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0,
                                            nullptr, nullptr, &startup, &info)) {
      return false;
    }
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    for (int i = 0; i < 250; ++i) {
      if (FileExists(mark)) return true;
      Sleep(20);
    }
    return false;
  }

  TempFolder marks_;
  std::wstring unix_;
  int count_ = 0;
  bool done_ = false;
};

// An environment variable set for the programs the test starts, put back afterwards.
class ScopedVariable {
 public:
  ScopedVariable(const wchar_t* name, const std::wstring& value) : name_(name) {
    wchar_t old[1024];
    const DWORD length = GetEnvironmentVariableW(name, old, 1024);
    if (length > 0 && length < 1024) old_ = std::wstring(old, length);
    SetEnvironmentVariableW(name, value.c_str());
  }
  ScopedVariable(const ScopedVariable&) = delete;
  ScopedVariable& operator=(const ScopedVariable&) = delete;
  ~ScopedVariable() { SetEnvironmentVariableW(name_, old_ ? old_->c_str() : nullptr); }

 private:
  const wchar_t* name_;
  std::optional<std::wstring> old_;
};

// Types `name` into the dialog "保存为模板" of `program` and presses 确定.
bool AnswerTemplateName(const Program& program, const std::wstring& name) {
  const DWORD until = GetTickCount() + kStartTimeoutMs;
  while (static_cast<LONG>(until - GetTickCount()) > 0) {
    const HWND dialog = FindWindowW(L"#32770", L"保存为模板");
    DWORD owner = 0;
    if (dialog) GetWindowThreadProcessId(dialog, &owner);
    if (dialog && owner == program.Id()) {
      SetDlgItemTextW(dialog, 101, name.c_str());
      SendMessageW(dialog, WM_COMMAND, IDOK, 0);
      return !IsWindow(dialog) || !IsWindowVisible(dialog);
    }
    Sleep(20);
  }
  return false;
}

TEST_F(CommandLine, AnUnwritableProgramFolderKeepsItsRecordsInTheUsersFolder) {
  TempFolder user;
  const ScopedVariable localAppData(L"LOCALAPPDATA", user.Path());
  const std::wstring aside = user / L"Tarnivo";
  const std::vector<std::wstring> names{L"a.jpg", L"b.jpg"};
  for (const std::wstring& name : names) work.WriteFile(name, "x");
  const UnwritableFolder unwritable(programFolder.Path());
  if (!unwritable.Done()) {
    GTEST_SKIP() << "chattr +i needs root on the host";
  }
  {
    Program program(exe, Quoted(work.Path()));
    const HWND main = program.MainWindow();
    ASSERT_NE(main, nullptr);
    SetTemplate(main, L"new_\r\n%name%\r\n%ext%");
    ASSERT_TRUE(ChooseFromTemplateMenu(program, main, kUpsToSaveTemplate));
    ASSERT_TRUE(AnswerTemplateName(program, L"新"));
    EXPECT_NE(RunAndWaitForSummary(program, main).find(L"共转换 :2个文件"), std::wstring::npos);
    ASSERT_TRUE(program.Close(main));
  }
  EXPECT_EQ(FileNamesIn(work.Path()), (std::vector<std::wstring>{L"new_a.jpg", L"new_b.jpg"}));
  EXPECT_EQ(FileNamesIn(programFolder.Path()), std::vector<std::wstring>{L"tarnivo.exe"});
  EXPECT_TRUE(FileExists(aside + L"\\Err.LOG"));
  EXPECT_TRUE(FileExists(aside + L"\\Undo.LOG"));
  EXPECT_EQ(ReadFileBytes(aside + L"\\config.ini"), "[main]\r\nPattern=*.jpg\r\n");
  EXPECT_EQ(ReadFileBytes(aside + L"\\模板\\新.txt"), kBom + "new_\r\n%name%\r\n%ext%");

  // Started again, the program finds the journal where the run wrote it.
  Program again(exe, Quoted(work.Path()));
  const HWND main = again.MainWindow();
  ASSERT_NE(main, nullptr);
  // Asked of the box itself: another process's GetWindowText would not.
  wchar_t restored[64] = {};
  SendMessageW(GetDlgItem(main, ids::TextRull), WM_GETTEXT, 64, reinterpret_cast<LPARAM>(restored));
  EXPECT_STREQ(restored, L"new_\r\n%name%\r\n%ext%");
  EXPECT_NE(UndoFromTheMenu(again, main).find(L"共恢复 :2个文件"), std::wstring::npos);
  EXPECT_EQ(FileNamesIn(work.Path()), names);
  ASSERT_TRUE(again.Close(main));
}

}  // namespace
}  // namespace tarnivo::test

// End-to-end: the preview of tarnivo.exe started as its own process, read through its
// list view from this process, and then the run it foretold.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <string>
#include <vector>

#include "tests/e2e/program.h"
#include "tests/support/preview_rows.h"

namespace tarnivo::test {
namespace {

struct PreviewSearch {
  HWND Owner, Found;
};

BOOL CALLBACK FindOwnedPreview(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<PreviewSearch*>(data);
  wchar_t name[64] = L"";
  GetClassNameW(window, name, 64);
  if (GetWindow(window, GW_OWNER) != search->Owner || std::wstring(name) != L"TarnivoPreview") {
    return TRUE;
  }
  search->Found = window;
  return FALSE;
}

HWND FindPreview(HWND main) {
  PreviewSearch search{main, nullptr};
  EnumWindows(FindOwnedPreview, reinterpret_cast<LPARAM>(&search));
  return search.Found;
}

// The rows of another process's list view: the item and its text buffer live in that
// process, where the list view writes them.
std::vector<PreviewRowText> ReadRows(HWND list) {
  std::vector<PreviewRowText> rows;
  DWORD processId = 0;
  GetWindowThreadProcessId(list, &processId);
  const HANDLE process =
      OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
  if (!process) return rows;
  constexpr size_t kChars = 2048;
  void* remote = VirtualAllocEx(process, nullptr, sizeof(LVITEMW) + kChars * sizeof(wchar_t),
                                MEM_COMMIT, PAGE_READWRITE);
  if (remote) {
    auto* remoteText = reinterpret_cast<wchar_t*>(static_cast<char*>(remote) + sizeof(LVITEMW));
    const auto count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      std::wstring cells[3];
      for (int column = 0; column < 3; ++column) {
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = remoteText;
        item.cchTextMax = kChars;
        WriteProcessMemory(process, remote, &item, sizeof(item), nullptr);
        const auto length = static_cast<size_t>(
            SendMessageW(list, LVM_GETITEMTEXTW, i, reinterpret_cast<LPARAM>(remote)));
        std::wstring text(std::min(length, kChars), L'\0');
        ReadProcessMemory(process, remoteText, text.data(), text.size() * sizeof(wchar_t), nullptr);
        cells[column] = text;
      }
      rows.push_back({cells[0], cells[1], cells[2]});
    }
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  }
  CloseHandle(process);
  return rows;
}

// What the preview showed is what the run does, in the program as a user starts it.
TEST_F(EndToEnd, ARunDoesWhatThePreviewShowed) {
  struct Case {
    const char* What;
    std::vector<std::wstring> Files;
    std::wstring Template;
  };
  const Case cases[] = {
      {"a chain, a taken name, a refused one and names outside the code page",
       {L"1.jpg", L"2.jpg", L"3.jpg", L"3_.png", L"한국.jpg"},
       L"%Taxis:1,2,1%\r\n_\r\n%Taxis:6,50%\r\n.png"},
      {"a literal template", {L"a.jpg", L"b.jpg", L"c.jpg"}, L"same.jpg"},
      {"a name the program refuses", {L"a.jpg"}, L"%name%\r\n "},
  };
  programFolder.WriteFile(L"config.ini", "[main]\r\nopenlog=0\r\n");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    TempFolder files;
    for (const std::wstring& name : c.Files) files.WriteFile(name, "x");
    const std::vector<std::wstring> before = FileNamesIn(files.Path());
    Program program(exe, Quoted(files.Path()));
    const HWND main = program.MainWindow();
    ASSERT_NE(main, nullptr);
    const HWND box = GetDlgItem(main, ids::TextRull);
    SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(c.Template.c_str()));
    PostMessageW(box, WM_KEYDOWN, VK_F5, 1);
    HWND preview = nullptr;
    const DWORD until = GetTickCount() + kStartTimeoutMs;
    std::wstring summary;
    while (static_cast<LONG>(until - GetTickCount()) > 0 &&
           (summary.empty() || summary == kChecking)) {
      Sleep(20);
      if (!preview) preview = FindPreview(main);
      if (preview) summary = WindowText(GetDlgItem(preview, ids::PreviewSummary));
    }
    ASSERT_NE(preview, nullptr);
    ASSERT_TRUE(IsWindowVisible(preview));
    const std::vector<PreviewRowText> rows = ReadRows(GetDlgItem(preview, ids::PreviewList));
    ASSERT_FALSE(rows.empty());
    const ForeseenRun run = Foresee(before, rows);
    EXPECT_EQ(summary, L"将转换 " + std::to_wstring(run.Renamed) + L" 个文件, 不变 " +
                           std::to_wstring(run.Unchanged) + L" 个, 将失败 " +
                           std::to_wstring(run.Failing) + L" 个");

    const std::wstring status = RunAndWaitForSummary(program, main);
    EXPECT_NE(status.find(L"共转换 :" + std::to_wstring(run.Renamed + run.Unchanged) +
                          L"个文件, 未转换 :" + std::to_wstring(run.Failing) + L"个文件"),
              std::wstring::npos)
        << testing::PrintToString(status);
    EXPECT_EQ(FileNamesIn(files.Path()), run.FilesAfter);
    const std::wstring log = FromAnsi(ReadFileBytes(programFolder / L"Err.LOG"));
    EXPECT_EQ(FailuresInLog(log, files.Path() + L"\\"), run.Failures);
    ASSERT_TRUE(program.Close(main));
  }
}

}  // namespace
}  // namespace tarnivo::test

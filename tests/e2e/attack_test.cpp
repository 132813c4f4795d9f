// End-to-end: the program as its own process against inputs that have ended it or fooled
// it: sequence numbers of a hundred million digits, folders deeper than 260 characters.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "tests/e2e/program.h"
#include "win/paths.h"

namespace tarnivo::test {
namespace {

std::uint64_t FileSize(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(ExtendedPath(path).c_str(), GetFileExInfoStandard, &data)) return 0;
  return (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
}

TEST_F(EndToEnd, SequenceNumbersOfHundredsOfMillionsOfDigitsFailEveryEntryAndLoseNothing) {
  std::vector<std::wstring> names;
  for (int i = 0; i < 10; ++i) {
    names.push_back(L"IMG_" + std::to_wstring(i) + L".jpg");
    work.WriteFile(names.back(), "photo " + std::to_string(i));
  }
  Program program(exe, Quoted(work.Path()));
  const HWND main = program.MainWindow();
  ASSERT_NE(main, nullptr);
  for (const wchar_t* width : {L"100000000", L"125000000", L"150000000", L"268435455"}) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(width)));
    SetTemplate(main, std::wstring(L"%Taxis:") + width + L",1,1%");
    const std::wstring summary = RunAndWaitForSummary(program, main);
    ASSERT_FALSE(program.WaitForExit(0)) << "ended with " << program.ExitCode();
    EXPECT_NE(summary.find(L"共转换 :0个文件, 未转换 :10个文件"), std::wstring::npos) << summary;
    EXPECT_LT(FileSize(programFolder / L"Err.LOG"), 1000000u);
    const std::string log = ReadFileBytes(programFolder / L"Err.LOG");
    EXPECT_NE(log.find("10================================"), std::string::npos);
    EXPECT_EQ(FileNamesIn(work.Path()), names);
  }
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(ReadFileBytes(work / names[static_cast<size_t>(i)]), "photo " + std::to_string(i));
  }
  ASSERT_TRUE(program.Close(main));
}

TEST_F(EndToEnd, RenamesInAFolderDeeperThan300Characters) {
  std::wstring deep = work.Path();
  while (deep.size() <= 300) {
    deep += L"\\" + std::wstring(40, L'深') + L"文件夹";
    ASSERT_TRUE(CreateDirectoryW(ExtendedPath(deep).c_str(), nullptr)) << GetLastError();
  }
  for (const wchar_t* name : {L"a.jpg", L"b.jpg"}) {
    const HANDLE file = CreateFileW(ExtendedPath(deep + L"\\" + name).c_str(), GENERIC_WRITE, 0,
                                    nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
  }
  Program program(exe, Quoted(deep));
  const HWND main = program.MainWindow();
  ASSERT_NE(main, nullptr);
  // What the user reads keeps the ordinary form of the path.
  EXPECT_EQ(StatusText(main), L"当前目录[2]:  " + deep);
  SetTemplate(main, L"%name%\r\n_\r\n%Taxis:2,1,1%\r\n%ext%");
  const std::wstring summary = RunAndWaitForSummary(program, main);
  EXPECT_NE(summary.find(L"共转换 :2个文件, 未转换 :0个文件"), std::wstring::npos) << summary;
  EXPECT_NE(GetFileAttributesW(ExtendedPath(deep + L"\\a_01.jpg").c_str()),
            INVALID_FILE_ATTRIBUTES);
  EXPECT_NE(GetFileAttributesW(ExtendedPath(deep + L"\\b_02.jpg").c_str()),
            INVALID_FILE_ATTRIBUTES);
  ASSERT_TRUE(program.Close(main));
}

}  // namespace
}  // namespace tarnivo::test

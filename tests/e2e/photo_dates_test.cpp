// End-to-end: photos renamed by the date they were taken, as the program's own process.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "tests/e2e/program.h"
#include "tests/support/photo_fixtures.h"
#include "win/code_page.h"

namespace tarnivo::test {
namespace {

TEST_F(EndToEnd, PhotosGetTheDateTheyWereTakenAndAFileWithoutOneIsLogged) {
  // Dates as exiftool wrote them into the fixtures (tests/engine/photo_dates/expected.tsv).
  const std::pair<const wchar_t*, const wchar_t*> photos[] = {
      {L"jpeg_ii_all.jpg", L"a.jpg"},
      {L"heic_mm_original.heic", L"b.heic"},
      {L"nef_ii_all.nef", L"c.nef"},
      {L"jpeg_no_exif.jpg", L"d.jpg"},
  };
  for (const auto& [fixture, name] : photos) {
    ASSERT_TRUE(CopyFileW(PhotoFixture(fixture).c_str(), (work / name).c_str(), FALSE)) << fixture;
  }
  programFolder.WriteFile(L"config.ini", "[main]\r\nPattern=*.*\r\nopenlog=0\r\n");
  Program program(exe, Quoted(work.Path()));
  const HWND main = program.MainWindow();
  ASSERT_NE(main, nullptr);
  SetTemplate(main, L"%taken%\r\n_\r\n%name%\r\n%ext%");
  const std::wstring summary = RunAndWaitForSummary(program, main);
  // The file without a date is renamed with what the other lines give (so all four are
  // renamed), and the failure of its line is logged.
  EXPECT_NE(summary.find(L"共转换 :4个文件, 未转换 :0个文件"), std::wstring::npos) << summary;
  EXPECT_EQ(FileNamesIn(work.Path()),
            (std::vector<std::wstring>{L"20210304_050607_a.jpg", L"20210304_050607_b.heic",
                                       L"20210304_050607_c.nef", L"_d.jpg"}));
  const std::wstring log = FromAnsi(ReadFileBytes(programFolder / L"Err.LOG"));
  EXPECT_NE(log.find(L"1" + std::wstring(32, L'=') + L"\r\n拟转换文件名: " + work.Path() +
                     L"\\\r\n原文件名: " + work.Path() +
                     L"\\d.jpg\r\n错误代号: 1001\r\n详细内容: 无拍摄日期\r\n"),
            std::wstring::npos)
      << ToAnsi(log);
  ASSERT_TRUE(program.Close(main));
}

}  // namespace
}  // namespace tarnivo::test

#include "engine/error_log.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/engine/test_support.h"

namespace tarnivo {
namespace {

using test::Show;

const std::wstring kRule(32, L'=');

TEST(LogHeader, FourTabLinesTheTemplateBetweenRulesAndTwoEmptyLines) {
  struct Case {
    DateTime now;
    std::wstring templateText;
    std::wstring dateLine;
    std::wstring templateLines;
  };
  const Case cases[] = {
      {{2026, 12, 6, 4, 5, 6},
       L"%name%\r\n_\r\n%ext%",
       L"26-12-06 & 04:05:06",
       L"%name%\r\n_\r\n%ext%\r\n"},
      {{1999, 1, 31, 23, 59, 58}, L"", L"99-01-31 & 23:59:58", L"\r\n"},
      {{2000, 10, 1, 0, 0, 0}, L"a\r\n", L"00-10-01 & 00:00:00", L"a\r\n\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Show(c.dateLine));
    const std::wstring expected =
        L"\t《Tarnivo》 V 1.0\r\n"
        L"\t把错误代号发送到 " +
        std::wstring(kSupportMail) +
        L" 寻求免费帮助\r\n"
        L"\t或者 留言到 " +
        std::wstring(kSupportWeb) +
        L"\r\n"
        L"\t" +
        c.dateLine + L"\r\n" + kRule + L"\r\n" + c.templateLines + kRule + L"\r\n\r\n\r\n";
    EXPECT_EQ(LogHeader(L"《Tarnivo》 V 1.0", c.now, c.templateText), expected);
  }
}

BuiltName Built(std::wstring_view text) {
  BuiltName name;
  name.Append(text);
  return name;
}

TEST(LogEntry, NumberRuleAndFourLabelledLines) {
  EXPECT_EQ(LogEntry(12, L"D:\\相片\\", Built(L"a_001"), L"a.jpg", 9, L"下标越界"),
            L"12" + kRule +
                L"\r\n"
                L"拟转换文件名: D:\\相片\\a_001\r\n"
                L"原文件名: D:\\相片\\a.jpg\r\n"
                L"错误代号: 9\r\n"
                L"详细内容: 下标越界\r\n");
}

TEST(LogEntry, ControlCharactersAndLongNamesKeepTheEntryShortAndFiveLinesLong) {
  const std::wstring entry =
      LogEntry(1, L"D:\\x\\", Built(L"a\nb\r\x01.jpg"), L"old\tname", 52, L"文件名无效");
  EXPECT_EQ(entry, L"1" + kRule +
                       L"\r\n拟转换文件名: D:\\x\\a?b??.jpg\r\n原文件名: D:\\x\\old?name\r\n"
                       L"错误代号: 52\r\n详细内容: 文件名无效\r\n");
  struct Case {
    std::size_t Length;
    std::wstring Expected;
  };
  const Case cases[] = {
      {kKeptNameLength, std::wstring(kKeptNameLength, L'0')},
      {kKeptNameLength + 1, std::wstring(kKeptNameLength, L'0') + L"…(共 1001 个字符)"},
      {100000000, std::wstring(kKeptNameLength, L'0') + L"…(共 100000000 个字符)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Length);
    BuiltName name = Built(std::wstring(std::min(c.Length, kKeptNameLength + 5), L'0'));
    name.Length = c.Length;
    EXPECT_EQ(LoggedName(name), c.Expected);
  }
}

TEST(ErrorDetail, TableTextWithTheReasonOnTheSameLine) {
  struct Case {
    ErrorKind kind;
    std::wstring reason;
    std::wstring detail;
  };
  const Case cases[] = {
      {ErrorKind::OutOfRange, L"", L"下标越界"},
      {ErrorKind::FileExists, L"文件已存在。\r\n", L"文件已存在 (文件已存在。)"},
      {ErrorKind::PermissionDenied, L"  Access denied. \r\n", L"没有权限 (Access denied.)"},
      {ErrorKind::FileAccess, L"first\r\nsecond\r\n", L"路径/文件访问错误 (first second)"},
      {ErrorKind::BadFileName, L" \r\n", L"文件名无效"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Show(c.reason));
    EXPECT_EQ(ErrorDetail(c.kind, c.reason), c.detail);
  }
}

TEST(RunTexts, ProgressAndSummary) {
  EXPECT_EQ(ProgressText(L"D:\\photos\\", L"IMG_1.JPG"), L"正在转换:  D:\\photos\\IMG_1.JPG");
  struct Case {
    double seconds;
    std::int32_t renamed;
    std::int32_t notRenamed;
    std::wstring text;
  };
  const Case cases[] = {
      {0.3125, 12, 0, L"转换完成  用时0.3125秒, 共转换 :12个文件, 未转换 :0个文件"},
      {0, 0, 0, L"转换完成  用时0.0000秒, 共转换 :0个文件, 未转换 :0个文件"},
      {1.23456, 100000, 3, L"转换完成  用时1.2346秒, 共转换 :100000个文件, 未转换 :3个文件"},
      {125.00004, 0, 40000, L"转换完成  用时125.0000秒, 共转换 :0个文件, 未转换 :40000个文件"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.seconds);
    EXPECT_EQ(SummaryText(c.seconds, c.renamed, c.notRenamed), c.text);
  }
  // The undo's, in the same form.
  EXPECT_EQ(UndoProgressText(L"D:\\photos\\", L"a_1.JPG"), L"正在恢复:  D:\\photos\\a_1.JPG");
  EXPECT_EQ(UndoSummaryText(1.23456, 12, 3),
            L"撤销完成  用时1.2346秒, 共恢复 :12个文件, 未恢复 :3个文件");
}

}  // namespace
}  // namespace tarnivo

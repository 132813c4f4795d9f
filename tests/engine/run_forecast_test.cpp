// The preview's rows from a run's plan, and the texts of a row and of the summary.
#include "engine/run_forecast.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/engine/test_support.h"

namespace tarnivo {
namespace {

// One entry of each route: three that rename, three that do not.
TEST(RunForecast, RowsSayWhatThePlanSays) {
  BatchPlan plan;
  const Route routes[] = {Route::Free,      Route::Shifted, Route::Temporary,
                          Route::Unchanged, Route::Refused, Route::Taken};
  for (const Route route : routes) {
    EntryPlan entry;
    entry.Name.NewName.Append(L"n");
    plan.Entries.push_back(std::move(entry));
    plan.Routes.push_back(route);
  }
  plan.Entries[4].Problem = NameProblem::Empty;
  plan.Entries[1].Name.Failures.push_back({2, {}, ErrorKind::OutOfRange});
  const Forecast forecast = ForecastRun(std::move(plan));
  std::vector<std::wstring> statuses;
  for (const PreviewRow& row : forecast.Rows) {
    EXPECT_EQ(row.NewName.Text, L"n");
    statuses.push_back(RowStatus(row));
  }
  EXPECT_EQ(statuses, (std::vector<std::wstring>{L"", L"第 3 行 错误代号 9: 下标越界; 顺移",
                                                 L"经临时名", L"不变", L"错误代号 52: 文件名无效",
                                                 L"错误代号 58: 文件已存在"}));
  EXPECT_EQ(PreviewSummaryText(forecast.Counts), L"将转换 3 个文件, 不变 1 个, 将失败 2 个");
}

TEST(RunForecast, RowAndSummaryTexts) {
  struct Case {
    std::vector<LineFailure> Lines;
    RowOutcome Outcome;
    ErrorKind Failure;
    std::wstring Status;
  };
  const Case cases[] = {
      {{}, RowOutcome::Renamed, ErrorKind::FileAccess, L""},
      {{}, RowOutcome::Unchanged, ErrorKind::FileAccess, L"不变"},
      {{}, RowOutcome::Fails, ErrorKind::FileExists, L"错误代号 58: 文件已存在"},
      {{{2, ErrorKind::OutOfRange}},
       RowOutcome::Renamed,
       ErrorKind::FileAccess,
       L"第 3 行 错误代号 9: 下标越界"},
      {{{0, ErrorKind::TypeMismatch}, {3, ErrorKind::NoDateTaken}},
       RowOutcome::Fails,
       ErrorKind::BadFileName,
       L"第 1 行 错误代号 13: 类型不匹配; 第 4 行 错误代号 1001: 无拍摄日期; 错误代号 52: "
       L"文件名无效"},
      {{{1, ErrorKind::OutOfRange}},
       RowOutcome::Unchanged,
       ErrorKind::FileAccess,
       L"第 2 行 错误代号 9: 下标越界; 不变"},
  };
  for (const Case& c : cases) {
    PreviewRow row;
    row.LineFailures = c.Lines;
    row.Outcome = c.Outcome;
    row.Failure = c.Failure;
    EXPECT_EQ(RowStatus(row), c.Status);
  }
  EXPECT_EQ(PreviewSummaryText({3, 1, 20000}), L"将转换 3 个文件, 不变 1 个, 将失败 20000 个");
}

}  // namespace
}  // namespace tarnivo

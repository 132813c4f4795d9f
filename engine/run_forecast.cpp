#include "engine/run_forecast.h"

namespace tarnivo {

Forecast ForecastRun(BatchPlan plan) {
  Forecast forecast;
  forecast.Rows.resize(plan.Entries.size());
  for (std::size_t e = 0; e < plan.Entries.size(); ++e) {
    EntryPlan& entry = plan.Entries[e];
    PreviewRow& row = forecast.Rows[e];
    row.NewName = std::move(entry.Name.NewName);
    row.LineFailures.reserve(entry.Name.Failures.size());
    for (PieceFailure& failure : entry.Name.Failures) {
      row.LineFailures.push_back({failure.PieceIndex, failure.Kind, std::move(failure.Detail)});
    }
    row.Way = plan.Routes[e];
    switch (row.Way) {
      case Route::Unchanged:
        row.Outcome = RowOutcome::Unchanged;
        ++forecast.Counts.Unchanged;
        continue;
      case Route::Refused:
        row.Outcome = RowOutcome::Fails;
        row.Failure = entry.OutOfMemory ? ErrorKind::OutOfMemory : ErrorKind::BadFileName;
        ++forecast.Counts.Failing;
        continue;
      case Route::Taken:
        row.Outcome = RowOutcome::Fails;
        row.Failure = ErrorKind::FileExists;
        ++forecast.Counts.Failing;
        continue;
      case Route::Free:
      case Route::Shifted:
      case Route::Temporary:
        row.Outcome = RowOutcome::Renamed;
        ++forecast.Counts.Renamed;
        continue;
    }
  }
  return forecast;
}

std::wstring RowStatus(const PreviewRow& row) {
  std::wstring status;
  const auto append = [&status](std::wstring_view part) {
    if (!status.empty()) status.append(L"; ");
    status.append(part);
  };
  const auto error = [](ErrorKind kind) {
    const ErrorInfo info = DescribeError(kind);
    return L"错误代号 " + std::to_wstring(info.Number) + L": " + std::wstring(info.Text);
  };
  for (const LineFailure& failure : row.LineFailures) {
    append(L"第 " + std::to_wstring(failure.Line + 1) + L" 行 " + error(failure.Kind) +
           (failure.Detail.empty() ? L"" : L" (" + failure.Detail + L")"));
  }
  if (row.Outcome == RowOutcome::Unchanged) append(L"不变");
  if (row.Outcome == RowOutcome::Renamed && row.Way == Route::Shifted) append(L"顺移");
  if (row.Outcome == RowOutcome::Renamed && row.Way == Route::Temporary) append(L"经临时名");
  if (row.Outcome == RowOutcome::Fails) append(error(row.Failure));
  return status;
}

std::wstring PreviewSummaryText(const RowCounts& counts, std::int32_t leftOut) {
  std::wstring text = L"将转换 " + std::to_wstring(counts.Renamed) + L" 个文件, 不变 " +
                      std::to_wstring(counts.Unchanged) + L" 个, 将失败 " +
                      std::to_wstring(counts.Failing) + L" 个";
  if (leftOut > 0)
    text += L", " + std::wstring(kLeftOut) + L" " + std::to_wstring(leftOut) + L" 个";
  return text;
}

}  // namespace tarnivo

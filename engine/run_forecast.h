// What a rename run will do, worked out before it runs: the rows of the run's own plan.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/batch_plan.h"
#include "engine/errors.h"
#include "engine/rename_plan.h"

namespace tarnivo {

struct LineFailure {
  std::int32_t Line;  // 0-based
  ErrorKind Kind;
  std::wstring Detail;  // "" for most kinds
};

enum class RowOutcome : std::uint8_t {
  Renamed,    // the rename is tried and will succeed
  Unchanged,  // the new name is the old one exactly
  Fails,      // the rename is refused or will fail
};

struct PreviewRow {
  BuiltName NewName;  // as the run renames it: without the lines that fail
  std::vector<LineFailure> LineFailures;
  RowOutcome Outcome = RowOutcome::Renamed;
  Route Way = Route::Free;                    // how a rename that succeeds goes
  ErrorKind Failure = ErrorKind::FileAccess;  // the run's error when Outcome is Fails
};

struct RowCounts {
  std::int32_t Renamed = 0;
  std::int32_t Unchanged = 0;
  std::int32_t Failing = 0;
};

// The rows of a run's plan (its Entries and Routes, OrderMoves done): one per entry, in the
// list's order, each saying what the run will do with it.
struct Forecast {
  std::vector<PreviewRow> Rows;
  RowCounts Counts;
};
Forecast ForecastRun(BatchPlan plan);

// The 状态 column of a row: each failing line as "第 L 行 错误代号 N: text" (and
// " (detail)" when the failure has one), then "不变"
// for an unchanged name, "顺移" for a rename after others free its name, "经临时名" for
// one through a temporary name, or "错误代号 N: text" for a rename that fails, joined by
// "; ". Empty for a rename of a free name with every line.
std::wstring RowStatus(const PreviewRow& row);

// "将转换 N 个文件, 不变 K 个, 将失败 M 个", and ", 不转换 L 个" when `leftOut` rows are left out
// of the run.
std::wstring PreviewSummaryText(const RowCounts& counts, std::int32_t leftOut = 0);

// What the summary says while a pass is under way.
inline constexpr std::wstring_view kPreviewChecking = L"正在检查…";
// What a row left out of the run says.
inline constexpr std::wstring_view kLeftOut = L"不转换";

}  // namespace tarnivo

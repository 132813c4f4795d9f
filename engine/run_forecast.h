// What a rename run will do, worked out before it runs from the run's own plan: in the
// order of its moves, whether each new name is free at its turn.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/batch_plan.h"
#include "engine/errors.h"
#include "engine/name_case.h"
#include "engine/rename_plan.h"
#include "engine/work_list.h"

namespace tarnivo {

struct LineFailure {
  std::int32_t Line;  // 0-based
  ErrorKind Kind;
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
  ErrorKind Failure = ErrorKind::FileAccess;  // the run's error when Outcome is Fails
};

struct RowCounts {
  std::int32_t Renamed = 0;
  std::int32_t Unchanged = 0;
  std::int32_t Failing = 0;
};

// The run simulated against the names of its folder: a new name is taken when a file or
// folder of that name (long or short, compared as `nameCase` does) is there at its move's
// turn, having been there from the start or given by an earlier move; the name an earlier
// move gave up is free again. A new name that only changes the case of the entry's own
// name is no clash. Short names the file system will make for the new names cannot be
// known and are not counted. One row per entry of `list`, in the list's order.
struct Forecast {
  std::vector<PreviewRow> Rows;
  RowCounts Counts;
};
Forecast ForecastRun(const WorkList& list, BatchPlan plan, const NameCase& nameCase);

// The 状态 column of a row: each failing line as "第 L 行 错误代号 N: text", then "不变"
// for an unchanged name or "错误代号 N: text" for a rename that fails, joined by "; ".
// Empty for a rename that succeeds with every line.
std::wstring RowStatus(const PreviewRow& row);

// "将转换 N 个文件, 不变 K 个, 将失败 M 个".
std::wstring PreviewSummaryText(const RowCounts& counts);

// What the summary says while a pass is under way.
inline constexpr std::wstring_view kPreviewChecking = L"正在检查…";

}  // namespace tarnivo

// What a rename run will do, worked out before it runs: every entry's plan (the run's own
// PlanEntry) and, in the run's order, whether its name is free at its turn.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "engine/errors.h"
#include "engine/name_case.h"
#include "engine/rename_plan.h"

namespace tarnivo {

// The names of a folder as its list was read.
struct FolderNames {
  std::vector<std::wstring> Entries;  // the listed files, in the run's order
  // Each entry's 8.3 short name, "" for none: empty, or as long as Entries.
  std::vector<std::wstring> EntryShortNames;
  // Every other name the folder holds: its folders and the files not listed, long and
  // short names alike.
  std::vector<std::wstring> OtherNames;
};

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

// The run simulated against the names of a folder: a new name is taken when a file or
// folder of that name (long or short, compared as `nameCase` does) is there at the entry's
// turn, having been there from the start or given to an earlier entry; the name an earlier
// entry gave up is free again. A new name that only changes the case of the entry's own
// name is no clash. Short names the file system will make for the new names cannot be
// known and are not counted.
class RunForecast {
 public:
  // `folder` and `nameCase` must outlive the forecast.
  RunForecast(const FolderNames& folder, const NameCase& nameCase);
  RunForecast(const RunForecast&) = delete;
  RunForecast& operator=(const RunForecast&) = delete;

  // The next entry in the run's order, planned by PlanEntry. False once every entry of
  // the folder has been added.
  bool Add(EntryPlan plan);

  const std::vector<PreviewRow>& Rows() const { return rows_; }
  const RowCounts& Counts() const { return counts_; }
  // The rows, moved out; the forecast is done then.
  std::vector<PreviewRow> TakeRows() { return std::move(rows_); }

 private:
  struct KeyHash {
    const NameCase* Case;
    std::size_t operator()(std::wstring_view name) const { return Case->Hash(name); }
  };
  struct KeyEqual {
    const NameCase* Case;
    bool operator()(std::wstring_view a, std::wstring_view b) const { return Case->Same(a, b); }
  };
  void Take(std::wstring_view name);
  void Free(std::wstring_view name);
  bool IsTaken(std::wstring_view name) const { return taken_.count(name) != 0; }
  void Decide(std::size_t index, PreviewRow& row, NameProblem problem);

  const FolderNames& folder_;
  const NameCase& nameCase_;
  // How many names of each class the folder holds now (twins differing in case are
  // possible on some file systems). The views point into `folder_` and `rows_`, whose
  // strings never move: `rows_` is reserved for every entry at the start.
  std::unordered_map<std::wstring_view, std::int32_t, KeyHash, KeyEqual> taken_;
  std::vector<PreviewRow> rows_;
  RowCounts counts_;
};

// The 状态 column of a row: each failing line as "第 L 行 错误代号 N: text", then "不变"
// for an unchanged name or "错误代号 N: text" for a rename that fails, joined by "; ".
// Empty for a rename that succeeds with every line.
std::wstring RowStatus(const PreviewRow& row);

// "将转换 N 个文件, 不变 K 个, 将失败 M 个".
std::wstring PreviewSummaryText(const RowCounts& counts);

// What the summary says while a pass is under way.
inline constexpr std::wstring_view kPreviewChecking = L"正在检查…";

}  // namespace tarnivo

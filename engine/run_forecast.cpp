#include "engine/run_forecast.h"

namespace tarnivo {

RunForecast::RunForecast(const FolderNames& folder, const NameCase& nameCase)
    : folder_(folder),
      nameCase_(nameCase),
      taken_(folder.Entries.size() + folder.OtherNames.size() + folder.EntryShortNames.size(),
             KeyHash{&nameCase}, KeyEqual{&nameCase}) {
  for (const std::wstring& name : folder.Entries) Take(name);
  for (const std::wstring& name : folder.EntryShortNames) Take(name);
  for (const std::wstring& name : folder.OtherNames) Take(name);
  rows_.reserve(folder.Entries.size());
}

void RunForecast::Take(std::wstring_view name) {
  if (!name.empty()) ++taken_[name];
}

void RunForecast::Free(std::wstring_view name) {
  if (name.empty()) return;
  const auto found = taken_.find(name);
  if (found != taken_.end() && --found->second <= 0) taken_.erase(found);
}

bool RunForecast::Add(EntryPlan plan) {
  const std::size_t index = rows_.size();
  if (index >= folder_.Entries.size()) return false;
  PreviewRow& row = rows_.emplace_back();
  row.NewName = std::move(plan.Name.NewName);
  row.LineFailures.reserve(plan.Name.Failures.size());
  for (const PieceFailure& failure : plan.Name.Failures) {
    row.LineFailures.push_back({failure.PieceIndex, failure.Kind});
  }
  Decide(index, row, plan.Problem);
  ++(row.Outcome == RowOutcome::Renamed     ? counts_.Renamed
     : row.Outcome == RowOutcome::Unchanged ? counts_.Unchanged
                                            : counts_.Failing);
  return true;
}

void RunForecast::Decide(std::size_t index, PreviewRow& row, NameProblem problem) {
  const auto fail = [&row](ErrorKind kind) {
    row.Outcome = RowOutcome::Fails;
    row.Failure = kind;
  };
  if (problem != NameProblem::None) return fail(ErrorKind::BadFileName);
  const std::wstring& oldName = folder_.Entries[index];
  const std::wstring_view newName = row.NewName.Text;
  if (newName == oldName) {
    row.Outcome = RowOutcome::Unchanged;
    return;
  }
  row.Outcome = RowOutcome::Renamed;
  // Its own name in another case: the same file, and the names taken stay as they are.
  if (nameCase_.Same(newName, oldName)) return;
  const std::wstring_view shortName = index < folder_.EntryShortNames.size()
                                          ? std::wstring_view(folder_.EntryShortNames[index])
                                          : std::wstring_view();
  if (!nameCase_.Same(newName, shortName) && IsTaken(newName)) return fail(ErrorKind::FileExists);
  Free(oldName);
  Free(shortName);
  Take(newName);
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
    append(L"第 " + std::to_wstring(failure.Line + 1) + L" 行 " + error(failure.Kind));
  }
  if (row.Outcome == RowOutcome::Unchanged) append(L"不变");
  if (row.Outcome == RowOutcome::Fails) append(error(row.Failure));
  return status;
}

std::wstring PreviewSummaryText(const RowCounts& counts) {
  return L"将转换 " + std::to_wstring(counts.Renamed) + L" 个文件, 不变 " +
         std::to_wstring(counts.Unchanged) + L" 个, 将失败 " + std::to_wstring(counts.Failing) +
         L" 个";
}

}  // namespace tarnivo

#include "engine/run_forecast.h"

#include <unordered_map>

namespace tarnivo {

namespace {

// The names the folder holds as the moves go: how many of each class (twins differing in
// case are possible on some file systems). The views point into the list and into the
// rows, whose strings never move once the rows are made.
class TakenNames {
 public:
  TakenNames(const WorkList& list, const NameCase& nameCase)
      : taken_(2 * list.Entries.size() + list.OtherNames.size(), KeyHash{&nameCase},
               KeyEqual{&nameCase}) {
    for (const ListedFile& file : list.Entries) {
      Take(file.Name);
      Take(file.ShortName);
    }
    for (const std::wstring& name : list.OtherNames) Take(name);
  }

  void Take(std::wstring_view name) {
    if (!name.empty()) ++taken_[name];
  }
  void Free(std::wstring_view name) {
    if (name.empty()) return;
    const auto found = taken_.find(name);
    if (found != taken_.end() && --found->second <= 0) taken_.erase(found);
  }
  bool IsTaken(std::wstring_view name) const { return taken_.count(name) != 0; }

 private:
  struct KeyHash {
    const NameCase* Case;
    std::size_t operator()(std::wstring_view name) const { return Case->Hash(name); }
  };
  struct KeyEqual {
    const NameCase* Case;
    bool operator()(std::wstring_view a, std::wstring_view b) const { return Case->Same(a, b); }
  };
  std::unordered_map<std::wstring_view, std::int32_t, KeyHash, KeyEqual> taken_;
};

// Whether the move of `file` to the row's new name succeeds at its turn.
void Decide(const ListedFile& file, PreviewRow& row, const EntryPlan& plan, TakenNames& taken,
            const NameCase& nameCase) {
  const auto fail = [&row](ErrorKind kind) {
    row.Outcome = RowOutcome::Fails;
    row.Failure = kind;
  };
  if (plan.OutOfMemory) return fail(ErrorKind::OutOfMemory);
  if (plan.Problem != NameProblem::None) return fail(ErrorKind::BadFileName);
  const std::wstring_view newName = row.NewName.Text;
  if (newName == file.Name) {
    row.Outcome = RowOutcome::Unchanged;
    return;
  }
  row.Outcome = RowOutcome::Renamed;
  // Its own name in another case: the same file, and the names taken stay as they are.
  if (nameCase.Same(newName, file.Name)) return;
  if (!nameCase.Same(newName, file.ShortName) && taken.IsTaken(newName)) {
    return fail(ErrorKind::FileExists);
  }
  taken.Free(file.Name);
  taken.Free(file.ShortName);
  taken.Take(newName);
}

}  // namespace

Forecast ForecastRun(const WorkList& list, BatchPlan plan, const NameCase& nameCase) {
  Forecast forecast;
  TakenNames taken(list, nameCase);
  forecast.Rows.resize(list.Entries.size());
  for (const Move& move : plan.Moves) {
    const auto entry = static_cast<std::size_t>(move.Entry);
    EntryPlan& entryPlan = plan.Entries[entry];
    PreviewRow& row = forecast.Rows[entry];
    row.NewName = std::move(entryPlan.Name.NewName);
    row.LineFailures.reserve(entryPlan.Name.Failures.size());
    for (const PieceFailure& failure : entryPlan.Name.Failures) {
      row.LineFailures.push_back({failure.PieceIndex, failure.Kind});
    }
    Decide(list.Entries[entry], row, entryPlan, taken, nameCase);
    RowCounts& counts = forecast.Counts;
    ++(row.Outcome == RowOutcome::Renamed     ? counts.Renamed
       : row.Outcome == RowOutcome::Unchanged ? counts.Unchanged
                                              : counts.Failing);
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

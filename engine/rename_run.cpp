#include "engine/rename_run.h"

#include <windows.h>

#include <new>
#include <string_view>
#include <vector>

#include "engine/error_log.h"
#include "win/paths.h"

namespace tarnivo {
namespace {

// Why the other entries of a cycle (or a change of case) keep their names when one of its
// moves fails.
constexpr std::wstring_view kTakenBack = L"同一组改名中有一个文件未能改名, 已改回原名";
constexpr std::wstring_view kLeftOut = L"同一组改名中有一个文件未能改名, 未改名";
constexpr std::wstring_view kLeftUnderTemporary =
    L"同一组改名中有一个文件未能改名, 文件留在临时名下";

// A failure of an entry, written to the log once every entry before it is done, so that
// the log lists the entries in the list's order whatever the order of the moves. The log
// names the file's name at the end of the run.
struct LoggedFailure {
  ErrorKind Kind;
  std::wstring Reason;
};

// Which of its names an entry's file bears.
enum class Place : std::uint8_t { Old, Temporary, New };

class RenameJob final : public BatchJob {
 public:
  RenameJob(PlanSetup plan, std::wstring templateText)
      : planner_(std::move(plan)),
        templateText_(std::move(templateText)),
        fileSystemFolder_(EnsureTrailingBackslash(ExtendedPath(planner_.Folder()))) {}

  const std::wstring& Folder() const override { return planner_.Folder(); }
  std::wstring_view TemplateText() const override { return templateText_; }
  bool TouchesJournal() const override { return planner_.Count() > 0; }

  // A journal in the working folder could be renamed by the run itself. A run that writes
  // none leaves no older journal to be taken for its own.
  void OpenJournal(JournalFile& journal, const BatchSetup& setup, const DateTime& now) override {
    if (setup.JournalPath.empty() || planner_.Count() == 0) return;
    const std::wstring journalFolder = FolderOf(setup.JournalPath);
    const bool inWorkingFolder =
        IsSameFolder(journalFolder.empty() ? L"." : journalFolder, Folder());
    if (!inWorkingFolder && journal.Create(setup.JournalPath, JournalHeader{setup.Caption, Folder(),
                                                                            now, templateText_})) {
      ClearJournalVoid(setup.JournalPath);
      return;
    }
    RetireJournal(setup.JournalPath, !inWorkingFolder);
  }

  std::int32_t PlanCount() const override { return planner_.Count(); }
  void PlanEntry(std::int32_t index) override { planner_.PlanEntry(index); }
  void EndPlan() override {
    try {
      plan_ = planner_.Finish();
      const std::size_t count = plan_.Entries.size();
      stepsLeft_.assign(count, 0);
      place_.assign(count, Place::Old);
      explained_.assign(count, false);
      failures_.resize(count);
      for (const Move& move : plan_.Moves) {
        ++stepsLeft_[At(move.Entry)];
        if (move.Group >= 0) groups_ = std::max(groups_, move.Group + 1);
      }
      groupFailed_.assign(static_cast<std::size_t>(groups_), false);
      groupDone_.resize(static_cast<std::size_t>(groups_));
    } catch (const std::bad_alloc&) {
      // The moves could not be ordered: nothing is renamed, each entry says why.
      unplanned_ = true;
      place_.clear();
    }
  }

  std::int32_t StepCount() const override {
    return unplanned_ ? planner_.Count() : static_cast<std::int32_t>(plan_.Moves.size());
  }

  void Step(std::int32_t step, BatchRecords& records) noexcept override {
    if (unplanned_) {
      records.Log.Fail(Folder(), {}, OldName(step), ErrorKind::OutOfMemory, {});
      done_ = step + 1;
      return;
    }
    const Move& move = plan_.Moves[static_cast<std::size_t>(step)];
    try {
      if (move.Kind == MoveKind::None) {
        // A refused name: its log entry and journal record come in the list's order.
      } else if (move.Group >= 0 && groupFailed_[At(move.Group)]) {
        LeaveOut(move.Entry);
      } else {
        Execute(static_cast<std::size_t>(step), records);
      }
    } catch (const std::bad_alloc&) {
      // Whatever of this move did not fit in memory: the file keeps its name.
      Explain(move.Entry, ErrorKind::OutOfMemory, {});
    }
    if (--stepsLeft_[At(move.Entry)] == 0) ++done_;
    LogFinished(records);
  }

  // The progress counts the entries done: the list's entry of that number is shown.
  BatchProgress Progress(std::int32_t) const override {
    const std::int32_t index = std::max(0, done_ - 1);
    return BatchProgress{index, ProgressText(Folder(), OldName(index))};
  }

  void Tally(BatchOutcome& outcome) const override {
    outcome.Done = 0;
    for (const Place place : place_) outcome.Done += place == Place::New ? 1 : 0;
    outcome.NotDone = planner_.Count() - outcome.Done;
  }

  std::wstring Summary(const BatchOutcome& outcome) const override {
    return SummaryText(outcome.Seconds, outcome.Done, outcome.NotDone);
  }

 private:
  static std::size_t At(std::int32_t index) { return static_cast<std::size_t>(index); }

  const std::wstring& OldName(std::int32_t entry) const {
    return planner_.List().Entries[At(entry)].Name;
  }
  const std::wstring& NewName(std::int32_t entry) const {
    return plan_.Entries[At(entry)].Name.NewName.Text;
  }
  const std::wstring& TemporaryName(std::int32_t entry) const { return plan_.Temporary[At(entry)]; }
  const std::wstring& NameAt(std::int32_t entry, Place place) const {
    return place == Place::Old         ? OldName(entry)
           : place == Place::Temporary ? TemporaryName(entry)
                                       : NewName(entry);
  }
  static Place Before(MoveKind kind) {
    return kind == MoveKind::FromTemporary ? Place::Temporary : Place::Old;
  }
  static Place After(MoveKind kind) {
    return kind == MoveKind::ToTemporary ? Place::Temporary : Place::New;
  }

  // One rename, recorded in the journal before it is tried. Never replaces a file.
  bool Rename(const std::wstring& from, const std::wstring& to, JournalFile& journal,
              DWORD& error) {
    journal.Record([&] { return JournalEntryText(++journalNumber_, from, to); });
    if (MoveFileW((fileSystemFolder_ + from).c_str(), (fileSystemFolder_ + to).c_str())) {
      journal.RecordOutcome(JournalOutcomeText(true, 0));
      return true;
    }
    error = GetLastError();
    journal.RecordOutcome(
        JournalOutcomeText(false, DescribeError(KindOfSystemError(error)).Number));
    return false;
  }

  void Execute(std::size_t step, BatchRecords& records) {
    const Move& move = plan_.Moves[step];
    DWORD error = 0;
    if (Rename(NameAt(move.Entry, Before(move.Kind)), NameAt(move.Entry, After(move.Kind)),
               records.Journal, error)) {
      place_[At(move.Entry)] = After(move.Kind);
      if (move.Group >= 0) groupDone_[At(move.Group)].push_back(step);
      return;
    }
    Fail(move.Entry, KindOfSystemError(error), SystemErrorText(error));
    if (move.Group < 0) return;
    groupFailed_[At(move.Group)] = true;
    TakeBack(groupDone_[At(move.Group)], records);
  }

  // The moves of a group done before one of them failed, taken back last first, as long
  // as the names they left are free. A file that cannot go back stays where it is.
  void TakeBack(const std::vector<std::size_t>& done, BatchRecords& records) {
    for (auto step = done.rbegin(); step != done.rend(); ++step) {
      const Move& move = plan_.Moves[*step];
      DWORD error = 0;
      if (!Rename(NameAt(move.Entry, After(move.Kind)), NameAt(move.Entry, Before(move.Kind)),
                  records.Journal, error)) {
        return;
      }
      place_[At(move.Entry)] = Before(move.Kind);
      if (place_[At(move.Entry)] == Place::Old && !explained_[At(move.Entry)]) {
        Fail(move.Entry, ErrorKind::FileExists, std::wstring(kTakenBack));
      }
    }
  }

  // An entry of a group that failed keeps its name, or stays under its temporary name: it
  // says so once.
  void LeaveOut(std::int32_t entry) {
    if (explained_[At(entry)]) return;
    const bool taken = place_[At(entry)] == Place::Temporary;
    Fail(entry, ErrorKind::FileExists, std::wstring(taken ? kLeftUnderTemporary : kLeftOut));
  }

  void Explain(std::int32_t entry, ErrorKind kind, std::wstring_view reason) {
    Fail(entry, kind, std::wstring(reason));
  }

  void Fail(std::int32_t entry, ErrorKind kind, std::wstring reason) {
    explained_[At(entry)] = true;
    failures_[At(entry)].push_back(LoggedFailure{kind, std::move(reason)});
  }

  // The log of every entry whose moves are all done, up to the first one that is not.
  void LogFinished(BatchRecords& records) noexcept {
    while (logged_ < plan_.Entries.size() && stepsLeft_[logged_] == 0) {
      LogEntry(static_cast<std::int32_t>(logged_), records);
      failures_[logged_] = {};
      ++logged_;
    }
  }

  void LogEntry(std::int32_t index, BatchRecords& records) noexcept {
    const EntryPlan& plan = plan_.Entries[At(index)];
    const std::wstring& oldName = OldName(index);
    RunLog& log = records.Log;
    if (plan.OutOfMemory) {
      log.Fail(Folder(), {}, oldName, ErrorKind::OutOfMemory, {});
      return;
    }
    for (const PieceFailure& failure : plan.Name.Failures) {
      log.Fail(Folder(), failure.NameSoFar, oldName, failure.Kind, failure.Detail);
    }
    // Names the file system would silently change, or that would leave the folder, are
    // refused here: Wine even accepts ":" in a name.
    if (plan.Problem != NameProblem::None) {
      const BuiltName& newName = plan.Name.NewName;
      log.Fail(Folder(), newName, oldName, ErrorKind::BadFileName,
               DescribeNameProblem(plan.Problem));
      records.Journal.Record([&] {
        return JournalEntryText(++journalNumber_, oldName, newName.Text) +
               JournalOutcomeText(false, DescribeError(ErrorKind::BadFileName).Number);
      });
    }
    const std::wstring& current = NameAt(index, place_[At(index)]);
    for (const LoggedFailure& failure : failures_[At(index)]) {
      log.Fail(Folder(), plan.Name.NewName, current, failure.Kind, failure.Reason);
    }
  }

  BatchPlanner planner_;
  std::wstring templateText_;
  std::wstring fileSystemFolder_;  // Folder in the form that takes paths of any length
  BatchPlan plan_;
  // Per entry: moves not yet made, the name its file bears, whether its log entry says why
  // it keeps its name, and its failures until it is logged.
  std::vector<std::int32_t> stepsLeft_;
  std::vector<Place> place_;
  std::vector<bool> explained_;
  std::vector<std::vector<LoggedFailure>> failures_;
  std::size_t logged_ = 0;  // entries logged: all before this one are done
  std::int32_t done_ = 0;   // entries whose moves are all made
  // Per group: whether one of its moves failed, and its moves done so far.
  std::int32_t groups_ = 0;
  std::vector<bool> groupFailed_;
  std::vector<std::vector<std::size_t>> groupDone_;
  std::int32_t journalNumber_ = 0;  // of the last record of a move
  bool unplanned_ = false;          // memory ran out while the moves were ordered
};

}  // namespace

BatchOutcome RunRename(RenameRunSetup setup, const BatchHost& host) {
  RenameJob job(std::move(setup.Plan), std::move(setup.TemplateText));
  return RunBatch(job, setup.Batch, host);
}

}  // namespace tarnivo

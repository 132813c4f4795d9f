#include "engine/undo_run.h"

#include <windows.h>

#include <new>
#include <vector>

#include "engine/error_log.h"
#include "engine/journal_file.h"
#include "engine/log_file.h"
#include "engine/rename_plan.h"
#include "engine/undo_journal.h"
#include "win/paths.h"

namespace tarnivo {
namespace {

// The journal at `journalPath` and what an undo takes up of it; `endsInLine`: its last line
// has no line end (a run was killed while writing it). Nothing when it cannot be read.
std::vector<JournalEntry> ReadEntriesToUndo(const std::wstring& journalPath, Journal& journal,
                                            bool& endsInLine) {
  std::string bytes;
  if (!ReadWholeFile(journalPath, bytes)) return {};
  endsInLine = !bytes.empty() && bytes.back() != '\n';
  journal = ParseJournal(bytes);
  return EntriesToUndo(journal);
}

class UndoJob final : public BatchJob {
 public:
  bool Prepare(const BatchSetup& setup) override {
    if (JournalVoided(setup.JournalPath)) return false;
    try {
      entries_ = ReadEntriesToUndo(setup.JournalPath, journal_, endsInLine_);
    } catch (const std::bad_alloc&) {
      return false;  // a journal too large for memory is left as it is
    }
    if (entries_.empty()) return false;
    fileSystemFolder_ = EnsureTrailingBackslash(ExtendedPath(journal_.Folder));
    return true;
  }

  const std::wstring& Folder() const override { return journal_.Folder; }
  std::wstring_view TemplateText() const override { return journal_.TemplateText; }

  void OpenJournal(JournalFile& journal, const BatchSetup& setup, const DateTime&) override {
    journal.OpenToAppend(setup.JournalPath, endsInLine_);
  }

  std::int32_t StepCount() const override { return static_cast<std::int32_t>(entries_.size()); }
  bool TouchesJournal() const override { return true; }

  void Step(std::int32_t step, BatchRecords& records) noexcept override {
    const JournalEntry& entry = entries_[static_cast<std::size_t>(step)];
    try {
      if (Restore(entry, records)) ++restored_;
    } catch (const std::bad_alloc&) {
      // The paths did not fit in memory: the file keeps its name, the undo goes on.
      records.Log.Fail(Folder(), {}, entry.NewName, ErrorKind::OutOfMemory, {});
    }
  }

  void Tally(BatchOutcome& outcome) const override {
    outcome.Done = restored_;
    outcome.NotDone = StepCount() - restored_;
  }

  BatchProgress Progress(std::int32_t step) const override {
    return BatchProgress{
        -1, UndoProgressText(Folder(), entries_[static_cast<std::size_t>(step)].NewName)};
  }

  void Finish(BatchRecords& records, const DateTime& now) override {
    records.Journal.Record([&] { return JournalUndoneText(now); });
  }

  std::wstring Summary(const BatchOutcome& outcome) const override {
    return UndoSummaryText(outcome.Seconds, outcome.Done, outcome.Failures);
  }

 private:
  bool Restore(const JournalEntry& entry, BatchRecords& records) {
    JournalFile& journal = records.Journal;
    // A journal edited by hand may name an old name the run itself would never give.
    if (const NameProblem problem = CheckNewName(entry.OldName); problem != NameProblem::None) {
      const BuiltName restoring{entry.OldName, entry.OldName.size()};
      records.Log.Fail(Folder(), restoring, entry.NewName, ErrorKind::BadFileName,
                       DescribeNameProblem(problem));
      journal.Record([&] {
        return JournalRestoreText(entry.Number) +
               JournalOutcomeText(false, DescribeError(ErrorKind::BadFileName).Number);
      });
      return false;
    }
    // Write-ahead as in the run: an undo that ends before the outcome leaves the entry to
    // the next undo, which gives the old name back only when it is still not given.
    journal.Record([&] { return JournalRestoreText(entry.Number); });
    if (MoveFileW((fileSystemFolder_ + entry.NewName).c_str(),
                  (fileSystemFolder_ + entry.OldName).c_str())) {
      journal.Record([] { return JournalOutcomeText(true, 0); });
      return true;
    }
    const DWORD error = GetLastError();
    const ErrorKind kind = KindOfSystemError(error);
    // Where the journal lacks the run's outcome, a file not under its new name, or an old
    // name still taken, shows that the run never renamed it.
    std::int32_t number = DescribeError(kind).Number;
    if (entry.Outcome != RenameOutcome::Unknown ||
        (kind != ErrorKind::FileNotFound && kind != ErrorKind::FileExists)) {
      const BuiltName restoring{entry.OldName, entry.OldName.size()};
      number = records.Log.FailRename(Folder(), restoring, entry.NewName, error);
    }
    journal.Record([number] { return JournalOutcomeText(false, number); });
    return false;
  }

  Journal journal_;
  bool endsInLine_ = false;
  std::vector<JournalEntry> entries_;
  std::int32_t restored_ = 0;
  std::wstring fileSystemFolder_;  // the journal's folder in the form that takes any length
};

}  // namespace

bool JournalHasUndo(const std::wstring& journalPath) {
  if (JournalVoided(journalPath)) return false;
  try {
    Journal journal;
    bool endsInLine = false;
    return !ReadEntriesToUndo(journalPath, journal, endsInLine).empty();
  } catch (const std::bad_alloc&) {
    return false;
  }
}

BatchOutcome RunUndo(const BatchSetup& setup, const BatchHost& host) {
  UndoJob job;
  return RunBatch(job, setup, host);
}

}  // namespace tarnivo

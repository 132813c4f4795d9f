#include "engine/rename_run.h"

#include <windows.h>

#include <new>

#include "engine/error_log.h"
#include "win/paths.h"

namespace tarnivo {
namespace {

// The folder `path` lies in.
std::wstring FolderOf(const std::wstring& path) {
  const std::size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring(L".") : path.substr(0, slash + 1);
}

class RenameJob final : public BatchJob {
 public:
  RenameJob(PlanSetup plan, std::wstring templateText)
      : planner_(std::move(plan)),
        templateText_(std::move(templateText)),
        fileSystemFolder_(EnsureTrailingBackslash(ExtendedPath(planner_.Folder()))) {}

  const std::wstring& Folder() const override { return planner_.Folder(); }
  std::wstring_view TemplateText() const override { return templateText_; }

  // A journal in the working folder could be renamed by the run itself.
  void OpenJournal(JournalFile& journal, const BatchSetup& setup, const DateTime& now) override {
    if (setup.JournalPath.empty() || planner_.Count() == 0 ||
        IsSameFolder(FolderOf(setup.JournalPath), Folder())) {
      return;
    }
    journal.Create(setup.JournalPath, JournalHeader{setup.Caption, Folder(), now, templateText_});
  }

  std::int32_t PlanCount() const override { return planner_.Count(); }
  void PlanEntry(std::int32_t index) override { planner_.PlanEntry(index); }
  void EndPlan() override { plan_ = planner_.Finish(); }

  std::int32_t StepCount() const override { return static_cast<std::int32_t>(plan_.Moves.size()); }

  bool Step(std::int32_t step, BatchRecords& records) noexcept override {
    const std::int32_t index = plan_.Moves[static_cast<std::size_t>(step)].Entry;
    const std::wstring& oldName = OldName(index);
    const EntryPlan& plan = plan_.Entries[static_cast<std::size_t>(index)];
    try {
      if (!plan.OutOfMemory) {
        for (const PieceFailure& failure : plan.Name.Failures) {
          records.Log.Fail(Folder(), failure.NameSoFar, oldName, failure.Kind, {});
        }
        return Rename(index, oldName, plan, records);
      }
    } catch (const std::bad_alloc&) {
    }
    // Whatever of this entry did not fit in memory: it keeps its name, the run goes on.
    records.Log.Fail(Folder(), {}, oldName, ErrorKind::OutOfMemory, {});
    return false;
  }

  BatchProgress Progress(std::int32_t step) const override {
    const std::int32_t index = plan_.Moves[static_cast<std::size_t>(step)].Entry;
    return BatchProgress{index, ProgressText(Folder(), OldName(index))};
  }

  std::wstring Summary(const BatchOutcome& outcome) const override {
    return SummaryText(outcome.Seconds, outcome.Done, outcome.NotDone);
  }

 private:
  const std::wstring& OldName(std::int32_t index) const {
    return planner_.List().Entries[static_cast<std::size_t>(index)].Name;
  }

  bool Rename(std::int32_t index, const std::wstring& oldName, const EntryPlan& plan,
              BatchRecords& records) {
    const BuiltName& newName = plan.Name.NewName;
    JournalFile& journal = records.Journal;
    // Names the file system would silently change, or that would leave the folder, are
    // refused here: Wine even accepts ":" in a name.
    if (plan.Problem != NameProblem::None) {
      records.Log.Fail(Folder(), newName, oldName, ErrorKind::BadFileName,
                       DescribeNameProblem(plan.Problem));
      journal.Record([&] {
        return JournalEntryText(index + 1, oldName, newName.Text) +
               JournalOutcomeText(false, DescribeError(ErrorKind::BadFileName).Number);
      });
      return false;
    }
    // Write-ahead: whatever happens to the process from here on, the journal names both.
    journal.Record([&] { return JournalEntryText(index + 1, oldName, newName.Text); });
    // No replace flag: a taken name is a failure, never a lost file.
    if (MoveFileW((fileSystemFolder_ + oldName).c_str(),
                  (fileSystemFolder_ + newName.Text).c_str())) {
      journal.Record([] { return JournalOutcomeText(true, 0); });
      return true;
    }
    const DWORD error = GetLastError();
    const std::int32_t number = records.Log.FailRename(Folder(), newName, oldName, error);
    journal.Record([number] { return JournalOutcomeText(false, number); });
    return false;
  }

  BatchPlanner planner_;
  std::wstring templateText_;
  std::wstring fileSystemFolder_;  // Folder in the form that takes paths of any length
  BatchPlan plan_;
};

}  // namespace

BatchOutcome RunRename(RenameRunSetup setup, const BatchHost& host) {
  RenameJob job(std::move(setup.Plan), std::move(setup.TemplateText));
  return RunBatch(job, setup.Batch, host);
}

}  // namespace tarnivo

#include "engine/rename_run.h"

#include <windows.h>

#include <new>

#include "engine/file_dates.h"
#include "engine/hand_overs.h"
#include "engine/journal_file.h"
#include "engine/rename_plan.h"
#include "engine/run_log.h"
#include "settings/paths.h"

namespace tarnivo {
namespace {

// The folder `path` lies in.
std::wstring FolderOf(const std::wstring& path) {
  const std::size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring(L".") : path.substr(0, slash + 1);
}

class Run {
 public:
  explicit Run(RenameRunSetup setup)
      : setup_(std::move(setup)),
        fileSystemFolder_(EnsureTrailingBackslash(ExtendedPath(setup_.Folder))) {}

  RenameRunOutcome Execute() {
    const DateTime now = setup_.Context.Now ? setup_.Context.Now() : DateTime{};
    if (!setup_.LogPath.empty()) {
      outcome_.LogCreated = log_.Open(setup_.LogPath, setup_.Caption, now, setup_.TemplateText);
    }
    OpenJournal(now);
    if (setup_.OnStarted) setup_.OnStarted();
    const std::vector<std::wstring> pieces = SplitTemplate(setup_.TemplateText);
    EntryLoop loop;
    loop.Entry = [&](std::int32_t i) { RenameEntry(i, pieces); };
    loop.HandOver = [&](std::int32_t i) {
      journal_.Flush();
      if (setup_.OnProgress) setup_.OnProgress(i, setup_.Names[static_cast<size_t>(i)]);
      if (setup_.LetEventsRun) setup_.LetEventsRun();
    };
    loop.EventsWaiting = setup_.EventsWaiting;
    loop.LetEventsRun = setup_.LetEventsRun;
    outcome_.Seconds = RunEntries(static_cast<std::int32_t>(setup_.Names.size()), loop);
    outcome_.Failures = log_.Failures();
    outcome_.JournalWritten = journal_.Intact();
    return outcome_;
  }

 private:
  // The journal, its header on the disk before the first rename. A journal in the working
  // folder could be renamed by the run itself.
  void OpenJournal(const DateTime& now) {
    if (setup_.JournalPath.empty() || setup_.Names.empty() ||
        IsSameFolder(FolderOf(setup_.JournalPath), setup_.Folder)) {
      return;
    }
    journal_.Create(setup_.JournalPath,
                    JournalHeader{setup_.Caption, setup_.Folder, now, setup_.TemplateText});
  }

  void RenameEntry(std::int32_t index, const std::vector<std::wstring>& pieces) {
    const std::wstring& oldName = setup_.Names[static_cast<size_t>(index)];
    bool renamed = false;
    try {
      FileDates dates(setup_.Folder + oldName);
      const EntryPlan plan =
          PlanEntry(pieces, setup_.Context, index, oldName, FileDates::ReaderOf(dates));
      for (const PieceFailure& failure : plan.Name.Failures) {
        Fail(failure.NameSoFar, oldName, failure.Kind, {});
      }
      renamed = Rename(index, oldName, plan);
    } catch (const std::bad_alloc&) {
      // Whatever of this entry did not fit in memory: it keeps its name, the run goes on.
      Fail({}, oldName, ErrorKind::OutOfMemory, {});
    }
    ++(renamed ? outcome_.Renamed : outcome_.NotRenamed);
  }

  bool Rename(std::int32_t index, const std::wstring& oldName, const EntryPlan& plan) {
    const BuiltName& newName = plan.Name.NewName;
    // Names the file system would silently change, or that would leave the folder, are
    // refused here: Wine even accepts ":" in a name.
    if (plan.Problem != NameProblem::None) {
      Fail(newName, oldName, ErrorKind::BadFileName, DescribeNameProblem(plan.Problem));
      journal_.Record([&] {
        return JournalEntryText(index + 1, oldName, newName.Text) +
               JournalOutcomeText(false, DescribeError(ErrorKind::BadFileName).Number);
      });
      return false;
    }
    // Write-ahead: whatever happens to the process from here on, the journal names both.
    journal_.Record([&] { return JournalEntryText(index + 1, oldName, newName.Text); });
    // No replace flag: a taken name is a failure, never a lost file.
    if (MoveFileW((fileSystemFolder_ + oldName).c_str(),
                  (fileSystemFolder_ + newName.Text).c_str())) {
      journal_.Record([] { return JournalOutcomeText(true, 0); });
      return true;
    }
    const DWORD error = GetLastError();
    const std::int32_t number = log_.FailRename(setup_.Folder, newName, oldName, error);
    journal_.Record([number] { return JournalOutcomeText(false, number); });
    return false;
  }

  void Fail(const BuiltName& plannedName, const std::wstring& oldName, ErrorKind kind,
            std::wstring_view reason) noexcept {
    log_.Fail(setup_.Folder, plannedName, oldName, kind, reason);
  }

  RenameRunSetup setup_;
  std::wstring fileSystemFolder_;  // Folder in the form that takes paths of any length
  RunLog log_;
  JournalFile journal_;
  RenameRunOutcome outcome_;
};

}  // namespace

RenameRunOutcome RunRename(RenameRunSetup setup) { return Run(std::move(setup)).Execute(); }

}  // namespace tarnivo

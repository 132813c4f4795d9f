#include "engine/undo_run.h"

#include <windows.h>

#include <new>
#include <vector>

#include "engine/hand_overs.h"
#include "engine/journal_file.h"
#include "engine/log_file.h"
#include "engine/run_log.h"
#include "engine/undo_journal.h"
#include "settings/paths.h"

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

class Undo {
 public:
  explicit Undo(UndoRunSetup setup) : setup_(std::move(setup)) {}

  UndoRunOutcome Execute() {
    Journal journal;
    bool endsInLine = false;
    std::vector<JournalEntry> entries;
    try {
      entries = ReadEntriesToUndo(setup_.JournalPath, journal, endsInLine);
    } catch (const std::bad_alloc&) {
      return outcome_;  // a journal too large for memory is left as it is
    }
    if (entries.empty()) return outcome_;
    outcome_.Started = true;
    outcome_.Folder = journal.Folder;
    fileSystemFolder_ = EnsureTrailingBackslash(ExtendedPath(journal.Folder));
    const DateTime now = setup_.Now ? setup_.Now() : DateTime{};
    if (!setup_.LogPath.empty()) {
      outcome_.LogCreated = log_.Open(setup_.LogPath, setup_.Caption, now, journal.TemplateText);
    }
    journal_.OpenToAppend(setup_.JournalPath, endsInLine);
    if (setup_.OnStarted) setup_.OnStarted();
    EntryLoop loop;
    loop.Entry = [&](std::int32_t i) { RestoreEntry(entries[static_cast<size_t>(i)]); };
    loop.HandOver = [&](std::int32_t i) {
      journal_.Flush();
      if (setup_.OnProgress) {
        setup_.OnProgress(outcome_.Folder, entries[static_cast<size_t>(i)].NewName);
      }
      if (setup_.LetEventsRun) setup_.LetEventsRun();
    };
    loop.EventsWaiting = setup_.EventsWaiting;
    loop.LetEventsRun = setup_.LetEventsRun;
    outcome_.Seconds = RunEntries(static_cast<std::int32_t>(entries.size()), loop);
    journal_.Record([&] { return JournalUndoneText(setup_.Now ? setup_.Now() : now); });
    journal_.Flush();
    outcome_.Failures = log_.Failures();
    outcome_.JournalRecorded = journal_.Intact();
    return outcome_;
  }

 private:
  void RestoreEntry(const JournalEntry& entry) {
    try {
      Restore(entry);
    } catch (const std::bad_alloc&) {
      // The paths did not fit in memory: the file keeps its name, the undo goes on.
      log_.Fail(outcome_.Folder, {}, entry.NewName, ErrorKind::OutOfMemory, {});
    }
  }

  void Restore(const JournalEntry& entry) {
    // Write-ahead as in the run: an undo that ends before the outcome leaves the entry to
    // the next undo, which gives the old name back only when it is still not given.
    journal_.Record([&] { return JournalRestoreText(entry.Number); });
    if (MoveFileW((fileSystemFolder_ + entry.NewName).c_str(),
                  (fileSystemFolder_ + entry.OldName).c_str())) {
      ++outcome_.Restored;
      journal_.Record([] { return JournalOutcomeText(true, 0); });
      return;
    }
    const DWORD error = GetLastError();
    const ErrorKind kind = KindOfSystemError(error);
    // Where the journal lacks the run's outcome, a file not under its new name, or an old
    // name still taken, shows that the run never renamed it.
    std::int32_t number = DescribeError(kind).Number;
    if (entry.Outcome != RenameOutcome::Unknown ||
        (kind != ErrorKind::FileNotFound && kind != ErrorKind::FileExists)) {
      const BuiltName restoring{entry.OldName, entry.OldName.size()};
      number = log_.FailRename(outcome_.Folder, restoring, entry.NewName, error);
    }
    journal_.Record([number] { return JournalOutcomeText(false, number); });
  }

  UndoRunSetup setup_;
  std::wstring fileSystemFolder_;  // the journal's folder in the form that takes any length
  RunLog log_;
  JournalFile journal_;
  UndoRunOutcome outcome_;
};

}  // namespace

bool JournalHasUndo(const std::wstring& journalPath) {
  try {
    Journal journal;
    bool endsInLine = false;
    return !ReadEntriesToUndo(journalPath, journal, endsInLine).empty();
  } catch (const std::bad_alloc&) {
    return false;
  }
}

UndoRunOutcome RunUndo(UndoRunSetup setup) { return Undo(std::move(setup)).Execute(); }

}  // namespace tarnivo

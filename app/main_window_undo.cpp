// The undo of the last run, the menu's "撤    销": from the journal the run wrote in the
// program folder, with the window in the running state as for a run.
#include <string>

#include "app/control_ids.h"
#include "app/main_window.h"
#include "engine/error_log.h"
#include "engine/undo_journal.h"
#include "engine/undo_run.h"

namespace tarnivo {

bool MainWindow::UndoAvailable() const {
  return !undoBlocked_ && JournalHasUndo(ProgramFile(kJournalName));
}

void MainWindow::menuundo_Click() {
  if (runInProgress_) return;
  runInProgress_ = true;

  UndoRunSetup setup;
  setup.JournalPath = ProgramFile(kJournalName);
  setup.LogPath = WantedLogPath();
  setup.Caption = WindowText(hwnd_);
  setup.Now = LocalClock();
  setup.OnStarted = [this] { SetRunningState(0); };
  setup.OnProgress = [this](const std::wstring& folder, const std::wstring& currentName) {
    SetWindowTextW(Control(ids::LabTitle(1)), UndoProgressText(folder, currentName).c_str());
  };
  setup.LetEventsRun = [this] { LetEventsRun(); };
  setup.EventsWaiting = EventsWaiting;

  const UndoRunOutcome outcome = RunUndo(std::move(setup));

  if (!outcome.Started) {  // the journal changed since the menu opened: nothing to undo
    runInProgress_ = false;
    return;
  }
  // A journal that could not record the undo would offer it again.
  if (!outcome.JournalRecorded) undoBlocked_ = true;
  currentFolder_ = outcome.Folder;
  FinishRun(UndoSummaryText(outcome.Seconds, outcome.Restored, outcome.Failures),
            outcome.Failures > 0 && outcome.LogCreated, [this, &outcome] {
              // A folder that cannot be listed any more leaves the list as it was.
              file1_.SetPath(outcome.Folder);
            });
}

}  // namespace tarnivo

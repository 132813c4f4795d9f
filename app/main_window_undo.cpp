// The undo of the last run, the menu's "撤    销": from the journal the run wrote in the
// program folder, with the window in the running state as for a run.
#include "app/main_window.h"
#include "engine/undo_run.h"

namespace tarnivo {

bool MainWindow::UndoAvailable() const {
  return !batch_.UndoBlocked() && JournalHasUndo(UndoJournalPath(Folders()));
}

void MainWindow::menuundo_Click() {
  // A folder that cannot be listed any more leaves the list as it was.
  RunInWindow(
      [setup = AssembleUndo(Sources())](const BatchHost& host) { return RunUndo(setup, host); },
      [this] { file1_.SetPath(currentFolder_); });
}

}  // namespace tarnivo

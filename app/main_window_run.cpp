// The batch rename behind the start image.
#include "app/control_ids.h"
#include "app/main_window.h"
#include "engine/rename_run.h"

namespace tarnivo {

void MainWindow::ImgStart_Click() {
  // The start image is disabled during a run and while the list waits for its order; this
  // also covers a click queued before.
  if (RunInProgress() || awaitingDates_) return;
  // The run works on the list as it is now: nothing done while it runs can make it rename
  // other files.
  RenameRunSetup setup = AssembleRun(Sources(), file1_.Listing(), ControlText(ids::TextRull));
  RunInWindow([&setup](const BatchHost& host) { return RunRename(std::move(setup), host); },
              [this] { file1_.Refresh(/*tickAll=*/true); });
}

}  // namespace tarnivo

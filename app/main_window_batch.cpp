// What a run and an undo share in the window: the running state, the progress line, the
// messages let through between entries, the summary at the end, and what holds the rest of
// the window off meanwhile.
#include <iterator>
#include <string>

#include "app/control_ids.h"
#include "app/locale_reader.h"
#include "app/main_window.h"

namespace tarnivo {

SettingReader MainWindow::SettingsReader() const { return ReaderOf(settings_); }

BatchSources MainWindow::Sources() const {
  BatchSources sources;
  sources.ReadSetting = SettingsReader();
  sources.Keys = keywords_;
  sources.Now = options_.LocalTime;
  sources.Locale = UserLocale();
  sources.Folders = Folders();
  sources.Caption = WindowText(hwnd_);
  sources.Dates = takenDates_;
  return sources;
}

void MainWindow::RunInWindow(const BatchSession::Start& start,
                             const std::function<void()>& relist) {
  const std::optional<BatchOutcome> outcome = batch_.Run(start);
  // Under way already, or an undo whose journal changed since the menu opened.
  if (!outcome || !outcome->Started) return;
  currentFolder_ = outcome->Folder;
  SetWindowTextW(Control(ids::LabTitle(1)), outcome->Summary.c_str());
  summaryShown_ = true;
  SetRunningState(RunState::Idle);
  relist();
  // Only this batch's own log is shown: one that could not be created holds an older one.
  if (outcome->Failures > 0 && outcome->LogCreated && LogOpeningWanted(SettingsReader())) {
    ShellOpen(std::wstring(kLogName), Folders().Records());
  }
  if (closePending_) Form_Unload();
}

void MainWindow::ShowBatchProgress(const BatchProgress& progress) {
  if (progress.ListIndex >= 0) file1_.SetListIndex(file1_.RowOfWork(progress.ListIndex));
  SetWindowTextW(Control(ids::LabTitle(1)), progress.Text.c_str());
}

bool MainWindow::EventsWaiting() { return HIWORD(GetQueueStatus(QS_ALLINPUT)) != 0; }

void MainWindow::LetEventsRun() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      // Left for the program's own loop, which ends after the run.
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    if (PreTranslateMessage(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

bool MainWindow::HoldOffCheckBox(int index) {
  if (!RunInProgress()) return false;
  const FileListFlags& flags = file1_.Flags();
  const bool values[] = {flags.Hidden, flags.System, flags.ReadOnly, flags.Archive};
  if (index >= 0 && index < static_cast<int>(std::size(values))) {
    SendMessageW(Control(ids::CheckFileInfo(index)), BM_SETCHECK,
                 values[index] ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  return true;
}

}  // namespace tarnivo

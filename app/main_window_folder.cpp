// The choose-folder image: the folder chooser over the main window.
#include "app/clipboard.h"
#include "app/main_window.h"
#include "dialogs/folder_chooser.h"

namespace tarnivo {

void MainWindow::ImgSetPath_Click() {
  // A run renames the list it started with, and only its end restores the idle state.
  if (RunInProgress()) return;
  FolderChooserOptions chooser;
  chooser.ProgramFolder = options_.ProgramFolder;
  chooser.ClipboardText = [this] { return ReadClipboardText(hwnd_); };
  chooser.ShiftState = [this] { return CurrentShiftState(); };
  chooser.Dpi = dpi_;
  // Empty: the chooser always opens in the program's folder, centred over the window.
  std::wstring startFolder;
  const std::wstring chosen = ChooseFolder(hwnd_, startFolder, 0, 0, std::move(chooser));
  if (!hwnd_) return;  // the window went while the chooser was open
  // A folder that cannot be listed any more (gone meanwhile) leaves the list and its
  // status line as they were.
  if (chosen != kCanceledSelect && file1_.SetPath(chosen)) RefreshStatusLine();
  SetRunningState(RunState::Idle);
}

}  // namespace tarnivo

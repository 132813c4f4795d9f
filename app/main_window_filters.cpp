// The list's filters: the attribute check boxes, the pattern box and the refresh image.
#include "app/control_ids.h"
#include "app/main_window.h"

namespace tarnivo {

void MainWindow::CheckFileInfo_Click(int index) {
  if (HoldOffCheckBox(index)) return;  // no list change during a run
  // Ticked means true; clear and grayed both mean false.
  const bool value =
      SendMessageW(Control(ids::CheckFileInfo(index)), BM_GETCHECK, 0, 0) == BST_CHECKED;
  switch (index) {
    case 0:
      file1_.SetHidden(value);
      break;
    case 1:
      file1_.SetSystem(value);
      break;
    case 2:
      file1_.SetReadOnly(value);
      break;
    case 3:
      file1_.SetArchive(value);
      break;
    default:
      return;
  }
  RefreshStatusLine();
}

void MainWindow::ImgRefresh_Click() {
  if (RunInProgress()) return;  // would re-read the list and show the idle state mid-run
  // Setting the pattern re-reads the folder, which is the refresh.
  file1_.SetPattern(ControlText(ids::TextPatt));
  SetRunningState(RunState::Idle);
  RefreshStatusLine();
}

void MainWindow::TextPatt_GotFocus() {
  // Caret after the second character, the rest selected: "*.jpg" selects "jpg". Posted,
  // so it comes after the focus change is complete: tabbing in selects the whole text,
  // on Windows right after this notification, which would undo a selection made here.
  const int length = GetWindowTextLengthW(Control(ids::TextPatt));
  PostMessageW(Control(ids::TextPatt), EM_SETSEL, static_cast<WPARAM>(length < 2 ? length : 2),
               static_cast<LPARAM>(length));
}

void MainWindow::TextPatt_KeyDown(WORD keyCode, int shift) {
  if (RunInProgress()) return;
  if (keyCode == VK_RETURN && shift == 0) ImgRefresh_Click();
}

}  // namespace tarnivo

// The live preview: after every change of the template (typing, the token items, paste)
// or of the list (folder, pattern, filters, refresh, drop, chooser, Ctrl+V, the end of a
// run) a pass starts on the preview's worker thread; its result goes to the preview window
// and the tips over `File1`. F5 and the item "预    览" open the window.
#include <windows.h>
// Needs windows.h before it.
#include <commctrl.h>

#include "app/control_ids.h"
#include "app/main_window.h"
#include "engine/error_log.h"
#include "settings/paths.h"

namespace tarnivo {

namespace {

constexpr UINT_PTR kTemplateSubclassId = 2;

}  // namespace

void MainWindow::InitPreview() {
  file1_.OnChanged = [this] { StartPreviewPass(); };
  // Without tips or the subclass the preview window still follows typing (EN_CHANGE).
  file1_.EnableTips([this](int32_t index) {
    WantPreview();
    return EntryTip(index);
  });
  SetWindowSubclass(Control(ids::TextRull), TemplateTextProc, kTemplateSubclassId,
                    reinterpret_cast<DWORD_PTR>(this));
}

void MainWindow::StopPreview() {
  previewStopped_ = true;
  previewWorker_.reset();
}

// A multi-line edit sends no EN_CHANGE for WM_SETTEXT: that change is seen here.
LRESULT CALLBACK MainWindow::TemplateTextProc(HWND control, UINT message, WPARAM wParam,
                                              LPARAM lParam, UINT_PTR, DWORD_PTR refData) {
  if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(control, TemplateTextProc, kTemplateSubclassId);
  }
  const LRESULT result = DefSubclassProc(control, message, wParam, lParam);
  if (message == WM_SETTEXT) reinterpret_cast<MainWindow*>(refData)->TextRull_Change();
  return result;
}

void MainWindow::TextRull_Change() { StartPreviewPass(); }

void MainWindow::StartPreviewPass() {
  // During a run the preview keeps showing the run's own forecast.
  if (previewStopped_ || runInProgress_) return;
  PreviewSetup setup;
  setup.Folder = EnsureTrailingBackslash(file1_.Path());
  setup.Names = file1_.Listing();
  setup.TemplateText = ControlText(ids::TextRull);
  setup.Context = MakeTokenContext();
  previewChecking_ = true;
  if (!previewWorker_) {  // nobody has looked yet
    previewPending_ = std::move(setup);
    return;
  }
  previewWorker_->Start(std::move(setup));
  ShowPreviewState();
}

// The pending change is the state a run started from, so a first look during a run still
// shows the run's forecast.
void MainWindow::WantPreview() {
  if (previewWorker_ || previewStopped_) return;
  // The worker's thread starts with the first look, not with the program.
  previewWorker_ = std::make_unique<PreviewWorker>(
      [window = hwnd_] { PostMessageW(window, kPreviewReady, 0, 0); });
  if (!previewPending_) return;
  previewWorker_->Start(std::move(*previewPending_));
  previewPending_.reset();
}

void MainWindow::OnPreviewReady() {
  if (!previewWorker_) return;
  std::shared_ptr<const PreviewResult> result = previewWorker_->TakeResult();
  if (!result) return;  // an older pass's, or taken already
  previewResult_.swap(result);
  previewChecking_ = false;
  ShowPreviewState();
  previewWorker_->Discard(std::move(result));  // the rows shown before, freed over there
}

void MainWindow::ShowPreviewState() {
  preview_.Show(previewResult_, previewChecking_);
  file1_.RefreshTip();
}

void MainWindow::OpenPreview() {
  WantPreview();
  if (preview_.Open(hwnd_)) preview_.Show(previewResult_, previewChecking_);
}

void MainWindow::menupreview_Click() { OpenPreview(); }

std::wstring MainWindow::EntryTip(int32_t index) const {
  if (previewChecking_ || !previewResult_) return std::wstring(kPreviewChecking);
  const auto at = static_cast<size_t>(index);
  if (index < 0 || at >= previewResult_->Rows.size()) return {};
  const PreviewRow& row = previewResult_->Rows[at];
  std::wstring tip = LoggedName(row.NewName);
  const std::wstring status = RowStatus(row);
  if (!status.empty()) tip.append(L"\r\n").append(status);
  return tip;
}

}  // namespace tarnivo

// The live preview: after every change of the template (typing, the token items, paste)
// or of the list (folder, pattern, filters, refresh, drop, chooser, Ctrl+V, the end of a
// run) a pass starts on the preview's worker thread; its result goes to the preview window
// and the tips over `File1`. F5 and the item "预    览" open the window.
#include <windows.h>
// Needs windows.h before it.
#include <commctrl.h>

#include "app/control_ids.h"
#include "app/main_window.h"

namespace tarnivo {

namespace {

constexpr UINT_PTR kTemplateSubclassId = 2;

}  // namespace

void MainWindow::InitPreview() {
  file1_.OnChanged = [this] { OnListChanged(); };
  // Without tips or the subclass the preview window still follows typing (EN_CHANGE).
  file1_.EnableTips([this](int32_t index) {
    WantPreview();
    return livePreview_.EntryTip(index);
  });
  SetWindowSubclass(Control(ids::TextRull), TemplateTextProc, kTemplateSubclassId,
                    reinterpret_cast<DWORD_PTR>(this));
  // The preview's check boxes show and change the list's ticks, for the rows of the
  // listing they were taken from.
  preview_.IsTicked = [this](const RowMap& shown, int32_t row) {
    const auto at = static_cast<size_t>(row);
    if (row < 0 || at >= shown.RowListing.size()) return false;
    if (shown.Listing != file1_.ReadListing()) return shown.RowWork[at] >= 0;
    return file1_.IsEntryTicked(shown.RowListing[at]);
  };
  preview_.Tick = [this](const RowMap& shown, const std::vector<int32_t>& rows, bool ticked,
                         bool invert) {
    // During a run the list stays as the run found it.
    if (RunInProgress() || shown.Listing != file1_.ReadListing()) return;
    std::vector<int32_t> entries;
    for (const int32_t row : rows) {
      if (row >= 0 && static_cast<size_t>(row) < shown.RowListing.size()) {
        entries.push_back(shown.RowListing[static_cast<size_t>(row)]);
      }
    }
    if (invert) {
      file1_.InvertEntries(entries);
    } else {
      file1_.SetEntriesTicked(entries, ticked);
    }
  };
  preview_.PopupMenu = options_.PopupMenu;
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
  if (RunInProgress()) return;
  // The list of the pass is taken from what the list shows on the worker's thread: ticking
  // a hundred thousand rows costs the window no copy of them.
  if (livePreview_.Change(AssemblePlan(Sources(), nullptr, ControlText(ids::TextRull)),
                          file1_.View())) {
    ShowPreviewState();
  }
}

void MainWindow::OnPreviewReady() {
  if (livePreview_.TakeReady()) ShowPreviewState();
}

void MainWindow::ShowPreviewState() {
  preview_.Show(livePreview_.Result(), livePreview_.Checking());
  file1_.RefreshTip();
}

// The worker's thread starts with the first look, not with the program.
void MainWindow::WantPreview() {
  livePreview_.Want([window = hwnd_] { PostMessageW(window, kPreviewReady, 0, 0); });
}

void MainWindow::OpenPreview() {
  WantPreview();
  if (preview_.Open(hwnd_)) preview_.Show(livePreview_.Result(), livePreview_.Checking());
}

void MainWindow::menupreview_Click() { OpenPreview(); }

}  // namespace tarnivo

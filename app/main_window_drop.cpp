// Folders dropped on the main window: the window accepts dropped files from the end of
// its start-up to its unload, through a subclass that takes WM_DROPFILES and passes every
// other message on unchanged.
#include "app/main_window.h"
#include "settings/path_probe.h"
#include "win/shell.h"

namespace tarnivo {

namespace {

// Releases a drop on every path out of the handler.
class DropRelease {
 public:
  explicit DropRelease(HDROP drop) : drop_(drop) {}
  DropRelease(const DropRelease&) = delete;
  DropRelease& operator=(const DropRelease&) = delete;
  ~DropRelease() { shell::DragFinish(drop_); }

 private:
  HDROP drop_;
};

// The first dropped item, whole; "" when there is none or it cannot be read whole. A cut
// path could name another folder, whose files would then be listed and renamed.
std::wstring FirstDroppedPath(HDROP drop) {
  const UINT length = shell::DragQueryFileW(drop, 0, nullptr, 0);
  if (length == 0) return {};
  std::wstring path(length + 1, L'\0');
  const UINT copied = shell::DragQueryFileW(drop, 0, path.data(), length + 1);
  if (copied != length) return {};
  path.resize(copied);
  return path;
}

}  // namespace

void MainWindow::AcceptDroppedFolders() {
  shell::DragAcceptFiles(hwnd_, TRUE);
  // The W call keeps the window a Unicode window.
  prevWndProc_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(MainWndProc)));
  // Without the subclass nobody would release a drop: refuse drops altogether.
  if (!prevWndProc_) shell::DragAcceptFiles(hwnd_, FALSE);
}

void MainWindow::StopAcceptingDrops() {
  if (!prevWndProc_) return;
  shell::DragAcceptFiles(hwnd_, FALSE);
  // Only while the subclass is still on top: restoring under a later subclass would cut
  // that one off.
  if (GetWindowLongPtrW(hwnd_, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(MainWndProc)) {
    SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(prevWndProc_));
  }
  prevWndProc_ = nullptr;
}

LRESULT CALLBACK MainWindow::MainWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self || !self->prevWndProc_) {
    // Detached from its object (the window is being destroyed): what the class
    // procedure does then.
    if (message == WM_DROPFILES) shell::DragFinish(reinterpret_cast<HDROP>(wParam));
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  if (message == WM_DROPFILES) {
    self->DropFiles(reinterpret_cast<HDROP>(wParam));
    return 0;
  }
  return CallWindowProcW(self->prevWndProc_, hwnd, message, wParam, lParam);
}

void MainWindow::DropFiles(HDROP drop) {
  const DropRelease release(drop);
  if (RunInProgress()) return;  // the run renames the list it started with
  const std::wstring path = FirstDroppedPath(drop);
  // Only the first item counts: a file first refuses the drop even with folders after it.
  if (path.empty() || !IsListableFolder(GetPathAttributes(path))) return;
  file1_.SetPath(path);  // a folder that cannot be listed leaves the list as it was
  RefreshStatusLine();
}

}  // namespace tarnivo

#pragma once
// "预览": a window beside the main window, owned by it, that shows what a run of the list
// would do, one row per entry in the run's order (a virtual list view: the rows cost no
// window memory), and a summary line below. It only shows what it is given.
#include <windows.h>
// Needs windows.h before it.
#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "engine/preview_pass.h"
#include "win/handles.h"

namespace tarnivo {

class PreviewWindow {
 public:
  PreviewWindow() = default;
  PreviewWindow(const PreviewWindow&) = delete;
  PreviewWindow& operator=(const PreviewWindow&) = delete;
  ~PreviewWindow();

  // Shows the window, created at the first call, beside `owner` and fully inside the
  // work area of its monitor, without taking the focus from the owner; a window already
  // shown just comes to the front. False when the window cannot be created.
  bool Open(HWND owner);
  void Hide();
  bool IsOpen() const { return hwnd_ && IsWindowVisible(hwnd_); }
  HWND Handle() const { return hwnd_; }

  // The rows of `result` (null: none yet); `checking`: a newer pass is under way, so the
  // summary says so instead of counting rows that may be stale.
  void Show(std::shared_ptr<const PreviewResult> result, bool checking);

  // Esc hides the window and F5 brings it to the front, whichever of its controls has the
  // focus; in the list Space ticks or unticks the selected rows and Ctrl+A selects every
  // row. True when `message` was such a key of this window.
  bool PreTranslateMessage(const MSG& message);

  // The ticks of the rows: each row's file is ticked (renamed by a run) or left out. The
  // window keeps none: it asks and tells its owner, with the rows it shows (`shown`).
  // Whether the file of row `row` is ticked now.
  std::function<bool(const RowMap& shown, std::int32_t row)> IsTicked;
  // The user ticks (or unticks) `rows`; `invert`: each of them the other way.
  std::function<void(const RowMap& shown, const std::vector<std::int32_t>& rows, bool ticked,
                     bool invert)>
      Tick;
  // Shows a pop-up menu at a screen point and returns the chosen item's id, 0 for none.
  // Defaults to TrackPopupMenu.
  std::function<int(HMENU menu, POINT screenPoint)> PopupMenu;

  static constexpr const wchar_t* kClassName = L"TarnivoPreview";
  static constexpr const wchar_t* kCaption = L"预览";

 private:
  template <typename Window>
  friend LRESULT CALLBACK RoutedWindowProc(HWND, UINT, WPARAM, LPARAM);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  bool Create(HWND owner);
  void ApplyFont();
  void Layout();
  void PlaceBesideOwner();
  void ShowSummary();
  void FillItemText(NMLVDISPINFOW& info) const;
  LRESULT CustomDraw(NMLVCUSTOMDRAW& draw) const;
  std::size_t RowCount() const;
  const PreviewRow* RowAt(std::size_t index) const;
  bool RowTicked(std::int32_t row) const;
  void TickRows(const std::vector<std::int32_t>& rows, bool ticked, bool invert);
  std::vector<std::int32_t> SelectedRows() const;
  void OnClick(const NMITEMACTIVATE& click);
  void ShowTickMenu(POINT screenPoint);

  HWND hwnd_ = nullptr;
  HWND owner_ = nullptr;
  HWND list_ = nullptr;
  HWND summary_ = nullptr;
  int dpi_ = 96;
  UniqueFont font_;
  std::shared_ptr<const PreviewResult> result_;
  bool checking_ = true;
};

}  // namespace tarnivo

// The list's order: the pop-up menu 排序 of a right press on `File1`, kept in config.ini.
#include <windows.h>

#include "app/control_ids.h"
#include "app/main_window.h"
#include "app/menu_ids.h"
#include "engine/number_format.h"
#include "win/paths.h"

namespace tarnivo {
namespace {

constexpr int kKeyItems[] = {ids::menusortname, ids::menusorttaken, ids::menusortmodified,
                             ids::menusortsize};

// `排序` with the radio marks of `order`; empty when the system refuses a menu.
UniqueMenu BuildSortMenu(ListOrder order, bool enabled) {
  UniqueMenu menu(CreatePopupMenu());
  const UINT state = enabled ? MF_ENABLED : MF_GRAYED;
  if (!menu || !AppendMenuW(menu.Get(), MF_STRING | state, ids::menusortname, L"名    称") ||
      !AppendMenuW(menu.Get(), MF_STRING | state, ids::menusorttaken, L"拍摄日期") ||
      !AppendMenuW(menu.Get(), MF_STRING | state, ids::menusortmodified, L"修改日期") ||
      !AppendMenuW(menu.Get(), MF_STRING | state, ids::menusortsize, L"大    小") ||
      !AppendMenuW(menu.Get(), MF_SEPARATOR, 0, nullptr) ||
      !AppendMenuW(menu.Get(), MF_STRING | state, ids::menusortup, L"升    序") ||
      !AppendMenuW(menu.Get(), MF_STRING | state, ids::menusortdown, L"降    序")) {
    return {};
  }
  // The marks are only looks: a menu without them still sorts.
  CheckMenuRadioItem(menu.Get(), ids::menusortname, ids::menusortsize,
                     kKeyItems[static_cast<int>(order.Key)], MF_BYCOMMAND);
  CheckMenuRadioItem(menu.Get(), ids::menusortup, ids::menusortdown,
                     order.Descending ? ids::menusortdown : ids::menusortup, MF_BYCOMMAND);
  return menu;
}

}  // namespace

ListOrder MainWindow::SavedOrder() const { return tarnivo::SavedOrder(SettingsReader()); }

void MainWindow::File1_MouseDown(UINT message, POINT screenPoint) {
  RefreshStatusLine();
  if (message != WM_RBUTTONDOWN) return;
  // During a run the list keeps the order the run took.
  const UniqueMenu menu = BuildSortMenu(file1_.Order(), !RunInProgress());
  if (!menu) return;
  const int chosen =
      options_.PopupMenu
          ? options_.PopupMenu(menu.Get(), screenPoint)
          : static_cast<int>(TrackPopupMenu(
                menu.Get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD | TPM_NONOTIFY,
                screenPoint.x, screenPoint.y, 0, hwnd_, nullptr));
  if (chosen != 0 && hwnd_) SortMenu_Click(chosen);
}

void MainWindow::SortMenu_Click(int id) {
  if (RunInProgress()) return;
  ListOrder order = file1_.Order();
  switch (id) {
    case ids::menusortup:
    case ids::menusortdown:
      order.Descending = id == ids::menusortdown;
      break;
    default:
      for (int key = 0; key < static_cast<int>(std::size(kKeyItems)); ++key) {
        if (kKeyItems[key] == id) order.Key = static_cast<SortKey>(key);
      }
      break;
  }
  if (order == file1_.Order()) return;
  // A refused write (read-only folder) leaves the setting as it was; the list sorts anyway.
  settings_.Write(setting::Sort, SortKeyWord(order.Key));
  settings_.Write(setting::SortDescending, order.Descending ? L"1" : L"0");
  ApplyOrder(order);
}

void MainWindow::ApplyOrder(ListOrder order) {
  file1_.SetOrder(order);
  if (order.Key == SortKey::Taken) {
    RequestDates();
    return;
  }
  if (dateReader_) dateReader_->Cancel();
  if (awaitingDates_) {
    awaitingDates_ = false;
    EnableStart();
    if (datesShown_) RefreshStatusLine();
    datesShown_ = false;
  }
}

void MainWindow::OnListChanged() {
  if (file1_.ReadListing() != datesListing_) {
    datesListing_ = file1_.ReadListing();
    if (file1_.Order().Key == SortKey::Taken) RequestDates();
  }
  StartPreviewPass();
}

void MainWindow::RequestDates() {
  const std::shared_ptr<const WorkList> listing = file1_.ReadListing();
  datesListing_ = listing;
  if (!dateReader_) {
    dateReader_ = std::make_unique<DateReader>(
        takenDates_, [window = hwnd_] { PostMessageW(window, kDatesReady, 0, 0); });
  }
  awaitingDates_ = true;
  EnableStart();
  dateReader_->Start(listing);
}

void MainWindow::OnDatesReady() {
  if (!dateReader_) return;
  const DateReader::Progress progress = dateReader_->Latest();
  // News of a listing the list has left, or of an order it no longer has.
  if (!awaitingDates_ || progress.Listing != file1_.ReadListing()) return;
  if (!progress.Finished) {
    if (summaryShown_) return;  // a run's summary stays until something else is shown
    const std::wstring text =
        L"正在读取拍摄日期 " + GroupedNumber(progress.Done) + L"/" + GroupedNumber(progress.Total);
    SetWindowTextW(Control(ids::LabTitle(1)), text.c_str());
    datesShown_ = true;
    return;
  }
  const std::wstring folder = EnsureTrailingBackslash(progress.Listing->Folder);
  std::vector<std::optional<DateTime>> taken;
  taken.reserve(progress.Listing->Entries.size());
  for (const ListedFile& file : progress.Listing->Entries) {
    taken.push_back(takenDates_->Find(folder, file).value_or(std::nullopt));
  }
  awaitingDates_ = false;
  file1_.SetOrder(file1_.Order(), std::move(taken));
  EnableStart();
  // The status line had the reading's progress: it gets the folder back. Otherwise it keeps
  // what it says (a run's summary, say).
  if (datesShown_) RefreshStatusLine();
  datesShown_ = false;
}

void MainWindow::EnableStart() {
  EnableWindow(Control(ids::ImgStart), runState_ == RunState::Idle && !awaitingDates_);
}

}  // namespace tarnivo

#include "engine/work_view.h"

#include <algorithm>
#include <numeric>
#include <string>
#include <unordered_set>

namespace tarnivo {

WorkView::WorkView() : listing_(std::make_shared<WorkList>()) {}

void WorkView::SetListing(std::shared_ptr<const WorkList> listing, bool tickAll) {
  std::unordered_set<std::wstring> leftOut;
  if (!tickAll) {
    for (std::size_t e = 0; e < ticked_.size(); ++e) {
      if (!ticked_[e]) leftOut.insert(listing_->Entries[e].Name);
    }
  }
  listing_ = std::move(listing);
  ticked_.assign(listing_->Entries.size(), 1);
  if (!leftOut.empty()) {
    for (std::size_t e = 0; e < ticked_.size(); ++e) {
      if (leftOut.count(listing_->Entries[e].Name)) ticked_[e] = 0;
    }
  }
  // A new listing has no dates taken yet: its entries stand in the order of names until
  // the order is set again.
  rows_.resize(listing_->Entries.size());
  std::iota(rows_.begin(), rows_.end(), 0);
  if (order_.Key != SortKey::Taken) rows_ = SortedOrder(*listing_, order_, {});
  Changed();
}

void WorkView::SetOrder(ListOrder order, std::vector<std::optional<DateTime>> taken) {
  order_ = order;
  rows_ = SortedOrder(*listing_, order_, taken);
  Changed();
}

const ListedFile& WorkView::At(std::int32_t row) const {
  return listing_->Entries[static_cast<std::size_t>(rows_.at(static_cast<std::size_t>(row)))];
}

bool WorkView::Ticked(std::int32_t row) const {
  return row >= 0 && row < Count() &&
         ticked_[static_cast<std::size_t>(rows_[static_cast<std::size_t>(row)])] != 0;
}

void WorkView::SetTicked(std::int32_t row, bool ticked) {
  if (row < 0 || row >= Count()) return;
  char& tick = ticked_[static_cast<std::size_t>(rows_[static_cast<std::size_t>(row)])];
  if ((tick != 0) == ticked) return;
  tick = ticked ? 1 : 0;
  Changed();
}

bool WorkView::EntryTicked(std::int32_t entry) const {
  return entry >= 0 && static_cast<std::size_t>(entry) < ticked_.size() &&
         ticked_[static_cast<std::size_t>(entry)] != 0;
}

void WorkView::SetEntriesTicked(const std::vector<std::int32_t>& entries, bool ticked) {
  for (const std::int32_t entry : entries) {
    if (entry >= 0 && static_cast<std::size_t>(entry) < ticked_.size()) {
      ticked_[static_cast<std::size_t>(entry)] = ticked ? 1 : 0;
    }
  }
  Changed();
}

void WorkView::InvertEntries(const std::vector<std::int32_t>& entries) {
  for (const std::int32_t entry : entries) {
    if (entry >= 0 && static_cast<std::size_t>(entry) < ticked_.size()) {
      char& tick = ticked_[static_cast<std::size_t>(entry)];
      tick = tick ? 0 : 1;
    }
  }
  Changed();
}

void WorkView::TickAll(bool ticked) {
  ticked_.assign(ticked_.size(), ticked ? 1 : 0);
  Changed();
}

void WorkView::InvertTicks() {
  for (char& tick : ticked_) tick = tick ? 0 : 1;
  Changed();
}

std::int32_t WorkView::LeftOut() const {
  return static_cast<std::int32_t>(std::count(ticked_.begin(), ticked_.end(), 0));
}

void WorkView::Changed() { work_.reset(); }

std::shared_ptr<const WorkList> WorkView::Work() const {
  if (!work_) Make();
  return work_;
}

std::int32_t WorkView::RowOfWork(std::int32_t index) const {
  if (!work_) Make();
  return index >= 0 && static_cast<std::size_t>(index) < workRows_.size()
             ? workRows_[static_cast<std::size_t>(index)]
             : -1;
}

void WorkView::Make() const { work_ = TakeWork(*Snapshot(), nullptr, &workRows_); }

std::shared_ptr<const ViewSnapshot> WorkView::Snapshot() const {
  return std::make_shared<const ViewSnapshot>(ViewSnapshot{listing_, order_, rows_, ticked_});
}

std::shared_ptr<const WorkList> TakeWork(const ViewSnapshot& view,
                                         std::shared_ptr<const RowMap>* rows,
                                         std::vector<std::int32_t>* workRows) {
  const WorkList& listing = *view.Listing;
  auto map = std::make_shared<RowMap>();
  map->Listing = view.Listing;
  map->RowListing = view.Rows;
  map->RowWork.assign(view.Rows.size(), -1);
  if (workRows) workRows->clear();
  const bool asListed = view.Order.Key == SortKey::Name && !view.Order.Descending &&
                        std::find(view.Ticked.begin(), view.Ticked.end(), 0) == view.Ticked.end();
  std::shared_ptr<WorkList> work;
  if (!asListed) {
    work = std::make_shared<WorkList>();
    work->Folder = listing.Folder;
    work->OtherNames = listing.OtherNames;
  }
  std::int32_t taken = 0;
  for (std::size_t row = 0; row < view.Rows.size(); ++row) {
    const auto entry = static_cast<std::size_t>(view.Rows[row]);
    const ListedFile& file = listing.Entries[entry];
    if (!view.Ticked[entry]) {
      // A file left out keeps its names: a run may not give them to another.
      work->OtherNames.push_back(file.Name);
      if (!file.ShortName.empty()) work->OtherNames.push_back(file.ShortName);
      ++map->LeftOut;
      continue;
    }
    map->RowWork[row] = taken++;
    if (workRows) workRows->push_back(static_cast<std::int32_t>(row));
    if (work) work->Entries.push_back(file);
  }
  if (rows) *rows = std::move(map);
  // Every entry ticked, in the order of names: the listing itself is the work.
  return work ? std::shared_ptr<const WorkList>(std::move(work)) : view.Listing;
}

}  // namespace tarnivo

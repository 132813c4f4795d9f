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

void WorkView::Changed() {
  work_.reset();
  map_.reset();
}

std::shared_ptr<const WorkList> WorkView::Work() const {
  if (!work_) Make();
  return work_;
}

std::shared_ptr<const RowMap> WorkView::Rows() const {
  if (!map_) Make();
  return map_;
}

std::int32_t WorkView::RowOfWork(std::int32_t index) const {
  if (!work_) Make();
  return index >= 0 && static_cast<std::size_t>(index) < workRows_.size()
             ? workRows_[static_cast<std::size_t>(index)]
             : -1;
}

void WorkView::Make() const {
  auto map = std::make_shared<RowMap>();
  map->Listing = listing_;
  map->RowListing = rows_;
  map->RowWork.assign(rows_.size(), -1);
  workRows_.clear();
  const bool asListed = order_.Key == SortKey::Name && !order_.Descending &&
                        std::find(ticked_.begin(), ticked_.end(), 0) == ticked_.end();
  std::shared_ptr<WorkList> work;
  if (!asListed) {
    work = std::make_shared<WorkList>();
    work->Folder = listing_->Folder;
    work->OtherNames = listing_->OtherNames;
  }
  for (std::size_t row = 0; row < rows_.size(); ++row) {
    const ListedFile& file = listing_->Entries[static_cast<std::size_t>(rows_[row])];
    if (!ticked_[static_cast<std::size_t>(rows_[row])]) {
      // A file left out keeps its names: a run may not give them to another.
      work->OtherNames.push_back(file.Name);
      if (!file.ShortName.empty()) work->OtherNames.push_back(file.ShortName);
      ++map->LeftOut;
      continue;
    }
    map->RowWork[row] = static_cast<std::int32_t>(workRows_.size());
    workRows_.push_back(static_cast<std::int32_t>(row));
    if (work) work->Entries.push_back(file);
  }
  // Every entry ticked, in the order of names: the listing itself is the work.
  work_ = work ? std::shared_ptr<const WorkList>(std::move(work)) : listing_;
  map_ = std::move(map);
}

}  // namespace tarnivo

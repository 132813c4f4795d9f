// What the file list shows of a listing: its entries in the order the user picked, each
// ticked or left out, and the work a run takes from that: the ticked entries in that
// order, the names of those left out joining the names a run may not take.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "engine/date_time.h"
#include "engine/list_order.h"
#include "engine/work_list.h"

namespace tarnivo {

// The rows the list shows, as a run of them was taken: for the preview, which shows every
// row and what the run does with the ticked ones.
struct RowMap {
  std::shared_ptr<const WorkList> Listing;  // every entry, as read
  std::vector<std::int32_t> RowListing;     // row -> its entry in Listing
  std::vector<std::int32_t> RowWork;        // row -> its entry in the run's work; -1: left out
  std::int32_t LeftOut = 0;                 // rows left out
};

// What the list shows at one moment, copied cheaply (numbers only), so that the work can be
// taken from it on another thread.
struct ViewSnapshot {
  std::shared_ptr<const WorkList> Listing;
  ListOrder Order;
  std::vector<std::int32_t> Rows;  // row -> entry of the listing
  std::vector<char> Ticked;        // by entry of the listing
};

// The work a run takes from `view`, and the rows as it was taken from them; `workRows` (when
// not null) gets the row of each entry of the work.
std::shared_ptr<const WorkList> TakeWork(const ViewSnapshot& view,
                                         std::shared_ptr<const RowMap>* rows = nullptr,
                                         std::vector<std::int32_t>* workRows = nullptr);

class WorkView {
 public:
  WorkView();

  // A new listing. Of the same folder it keeps what was left out, by name; of another
  // folder (or when `tickAll`) every entry is ticked.
  void SetListing(std::shared_ptr<const WorkList> listing, bool tickAll);
  // The order, with each entry's date taken (one per entry of the listing, in its order)
  // when the key is Taken.
  void SetOrder(ListOrder order, std::vector<std::optional<DateTime>> taken = {});

  const std::shared_ptr<const WorkList>& Listing() const { return listing_; }
  ListOrder Order() const { return order_; }
  std::int32_t Count() const { return static_cast<std::int32_t>(rows_.size()); }
  const ListedFile& At(std::int32_t row) const;

  bool Ticked(std::int32_t row) const;
  void SetTicked(std::int32_t row, bool ticked);
  // The same by entry of the listing (the order of names), whatever row shows it.
  bool EntryTicked(std::int32_t entry) const;
  void SetEntriesTicked(const std::vector<std::int32_t>& entries, bool ticked);
  void InvertEntries(const std::vector<std::int32_t>& entries);
  void TickAll(bool ticked);
  void InvertTicks();
  std::int32_t LeftOut() const;

  // The run's work: the ticked entries in the order shown. Made once per change, shared,
  // never changed.
  std::shared_ptr<const WorkList> Work() const;
  // The row of the run's entry `index`; -1 when there is none.
  std::int32_t RowOfWork(std::int32_t index) const;
  // What is shown now, for TakeWork on another thread.
  std::shared_ptr<const ViewSnapshot> Snapshot() const;

 private:
  void Changed();
  void Make() const;

  std::shared_ptr<const WorkList> listing_;
  ListOrder order_;
  std::vector<std::int32_t> rows_;  // row -> entry of the listing
  std::vector<char> ticked_;        // by entry of the listing
  mutable std::shared_ptr<const WorkList> work_;
  mutable std::vector<std::int32_t> workRows_;  // entry of the work -> row
};

}  // namespace tarnivo

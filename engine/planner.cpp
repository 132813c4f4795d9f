#include "engine/planner.h"

#include <new>

#include "engine/file_dates.h"
#include "engine/system_name_case.h"
#include "win/paths.h"

namespace tarnivo {

BatchPlanner::BatchPlanner(PlanSetup setup)
    : setup_(std::move(setup)), folder_(EnsureTrailingBackslash(setup_.List->Folder)) {
  // Reserved whole, so that recording an entry that ran out of memory needs none.
  plan_.Entries.reserve(setup_.List->Entries.size());
}

void BatchPlanner::PlanEntry(std::int32_t index) noexcept {
  const ListedFile& file = setup_.List->Entries[static_cast<std::size_t>(index)];
  const std::wstring& oldName = file.Name;
  try {
    // The dates are read at most once per entry, and only when a line asks for them.
    FileDates dates(folder_, file, setup_.Dates.get());
    plan_.Entries.push_back(tarnivo::PlanEntry(setup_.Template, setup_.Context, index, oldName,
                                               FileDates::ReaderOf(dates)));
  } catch (const std::bad_alloc&) {
    plan_.Entries.emplace_back().OutOfMemory = true;
  }
}

BatchPlan BatchPlanner::Finish() {
  OrderMoves(plan_, *setup_.List, SystemNameCase(), setup_.RunTag);
  return std::move(plan_);
}

}  // namespace tarnivo

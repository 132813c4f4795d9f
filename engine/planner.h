// Planning a run entry by entry, by the same code for the run and for the preview: each
// entry's dates read when a line asks for them, its lines evaluated, its name checked.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "engine/batch_plan.h"
#include "engine/taken_dates.h"
#include "engine/template.h"
#include "engine/token.h"
#include "engine/work_list.h"

namespace tarnivo {

// What a plan is made from.
struct PlanSetup {
  std::shared_ptr<const WorkList> List;  // the entries, in the run's order
  CompiledTemplate Template;
  // Settings reader, clock and locale for the lines; FileName, ListIndex and FileDate are
  // set per entry.
  TokenContext Context;
  // Tells this run's temporary names from another's ("~tarnivo-<tag>-<entry>.tmp").
  std::wstring RunTag;
  // The dates taken already read (null: every %taken% reads its file).
  std::shared_ptr<TakenDates> Dates;
};

class BatchPlanner {
 public:
  // May throw std::bad_alloc.
  explicit BatchPlanner(PlanSetup setup);

  std::int32_t Count() const { return static_cast<std::int32_t>(setup_.List->Entries.size()); }
  const WorkList& List() const { return *setup_.List; }
  const std::wstring& Folder() const { return folder_; }  // the list's folder ending in "\"

  // Plans entry `index`; every entry once, in the list's order. An entry that does not fit
  // in memory is planned as OutOfMemory.
  void PlanEntry(std::int32_t index) noexcept;
  // The plan with its moves ordered (names compared as the file system does), once every
  // entry is planned; the planner is done then. May throw std::bad_alloc.
  BatchPlan Finish();

 private:
  PlanSetup setup_;
  std::wstring folder_;
  BatchPlan plan_;
};

}  // namespace tarnivo

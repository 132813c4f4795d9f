// One pass of the preview: what a run would do with every entry, worked out by the run's
// own planning and forecast from its plan, without renaming anything.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "engine/planner.h"
#include "engine/run_forecast.h"
#include "engine/work_list.h"
#include "engine/work_view.h"

namespace tarnivo {

struct PreviewResult {
  std::shared_ptr<const WorkList> List;  // whose entries the rows belong to
  std::vector<PreviewRow> Rows;          // one per entry, in the list's order
  RowCounts Counts;
  // The rows the file list showed when the pass was asked for (null: one row per entry):
  // which of them the entries are, and which were left out of the run.
  std::shared_ptr<const RowMap> Shown;
};

// The pass. `cancelled` is asked before each entry; null when it said so, or when memory
// ran out.
std::unique_ptr<PreviewResult> RunPreview(PlanSetup setup, const std::function<bool()>& cancelled);

}  // namespace tarnivo

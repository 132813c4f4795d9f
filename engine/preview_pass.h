// One pass of the preview: what a run would do with every entry, worked out by the run's
// own planning and forecast from its plan, without renaming anything.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "engine/planner.h"
#include "engine/run_forecast.h"
#include "engine/work_list.h"

namespace tarnivo {

struct PreviewResult {
  std::shared_ptr<const WorkList> List;  // whose entries the rows belong to
  std::vector<PreviewRow> Rows;          // one per entry, in the list's order
  RowCounts Counts;
};

// The pass. `cancelled` is asked before each entry; null when it said so, or when memory
// ran out.
std::unique_ptr<PreviewResult> RunPreview(PlanSetup setup, const std::function<bool()>& cancelled);

}  // namespace tarnivo

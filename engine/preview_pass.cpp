#include "engine/preview_pass.h"

#include <new>


namespace tarnivo {

std::unique_ptr<PreviewResult> RunPreview(PlanSetup setup, const std::function<bool()>& cancelled) {
  if (!setup.List) return nullptr;
  try {
    std::shared_ptr<const WorkList> list = setup.List;
    BatchPlanner planner(std::move(setup));
    for (std::int32_t i = 0; i < planner.Count(); ++i) {
      if (cancelled && cancelled()) return nullptr;
      planner.PlanEntry(i);
    }
    Forecast forecast = ForecastRun(planner.Finish());
    auto result = std::make_unique<PreviewResult>();
    result->List = std::move(list);
    result->Rows = std::move(forecast.Rows);
    result->Counts = forecast.Counts;
    return result;
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

}  // namespace tarnivo

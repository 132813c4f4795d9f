#include "engine/batch_plan.h"

namespace tarnivo {

void OrderMoves(BatchPlan& plan) {
  plan.Moves.clear();
  plan.Moves.reserve(plan.Entries.size());
  for (std::size_t i = 0; i < plan.Entries.size(); ++i) {
    plan.Moves.push_back(Move{static_cast<std::int32_t>(i)});
  }
}

}  // namespace tarnivo

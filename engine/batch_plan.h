// The whole of a run worked out before its first rename: every entry's new name and its
// refusals, and the renames as an ordered list of moves. The run executes the moves in
// their order; the preview's forecast follows the same moves.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/rename_plan.h"

namespace tarnivo {

// One rename: the entry's file from its old name to its new one.
struct Move {
  std::int32_t Entry = 0;  // its position in the list
};

struct BatchPlan {
  std::vector<EntryPlan> Entries;  // one per entry, in the list's order
  std::vector<Move> Moves;         // in the order the run makes them
};

// The moves of `plan`, one per entry: in the list's order.
void OrderMoves(BatchPlan& plan);

}  // namespace tarnivo

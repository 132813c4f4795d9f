// The whole of a run worked out before its first rename: every entry's new name and its
// refusals, and the renames as an ordered list of moves. The moves free names before
// they are taken: an entry whose new name another entry of the run gives up is renamed
// after it (a shift, a chain), a cycle (a swap, a rotation) is broken with one temporary
// name, and a change of case only goes through a temporary name too. The run makes the
// moves in their order; the preview shows what the plan says of each entry.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/name_case.h"
#include "engine/rename_plan.h"
#include "engine/work_list.h"

namespace tarnivo {

enum class MoveKind : std::uint8_t {
  Direct,         // old name to new name
  ToTemporary,    // old name to the entry's temporary name
  FromTemporary,  // the temporary name to the new name
  None,           // nothing moves: the new name is refused, the step only reports it
};

struct Move {
  std::int32_t Entry = 0;  // its position in the list
  MoveKind Kind = MoveKind::Direct;
  // The moves of one cycle, or of one change of case, share a group: when one of them
  // fails, those done before it are taken back. -1: a move of its own.
  std::int32_t Group = -1;
};

// What the plan says of an entry.
enum class Route : std::uint8_t {
  Free,       // its new name is free from the start
  Shifted,    // "顺移": renamed after other entries of the run give up its new name
  Temporary,  // "经临时名": broken out of a cycle, or a change of case only
  Unchanged,  // the new name is the old one exactly
  Refused,    // the name is refused (52), or the entry could not be planned (7)
  Taken,      // 58: the new name stays held (by a name that will not move, by an earlier
              // entry of the run, or by an entry whose rename fails)
};

struct BatchPlan {
  std::vector<EntryPlan> Entries;  // one per entry, in the list's order
  std::vector<Move> Moves;         // in the order the run makes them
  std::vector<Route> Routes;       // one per entry
  // Per entry: the temporary name of a ToTemporary move, "" for none.
  std::vector<std::wstring> Temporary;
};

// Orders the moves of `plan` (whose Entries are planned, one per entry of `list`) and
// decides each entry's route. Names are compared as `nameCase` does, long and short ones
// alike. A refused name gets a None in the list's order among the moves that wait for
// nothing; moves whose new name stays held come last, in the list's order, and the file
// system refuses them. A temporary name is "~tarnivo-" + `runTag` + "-" + the entry's
// 1-based place + ".tmp", with "-2", "-3" … added when the folder or the run holds it.
// Linear in the entries and names (hash maps, no pairwise loops). May throw std::bad_alloc.
void OrderMoves(BatchPlan& plan, const WorkList& list, const NameCase& nameCase,
                std::wstring_view runTag);

}  // namespace tarnivo

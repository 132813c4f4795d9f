// The batch rename: every entry of the list taken at the start, planned whole, then
// renamed inside its folder to the name the template gives for it, in the order of the
// plan's moves. A failure (a line that cannot be evaluated, a name refused by the program
// or by the file system) is counted, logged and passed over; the run always handles every
// entry. A rename never replaces an existing file, and each one is recorded in the journal
// before it is tried.
#pragma once

#include <string>

#include "engine/batch.h"
#include "engine/planner.h"

namespace tarnivo {

struct RenameRunSetup {
  // "Err.LOG", "Undo.LOG" (none for an empty list, nor where it would lie in the working
  // folder), the caption and the clock of the log header.
  BatchSetup Batch;
  PlanSetup Plan;             // the list, the compiled template and what its lines read
  std::wstring TemplateText;  // as typed: the log header and the journal record it
};

// The run; its outcome counts renamed files as Done and the others as NotDone.
BatchOutcome RunRename(RenameRunSetup setup, const BatchHost& host);

}  // namespace tarnivo

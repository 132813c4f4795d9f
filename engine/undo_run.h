// The undo of the last run, from its journal: every entry whose rename succeeded (or may
// have, where the journal lacks its outcome) renamed back, last entry first, from its new
// name to its old one inside the journal's folder. Nothing is ever replaced: a file gone
// from its new name or an old name taken meanwhile is a failure, counted and logged as a
// run's are, and the undo goes on. Its own progress is recorded in the journal as it goes.
#pragma once

#include <string>

#include "engine/batch.h"

namespace tarnivo {

// True when the journal at `path` holds something an undo would take up.
bool JournalHasUndo(const std::wstring& journalPath);

// The undo of the journal at `setup.JournalPath`; not Started when it holds nothing to
// undo. Its outcome counts files given their old name back as Done; Failures are the
// files that kept their name.
BatchOutcome RunUndo(const BatchSetup& setup, const BatchHost& host);

}  // namespace tarnivo

// The undo of the last run, from its journal: every entry whose rename succeeded (or may
// have, where the journal lacks its outcome) renamed back, last entry first, from its new
// name to its old one inside the journal's folder. Nothing is ever replaced: a file gone
// from its new name or an old name taken meanwhile is a failure, counted and logged as a
// run's are, and the undo goes on. Its own progress is recorded in the journal as it goes.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "engine/token.h"

namespace tarnivo {

struct UndoRunSetup {
  std::wstring JournalPath;  // "Undo.LOG"
  std::wstring LogPath;      // empty: no log
  std::wstring Caption;      // the log header's first line
  Clock Now;                 // dates the log header and the journal's record of the undo
  // Called once the log header is written, before the first entry.
  std::function<void()> OnStarted;
  // Called with the entry just handled each time control goes to the message loop: the
  // journal's folder and the name the entry's file had when the undo took it up.
  std::function<void(const std::wstring& folder, const std::wstring& currentName)> OnProgress;
  // As a run's: after the last entry, and before that at the rhythms of hand_overs.h.
  std::function<void()> LetEventsRun;
  std::function<bool()> EventsWaiting;
};

struct UndoRunOutcome {
  bool Started = false;          // the journal held something to undo; else nothing was done
  std::wstring Folder;           // the journal's folder, ending in "\"
  std::int32_t Restored = 0;     // files given their old name back
  std::int32_t Failures = 0;     // files that kept their name; each one is logged
  double Seconds = 0;            // from before the first entry to after the last (monotonic)
  bool LogCreated = false;       // the log exists and holds this undo's header
  bool JournalRecorded = false;  // the journal records this undo to its end
};

// True when the journal at `path` holds something an undo would take up.
bool JournalHasUndo(const std::wstring& journalPath);

UndoRunOutcome RunUndo(UndoRunSetup setup);

}  // namespace tarnivo

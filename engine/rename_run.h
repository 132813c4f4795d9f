// The batch rename: every entry taken at the start, in order, renamed inside its folder to
// the name the template gives for it. A failure (a line that cannot be evaluated, a name
// refused by the program or by the file system) is counted, logged and passed over; the
// run always handles every entry. A rename never replaces an existing file.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine/token.h"

namespace tarnivo {

struct RenameRunSetup {
  std::wstring Folder;              // ends in "\"; old and new paths are Folder + name
  std::vector<std::wstring> Names;  // the entries, in list order, as they were at the start
  std::wstring TemplateText;        // cut into lines at CR LF
  // Keywords, settings and clock for the lines; FileName and ListIndex are set per entry.
  // Its clock also dates the log header.
  TokenContext Context;
  std::wstring LogPath;  // empty: no log
  std::wstring Caption;  // the log header's first line and the journal's caption
  // "Undo.LOG": every rename is recorded in it before it is tried. Empty: no journal; none
  // either for an empty list, or when the journal would lie in the working folder.
  std::wstring JournalPath;
  // Called once the log header is written, before the first entry.
  std::function<void()> OnStarted;
  // Called with the entry just handled each time control goes to the message loop.
  std::function<void(std::int32_t index, const std::wstring& oldName)> OnProgress;
  // Lets the window handle its pending messages. Called after the last entry, and before
  // that at the rhythms of hand_overs.h: after progress, and whenever EventsWaiting says
  // messages wait.
  std::function<void()> LetEventsRun;
  std::function<bool()> EventsWaiting;
};

struct RenameRunOutcome {
  std::int32_t Renamed = 0;     // entries whose rename succeeded
  std::int32_t NotRenamed = 0;  // entries that kept their name
  std::int32_t Failures = 0;    // every failure, several per entry possible; numbers the log
  double Seconds = 0;           // from before the first entry to after the last (monotonic)
  bool LogCreated = false;      // the log exists and holds this run's header
  bool JournalWritten = false;  // the journal exists and records every rename of this run
};

RenameRunOutcome RunRename(RenameRunSetup setup);

}  // namespace tarnivo

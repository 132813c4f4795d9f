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
  std::wstring Caption;  // the log header's first line
  // Called once the log header is written, before the first entry.
  std::function<void()> OnStarted;
  // Called with the entry just handled each time control goes to the message loop.
  std::function<void(std::int32_t index, const std::wstring& oldName)> OnProgress;
  // Lets the window handle its pending messages. Called after the last entry, and before
  // that whenever kEventIntervalSeconds have passed since the last time (up to half a
  // second when a hand-over itself is slow, so that hand-overs take about a tenth of the
  // run at most).
  std::function<void()> LetEventsRun;
};

inline constexpr double kEventIntervalSeconds = 0.030;

struct RenameRunOutcome {
  std::int32_t Renamed = 0;     // entries whose rename succeeded
  std::int32_t NotRenamed = 0;  // entries that kept their name
  std::int32_t Failures = 0;    // every failure, several per entry possible; numbers the log
  double Seconds = 0;           // from before the first entry to after the last (monotonic)
  bool LogCreated = false;      // the log exists and holds this run's header
};

RenameRunOutcome RunRename(RenameRunSetup setup);

}  // namespace tarnivo

// What a rename run and an undo share: "Err.LOG" with its header, "Undo.LOG", the steps
// with their hand-overs to the caller's message loop, the counts and the summary. A job
// says what its steps are; RunBatch runs any job the same way, for the window and for the
// command line alike.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "engine/journal_file.h"
#include "engine/run_log.h"
#include "engine/token.h"

namespace tarnivo {

// Where a batch writes, and its clock.
struct BatchSetup {
  std::wstring LogPath;      // "Err.LOG"; empty: no log
  std::wstring JournalPath;  // "Undo.LOG"; empty: no journal
  std::wstring Caption;      // the log header's first line and the journal's caption
  Clock Now;                 // dates the log header and the journal; none: DateTime{}
};

// What the caller shows at a hand-over.
struct BatchProgress {
  std::int32_t ListIndex = -1;  // the list entry just handled; -1 when it is none of the list's
  std::wstring Text;            // the progress line
};

// The caller's side of a batch.
struct BatchHost {
  // Called once the log header is written and the journal opened, before the first step.
  std::function<void()> OnStarted;
  // Called with the step just done each time control goes to the message loop.
  std::function<void(const BatchProgress& progress)> OnProgress;
  // Lets the caller handle its pending messages: after the last step, and before that at
  // the rhythms of hand_overs.h (after progress, and whenever EventsWaiting says
  // messages wait; while the run plans, only then).
  std::function<void()> LetEventsRun;
  std::function<bool()> EventsWaiting;
  // Told of every failure as it is counted; may be empty.
  FailureObserver OnFailure;
};

struct BatchOutcome {
  bool Started = false;   // false: nothing was done at all (an undo with nothing to undo)
  std::wstring Folder;    // the folder whose files the batch renamed, ending in "\"
  std::int32_t Done = 0;  // files that got their new name (a run) or their old one back (an undo)
  std::int32_t NotDone = 0;     // files that kept their name
  std::int32_t Failures = 0;    // every logged failure, several per file possible
  double Seconds = 0;           // from before the first entry to after the last (monotonic)
  bool LogCreated = false;      // the log exists and holds this batch's header
  bool JournalTouched = false;  // the batch replaced "Undo.LOG" or added to it
  bool JournalIntact = false;   // the journal records this batch whole
  std::wstring Summary;         // the status line's text at the end
};

// The log and the journal a job writes into.
struct BatchRecords {
  RunLog Log;
  JournalFile Journal;
};

// One batch: the steps of a run or of an undo.
class BatchJob {
 public:
  virtual ~BatchJob() = default;

  // Reads what the job needs before anything is written; false when there is nothing to do.
  virtual bool Prepare(const BatchSetup& /*setup*/) { return true; }
  virtual const std::wstring& Folder() const = 0;      // ending in "\"
  virtual std::wstring_view TemplateText() const = 0;  // what the log header shows
  // Creates or opens the journal, its header on the disk before the first step.
  virtual void OpenJournal(JournalFile& journal, const BatchSetup& setup, const DateTime& now) = 0;
  // Work before the first step, entry by entry (a run's plan); the window answers meanwhile.
  virtual std::int32_t PlanCount() const { return 0; }
  virtual void PlanEntry(std::int32_t /*index*/) {}
  virtual void EndPlan() {}  // after the last entry is planned, before StepCount is asked
  virtual std::int32_t StepCount() const = 0;
  // Step `step`, with its write-ahead records and its failures. Never throws.
  virtual void Step(std::int32_t step, BatchRecords& records) noexcept = 0;
  virtual BatchProgress Progress(std::int32_t step) const = 0;
  // After the last step, with the clock read again (an undo records its end).
  virtual void Finish(BatchRecords& /*records*/, const DateTime& /*now*/) {}
  // The files that got their name, and those that did not, into `outcome`.
  virtual void Tally(BatchOutcome& outcome) const = 0;
  // True when the batch replaced the journal or added to it (or should have).
  virtual bool TouchesJournal() const = 0;
  virtual std::wstring Summary(const BatchOutcome& outcome) const = 0;
};

// Runs `job`: the log's header (when a log is wanted), the journal, OnStarted, the plan, the
// steps with their hand-overs, then the counts and the summary.
BatchOutcome RunBatch(BatchJob& job, const BatchSetup& setup, const BatchHost& host);

}  // namespace tarnivo

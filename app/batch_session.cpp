#include "app/batch_session.h"

namespace tarnivo {

std::optional<BatchOutcome> BatchSession::Run(const Start& start) {
  if (busy_) return std::nullopt;
  busy_ = true;
  struct Done {
    bool& Busy;
    ~Done() { Busy = false; }
  } done{busy_};
  BatchHost host;
  host.OnStarted = [this] { window_.SetState(RunState::Running); };
  host.OnProgress = window_.ShowProgress;
  host.LetEventsRun = window_.LetEventsRun;
  host.EventsWaiting = window_.EventsWaiting;
  BatchOutcome outcome = start(host);
  // A run of an empty list leaves the journal of the batch before it.
  if (outcome.JournalTouched) undoBlocked_ = !outcome.JournalIntact;
  return outcome;
}

}  // namespace tarnivo

#pragma once
// The main window's side of a run or an undo: one batch at a time, the window's hand-overs
// while it runs, and whether "Undo.LOG" is still the record of the last batch.
#include <functional>
#include <optional>

#include "engine/batch.h"

namespace tarnivo {

enum class RunState { Idle, Running };

class BatchSession {
 public:
  // What a batch asks of the window while it runs.
  struct Window {
    std::function<void(RunState)> SetState;
    std::function<void(const BatchProgress&)> ShowProgress;
    std::function<void()> LetEventsRun;
    std::function<bool()> EventsWaiting;
  };
  using Start = std::function<BatchOutcome(const BatchHost& host)>;

  explicit BatchSession(Window window) : window_(std::move(window)) {}

  // True while a batch is under way: what would change the list or the template waits.
  bool Busy() const { return busy_; }
  // A batch could not write the journal, or an undo could not record itself in it: the
  // journal is not the record of the last batch, and no undo is offered.
  bool UndoBlocked() const { return undoBlocked_; }

  // Runs the batch `start` starts, the window in the running state from its first step;
  // nothing when one is under way already (a click queued during it). The window stays in
  // the running state at the end: the caller shows the summary and restores it.
  std::optional<BatchOutcome> Run(const Start& start);

 private:
  Window window_;
  bool busy_ = false;
  bool undoBlocked_ = false;
};

}  // namespace tarnivo

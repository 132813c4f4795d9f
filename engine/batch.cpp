#include "engine/batch.h"

#include "engine/hand_overs.h"

namespace tarnivo {

BatchOutcome RunBatch(BatchJob& job, const BatchSetup& setup, const BatchHost& host) {
  BatchOutcome outcome;
  if (!job.Prepare(setup)) return outcome;
  outcome.Started = true;
  outcome.Folder = job.Folder();
  const auto now = [&setup] { return setup.Now ? setup.Now() : DateTime{}; };
  const DateTime start = now();
  BatchRecords records;
  records.Log.Observe(host.OnFailure);
  if (!setup.LogPath.empty()) {
    outcome.LogCreated = records.Log.Open(setup.LogPath, setup.Caption, start, job.TemplateText());
  }
  job.OpenJournal(records.Journal, setup, start);
  if (host.OnStarted) host.OnStarted();

  // The plan hands over only to messages that wait: its entries show no progress.
  const auto letWaitingEventsRun = [&host] {
    if (host.EventsWaiting && host.LetEventsRun && host.EventsWaiting()) host.LetEventsRun();
  };
  EntryLoop plan;
  plan.Entry = [&job](std::int32_t i) { job.PlanEntry(i); };
  plan.HandOver = [&](std::int32_t) { letWaitingEventsRun(); };
  plan.EventsWaiting = host.EventsWaiting;
  plan.LetEventsRun = host.LetEventsRun;
  outcome.Seconds = RunEntries(job.PlanCount(), plan);
  job.EndPlan();

  EntryLoop steps;
  steps.Entry = [&](std::int32_t i) { job.Step(i, records); };
  steps.HandOver = [&](std::int32_t i) {
    records.Journal.Flush();
    if (host.OnProgress) host.OnProgress(job.Progress(i));
    if (host.LetEventsRun) host.LetEventsRun();
  };
  steps.EventsWaiting = host.EventsWaiting;
  steps.LetEventsRun = host.LetEventsRun;
  outcome.Seconds += RunEntries(job.StepCount(), steps);

  job.Finish(records, now());
  records.Journal.Flush();
  job.Tally(outcome);
  outcome.Failures = records.Log.Failures();
  outcome.JournalTouched = job.TouchesJournal();
  outcome.JournalIntact = records.Journal.Intact();
  outcome.Summary = job.Summary(outcome);
  return outcome;
}

}  // namespace tarnivo

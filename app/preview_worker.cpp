#include "app/preview_worker.h"

#include <new>

namespace tarnivo {

PreviewWorker::PreviewWorker(std::function<void()> ready)
    : ready_(std::move(ready)), thread_([this] { Loop(); }) {}

PreviewWorker::~PreviewWorker() {
  {
    const std::lock_guard lock(mutex_);
    stop_ = true;
    ++generation_;  // abandons the pass under way
  }
  wake_.notify_one();
  thread_.join();
}

void PreviewWorker::Start(PlanSetup setup, std::shared_ptr<const ViewSnapshot> view) {
  {
    const std::lock_guard lock(mutex_);
    next_ = Job{std::move(setup), std::move(view)};
    ++generation_;
  }
  wake_.notify_one();
}

std::shared_ptr<const PreviewResult> PreviewWorker::TakeResult() {
  const std::lock_guard lock(mutex_);
  if (!done_ || doneGeneration_ != generation_) return nullptr;
  return std::move(done_);
}

void PreviewWorker::Discard(std::shared_ptr<const PreviewResult> result) {
  if (!result) return;
  {
    const std::lock_guard lock(mutex_);
    discarded_.push_back(std::move(result));
  }
  wake_.notify_one();
}

void PreviewWorker::Loop() {
  for (;;) {
    std::optional<Job> setup;
    std::vector<std::shared_ptr<const PreviewResult>> discarded;
    std::uint64_t generation = 0;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [this] { return stop_ || next_ || !discarded_.empty(); });
      if (stop_) return;
      discarded.swap(discarded_);
      setup.swap(next_);
      generation = generation_;
      // An older result nobody took goes as well.
      if (setup && done_) discarded.emplace_back(std::move(done_));
    }
    // Freed here, off the window's thread, and after the pass: the rows a user waits for
    // come first.
    if (setup) Pass(std::move(*setup), generation);
    discarded.clear();
  }
}

void PreviewWorker::Pass(Job job, std::uint64_t generation) {
  std::shared_ptr<const RowMap> shown;
  if (job.View) {
    try {
      job.Setup.List = TakeWork(*job.View, &shown);
    } catch (const std::bad_alloc&) {
      return;  // no pass without its list
    }
  }
  std::unique_ptr<PreviewResult> result =
      RunPreview(std::move(job.Setup), [this, generation] { return generation_ != generation; });
  if (!result) return;  // abandoned, or out of memory
  result->Shown = std::move(shown);
  {
    const std::lock_guard lock(mutex_);
    if (generation_ != generation) return;  // a newer pass has been asked for meanwhile
    done_ = std::move(result);
    doneGeneration_ = generation;
  }
  if (ready_) ready_();
}

}  // namespace tarnivo

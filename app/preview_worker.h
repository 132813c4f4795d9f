#pragma once
// The preview's passes on a thread of their own, so the window never waits for one. A new
// pass abandons the one under way, and only the result of the latest pass is handed over:
// an older one is dropped, never shown as current.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "engine/preview_pass.h"

namespace tarnivo {

class PreviewWorker {
 public:
  // `ready` runs on the worker's thread whenever a result waits to be taken. It must do no
  // more than post a message: the window's thread then takes the result. The worker
  // itself never reads or changes a window.
  explicit PreviewWorker(std::function<void()> ready);
  PreviewWorker(const PreviewWorker&) = delete;
  PreviewWorker& operator=(const PreviewWorker&) = delete;
  // Abandons the pass under way and waits for the thread.
  ~PreviewWorker();

  // Starts a pass of `setup`, abandoning the one under way. With `view`, the pass takes its
  // list from what the list showed (`setup.List` is then made from it, on the worker's
  // thread) and its result shows those rows. Everything `setup.Context` reaches (its
  // settings reader and clock) must outlive the worker.
  void Start(PlanSetup setup, std::shared_ptr<const ViewSnapshot> view = nullptr);
  // The result of the latest pass started, once it has ended; null before, and for every
  // older pass.
  std::shared_ptr<const PreviewResult> TakeResult();
  // Hands back a result the window is done with, to be freed on the worker's thread (a
  // hundred thousand rows take milliseconds to free).
  void Discard(std::shared_ptr<const PreviewResult> result);

 private:
  void Loop();
  struct Job {
    PlanSetup Setup;
    std::shared_ptr<const ViewSnapshot> View;
  };
  void Pass(Job job, std::uint64_t generation);

  std::function<void()> ready_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::optional<Job> next_;                   // the pass to start, newest only
  std::atomic<std::uint64_t> generation_{0};  // of the latest pass started
  std::unique_ptr<PreviewResult> done_;
  std::uint64_t doneGeneration_ = 0;
  std::vector<std::shared_ptr<const PreviewResult>> discarded_;
  bool stop_ = false;
  std::thread thread_;  // last: it starts once everything above is ready
};

}  // namespace tarnivo

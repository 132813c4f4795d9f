#pragma once
// The dates taken of a listing's photos, read on a thread of their own so that the window
// answers while twenty thousand files are opened; each date kept in the shared TakenDates,
// where the sort, the preview and the run's %taken% find it.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "engine/taken_dates.h"
#include "engine/work_list.h"

namespace tarnivo {

class DateReader {
 public:
  struct Progress {
    std::shared_ptr<const WorkList> Listing;  // whose dates are read
    std::int32_t Done = 0;
    std::int32_t Total = 0;
    bool Finished = false;
  };

  // `notify` runs on the reader's thread when there is news (at most one notice waits at a
  // time): it must do no more than post a message; the window then asks Latest().
  DateReader(std::shared_ptr<TakenDates> known, std::function<void()> notify);
  DateReader(const DateReader&) = delete;
  DateReader& operator=(const DateReader&) = delete;
  // Abandons the reading under way and waits for the thread.
  ~DateReader();

  // Reads the dates of `listing`, abandoning the reading under way.
  void Start(std::shared_ptr<const WorkList> listing);
  // Abandons the reading under way.
  void Cancel();
  // How far the latest reading has come; a new notice may come after this.
  Progress Latest();

 private:
  void Loop();
  void Read(const std::shared_ptr<const WorkList>& listing, std::uint64_t generation);
  void Tell(const Progress& progress);

  std::shared_ptr<TakenDates> known_;
  std::function<void()> notify_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::optional<std::shared_ptr<const WorkList>> next_;
  std::atomic<std::uint64_t> generation_{0};
  Progress latest_;
  bool told_ = false;  // a notice waits to be read
  bool stop_ = false;
  std::thread thread_;  // last: it starts once everything above is ready
};

}  // namespace tarnivo

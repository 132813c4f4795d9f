#include "app/date_reader.h"

#include <chrono>

#include "engine/file_dates.h"
#include "win/paths.h"

namespace tarnivo {
namespace {

// How often the progress is told: often enough for the status line to move.
constexpr auto kTellEvery = std::chrono::milliseconds(100);

}  // namespace

DateReader::DateReader(std::shared_ptr<TakenDates> known, std::function<void()> notify)
    : known_(std::move(known)), notify_(std::move(notify)), thread_([this] { Loop(); }) {}

DateReader::~DateReader() {
  {
    const std::lock_guard lock(mutex_);
    stop_ = true;
    ++generation_;
  }
  wake_.notify_one();
  thread_.join();
}

void DateReader::Start(std::shared_ptr<const WorkList> listing) {
  {
    const std::lock_guard lock(mutex_);
    next_ = std::move(listing);
    ++generation_;
  }
  wake_.notify_one();
}

void DateReader::Cancel() {
  const std::lock_guard lock(mutex_);
  next_.reset();
  ++generation_;
}

DateReader::Progress DateReader::Latest() {
  const std::lock_guard lock(mutex_);
  told_ = false;
  return latest_;
}

void DateReader::Loop() {
  for (;;) {
    std::shared_ptr<const WorkList> listing;
    std::uint64_t generation = 0;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [this] { return stop_ || next_; });
      if (stop_) return;
      listing = std::move(*next_);
      next_.reset();
      generation = generation_;
    }
    Read(listing, generation);
  }
}

void DateReader::Read(const std::shared_ptr<const WorkList>& listing, std::uint64_t generation) {
  const std::wstring folder = EnsureTrailingBackslash(listing->Folder);
  Progress progress{listing, 0, static_cast<std::int32_t>(listing->Entries.size()), false};
  auto next = std::chrono::steady_clock::now();
  for (const ListedFile& file : listing->Entries) {
    if (generation_ != generation) return;  // a newer listing, or none wanted any more
    // Read as %taken% reads it and kept where the sort and the run find it; a file that
    // cannot be read sorts as one without a date.
    static_cast<void>(FileDates(folder, file, known_.get()).Read(FileDateKind::Taken));
    ++progress.Done;
    if (std::chrono::steady_clock::now() >= next) {
      Tell(progress);
      next = std::chrono::steady_clock::now() + kTellEvery;
    }
  }
  progress.Finished = true;
  if (generation_ == generation) Tell(progress);
}

void DateReader::Tell(const Progress& progress) {
  bool waiting = false;
  {
    const std::lock_guard lock(mutex_);
    latest_ = progress;
    waiting = told_;
    told_ = true;
  }
  if (!waiting && notify_) notify_();
}

}  // namespace tarnivo

#include "engine/hand_overs.h"

#include <algorithm>
#include <chrono>

namespace tarnivo {

double PauseAfterHandOver(double cost) noexcept {
  return std::clamp(kPauseShare * cost, kShortestPause, kLongestPause);
}

double RunEntries(std::int32_t count, const EntryLoop& loop) {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point start = Clock::now();
  const auto seconds = [start] {
    return std::chrono::duration<double>(Clock::now() - start).count();
  };
  double nextHandOver = kShortestPause;
  double nextCheck = kMessageCheckInterval;
  for (std::int32_t i = 0; i < count; ++i) {
    loop.Entry(i);
    const double before = seconds();
    if (i + 1 == count || before >= nextHandOver) {
      if (loop.HandOver) loop.HandOver(i);
      const double after = seconds();
      nextHandOver = after + PauseAfterHandOver(after - before);
      nextCheck = after + kMessageCheckInterval;
    } else if (before >= nextCheck) {
      if (loop.EventsWaiting && loop.LetEventsRun && loop.EventsWaiting()) loop.LetEventsRun();
      nextCheck = seconds() + kMessageCheckInterval;
    }
  }
  return seconds();
}

}  // namespace tarnivo

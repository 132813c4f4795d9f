// When a run or an undo hands control to the message loop. Two rhythms: every few
// milliseconds the window is asked whether messages wait for it, and if so they are let
// run at once, so that it answers within a fraction of the 0.1 s a user notices; and at a
// slower rhythm a full hand-over (the journal's flush, the progress line, the messages)
// whose cost stays a small share of the run.
#pragma once

#include <cstdint>
#include <functional>

namespace tarnivo {

// How often the window is asked whether messages wait for it.
inline constexpr double kMessageCheckInterval = 0.010;
// The pause between the end of one full hand-over and the start of the next: at least the
// shortest, and long enough that a hand-over takes no more than 1 / (1 + kPauseShare) of
// the time (a repaint where painting is slow, a flush to a slow disk), at most the longest.
inline constexpr double kShortestPause = 0.100;
inline constexpr double kLongestPause = 0.500;
inline constexpr double kPauseShare = 100;

// The pause after a full hand-over that took `cost` seconds (a dialog opened during it
// makes it as long as the dialog).
double PauseAfterHandOver(double cost) noexcept;

struct EntryLoop {
  std::function<void(std::int32_t index)> Entry;     // handles one entry
  std::function<void(std::int32_t index)> HandOver;  // a full hand-over after entry `index`
  std::function<bool()> EventsWaiting;               // messages wait for the window
  std::function<void()> LetEventsRun;                // lets them run
};

// Calls Entry(i) for i = 0 to count - 1, HandOver(i) after the last one and after each
// entry that ends a pause, and between those LetEventsRun() whenever EventsWaiting() says
// so (asked every kMessageCheckInterval). Returns the seconds the whole took (monotonic
// clock: a run across midnight or a clock change still measures what it took).
double RunEntries(std::int32_t count, const EntryLoop& loop);

}  // namespace tarnivo

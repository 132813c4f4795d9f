// The two rhythms of a run's hand-overs, on entries that take a known time each.
#include "engine/hand_overs.h"

#include <gtest/gtest.h>

#include <chrono>
#include <vector>

namespace tarnivo::test {
namespace {

void Spend(double seconds) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (std::chrono::steady_clock::now() < until) {
  }
}

TEST(HandOvers, MessagesRunBetweenHandOversAndTheLastEntryIsHandedOver) {
  constexpr std::int32_t kEntries = 80;  // 2 ms each: two full hand-overs apart at most
  std::vector<std::int32_t> handedOver;
  int asked = 0;
  int let = 0;
  EntryLoop loop;
  loop.Entry = [](std::int32_t) { Spend(0.002); };
  loop.HandOver = [&](std::int32_t i) { handedOver.push_back(i); };
  // Every second question finds messages waiting.
  loop.EventsWaiting = [&] { return ++asked % 2 == 0; };
  loop.LetEventsRun = [&] { ++let; };
  const double seconds = RunEntries(kEntries, loop);
  EXPECT_GE(seconds, kEntries * 0.002);
  ASSERT_FALSE(handedOver.empty());
  EXPECT_EQ(handedOver.back(), kEntries - 1);
  EXPECT_LE(handedOver.size(), 2u);  // the first after 0.1 s, then the last
  EXPECT_GE(asked, 4);               // every 10 ms between them
  EXPECT_LE(asked, kEntries / 5 + 1);
  EXPECT_EQ(let, asked / 2);
}

}  // namespace
}  // namespace tarnivo::test

#include "engine/list_order.h"

#include <algorithm>
#include <array>
#include <numeric>
#include <tuple>

#include "engine/text.h"

namespace tarnivo {
namespace {

constexpr std::array<std::wstring_view, 4> kWords = {L"name", L"taken", L"modified", L"size"};

auto Fields(const DateTime& t) {
  return std::tie(t.Year, t.Month, t.Day, t.Hour, t.Minute, t.Second);
}

// -1, 0 or 1: entry a against entry b by `key`, rising; missing dates compare equal here.
int Compare(const WorkList& list, SortKey key, std::span<const std::optional<DateTime>> taken,
            std::int32_t a, std::int32_t b) {
  const ListedFile& x = list.Entries[static_cast<std::size_t>(a)];
  const ListedFile& y = list.Entries[static_cast<std::size_t>(b)];
  const auto sign = [](const auto& l, const auto& r) { return l < r ? -1 : r < l ? 1 : 0; };
  switch (key) {
    case SortKey::Taken:
      return sign(Fields(*taken[static_cast<std::size_t>(a)]),
                  Fields(*taken[static_cast<std::size_t>(b)]));
    case SortKey::Modified:
      return sign(x.LastWrite, y.LastWrite);
    case SortKey::Size:
      return sign(x.Size, y.Size);
    case SortKey::Name:
      break;
  }
  return 0;
}

}  // namespace

std::wstring_view SortKeyWord(SortKey key) noexcept {
  return kWords[static_cast<std::size_t>(key)];
}

std::optional<SortKey> SortKeyOfWord(std::wstring_view word) noexcept {
  for (std::size_t i = 0; i < kWords.size(); ++i) {
    if (word.size() != kWords[i].size()) continue;
    if (std::equal(word.begin(), word.end(), kWords[i].begin(),
                   [](wchar_t a, wchar_t b) { return LowerAscii(a) == b; })) {
      return static_cast<SortKey>(i);
    }
  }
  return std::nullopt;
}

std::vector<std::int32_t> SortedOrder(const WorkList& list, ListOrder order,
                                      std::span<const std::optional<DateTime>> taken) {
  std::vector<std::int32_t> positions(list.Entries.size());
  std::iota(positions.begin(), positions.end(), 0);
  if (order.Key == SortKey::Name) {
    if (order.Descending) std::reverse(positions.begin(), positions.end());
    return positions;
  }
  auto dated = positions.end();
  if (order.Key == SortKey::Taken) {
    // Without a date taken: after the others whichever the direction, in the order of names.
    const auto hasDate = [&taken](std::int32_t e) {
      return static_cast<std::size_t>(e) < taken.size() && taken[static_cast<std::size_t>(e)];
    };
    dated = std::stable_partition(positions.begin(), positions.end(), hasDate);
  }
  std::stable_sort(positions.begin(), dated, [&](std::int32_t a, std::int32_t b) {
    const int rising = Compare(list, order.Key, taken, a, b);
    return order.Descending ? rising > 0 : rising < 0;
  });
  return positions;
}

}  // namespace tarnivo

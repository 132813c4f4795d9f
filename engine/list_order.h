// The order the file list shows its entries in, and so the order of a run: the shell's
// order of names (the listing's own), or by date taken, date modified or size, rising or
// falling. Ties, and entries without the date, keep the order of names among themselves;
// entries without a date taken come after those with one, in both directions.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "engine/date_time.h"
#include "engine/work_list.h"

namespace tarnivo {

enum class SortKey : std::uint8_t { Name, Taken, Modified, Size };

struct ListOrder {
  SortKey Key = SortKey::Name;
  bool Descending = false;
  friend bool operator==(const ListOrder&, const ListOrder&) = default;
};

// The settings' words for the keys: "name", "taken", "modified", "size".
std::wstring_view SortKeyWord(SortKey key) noexcept;
// The key a word names, without regard to ASCII case; nothing for a word it does not know.
std::optional<SortKey> SortKeyOfWord(std::wstring_view word) noexcept;

// The positions of `list`'s entries (which stand in the order of names) in the order
// `order` gives. `taken`: each entry's date taken, when the key is Taken (one per entry;
// nothing for a file without one); unused otherwise.
std::vector<std::int32_t> SortedOrder(const WorkList& list, ListOrder order,
                                      std::span<const std::optional<DateTime>> taken);

}  // namespace tarnivo

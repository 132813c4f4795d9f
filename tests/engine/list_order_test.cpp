// The list's order: each key, both directions, ties and missing dates in the order of names.
#include "engine/list_order.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarnivo {
namespace {

// Five entries in the order of names: a b c d e.
WorkList Listing() {
  WorkList list;
  const std::uint64_t sizes[] = {30, 10, 20, 10, 5};
  const std::uint64_t writes[] = {500, 100, 100, 300, 200};
  for (int i = 0; i < 5; ++i) {
    ListedFile file;
    file.Name = std::wstring(1, static_cast<wchar_t>(L'a' + i));
    file.Size = sizes[i];
    file.LastWrite = writes[i];
    list.Entries.push_back(file);
  }
  return list;
}

std::string Names(const WorkList& list, const std::vector<std::int32_t>& order) {
  std::string names;
  for (const std::int32_t e : order) names += static_cast<char>(list.Entries[e].Name[0]);
  return names;
}

TEST(SortedOrder, EachKeyBothWays) {
  const WorkList list = Listing();
  // b and c taken at the same second, d without a date, e the earliest.
  const std::vector<std::optional<DateTime>> taken = {
      DateTime{2024, 5, 1, 10, 0, 0}, DateTime{2024, 5, 1, 9, 0, 0}, DateTime{2024, 5, 1, 9, 0, 0},
      std::nullopt, DateTime{2023, 12, 31, 23, 59, 59}};
  struct Case {
    ListOrder Order;
    std::string Names;
  };
  const Case cases[] = {
      {{SortKey::Name, false}, "abcde"},     {{SortKey::Name, true}, "edcba"},
      {{SortKey::Taken, false}, "ebcad"},    {{SortKey::Taken, true}, "abced"},
      {{SortKey::Modified, false}, "bceda"}, {{SortKey::Modified, true}, "adebc"},
      {{SortKey::Size, false}, "ebdca"},     {{SortKey::Size, true}, "acbde"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(SortKeyWord(c.Order.Key).begin(), SortKeyWord(c.Order.Key).end()) +
                 (c.Order.Descending ? " falling" : " rising"));
    EXPECT_EQ(Names(list, SortedOrder(list, c.Order, taken)), c.Names);
  }
}

// The listing's own order is the shell's (IMG_2 before IMG_10): ties keep it, both ways.
TEST(SortedOrder, TiesKeepTheShellsOrderOfNames) {
  WorkList list;
  for (const wchar_t* name : {L"IMG_2.jpg", L"IMG_10.jpg", L"img_11.jpg"}) {
    ListedFile file{name};
    file.Size = 7;
    list.Entries.push_back(file);
  }
  for (const bool descending : {false, true}) {
    EXPECT_EQ(SortedOrder(list, {SortKey::Size, descending}, {}),
              (std::vector<std::int32_t>{0, 1, 2}));
  }
}

TEST(SortedOrder, WithoutAnyDateTakenTheOrderOfNamesStays) {
  const WorkList list = Listing();
  const std::vector<std::optional<DateTime>> none(5);
  EXPECT_EQ(Names(list, SortedOrder(list, {SortKey::Taken, false}, none)), "abcde");
  EXPECT_EQ(Names(list, SortedOrder(list, {SortKey::Taken, true}, none)), "abcde");
}

TEST(SortKeyOfWord, TheSettingsWords) {
  EXPECT_EQ(SortKeyOfWord(L"name"), SortKey::Name);
  EXPECT_EQ(SortKeyOfWord(L"Taken"), SortKey::Taken);
  EXPECT_EQ(SortKeyOfWord(L"MODIFIED"), SortKey::Modified);
  EXPECT_EQ(SortKeyOfWord(L"size"), SortKey::Size);
  for (const wchar_t* unknown : {L"", L"date", L"name ", L"sizes"}) {
    EXPECT_FALSE(SortKeyOfWord(unknown).has_value()) << unknown;
  }
  for (const SortKey key : {SortKey::Name, SortKey::Taken, SortKey::Modified, SortKey::Size}) {
    EXPECT_EQ(SortKeyOfWord(SortKeyWord(key)), key);
  }
}

}  // namespace
}  // namespace tarnivo

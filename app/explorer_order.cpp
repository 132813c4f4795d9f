#include "app/explorer_order.h"

#include <windows.h>

#include <algorithm>

namespace tarnivo {

namespace {

// Sort keys for the shell's logical order. A key is a string of symbols compared one by
// one: a character is its rank (from kFirstCharacter on); a run of digits is kNumber,
// then the count of its significant digits, then those digits, so numbers compare by
// value and come before any other character, as in the shell.
constexpr char32_t kNumber = 1;
constexpr char32_t kFirstCharacter = 2;
constexpr size_t kCodeUnits = 0x10000;

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// -1, 0 or 1: how the user's locale orders two characters without regard to case, the
// comparison the shell's logical order applies character by character.
int CompareCharacters(LCID locale, wchar_t a, wchar_t b) {
  const int result = CompareStringW(locale, NORM_IGNORECASE, &a, 1, &b, 1);
  if (result != 0) return result - CSTR_EQUAL;
  // The locale cannot compare them: fall back to the upper-cased code units.
  const auto upper = [](wchar_t c) {
    CharUpperBuffW(&c, 1);
    return c;
  };
  return upper(a) < upper(b) ? -1 : upper(a) > upper(b) ? 1 : 0;
}

// The rank of each character (other than a digit) that occurs in `names`; characters
// the locale holds equal share a rank. Only the characters in use are compared, so
// this costs little next to comparing whole names through the locale.
std::vector<char32_t> CharacterRanks(const std::vector<std::wstring_view>& names) {
  std::vector<bool> seen(kCodeUnits);
  std::vector<wchar_t> used;
  for (const std::wstring_view name : names) {
    for (const wchar_t c : name) {
      if (IsDigit(c) || seen[c]) continue;
      seen[c] = true;
      used.push_back(c);
    }
  }
  const LCID locale = GetThreadLocale();
  // A merge sort stays in bounds even if the locale's answers were not consistent.
  std::stable_sort(used.begin(), used.end(),
                   [locale](wchar_t a, wchar_t b) { return CompareCharacters(locale, a, b) < 0; });
  std::vector<char32_t> ranks(kCodeUnits);
  char32_t rank = kFirstCharacter;
  for (size_t i = 0; i < used.size(); ++i) {
    if (i > 0 && CompareCharacters(locale, used[i - 1], used[i]) != 0) ++rank;
    ranks[used[i]] = rank;
  }
  return ranks;
}

std::u32string SortKey(std::wstring_view name, const std::vector<char32_t>& ranks) {
  std::u32string key;
  key.reserve(name.size() + 4);
  for (size_t i = 0; i < name.size();) {
    if (!IsDigit(name[i])) {
      key.push_back(ranks[name[i]]);
      ++i;
      continue;
    }
    size_t end = i;
    while (end < name.size() && IsDigit(name[end])) ++end;
    while (i + 1 < end && name[i] == L'0') ++i;  // leading zeros do not change the number
    const size_t digits = name[i] == L'0' ? 0 : end - i;
    key.push_back(kNumber);
    key.push_back(static_cast<char32_t>(digits));
    for (size_t d = end - digits; d < end; ++d)
      key.push_back(static_cast<char32_t>(name[d] - L'0'));
    i = end;
  }
  return key;
}

}  // namespace

std::vector<std::size_t> ExplorerOrder(const std::vector<std::wstring_view>& names) {
  const std::vector<char32_t> ranks = CharacterRanks(names);
  struct Item {
    std::u32string Key;
    std::size_t Index;
  };
  std::vector<Item> items;
  items.reserve(names.size());
  for (std::size_t i = 0; i < names.size(); ++i) items.push_back({SortKey(names[i], ranks), i});
  std::sort(items.begin(), items.end(), [&names](const Item& a, const Item& b) {
    const int order = a.Key.compare(b.Key);
    return order != 0 ? order < 0 : names[a.Index] < names[b.Index];
  });
  std::vector<std::size_t> order;
  order.reserve(items.size());
  for (const Item& item : items) order.push_back(item.Index);
  return order;
}

void SortInExplorerOrder(std::vector<std::wstring>& names) {
  const std::vector<std::wstring_view> views(names.begin(), names.end());
  const std::vector<std::size_t> order = ExplorerOrder(views);
  std::vector<std::wstring> sorted;
  sorted.reserve(names.size());
  for (const std::size_t index : order) sorted.push_back(std::move(names[index]));
  names = std::move(sorted);
}

}  // namespace tarnivo

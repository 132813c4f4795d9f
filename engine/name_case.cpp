#include "engine/name_case.h"

#include <cstdint>

namespace tarnivo {

bool NameCase::Same(std::wstring_view a, std::wstring_view b) const {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i] != b[i] && Fold(a[i]) != Fold(b[i])) return false;
  }
  return true;
}

std::size_t NameCase::Hash(std::wstring_view name) const {
  // FNV-1a over the folded units, as wide as the machine's word: a 64-bit product costs a
  // 32-bit program several multiplications.
  constexpr bool kWide = sizeof(std::size_t) >= 8;
  constexpr std::size_t kOffset =
      kWide ? static_cast<std::size_t>(14695981039346656037ull) : std::size_t{2166136261u};
  constexpr std::size_t kPrime =
      kWide ? static_cast<std::size_t>(1099511628211ull) : std::size_t{16777619u};
  std::size_t hash = kOffset;
  for (const wchar_t c : name) {
    hash ^= static_cast<std::size_t>(Fold(c));
    hash *= kPrime;
  }
  return hash;
}

}  // namespace tarnivo

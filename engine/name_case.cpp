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
  // FNV-1a over the folded units.
  std::uint64_t hash = 14695981039346656037ull;
  for (const wchar_t c : name) {
    hash ^= static_cast<std::uint64_t>(Fold(c));
    hash *= 1099511628211ull;
  }
  return static_cast<std::size_t>(hash);
}

}  // namespace tarnivo

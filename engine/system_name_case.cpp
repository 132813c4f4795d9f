#include "engine/system_name_case.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <numeric>

namespace tarnivo {
namespace {

int CompareUnits(wchar_t a, wchar_t b) { return CompareStringOrdinal(&a, 1, &b, 1, TRUE); }

// Every code unit sorted by the system's comparison: the units it holds equal stand side
// by side, and each takes the first of its run as its class.
std::vector<char16_t> SystemClasses() {
  constexpr std::size_t kUnits = 0x10000;
  std::vector<char16_t> units(kUnits);
  std::iota(units.begin(), units.end(), char16_t{0});
  // A merge sort stays in bounds whatever the answers.
  std::stable_sort(units.begin(), units.end(), [](char16_t a, char16_t b) {
    return CompareUnits(static_cast<wchar_t>(a), static_cast<wchar_t>(b)) == CSTR_LESS_THAN;
  });
  std::vector<char16_t> classes(kUnits);
  char16_t first = units[0];
  for (std::size_t i = 0; i < kUnits; ++i) {
    const char16_t unit = units[i];
    if (i > 0 && CompareUnits(static_cast<wchar_t>(units[i - 1]), static_cast<wchar_t>(unit)) !=
                     CSTR_EQUAL) {
      first = unit;
    }
    classes[unit] = first;
  }
  return classes;
}

}  // namespace

const NameCase& SystemNameCase() {
  static const NameCase nameCase(SystemClasses());
  return nameCase;
}

}  // namespace tarnivo

#include "app/wildcard.h"

#include <windows.h>

#include "engine/text.h"

namespace tarnivo {

namespace {

std::wstring UpperCased(std::wstring_view text) {
  std::wstring upper(text);
  if (!upper.empty()) CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
  return upper;
}

// Greedy match with one back-tracking point: linear in practice, never exponential.
bool GlobMatch(std::wstring_view pattern, std::wstring_view name) {
  size_t p = 0, n = 0, starP = std::wstring_view::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == L'?' || pattern[p] == name[n])) {
      ++p;
      ++n;
    } else if (p < pattern.size() && pattern[p] == L'*') {
      starP = p++;
      starN = n;
    } else if (starP != std::wstring_view::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == L'*') ++p;
  return p == pattern.size();
}

}  // namespace

bool MatchesUpperCased(std::wstring_view pattern, std::wstring_view name) {
  if (GlobMatch(pattern, name)) return true;
  // "*.*" and "*." also take names without any dot: match them as if the name ended in ".".
  if (name.find(L'.') == std::wstring_view::npos && !pattern.empty() &&
      (pattern.back() == L'.' || pattern.ends_with(L".*"))) {
    return GlobMatch(pattern, std::wstring(name) + L".");
  }
  return false;
}

WildcardPattern::WildcardPattern(std::wstring_view patterns) {
  size_t start = 0;
  while (start <= patterns.size()) {
    size_t end = patterns.find(L';', start);
    if (end == std::wstring_view::npos) end = patterns.size();
    const std::wstring_view one = Trim(patterns.substr(start, end - start), L" ");
    if (!one.empty()) alternatives_.push_back(UpperCased(one));
    start = end + 1;
  }
  if (alternatives_.empty()) alternatives_.push_back(L"*");
}

bool WildcardPattern::Matches(std::wstring_view fileName) const {
  const std::wstring upper = UpperCased(fileName);
  for (const auto& pattern : alternatives_) {
    if (MatchesUpperCased(pattern, upper)) return true;
  }
  return false;
}

}  // namespace tarnivo

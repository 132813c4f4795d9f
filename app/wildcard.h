#pragma once
// File-name patterns as the file list applies them: "*" and "?" against the long name,
// without regard to case, several patterns separated by ";".
#include <string>
#include <string_view>
#include <vector>

namespace tarnivo {

class WildcardPattern {
 public:
  // An empty pattern (or one of blanks and ";" only) matches every file, as "*" does.
  explicit WildcardPattern(std::wstring_view patterns);

  bool Matches(std::wstring_view fileName) const;

 private:
  std::vector<std::wstring> alternatives_;  // upper-cased
};

// True when `name` matches one upper-cased pattern: "*" any run, "?" any one character.
// A trailing "." or ".*" also matches a name without a dot, as the Windows shell does.
bool MatchesUpperCased(std::wstring_view pattern, std::wstring_view name);

}  // namespace tarnivo

// Filters after a token: "%name | replace "IMG_" "" | upper%". A filter line starts and
// ends with "%" and holds a "|" outside double quotes; what stands before the first "|" is
// a token (or nothing: the name the lines above built), and each "|" starts a filter that
// the text goes through, left to right.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarnivo {

class NameCase;

// What the filters ask of the system: letter case and Chinese script. The engine keeps no
// tables of its own.
enum class TextMapping : std::uint8_t { Upper, Lower, Simplified, Traditional };
// `text` mapped; nothing when the system cannot map it (the filter then fails).
using TextMapper = std::function<std::optional<std::wstring>(TextMapping, std::wstring_view)>;

// What applying filters uses besides the text.
struct FilterTools {
  TextMapper Map;                   // none: upper, lower, title, sentence, \U … fail
  const NameCase* Names = nullptr;  // replace's "i"; none: ASCII letters only
};

// The parts of a filter line.
struct FilterLineParts {
  std::wstring Source;  // before the first "|", blanks around it dropped; "": the name so far
  std::vector<std::vector<std::wstring>> Filters;  // each filter: its name, then its arguments
  std::wstring Error;  // why the line cannot be read ("引号没有结束"); "" when it can
};

// True when `line` starts and ends with "%" and holds a "|" outside double quotes.
bool IsFilterLine(std::wstring_view line);
// The parts of a filter line (IsFilterLine holds). Arguments are bare words (no blank, "|"
// or double quote) or text in double quotes, where "" stands for one double quote.
FilterLineParts SplitFilterLine(std::wstring_view line);

class FilterChain {
 public:
  // Compiles every filter once: arguments read, regular expressions and formats compiled.
  // A filter that cannot be compiled is kept as the chain's Error().
  explicit FilterChain(const std::vector<std::vector<std::wstring>>& filters);
  FilterChain(const FilterChain&) = delete;
  FilterChain& operator=(const FilterChain&) = delete;
  ~FilterChain();

  // Why the chain cannot be applied, in Chinese ("正则表达式无效: …"); "" when it can.
  const std::wstring& Error() const { return error_; }
  // `text` through every filter. False, with the reason in `why`, when one cannot be
  // applied (the chain's Error(), a regular expression beyond its work limit, a mapping the
  // system does not have). Never throws but std::bad_alloc.
  bool Apply(std::wstring& text, const FilterTools& tools, std::wstring& why) const;

  struct Step;

 private:
  std::vector<std::unique_ptr<Step>> steps_;
  std::wstring error_;
};

}  // namespace tarnivo

// A template compiled once per run or preview pass: its lines cut and each matched against
// the token keywords, parameters read, so that every entry is only evaluated.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/result.h"
#include "engine/token.h"

namespace tarnivo {

// The template's lines: the text cut at every CR LF pair (exactly; a lone CR or LF stays
// inside its line), empty lines kept. The empty text has no lines at all.
std::vector<std::wstring> SplitTemplate(std::wstring_view text);

struct TemplateLine {
  std::wstring Text;                 // the line as written: a literal line's text
  const TokenSpec* Token = nullptr;  // null: literal text (or, on a filter line, the name so far)
  // A token with parameters: what its reader made of them (its failure fails the line).
  Result<TokenArguments> Arguments = TokenArguments{};
  // A filter line ("%name | upper%"): its filters, compiled once; null on any other line.
  std::shared_ptr<const FilterChain> Filters;
  // Why a filter line cannot be applied at all (its grammar, its token, its filters).
  std::wstring FilterError;
  // A filter line with nothing before its first "|": it filters the name built so far.
  bool FiltersName = false;
};

// One line matched against `keys`. A filter line (filters.h) has its token matched as
// below and its filters compiled. Otherwise the tokens without parameters first, in the table's
// order ("%" keyword "%", the line lower-cased against the keyword lower-cased, A-Z only),
// then those with parameters (the line's first len(keyword) + 2 characters against "%"
// keyword ":"); anything else is literal text.
TemplateLine CompileLine(std::wstring_view line, const Keywords& keys);

class CompiledTemplate {
 public:
  CompiledTemplate() = default;
  CompiledTemplate(std::wstring_view text, const Keywords& keys);
  const std::vector<TemplateLine>& Lines() const { return lines_; }

 private:
  std::vector<TemplateLine> lines_;
};

// What `line` gives for the context's entry: only its first `kept` characters made, with
// the length of the whole, so that a line of a hundred million characters costs no more
// than a short one. Memory that runs out is an OutOfMemory failure; nothing is thrown.
// A filter line's text is made whole, filtered, then cut to `kept`; its token may give at
// most kFilterInputLimit characters.
Result<PartialText> EvaluateLine(const TemplateLine& line, const TokenContext& context,
                                 std::size_t kept);

// `name` (the name the lines before built) through the filters of a line that FiltersName.
Result<std::wstring> FilterName(const TemplateLine& line, std::wstring name,
                                const TokenContext& context);

inline constexpr std::size_t kFilterInputLimit = 1 << 16;

// A filter the menu adds, with its placeholder argument (selected once inserted).
struct FilterSnippet {
  std::wstring_view Text;           // "replace \"查找\" \"替换\""
  std::size_t PlaceholderAt = 0;    // where the placeholder starts in Text
  std::size_t PlaceholderSize = 0;  // 0: nothing to select
};

// Where the menu puts a filter in `text` with the caret at `caret`: before the closing "%"
// of the token line that holds the caret, or else as a new line "%name | filter%" (the
// name keyword as configured) in place of an empty line or after the caret's line.
struct TextInsertion {
  std::size_t At = 0;  // where `Text` goes in
  std::wstring Text;
  std::size_t SelectFrom = 0;  // the selection afterwards (the placeholder, or the caret
  std::size_t SelectTo = 0;    // behind the insertion)
};
TextInsertion PlanFilterInsertion(std::wstring_view text, std::size_t caret,
                                  const FilterSnippet& filter, const Keywords& keys);

}  // namespace tarnivo

// A template compiled once per run or preview pass: its lines cut and each matched against
// the token keywords, parameters read, so that every entry is only evaluated.
#pragma once

#include <cstddef>
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
  const TokenSpec* Token = nullptr;  // null: literal text
  // A token with parameters: what its reader made of them (its failure fails the line).
  Result<TokenArguments> Arguments = TokenArguments{};
};

// One line matched against `keys`: the tokens without parameters first, in the table's
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
Result<PartialText> EvaluateLine(const TemplateLine& line, const TokenContext& context,
                                 std::size_t kept);

}  // namespace tarnivo

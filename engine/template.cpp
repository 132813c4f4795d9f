#include "engine/template.h"

#include <new>

#include "engine/text.h"

namespace tarnivo {
namespace {

// text lower-cased equals open + keyword + close lower-cased.
bool MatchesIgnoringCase(std::wstring_view text, wchar_t open, std::wstring_view keyword,
                         wchar_t close) {
  if (text.size() != keyword.size() + 2) return false;
  if (LowerAscii(text.front()) != open || LowerAscii(text.back()) != close) return false;
  for (std::size_t i = 0; i < keyword.size(); ++i) {
    if (LowerAscii(text[i + 1]) != LowerAscii(keyword[i])) return false;
  }
  return true;
}

// The first len(keyword) + 2 characters of the line are "%" keyword ":".
bool StartsWithParameters(std::wstring_view line, std::wstring_view keyword) {
  const std::size_t prefixLength = keyword.size() + 2;
  return line.size() >= prefixLength &&
         MatchesIgnoringCase(line.substr(0, prefixLength), L'%', keyword, L':');
}

}  // namespace

std::vector<std::wstring> SplitTemplate(std::wstring_view text) {
  std::vector<std::wstring> pieces;
  if (text.empty()) return pieces;
  constexpr std::wstring_view kLineBreak = L"\r\n";
  for (;;) {
    const std::size_t pos = text.find(kLineBreak);
    if (pos == std::wstring_view::npos) break;
    pieces.emplace_back(text.substr(0, pos));
    text.remove_prefix(pos + kLineBreak.size());
  }
  pieces.emplace_back(text);
  return pieces;
}

TemplateLine CompileLine(std::wstring_view line, const Keywords& keys) {
  TemplateLine compiled{std::wstring(line)};
  for (const TokenSpec& token : kTokens) {
    if (!token.ReadParameters && MatchesIgnoringCase(line, L'%', keys[token.Kind], L'%')) {
      compiled.Token = &token;
      return compiled;
    }
  }
  for (const TokenSpec& token : kTokens) {
    if (token.ReadParameters && StartsWithParameters(line, keys[token.Kind])) {
      compiled.Token = &token;
      // The prefix matched, so the line holds a ":". The reader takes the rest of the line
      // from its first ":", the closing "%" included: a leading number stops there.
      compiled.Arguments = token.ReadParameters(line.substr(line.find(L':') + 1));
      return compiled;
    }
  }
  return compiled;
}

CompiledTemplate::CompiledTemplate(std::wstring_view text, const Keywords& keys) {
  std::vector<std::wstring> lines = SplitTemplate(text);
  lines_.reserve(lines.size());
  for (const std::wstring& line : lines) lines_.push_back(CompileLine(line, keys));
}

Result<PartialText> EvaluateLine(const TemplateLine& line, const TokenContext& context,
                                 std::size_t kept) {
  try {
    if (!line.Token) {
      return PartialText{std::wstring(std::wstring_view(line.Text).substr(0, kept)),
                         line.Text.size()};
    }
    if (!line.Arguments.Ok()) return Failure{line.Arguments.Error()};
    return line.Token->Evaluate(line.Arguments.Value(), context, kept);
  } catch (const std::bad_alloc&) {
    return Failure{ErrorKind::OutOfMemory};
  }
}

}  // namespace tarnivo

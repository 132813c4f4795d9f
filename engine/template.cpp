#include "engine/template.h"

#include <algorithm>
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

namespace {

// A token line as today, without filters.
TemplateLine CompileTokenLine(std::wstring_view line, const Keywords& keys);

TemplateLine CompileFilterLine(std::wstring_view line, const Keywords& keys) {
  const FilterLineParts parts = SplitFilterLine(line);
  TemplateLine compiled;
  if (!parts.Source.empty()) {
    compiled = CompileTokenLine(L"%" + parts.Source + L"%", keys);
    if (!compiled.Token) compiled.FilterError = L"不认识的命令: " + parts.Source;
  }
  compiled.Text = std::wstring(line);
  compiled.FiltersName = parts.Source.empty();
  auto filters = std::make_shared<FilterChain>(parts.Filters);
  if (compiled.FilterError.empty()) {
    compiled.FilterError = !parts.Error.empty() ? parts.Error : filters->Error();
  }
  compiled.Filters = std::move(filters);
  return compiled;
}

Failure InvalidRule(std::wstring detail) {
  return Failure{ErrorKind::InvalidRule, std::move(detail)};
}

}  // namespace

TemplateLine CompileLine(std::wstring_view line, const Keywords& keys) {
  return IsFilterLine(line) ? CompileFilterLine(line, keys) : CompileTokenLine(line, keys);
}

namespace {

TemplateLine CompileTokenLine(std::wstring_view line, const Keywords& keys) {
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

}  // namespace

CompiledTemplate::CompiledTemplate(std::wstring_view text, const Keywords& keys) {
  std::vector<std::wstring> lines = SplitTemplate(text);
  lines_.reserve(lines.size());
  for (const std::wstring& line : lines) lines_.push_back(CompileLine(line, keys));
}

Result<std::wstring> FilterName(const TemplateLine& line, std::wstring name,
                                const TokenContext& context) {
  if (!line.FilterError.empty()) return InvalidRule(line.FilterError);
  std::wstring why;
  if (!line.Filters->Apply(name, context.Tools, why)) return InvalidRule(std::move(why));
  return name;
}

namespace {

Result<PartialText> EvaluateFilterLine(const TemplateLine& line, const TokenContext& context,
                                       std::size_t kept) {
  if (!line.FilterError.empty()) return InvalidRule(line.FilterError);
  if (!line.Arguments.Ok()) return Failure{line.Arguments.Error()};
  Result<PartialText> source =
      line.Token->Evaluate(line.Arguments.Value(), context, kFilterInputLimit);
  if (!source.Ok()) return source;
  if (source.Value().Length > source.Value().Text.size()) {
    return InvalidRule(L"命令给出的文字超过 " + std::to_wstring(kFilterInputLimit) +
                       L" 个字符, 不能再转换");
  }
  Result<std::wstring> filtered = FilterName(line, std::move(source).Value().Text, context);
  if (!filtered.Ok()) return Failure{filtered.Error(), filtered.Detail()};
  const std::size_t length = filtered.Value().size();
  return PartialText{filtered.Value().substr(0, kept), length};
}

}  // namespace

Result<PartialText> EvaluateLine(const TemplateLine& line, const TokenContext& context,
                                 std::size_t kept) {
  try {
    if (line.Filters) return EvaluateFilterLine(line, context, kept);
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

TextInsertion PlanFilterInsertion(std::wstring_view text, std::size_t caret,
                                  const FilterSnippet& filter, const Keywords& keys) {
  caret = std::min(caret, text.size());
  // The caret's line: from after the CR LF before it to the CR LF after it.
  constexpr std::wstring_view kLineBreak = L"\r\n";
  const std::size_t before =
      caret == 0 ? std::wstring_view::npos : text.rfind(kLineBreak, caret - 1);
  const std::size_t begin = before == std::wstring_view::npos ? 0 : before + kLineBreak.size();
  const std::size_t after = text.find(kLineBreak, begin);
  const std::size_t end = after == std::wstring_view::npos ? text.size() : after;
  const std::wstring_view line = text.substr(begin, end - begin);
  TextInsertion insertion;
  std::size_t filterAt = 0;  // where the filter's own text starts in insertion.Text
  if (line.size() >= 2 && line.back() == L'%' &&
      (IsFilterLine(line) || CompileLine(line, keys).Token)) {
    insertion.At = end - 1;
    insertion.Text = L" | " + std::wstring(filter.Text);
    filterAt = 3;
  } else {
    const std::wstring newLine =
        L"%" + keys[TokenKind::Name] + L" | " + std::wstring(filter.Text) + L"%";
    const bool empty = line.empty();
    insertion.At = end;
    insertion.Text = empty ? newLine : std::wstring(kLineBreak) + newLine;
    filterAt = insertion.Text.size() - filter.Text.size() - 1;
  }
  const std::size_t placeholder = insertion.At + filterAt + filter.PlaceholderAt;
  insertion.SelectFrom =
      filter.PlaceholderSize ? placeholder : insertion.At + insertion.Text.size();
  insertion.SelectTo =
      filter.PlaceholderSize ? placeholder + filter.PlaceholderSize : insertion.SelectFrom;
  return insertion;
}

}  // namespace tarnivo

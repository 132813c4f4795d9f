#include "engine/filters.h"

#include <algorithm>
#include <cstddef>
#include <new>
#include <stdexcept>

// Boost.Regex keeps its matching state on the heap and stops a runaway pattern with an
// error, where the standard library's regex recurses per character without a limit.
#include <boost/regex.hpp>

#include "engine/name_case.h"
#include "engine/text.h"

namespace tarnivo {
namespace {

constexpr wchar_t kQuote = L'"';
constexpr wchar_t kBar = L'|';

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Where each character starts, a surrogate pair counted as one; and the text's end last.
std::vector<std::size_t> CharacterStarts(std::wstring_view text) {
  std::vector<std::size_t> starts;
  starts.reserve(text.size() + 1);
  for (std::size_t i = 0; i < text.size(); ++i) {
    starts.push_back(i);
    if (IsHighSurrogate(text[i]) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) ++i;
  }
  starts.push_back(text.size());
  return starts;
}

std::wstring_view Trimmed(std::wstring_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool SameIgnoringAsciiCase(std::wstring_view a, std::wstring_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(),
                    [](wchar_t x, wchar_t y) { return LowerAscii(x) == LowerAscii(y); });
}

// A whole number of at most nine digits, with a "-" when `negative` allows it.
std::optional<int> ReadWholeNumber(std::wstring_view text, bool negative) {
  bool minus = false;
  if (negative && !text.empty() && text.front() == L'-') {
    minus = true;
    text.remove_prefix(1);
  }
  if (text.empty() || text.size() > 9) return std::nullopt;
  int value = 0;
  for (const wchar_t c : text) {
    if (c < L'0' || c > L'9') return std::nullopt;
    value = value * 10 + (c - L'0');
  }
  return minus ? -value : value;
}

}  // namespace

// ---------------------------------------------------------------------------------------
// The line's grammar.

bool IsFilterLine(std::wstring_view line) {
  if (line.size() < 2 || line.front() != L'%' || line.back() != L'%') return false;
  bool quoted = false;
  for (const wchar_t c : line.substr(1, line.size() - 2)) {
    if (c == kQuote) quoted = !quoted;
    if (c == kBar && !quoted) return true;
  }
  return false;
}

namespace {

// The words of one filter: bare words and quoted texts.
bool SplitWords(std::wstring_view text, std::vector<std::wstring>& words, std::wstring& error) {
  std::size_t i = 0;
  while (i < text.size()) {
    if (IsBlank(text[i])) {
      ++i;
      continue;
    }
    std::wstring word;
    if (text[i] == kQuote) {
      ++i;
      bool closed = false;
      while (i < text.size()) {
        if (text[i] == kQuote) {
          if (i + 1 < text.size() && text[i + 1] == kQuote) {  // "" is one quote
            word.push_back(kQuote);
            i += 2;
            continue;
          }
          closed = true;
          ++i;
          break;
        }
        word.push_back(text[i++]);
      }
      if (!closed) {
        error = L"引号没有结束";
        return false;
      }
      if (i < text.size() && !IsBlank(text[i])) {
        error = L"引号后面要有空格: " + std::wstring(text.substr(i));
        return false;
      }
    } else {
      while (i < text.size() && !IsBlank(text[i])) {
        if (text[i] == kQuote) {
          error = L"引号只能用在参数的开头: " + word;
          return false;
        }
        word.push_back(text[i++]);
      }
    }
    words.push_back(std::move(word));
  }
  return true;
}

}  // namespace

FilterLineParts SplitFilterLine(std::wstring_view line) {
  FilterLineParts parts;
  const std::wstring_view inner = line.substr(1, line.size() - 2);
  // The pieces between the "|"s outside quotes.
  std::vector<std::wstring_view> pieces;
  bool quoted = false;
  std::size_t start = 0;
  for (std::size_t i = 0; i < inner.size(); ++i) {
    if (inner[i] == kQuote) quoted = !quoted;
    if (inner[i] == kBar && !quoted) {
      pieces.push_back(inner.substr(start, i - start));
      start = i + 1;
    }
  }
  pieces.push_back(inner.substr(start));
  parts.Source = std::wstring(Trimmed(pieces.front()));
  for (std::size_t p = 1; p < pieces.size(); ++p) {
    std::vector<std::wstring> words;
    if (!SplitWords(pieces[p], words, parts.Error)) return parts;
    if (words.empty()) {
      parts.Error = L"第 " + std::to_wstring(p) + L" 个规则是空的";
      return parts;
    }
    parts.Filters.push_back(std::move(words));
  }
  return parts;
}

// ---------------------------------------------------------------------------------------
// The filters.

struct FilterChain::Step {
  virtual ~Step() = default;
  virtual bool Apply(std::wstring& text, const FilterTools& tools, std::wstring& why) const = 0;
};

namespace {

using Step = FilterChain::Step;
using Words = std::vector<std::wstring>;

constexpr wchar_t kNoCaseMapping[] = L"系统不能转换大小写";

std::optional<std::wstring> Mapped(const FilterTools& tools, TextMapping mapping,
                                   std::wstring_view text) {
  if (text.empty()) return std::wstring();
  if (!tools.Map) return std::nullopt;
  return tools.Map(mapping, text);
}

// ---- replace FIND WITH [i] [first|last]

class ReplaceStep : public Step {
 public:
  enum class Which { All, First, Last };
  ReplaceStep(std::wstring find, std::wstring with, bool ignoreCase, Which which)
      : find_(std::move(find)), with_(std::move(with)), ignoreCase_(ignoreCase), which_(which) {}

  bool Apply(std::wstring& text, const FilterTools& tools, std::wstring&) const override {
    std::vector<std::size_t> at;  // where each occurrence starts, none overlapping
    for (std::size_t i = 0; i + find_.size() <= text.size();) {
      if (Matches(text, i, tools)) {
        at.push_back(i);
        i += find_.size();
      } else {
        ++i;
      }
    }
    if (at.empty()) return true;
    if (which_ == Which::First) at.resize(1);
    if (which_ == Which::Last) at.erase(at.begin(), at.end() - 1);
    std::wstring result;
    std::size_t from = 0;
    for (const std::size_t i : at) {
      result.append(text, from, i - from).append(with_);
      from = i + find_.size();
    }
    result.append(text, from, std::wstring::npos);
    text = std::move(result);
    return true;
  }

 private:
  bool Matches(const std::wstring& text, std::size_t at, const FilterTools& tools) const {
    for (std::size_t k = 0; k < find_.size(); ++k) {
      const wchar_t a = text[at + k], b = find_[k];
      if (a == b) continue;
      if (!ignoreCase_) return false;
      const bool same = tools.Names ? tools.Names->Fold(a) == tools.Names->Fold(b)
                                    : LowerAscii(a) == LowerAscii(b);
      if (!same) return false;
    }
    return true;
  }

  std::wstring find_, with_;
  bool ignoreCase_;
  Which which_;
};

// ---- regex PATTERN FORMAT [i] [first]

// Boost's own case folding, and full-width Latin letters folded as the file system folds
// them (Ａ and ａ are one letter), which Boost's tables leave apart.
struct FilterRegexTraits : boost::regex_traits<wchar_t> {
  wchar_t translate(wchar_t c, bool icase) const {
    if (icase && c >= 0xFF21 && c <= 0xFF3A) c = static_cast<wchar_t>(c + 0x20);
    return boost::regex_traits<wchar_t>::translate(c, icase);
  }
  wchar_t translate(wchar_t c) const { return boost::regex_traits<wchar_t>::translate(c); }
};
using FilterRegex = boost::basic_regex<wchar_t, FilterRegexTraits>;
using FilterMatch = boost::match_results<std::wstring::const_iterator>;

std::wstring RegexErrorText(boost::regex_constants::error_type code) {
  namespace rc = boost::regex_constants;
  switch (code) {
    case rc::error_collate:
      return L"无效的排序元素";
    case rc::error_ctype:
      return L"无效的字符类";
    case rc::error_escape:
      return L"无效的转义 \\";
    case rc::error_backref:
      return L"引用了不存在的组";
    case rc::error_brack:
      return L"缺少 ]";
    case rc::error_paren:
      return L"括号不成对";
    case rc::error_brace:
      return L"缺少 }";
    case rc::error_badbrace:
      return L"{} 中的次数无效";
    case rc::error_range:
      return L"无效的字符范围";
    case rc::error_space:
      return L"内存不足";
    case rc::error_badrepeat:
      return L"重复符号前面没有内容";
    case rc::error_complexity:
      return L"太复杂, 已停止匹配";
    case rc::error_stack:
      return L"太复杂, 超出了匹配的限度";
    case rc::error_empty:
      return L"表达式是空的";
    default:
      return L"语法错误";
  }
}

// One piece of a compiled format.
struct FormatPart {
  enum class Kind { Literal, Group, Named, CaseChange } What = Kind::Literal;
  std::wstring Text;   // Literal: the text; Named: the group's name
  int Group = 0;       // Group: its number (0: the whole match)
  wchar_t Change = 0;  // CaseChange: U, L, u, l or E
};

// A group's text; "" for a group that took no part in the match ("(a)|b" against "b").
std::wstring GroupText(const FilterMatch& match, int group) {
  const auto& sub = match[group];
  return sub.matched ? std::wstring(sub.first, sub.second) : std::wstring();
}

class Format {
 public:
  // Compiles `format` against `regex`'s groups; false with `error` for a missing group.
  bool Compile(std::wstring_view format, const FilterRegex& regex, std::wstring& error) {
    const int groups = static_cast<int>(regex.mark_count());
    std::wstring literal;
    const auto flush = [&] {
      if (literal.empty()) return;
      parts_.push_back({FormatPart::Kind::Literal, std::move(literal)});
      literal.clear();
    };
    const auto missing = [&](const std::wstring& reference) {
      error = L"替换格式中的 " + reference + L" 没有对应的组 (表达式有 " + std::to_wstring(groups) +
              L" 个组)";
      return false;
    };
    for (std::size_t i = 0; i < format.size(); ++i) {
      const wchar_t c = format[i];
      const wchar_t next = i + 1 < format.size() ? format[i + 1] : L'\0';
      if (c == L'\\' && std::wstring_view(L"ULulE").find(next) != std::wstring_view::npos &&
          next != L'\0') {
        flush();
        parts_.push_back({FormatPart::Kind::CaseChange, {}, 0, next});
        ++i;
      } else if (c == L'$' && next == L'$') {
        literal.push_back(L'$');
        ++i;
      } else if (c == L'$' && next == L'&') {
        flush();
        parts_.push_back({FormatPart::Kind::Group, {}, 0});
        ++i;
      } else if (c == L'$' && next >= L'0' && next <= L'9') {
        // Two digits when the pattern has that many groups, else one ("$10" with nine
        // groups is group 1 and a "0").
        int group = next - L'0';
        std::size_t used = 1;
        if (i + 2 < format.size() && format[i + 2] >= L'0' && format[i + 2] <= L'9') {
          const int two = group * 10 + (format[i + 2] - L'0');
          if (two <= groups) {
            group = two;
            used = 2;
          }
        }
        if (group > groups) return missing(std::wstring(format.substr(i, used + 1)));
        flush();
        parts_.push_back({FormatPart::Kind::Group, {}, group});
        i += used;
      } else if (c == L'$' && next == L'{') {
        const std::size_t close = format.find(L'}', i + 2);
        if (close == std::wstring_view::npos) {
          literal.push_back(c);
          continue;
        }
        const std::wstring name(format.substr(i + 2, close - i - 2));
        const std::wstring reference = L"${" + name + L"}";
        flush();
        if (const std::optional<int> number = ReadWholeNumber(name, false)) {
          if (*number > groups) return missing(reference);
          parts_.push_back({FormatPart::Kind::Group, {}, *number});
        } else {
          const auto names = regex.get_named_subs();
          if (name.empty() || names->get_id(name.data(), name.data() + name.size()) < 0) {
            return missing(reference);
          }
          parts_.push_back({FormatPart::Kind::Named, name});
        }
        i = close;
      } else {
        literal.push_back(c);
      }
    }
    flush();
    return true;
  }

  // The replacement for `match`; false when a case change cannot be mapped.
  bool Expand(const FilterMatch& match, const FilterTools& tools, std::wstring& out) const {
    std::optional<TextMapping> mode;  // \U or \L until \E
    std::optional<TextMapping> once;  // \u or \l: the next character
    const auto emit = [&](std::wstring_view piece) {
      if (piece.empty()) return true;
      std::size_t rest = 0;
      if (once) {
        const std::size_t first = CharacterStarts(piece)[1];
        const std::optional<std::wstring> head = Mapped(tools, *once, piece.substr(0, first));
        if (!head) return false;
        out += *head;
        rest = first;
        once.reset();
      }
      if (!mode) {
        out.append(piece.substr(rest));
        return true;
      }
      const std::optional<std::wstring> body = Mapped(tools, *mode, piece.substr(rest));
      if (!body) return false;
      out += *body;
      return true;
    };
    for (const FormatPart& part : parts_) {
      switch (part.What) {
        case FormatPart::Kind::Literal:
          if (!emit(part.Text)) return false;
          break;
        case FormatPart::Kind::Group:
          if (!emit(GroupText(match, part.Group))) return false;
          break;
        case FormatPart::Kind::Named: {
          const int index = match.named_subexpression_index(part.Text.data(),
                                                            part.Text.data() + part.Text.size());
          if (index >= 0 && !emit(GroupText(match, index))) return false;
          break;
        }
        case FormatPart::Kind::CaseChange:
          switch (part.Change) {
            case L'U':
              mode = TextMapping::Upper;
              break;
            case L'L':
              mode = TextMapping::Lower;
              break;
            case L'u':
              once = TextMapping::Upper;
              break;
            case L'l':
              once = TextMapping::Lower;
              break;
            default:  // E
              mode.reset();
              once.reset();
              break;
          }
          break;
      }
    }
    return true;
  }

 private:
  std::vector<FormatPart> parts_;
};

class RegexStep : public Step {
 public:
  RegexStep(FilterRegex regex, Format format, bool first)
      : regex_(std::move(regex)), format_(std::move(format)), first_(first) {}

  bool Apply(std::wstring& text, const FilterTools& tools, std::wstring& why) const override {
    try {
      std::wstring result;
      auto from = text.cbegin();
      boost::regex_iterator<std::wstring::const_iterator, wchar_t, FilterRegexTraits> it(
          text.cbegin(), text.cend(), regex_);
      const decltype(it) end;
      for (; it != end; ++it) {
        const FilterMatch& match = *it;
        result.append(from, match[0].first);
        if (!format_.Expand(match, tools, result)) {
          why = kNoCaseMapping;
          return false;
        }
        from = match[0].second;
        if (first_) break;
      }
      result.append(from, text.cend());
      text = std::move(result);
      return true;
    } catch (const boost::regex_error& error) {
      why = L"正则表达式" + RegexErrorText(error.code());
      return false;
    } catch (const std::runtime_error&) {  // Boost's other limits on a match
      why = L"正则表达式太复杂, 已停止匹配";
      return false;
    }
  }

 private:
  FilterRegex regex_;
  Format format_;
  bool first_;
};

// ---- upper, lower, title, sentence

enum class CharacterClass { Other, Letter, Digit, Han };

CharacterClass ClassOf(wchar_t c) {
  if ((c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z')) return CharacterClass::Letter;
  if ((c >= 0xC0 && c <= 0x24F && c != 0xD7 && c != 0xF7) || (c >= 0x370 && c <= 0x3FF) ||
      (c >= 0x400 && c <= 0x52F) || (c >= 0xFF21 && c <= 0xFF3A) || (c >= 0xFF41 && c <= 0xFF5A)) {
    return CharacterClass::Letter;
  }
  if ((c >= L'0' && c <= L'9') || (c >= 0xFF10 && c <= 0xFF19)) return CharacterClass::Digit;
  if ((c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) ||
      (c >= 0xF900 && c <= 0xFAFF) || IsHighSurrogate(c) || IsLowSurrogate(c)) {
    return CharacterClass::Han;
  }
  return CharacterClass::Other;
}

class CaseStep : public Step {
 public:
  enum class Kind { Upper, Lower, Title, Sentence };
  explicit CaseStep(Kind kind) : kind_(kind) {}

  bool Apply(std::wstring& text, const FilterTools& tools, std::wstring& why) const override {
    std::optional<std::wstring> mapped =
        Mapped(tools, kind_ == Kind::Upper ? TextMapping::Upper : TextMapping::Lower, text);
    if (!mapped) {
      why = kNoCaseMapping;
      return false;
    }
    if (kind_ == Kind::Title || kind_ == Kind::Sentence) {
      for (const std::size_t at : WordStarts(*mapped)) {
        const std::optional<std::wstring> upper =
            Mapped(tools, TextMapping::Upper, std::wstring_view(*mapped).substr(at, 1));
        if (!upper || upper->size() != 1) {
          why = kNoCaseMapping;
          return false;
        }
        (*mapped)[at] = upper->front();
      }
    }
    text = std::move(*mapped);
    return true;
  }

 private:
  // The letters that start a word: after anything that is no letter or digit (an
  // apostrophe between letters excepted), and where Han characters change to letters.
  // Sentence: only the text's first letter.
  std::vector<std::size_t> WordStarts(std::wstring_view text) const {
    std::vector<std::size_t> starts;
    CharacterClass before = CharacterClass::Other;
    for (std::size_t i = 0; i < text.size(); ++i) {
      const CharacterClass now = ClassOf(text[i]);
      if (now == CharacterClass::Letter && before != CharacterClass::Letter &&
          before != CharacterClass::Digit) {
        starts.push_back(i);
        if (kind_ == Kind::Sentence) break;
      }
      const bool apostrophe = (text[i] == L'\'' || text[i] == 0x2019) &&
                              before == CharacterClass::Letter && i + 1 < text.size() &&
                              ClassOf(text[i + 1]) == CharacterClass::Letter;
      if (!apostrophe) before = now;
    }
    return starts;
  }

  Kind kind_;
};

// ---- left N, right N, mid START [COUNT]

class CutStep : public Step {
 public:
  enum class Kind { Left, Right, Mid };
  CutStep(Kind kind, int first, std::optional<int> count)
      : kind_(kind), first_(first), count_(count) {}

  bool Apply(std::wstring& text, const FilterTools&, std::wstring&) const override {
    const std::vector<std::size_t> starts = CharacterStarts(text);
    const auto characters = static_cast<long long>(starts.size() - 1);
    long long from = 0, to = characters;
    switch (kind_) {
      case Kind::Left:
        to = std::min<long long>(first_, characters);
        break;
      case Kind::Right:
        from = std::max<long long>(characters - first_, 0);
        break;
      case Kind::Mid:
        from = first_ > 0 ? first_ - 1 : characters + first_;
        from = std::clamp<long long>(from, 0, characters);
        if (count_) to = std::min<long long>(from + *count_, characters);
        break;
    }
    const std::size_t begin = starts[static_cast<std::size_t>(from)];
    const std::size_t end = starts[static_cast<std::size_t>(std::max(from, to))];
    text = text.substr(begin, end - begin);
    return true;
  }

 private:
  Kind kind_;
  int first_;
  std::optional<int> count_;
};

// ---- trim

class TrimStep : public Step {
 public:
  bool Apply(std::wstring& text, const FilterTools&, std::wstring&) const override {
    const auto blank = [](wchar_t c) { return c == L' ' || c == 0x3000; };
    std::size_t begin = 0, end = text.size();
    while (begin < end && blank(text[begin])) ++begin;
    while (end > begin && blank(text[end - 1])) --end;
    text = text.substr(begin, end - begin);
    return true;
  }
};

// ---- half, full

class WidthStep : public Step {
 public:
  explicit WidthStep(bool toHalf) : toHalf_(toHalf) {}

  bool Apply(std::wstring& text, const FilterTools&, std::wstring&) const override {
    for (wchar_t& c : text) {
      if (toHalf_) {
        if (c >= 0xFF01 && c <= 0xFF5E) c = static_cast<wchar_t>(c - 0xFEE0);
        if (c == 0x3000) c = L' ';
      } else {
        if (c >= 0x21 && c <= 0x7E) c = static_cast<wchar_t>(c + 0xFEE0);
        if (c == L' ') c = 0x3000;
      }
    }
    return true;
  }

 private:
  bool toHalf_;
};

// ---- simplified, traditional

class ScriptStep : public Step {
 public:
  explicit ScriptStep(TextMapping mapping) : mapping_(mapping) {}

  bool Apply(std::wstring& text, const FilterTools& tools, std::wstring& why) const override {
    std::optional<std::wstring> mapped = Mapped(tools, mapping_, text);
    if (!mapped) {
      why = L"系统不能转换繁体和简体";
      return false;
    }
    text = std::move(*mapped);
    return true;
  }

 private:
  TextMapping mapping_;
};

// ---- compiling

struct Usage {
  std::wstring_view Name;
  std::wstring_view Text;  // what the usage message shows
};

constexpr Usage kUsages[] = {
    {L"replace", L"replace 查找 替换 [i] [first|last]"},
    {L"regex", L"regex 表达式 格式 [i] [first]"},
    {L"upper", L"upper"},
    {L"lower", L"lower"},
    {L"title", L"title"},
    {L"sentence", L"sentence"},
    {L"left", L"left 字数"},
    {L"right", L"right 字数"},
    {L"mid", L"mid 起点 [字数]"},
    {L"trim", L"trim"},
    {L"half", L"half"},
    {L"full", L"full"},
    {L"simplified", L"simplified"},
    {L"traditional", L"traditional"},
};

std::wstring UsageError(std::wstring_view name) {
  for (const Usage& usage : kUsages) {
    if (usage.Name == name) return L"参数不对, 用法: " + std::wstring(usage.Text);
  }
  return L"参数不对";
}

// The options after the fixed arguments ("i", "first", "last"), each at most once.
bool ReadOptions(const Words& words, std::size_t from, bool allowLast, bool& ignoreCase,
                 ReplaceStep::Which& which) {
  for (std::size_t k = from; k < words.size(); ++k) {
    if (SameIgnoringAsciiCase(words[k], L"i") && !ignoreCase) {
      ignoreCase = true;
    } else if (SameIgnoringAsciiCase(words[k], L"first") && which == ReplaceStep::Which::All) {
      which = ReplaceStep::Which::First;
    } else if (allowLast && SameIgnoringAsciiCase(words[k], L"last") &&
               which == ReplaceStep::Which::All) {
      which = ReplaceStep::Which::Last;
    } else {
      return false;
    }
  }
  return true;
}

std::unique_ptr<Step> CompileRegex(const Words& words, std::wstring& error) {
  bool ignoreCase = false;
  ReplaceStep::Which which = ReplaceStep::Which::All;
  if (words.size() < 3 || !ReadOptions(words, 3, false, ignoreCase, which)) {
    error = UsageError(L"regex");
    return nullptr;
  }
  FilterRegex regex;
  try {
    const boost::regex_constants::syntax_option_type flags =
        ignoreCase ? boost::regex_constants::perl | boost::regex_constants::icase
                   : boost::regex_constants::perl;
    regex.assign(words[1], flags);
  } catch (const boost::regex_error& failure) {
    error = L"正则表达式无效: 第 " + std::to_wstring(failure.position() + 1) + L" 个字符: " +
            RegexErrorText(failure.code());
    return nullptr;
  }
  Format format;
  if (!format.Compile(words[2], regex, error)) return nullptr;
  return std::make_unique<RegexStep>(std::move(regex), std::move(format),
                                     which == ReplaceStep::Which::First);
}

std::unique_ptr<Step> CompileStep(const Words& words, std::wstring& error) {
  std::wstring name = words.front();
  for (wchar_t& c : name) c = LowerAscii(c);
  const std::size_t arguments = words.size() - 1;
  const auto without = [&](std::unique_ptr<Step> step) -> std::unique_ptr<Step> {
    if (arguments == 0) return step;
    error = UsageError(name);
    return nullptr;
  };
  if (name == L"replace") {
    bool ignoreCase = false;
    ReplaceStep::Which which = ReplaceStep::Which::All;
    if (words.size() < 3 || !ReadOptions(words, 3, true, ignoreCase, which)) {
      error = UsageError(name);
      return nullptr;
    }
    if (words[1].empty()) {
      error = L"replace 要查找的文字不能是空的";
      return nullptr;
    }
    return std::make_unique<ReplaceStep>(words[1], words[2], ignoreCase, which);
  }
  if (name == L"regex") return CompileRegex(words, error);
  if (name == L"upper") return without(std::make_unique<CaseStep>(CaseStep::Kind::Upper));
  if (name == L"lower") return without(std::make_unique<CaseStep>(CaseStep::Kind::Lower));
  if (name == L"title") return without(std::make_unique<CaseStep>(CaseStep::Kind::Title));
  if (name == L"sentence") return without(std::make_unique<CaseStep>(CaseStep::Kind::Sentence));
  if (name == L"trim") return without(std::make_unique<TrimStep>());
  if (name == L"half") return without(std::make_unique<WidthStep>(true));
  if (name == L"full") return without(std::make_unique<WidthStep>(false));
  if (name == L"simplified") {
    return without(std::make_unique<ScriptStep>(TextMapping::Simplified));
  }
  if (name == L"traditional") {
    return without(std::make_unique<ScriptStep>(TextMapping::Traditional));
  }
  if (name == L"left" || name == L"right") {
    const std::optional<int> count =
        arguments == 1 ? ReadWholeNumber(words[1], false) : std::nullopt;
    if (!count) {
      error = UsageError(name);
      return nullptr;
    }
    return std::make_unique<CutStep>(name == L"left" ? CutStep::Kind::Left : CutStep::Kind::Right,
                                     *count, std::nullopt);
  }
  if (name == L"mid") {
    std::optional<int> start =
        arguments == 1 || arguments == 2 ? ReadWholeNumber(words[1], true) : std::nullopt;
    std::optional<int> count;
    if (arguments == 2 && !(count = ReadWholeNumber(words[2], false))) start.reset();
    if (!start || *start == 0) {
      error = UsageError(name);
      return nullptr;
    }
    return std::make_unique<CutStep>(CutStep::Kind::Mid, *start, count);
  }
  error = L"不认识的规则";
  return nullptr;
}

}  // namespace

FilterChain::FilterChain(const std::vector<std::vector<std::wstring>>& filters) {
  for (std::size_t k = 0; k < filters.size(); ++k) {
    std::wstring error;
    std::unique_ptr<Step> step = CompileStep(filters[k], error);
    if (!step) {
      error_ = L"第 " + std::to_wstring(k + 1) + L" 个规则 " + filters[k].front() + L": " + error;
      steps_.clear();
      return;
    }
    steps_.push_back(std::move(step));
  }
}

FilterChain::~FilterChain() = default;

bool FilterChain::Apply(std::wstring& text, const FilterTools& tools, std::wstring& why) const {
  if (!error_.empty()) {
    why = error_;
    return false;
  }
  for (std::size_t k = 0; k < steps_.size(); ++k) {
    std::wstring reason;
    if (!steps_[k]->Apply(text, tools, reason)) {
      why = L"第 " + std::to_wstring(k + 1) + L" 个规则: " + reason;
      return false;
    }
  }
  return true;
}

}  // namespace tarnivo

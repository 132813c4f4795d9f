// Filter lines: their grammar, each filter with its awkward cases, and the template's use of
// them (a failing filter line, the name so far filtered).
#include "engine/filters.h"

#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <vector>

#include "engine/name_case.h"
#include "engine/rename_plan.h"
#include "engine/template.h"

namespace tarnivo {
namespace {

using Words = std::vector<std::wstring>;

// Case for ASCII, Greek and full-width Latin letters: enough to tell what a filter asks of
// the system, without the system.
std::optional<std::wstring> FakeMap(TextMapping mapping, std::wstring_view text) {
  std::wstring out(text);
  for (wchar_t& c : out) {
    const bool lower =
        (c >= L'a' && c <= L'z') || (c >= 0x3B1 && c <= 0x3C9) || (c >= 0xFF41 && c <= 0xFF5A);
    const bool upper =
        (c >= L'A' && c <= L'Z') || (c >= 0x391 && c <= 0x3A9) || (c >= 0xFF21 && c <= 0xFF3A);
    if (mapping == TextMapping::Upper && lower) c = static_cast<wchar_t>(c - 0x20);
    if (mapping == TextMapping::Lower && upper) c = static_cast<wchar_t>(c + 0x20);
  }
  if (mapping == TextMapping::Simplified) return L"简:" + out;
  if (mapping == TextMapping::Traditional) return std::nullopt;  // a system without the table
  return out;
}

// ASCII and full-width letters of either case in one class, as the file system folds them.
NameCase FoldingNames() {
  std::vector<char16_t> classes(0x10000);
  std::iota(classes.begin(), classes.end(), char16_t{0});
  for (char16_t c = u'a'; c <= u'z'; ++c) classes[c] = static_cast<char16_t>(c - 0x20);
  for (char16_t c = 0xFF41; c <= 0xFF5A; ++c) classes[c] = static_cast<char16_t>(c - 0x20);
  return NameCase(std::move(classes));
}

TEST(FilterLine, Grammar) {
  struct Case {
    const wchar_t* Line;
    bool IsFilter;
    std::wstring Source;
    std::vector<Words> Filters;
    std::wstring Error;  // a part of it; "" for none
  };
  const Case cases[] = {
      {L"%name | upper%", true, L"name", {{L"upper"}}, L""},
      {L"%name%", false},
      {L"name | upper", false},
      {L"%name \"|\" x%", false},  // the only "|" is quoted
      {L"%  Taxis:3,1,1  |left 2|  lower %", true, L"Taxis:3,1,1", {{L"left", L"2"}, {L"lower"}}},
      {L"%| lower%", true, L"", {{L"lower"}}},
      {L"%name | replace \"a \"\"b\"\"\" \"\" i%",
       true,
       L"name",
       {{L"replace", L"a \"b\"", L"", L"i"}}},
      {L"%name | replace \"|\" _%", true, L"name", {{L"replace", L"|", L"_"}}},
      {L"%name || upper%", true, L"name", {}, L"第 1 个规则是空的"},
      {L"%name | upper |%", true, L"name", {{L"upper"}}, L"第 2 个规则是空的"},
      {L"%name | replace \"abc x%", true, L"name", {}, L"引号没有结束"},
      {L"%name | replace a\"b\" c%", true, L"name", {}, L"引号只能用在参数的开头"},
      {L"%name | replace \"a\"b c%", true, L"name", {}, L"引号后面要有空格"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(c.Line)));
    ASSERT_EQ(IsFilterLine(c.Line), c.IsFilter);
    if (!c.IsFilter) continue;
    const FilterLineParts parts = SplitFilterLine(c.Line);
    EXPECT_EQ(parts.Source, c.Source);
    if (c.Error.empty()) {
      EXPECT_EQ(parts.Error, L"");
      EXPECT_EQ(parts.Filters, c.Filters);
    } else {
      EXPECT_NE(parts.Error.find(c.Error), std::wstring::npos)
          << testing::PrintToString(parts.Error);
    }
  }
}

// Each case: the filters after "%name", the input, and the output or (after "!") a part of
// the reason it fails.
struct ApplyCase {
  const wchar_t* Filters;
  std::wstring Input;
  std::wstring Expected;
};

void CheckApply(const ApplyCase& c, const FilterTools& tools) {
  SCOPED_TRACE(testing::PrintToString(std::wstring(c.Filters) + L" <- " + c.Input));
  const FilterLineParts parts = SplitFilterLine(L"%name | " + std::wstring(c.Filters) + L"%");
  ASSERT_EQ(parts.Error, L"");
  const FilterChain chain(parts.Filters);
  std::wstring text = c.Input, why;
  const bool applied = chain.Apply(text, tools, why);
  if (!c.Expected.empty() && c.Expected.front() == L'!') {
    EXPECT_FALSE(applied) << testing::PrintToString(text);
    EXPECT_NE(why.find(c.Expected.substr(1)), std::wstring::npos) << testing::PrintToString(why);
  } else {
    EXPECT_TRUE(applied) << testing::PrintToString(why);
    EXPECT_EQ(text, c.Expected);
  }
}

TEST(Filters, ReplaceAndRegex) {
  const NameCase names = FoldingNames();
  const FilterTools tools{FakeMap, &names};
  const std::wstring runaway = std::wstring(250, L'a') + L"b";
  const ApplyCase cases[] = {
      {L"replace IMG_ \"\"", L"IMG_IMG_1", L"1"},
      {L"replace - _ first", L"a-b-c", L"a_b-c"},
      {L"replace - _ last", L"a-b-c", L"a-b_c"},
      {L"replace aa b", L"aaaaa", L"bba"},
      {L"replace img_ \"\" i", L"IMG_1", L"1"},
      {L"replace ａｂ x i", L"ＡＢc", L"xc"},  // full-width, folded as the file system does
      {L"replace ａｂ x", L"ＡＢc", L"ＡＢc"},
      {L"replace 旅 游 i first", L"旅旅", L"游旅"},
      {L"replace \"\" x", L"a", L"!查找的文字不能是空的"},
      {L"replace a", L"a", L"!用法: replace"},
      {L"replace a b c", L"a", L"!用法: replace"},
      {L"regex \"^IMG_(\\d+)\" photo-$1", L"IMG_0012", L"photo-0012"},
      {L"regex ^ X", L"abc", L"Xabc"},
      {L"regex $ X", L"abc", L"abcX"},
      {L"regex x* -", L"abc", L"-a-b-c-"},
      {L"regex (a) $1_", L"ab", L"a_b"},
      {L"regex (a)(b)(c)(d)(e)(f)(g)(h)(i)(j) $10", L"abcdefghij", L"j"},
      {L"regex (a)(b)(c)(d)(e)(f)(g)(h)(i) $10", L"abcdefghi", L"a0"},
      {L"regex (a) ${1}0", L"a", L"a0"},
      {L"regex a $$", L"a", L"$"},
      {L"regex \"(a)|b\" [$1]", L"ab", L"[a][]"},  // a group without part in the match is empty
      {L"regex a $&$&", L"a", L"aa"},
      {L"regex a $x\\d", L"a", L"$x\\d"},  // anything else is literal
      {L"regex (a) $2", L"a", L"!$2 没有对应的组"},
      {L"regex \"(?<y>\\d{4})\" ${y}年", L"2026", L"2026年"},
      {L"regex \"(?<y>\\d{4})\" ${m}", L"2026", L"!${m} 没有对应的组"},
      {L"regex (\\w+) \\U$1\\E! first", L"ab cd", L"AB! cd"},
      {L"regex (\\w+) \\u$1", L"ab cd", L"Ab Cd"},
      {L"regex (\\w+) \\L\\u$1", L"AB CD", L"Ab Cd"},
      {L"regex \"(?<=IMG_)\\d+\" N", L"IMG_12 12", L"IMG_N 12"},
      {L"regex a b first", L"aaa", L"baa"},
      {L"regex ａｂ x i", L"ＡＢ", L"x"},
      {L"regex ab x i", L"AB", L"x"},
      {L"regex \"(abc\" x", L"abc", L"!正则表达式无效: 第"},
      {L"regex a", L"a", L"!用法: regex"},
      {L"regex a b last", L"a", L"!用法: regex"},
      {L"regex \"(a+)+$\" x", runaway, L"!太复杂"},
  };
  for (const ApplyCase& c : cases) CheckApply(c, tools);
}

TEST(Filters, CaseCutsWidthAndScript) {
  const FilterTools tools{FakeMap, nullptr};
  const ApplyCase cases[] = {
      {L"upper", L"abc αβ ｘ", L"ABC ΑΒ Ｘ"},
      {L"lower", L"ABC", L"abc"},
      {L"title", L"hello wORLD 2nd 旅行abc don't a-b", L"Hello World 2nd 旅行Abc Don't A-B"},
      {L"sentence", L"123 hello WORLD", L"123 Hello world"},
      {L"upper x", L"a", L"!用法: upper"},
      {L"left 2", L"a😀b", L"a😀"},
      {L"left 1", L"😀x", L"😀"},
      {L"right 1", L"a😀", L"😀"},
      {L"mid 2 1", L"a😀b", L"😀"},
      {L"mid -1", L"a😀b", L"b"},
      {L"mid 5", L"abc", L""},
      {L"mid -10 2", L"abc", L"ab"},
      {L"left 0", L"abc", L""},
      {L"left 9", L"abc", L"abc"},
      {L"mid 0", L"abc", L"!用法: mid"},
      {L"left x", L"abc", L"!用法: left"},
      {L"left -1", L"abc", L"!用法: left"},
      {L"trim", L"\u3000 a b \u3000", L"a b"},
      {L"half", L"ＡＢＣ１２３\u3000！：", L"ABC123 !:"},
      {L"full", L"AB 1", L"ＡＢ\u3000１"},
      {L"simplified", L"體", L"简:體"},
      {L"traditional", L"体", L"!不能转换繁体和简体"},
      {L"upper | replace A b | left 2", L"aaa", L"bb"},
      {L"frob", L"a", L"!第 1 个规则 frob: 不认识的规则"},
  };
  for (const ApplyCase& c : cases) CheckApply(c, tools);
  // Without the system's mappings, case fails rather than leaving the text as it was.
  CheckApply({L"lower", L"A", L"!不能转换大小写"}, FilterTools{});
}

TEST(Filters, TemplateLinesFilterTheirTokenOrTheNameSoFar) {
  TokenContext context;
  context.FileName = L"IMG_0012.JPG";
  context.ListIndex = 4;
  context.Tools.Map = FakeMap;
  const CompiledTemplate lines(
      L"%name | replace IMG_ \"\" | lower%\r\n_\r\n%Taxis:3,1,1%\r\n%EXT | lower%\r\n"
      L"%| upper%\r\n%nope | upper%\r\n%name | left x%",
      Keywords());
  const NamePlan plan = BuildNewName(lines, context);
  EXPECT_EQ(plan.NewName.Text, L"0012_005.JPG");
  ASSERT_EQ(plan.Failures.size(), 2u);
  EXPECT_EQ(plan.Failures[0].PieceIndex, 5);
  EXPECT_EQ(plan.Failures[0].Kind, ErrorKind::InvalidRule);
  EXPECT_EQ(plan.Failures[0].Detail, L"不认识的命令: nope");
  EXPECT_EQ(plan.Failures[1].NameSoFar.Text, L"0012_005.JPG");
  EXPECT_NE(plan.Failures[1].Detail.find(L"用法: left"), std::wstring::npos);
}

}  // namespace
}  // namespace tarnivo

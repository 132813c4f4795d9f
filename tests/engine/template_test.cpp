// The template compiled once: which token each line is, its parameters read at compile
// time, and the keywords read from the settings in the table's order.
#include "engine/template.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/engine/test_support.h"

namespace tarnivo {
namespace {

// The compiled line as "literal", the keyword key of its token, and " error N" for
// parameters that cannot be read.
std::wstring Shape(const TemplateLine& line) {
  if (!line.Token) return L"literal";
  std::wstring shape(line.Token->Keyword.Key);
  if (!line.Arguments.Ok()) {
    shape += L" error " + std::to_wstring(DescribeError(line.Arguments.Error()).Number);
  }
  return shape;
}

TEST(CompileLine, MatchesEachLineOnceAgainstTheKeywords) {
  Keywords keys;
  keys[TokenKind::Taken] = L"Taxis:1,1,1";  // a keyword may shadow the sequence token
  struct Case {
    std::wstring Line, Shape;
  };
  const Case cases[] = {
      {L"%name%", L"name"},
      {L"%EXT%", L"ext"},
      {L"%Date%", L"date"},
      {L"%now%", L"now"},
      {L"%modified%", L"modified"},
      {L"%taxis:6,50,1%", L"Taxis"},
      {L"%Taxis:6,50%", L"Taxis error 9"},
      {L"%Taxis:x,1,1%", L"Taxis error 13"},
      {L"%Taxis:1,1,1%", L"taken"},
      {L"%taken%", L"literal"},
      {L"%name%x", L"literal"},
      {L" %name%", L"literal"},
      {L"", L"literal"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(test::Show(c.Line));
    const TemplateLine line = CompileLine(c.Line, keys);
    EXPECT_EQ(Shape(line), c.Shape);
    EXPECT_EQ(line.Text, c.Line);
  }
}

TEST(CompiledTemplate, ParametersAreReadOnceAndEvaluatedPerEntry) {
  const CompiledTemplate compiled(L"%name%\r\n_\r\n%Taxis:3,10,5%\r\n%Taxis:3%", Keywords());
  ASSERT_EQ(compiled.Lines().size(), 4u);
  const TemplateLine& sequence = compiled.Lines()[2];
  ASSERT_TRUE(sequence.Arguments.Ok());
  EXPECT_EQ(sequence.Arguments.Value().Width, 3);
  EXPECT_EQ(sequence.Arguments.Value().Start, 10);
  EXPECT_EQ(sequence.Arguments.Value().Step, 5);
  TokenContext context;
  for (const auto& [index, expected] : {std::pair{0, L"010"}, std::pair{3, L"025"}}) {
    context.ListIndex = index;
    const Result<PartialText> text = EvaluateLine(sequence, context, 1000);
    ASSERT_TRUE(text.Ok());
    EXPECT_EQ(text.Value().Text, expected);
    // A line whose parameters failed fails at every entry.
    const Result<PartialText> failed = EvaluateLine(compiled.Lines()[3], context, 1000);
    ASSERT_FALSE(failed.Ok());
    EXPECT_EQ(failed.Error(), ErrorKind::OutOfRange);
  }
}

TEST(CompiledTemplate, LiteralLinesKeepOnlyWhatIsAskedAndCountTheWhole) {
  const CompiledTemplate compiled(std::wstring(5000, L'x'), Keywords());
  const Result<PartialText> text = EvaluateLine(compiled.Lines()[0], TokenContext{}, 7);
  ASSERT_TRUE(text.Ok());
  EXPECT_EQ(text.Value().Text, L"xxxxxxx");
  EXPECT_EQ(text.Value().Length, 5000u);
}

TEST(ReadKeywords, ReadsEveryKeywordInTheTablesOrder) {
  std::vector<std::wstring> reads;
  const Keywords keys = ReadKeywords(
      [&reads](std::wstring_view section, std::wstring_view key, std::wstring_view fallback) {
        reads.push_back(std::wstring(section) + L"|" + std::wstring(key) + L"|" +
                        std::wstring(fallback));
        return key == L"Taxis" ? std::wstring(L"Seq") : std::wstring(fallback);
      });
  EXPECT_EQ(reads,
            (std::vector<std::wstring>{
                L"Variant|name|name", L"Variant|ext|ext", L"Variant|date|date", L"Variant|now|now",
                L"Variant|Taxis|Taxis", L"Variant|taken|taken", L"Variant|modified|modified"}));
  EXPECT_EQ(keys[TokenKind::Sequence], L"Seq");
  EXPECT_EQ(keys[TokenKind::Name], L"name");
}

}  // namespace
}  // namespace tarnivo

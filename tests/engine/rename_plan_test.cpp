#include "engine/rename_plan.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/engine/test_support.h"

namespace tarnivo {
namespace {

using test::Show;

TEST(SplitTemplate, CutsAtCrLfOnlyAndKeepsEmptyLines) {
  struct Case {
    std::wstring text;
    std::vector<std::wstring> pieces;
  };
  const Case cases[] = {
      {L"", {}},
      {L"%name%", {L"%name%"}},
      {L"%name%\r\n_\r\n%ext%", {L"%name%", L"_", L"%ext%"}},
      {L"a\r\n", {L"a", L""}},
      {L"\r\n", {L"", L""}},
      {L"\r\n\r\n", {L"", L"", L""}},
      {L"a\r\n\r\nb", {L"a", L"", L"b"}},
      {L"a\nb", {L"a\nb"}},  // a lone LF is no line break
      {L"a\rb", {L"a\rb"}},
      {L"a\r\r\nb\n\r\nc", {L"a\r", L"b\n", L"c"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Show(c.text));
    EXPECT_EQ(SplitTemplate(c.text), c.pieces);
  }
}

TokenContext EntryAt(const std::wstring& name, std::int32_t index) {
  TokenContext context;
  context.FileName = name;
  context.ListIndex = index;
  return context;
}

TEST(BuildNewName, JoinsTheLinesOfTheTemplate) {
  struct Case {
    std::wstring name;
    std::int32_t index;
    std::wstring templateText;
    std::wstring newName;
  };
  const Case cases[] = {
      {L"IMG_0012.JPG", 0, L"%name%\r\n_\r\n%ext%", L"IMG_0012_.JPG"},
      {L"IMG_0012.JPG", 2, L"%name%\r\n_\r\n%Taxis:3,1,1%\r\n%ext%", L"IMG_0012_003.JPG"},
      {L"a.jpg", 0, L"", L""},
      {L"a.jpg", 0, L"\r\n\r\n", L""},
      {L"a.jpg", 0, L"photo\r\n.png", L"photo.png"},
      {L"a.jpg", 0, L"%name%%ext%", L"%name%%ext%"},  // no token: copied as it stands
      // Positions beyond 16 bits keep counting.
      {L"a.jpg", 32767, L"%Taxis:6,1,1%", L"032768"},
      {L"a.jpg", 99999, L"%name%\r\n_\r\n%Taxis:6,1,1%\r\n%ext%", L"a_100000.jpg"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Show(c.templateText) + " at " + std::to_string(c.index));
    const NamePlan plan =
        BuildNewName(CompiledTemplate(c.templateText, Keywords()), EntryAt(c.name, c.index));
    EXPECT_EQ(plan.NewName.Text, c.newName);
    EXPECT_TRUE(plan.NewName.IsWhole());
    EXPECT_TRUE(plan.Failures.empty());
  }
}

TEST(BuildNewName, AFailingLineAddsNothingAndRecordsTheNameSoFar) {
  const NamePlan plan = BuildNewName(
      CompiledTemplate(L"%name%\r\n%Taxis:6,50%\r\n_\r\n%Taxis:x,1,1%\r\n%ext%", Keywords()),
      EntryAt(L"a.jpg", 4));
  EXPECT_EQ(plan.NewName.Text, L"a_.jpg");
  ASSERT_EQ(plan.Failures.size(), 2u);
  EXPECT_EQ(plan.Failures[0].PieceIndex, 1);
  EXPECT_EQ(plan.Failures[0].NameSoFar.Text, L"a");
  EXPECT_EQ(plan.Failures[0].Kind, ErrorKind::OutOfRange);
  EXPECT_EQ(plan.Failures[1].PieceIndex, 3);
  EXPECT_EQ(plan.Failures[1].NameSoFar.Text, L"a_");
  EXPECT_EQ(plan.Failures[1].Kind, ErrorKind::TypeMismatch);
}

TEST(BuildNewName, KeepsOnlyTheStartOfAVeryLongNameButCountsItWhole) {
  const NamePlan plan = BuildNewName(
      CompiledTemplate(L"x\r\n%Taxis:5000,7,1%\r\n%ext%", Keywords()), EntryAt(L"a.jpg", 0));
  EXPECT_EQ(plan.NewName.Length, 1u + 5000u + 4u);
  EXPECT_EQ(plan.NewName.Text, L"x" + std::wstring(kKeptNameLength - 1, L'0'));
  EXPECT_FALSE(plan.NewName.IsWhole());
  EXPECT_EQ(CheckNewName(plan.NewName), NameProblem::TooLong);
}

TEST(CheckNewName, RefusesNamesTheFileSystemWouldMoveOrChange) {
  struct Case {
    std::wstring name;
    NameProblem problem;
  };
  const Case cases[] = {
      {L"photo.jpg", NameProblem::None},
      {L".hidden", NameProblem::None},
      {L"a b.jpg", NameProblem::None},
      {L"照片.jpg", NameProblem::None},
      {L"", NameProblem::Empty},
      {L"..\\x.jpg", NameProblem::Separator},
      {L"sub/x.jpg", NameProblem::Separator},
      {L"24/03/05.jpg", NameProblem::Separator},
      {L"x.jpg:stream", NameProblem::Separator},
      {L"14:07:09.jpg", NameProblem::Separator},
      {L"photo.", NameProblem::TrailingDot},
      {L"photo ", NameProblem::TrailingDot},
      {L".", NameProblem::TrailingDot},
      {L"..", NameProblem::TrailingDot},
      {std::wstring(255, L'x'), NameProblem::None},
      {std::wstring(256, L'x'), NameProblem::TooLong},
      {L"a<b.jpg", NameProblem::BadCharacter},
      {L"a\"b", NameProblem::BadCharacter},
      {L"what?.jpg", NameProblem::BadCharacter},
      {L"*.jpg", NameProblem::BadCharacter},
      {L"a|b", NameProblem::BadCharacter},
      {L"line\nbreak.jpg", NameProblem::BadCharacter},
      {std::wstring(L"nul\0.jpg", 8), NameProblem::BadCharacter},
      {L"tab\t.jpg", NameProblem::BadCharacter},
      {L"\x1f", NameProblem::BadCharacter},
      {L"CON", NameProblem::DeviceName},
      {L"con.txt", NameProblem::DeviceName},
      {L"Nul.tar.gz", NameProblem::DeviceName},
      {L"nul .txt", NameProblem::DeviceName},
      {L"AUX", NameProblem::DeviceName},
      {L"prn.jpg", NameProblem::DeviceName},
      {L"COM1", NameProblem::DeviceName},
      {L"com9.log", NameProblem::DeviceName},
      {L"LPT1.jpg", NameProblem::DeviceName},
      {L"lpt\u00b2", NameProblem::DeviceName},
      {L"CONIN$", NameProblem::DeviceName},
      {L"conout$.txt", NameProblem::DeviceName},
      {L"COM0", NameProblem::None},
      {L"COM10", NameProblem::None},
      {L"LPT", NameProblem::None},
      {L"console.jpg", NameProblem::None},
      {L"con_1.jpg", NameProblem::None},
      {L"photo.con", NameProblem::None},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Show(c.name));
    const NameProblem problem = CheckNewName(c.name);
    EXPECT_EQ(problem, c.problem);
    EXPECT_EQ(DescribeNameProblem(problem).empty(), problem == NameProblem::None);
  }
}

}  // namespace
}  // namespace tarnivo

// The preview's simulation of a run: which new names are taken at their entry's turn, and
// the texts of a row and of the summary.
#include "engine/run_forecast.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/engine/test_support.h"

namespace tarnivo {
namespace {

using Names = std::vector<std::wstring>;

// A-Z and a-z one class each; é and É as well; every other unit its own class, so "ß"
// and "SS" differ, as on the file system.
NameCase AsciiAndEAcute() {
  std::vector<char16_t> classes(0x10000);
  for (std::size_t c = 0; c < classes.size(); ++c) classes[c] = static_cast<char16_t>(c);
  for (char16_t c = u'a'; c <= u'z'; ++c) classes[c] = static_cast<char16_t>(c - u'a' + u'A');
  classes[u'é'] = u'É';
  return NameCase(std::move(classes));
}

EntryPlan Plan(const std::wstring& name) {
  EntryPlan plan;
  plan.Name.NewName.Append(name);
  plan.Problem = CheckNewName(plan.Name.NewName);
  return plan;
}

// A folder as its listing read it: the listed names, their short names ("" for none; empty:
// none at all) and the other names.
struct Folder {
  Names Entries;
  Names ShortNames;
  Names Others;
};

WorkList ListOf(const Folder& folder) {
  WorkList list;
  for (std::size_t i = 0; i < folder.Entries.size(); ++i) {
    list.Entries.push_back(
        ListedFile{folder.Entries[i], i < folder.ShortNames.size() ? folder.ShortNames[i] : L""});
  }
  list.OtherNames = folder.Others;
  return list;
}

// Each row as "R" (renamed), "U" (unchanged) or "F" + the error number, joined by blanks.
std::string Outcomes(const Folder& folder, const Names& newNames) {
  BatchPlan plan;
  for (const std::wstring& name : newNames) plan.Entries.push_back(Plan(name));
  OrderMoves(plan);
  const Forecast forecast = ForecastRun(ListOf(folder), std::move(plan), AsciiAndEAcute());
  EXPECT_EQ(forecast.Rows.size(), folder.Entries.size());
  std::string outcomes;
  for (const PreviewRow& row : forecast.Rows) {
    if (!outcomes.empty()) outcomes += " ";
    outcomes += row.Outcome == RowOutcome::Renamed ? "R"
                : row.Outcome == RowOutcome::Unchanged
                    ? "U"
                    : "F" + std::to_string(DescribeError(row.Failure).Number);
  }
  return outcomes;
}

TEST(RunForecast, NamesAreTakenAtTheirEntrysTurn) {
  struct Case {
    const char* What;
    struct Folder Folder;
    Names NewNames;
    std::string Outcomes;
  };
  const Case cases[] = {
      {"literals only: the first takes the name",
       {{L"a", L"b", L"c"}},
       {L"x", L"x", L"x"},
       "R F58 F58"},
      {"a chain, each name still held", {{L"a", L"b", L"c"}}, {L"b", L"c", L"d"}, "F58 F58 R"},
      {"a chain in the order that frees each name",
       {{L"c", L"b", L"a"}},
       {L"d", L"c", L"b"},
       "R R R"},
      {"a swap", {{L"a", L"b"}}, {L"b", L"a"}, "F58 F58"},
      {"a name given up earlier is free", {{L"a", L"b"}}, {L"x", L"a"}, "R R"},
      {"a name given earlier is taken", {{L"a", L"b"}}, {L"x", L"X"}, "R F58"},
      {"an unlisted file or a folder",
       {{L"a", L"b"}, {}, {L"x.png", L"sub"}},
       {L"X.PNG", L"SUB"},
       "F58 F58"},
      {"case twins by the table, not by language",
       {{L"a", L"b", L"c"}, {}, {L"É", L"SS"}},
       {L"é", L"ß", L"ss"},
       "F58 R F58"},
      {"its own name in another case, or unchanged",
       {{L"a.jpg", L"b.jpg"}},
       {L"A.JPG", L"b.jpg"},
       "R U"},
      {"an unchanged name stays taken", {{L"a", L"b"}}, {L"a", L"a"}, "U F58"},
      {"another file's short name",
       {{L"a", L"b"}, {}, {L"verylongname.jpeg", L"VERYLO~1.JPE"}},
       {L"verylo~1.jpe", L"x"},
       "F58 R"},
      {"an entry's short name: its own, freed by its rename",
       {{L"longname.jpeg", L"b", L"c"}, {L"LONGNA~1.JPE", L"", L""}},
       {L"longna~1.jpe", L"x", L"LONGNAME.JPEG"},
       "R R R"},
      {"a short name still held by a later entry",
       {{L"a", L"longname.jpeg"}, {L"", L"LONGNA~1.JPE"}},
       {L"LONGNA~1.JPE", L"y"},
       "F58 R"},
      {"refused names take nothing", {{L"a", L"b"}}, {L"", L"x."}, "F52 F52"},
      {"twins differing in case count one by one",
       {{L"a", L"A", L"b"}},
       {L"x", L"A", L"a"},
       "R U F58"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    EXPECT_EQ(Outcomes(c.Folder, c.NewNames), c.Outcomes);
  }
}

TEST(RunForecast, ShiftingThirtyNineNumbersByOneFailsAllButTheLast) {
  Folder folder;
  Names newNames;
  std::string expected;
  for (int i = 1; i <= 39; ++i) {
    folder.Entries.push_back(std::to_wstring(100 + i) + L".jpg");
    newNames.push_back(std::to_wstring(101 + i) + L".jpg");
    expected += i < 39 ? "F58 " : "R";
  }
  EXPECT_EQ(Outcomes(folder, newNames), expected);
}

// The forecast follows the plan's moves, not the list: the same chain fails in the list's
// order and succeeds when the move that frees each name comes first.
TEST(RunForecast, FollowsTheOrderOfTheMoves) {
  BatchPlan plan;
  for (const wchar_t* name : {L"b", L"c"}) plan.Entries.push_back(Plan(name));
  OrderMoves(plan);
  ASSERT_EQ(plan.Moves.size(), 2u);
  EXPECT_EQ(plan.Moves[0].Entry, 0);
  EXPECT_EQ(plan.Moves[1].Entry, 1);
  const WorkList list = ListOf({{L"a", L"b"}});
  const auto outcomes = [&list](BatchPlan planned) {
    const Forecast forecast = ForecastRun(list, std::move(planned), AsciiAndEAcute());
    std::string shown;
    for (const PreviewRow& row : forecast.Rows)
      shown += row.Outcome == RowOutcome::Fails ? "F" : "R";
    return shown + " " + std::to_string(forecast.Counts.Renamed);
  };
  EXPECT_EQ(outcomes(plan), "FR 1");
  std::swap(plan.Moves[0], plan.Moves[1]);
  EXPECT_EQ(outcomes(plan), "RR 2");  // rows stay in the list's order
}

TEST(RunForecast, RowAndSummaryTexts) {
  struct Case {
    std::vector<LineFailure> Lines;
    RowOutcome Outcome;
    ErrorKind Failure;
    std::wstring Status;
  };
  const Case cases[] = {
      {{}, RowOutcome::Renamed, ErrorKind::FileAccess, L""},
      {{}, RowOutcome::Unchanged, ErrorKind::FileAccess, L"不变"},
      {{}, RowOutcome::Fails, ErrorKind::FileExists, L"错误代号 58: 文件已存在"},
      {{{2, ErrorKind::OutOfRange}},
       RowOutcome::Renamed,
       ErrorKind::FileAccess,
       L"第 3 行 错误代号 9: 下标越界"},
      {{{0, ErrorKind::TypeMismatch}, {3, ErrorKind::NoDateTaken}},
       RowOutcome::Fails,
       ErrorKind::BadFileName,
       L"第 1 行 错误代号 13: 类型不匹配; 第 4 行 错误代号 1001: 无拍摄日期; 错误代号 52: "
       L"文件名无效"},
      {{{1, ErrorKind::OutOfRange}},
       RowOutcome::Unchanged,
       ErrorKind::FileAccess,
       L"第 2 行 错误代号 9: 下标越界; 不变"},
  };
  for (const Case& c : cases) {
    PreviewRow row;
    row.LineFailures = c.Lines;
    row.Outcome = c.Outcome;
    row.Failure = c.Failure;
    EXPECT_EQ(RowStatus(row), c.Status);
  }
  EXPECT_EQ(PreviewSummaryText({3, 1, 20000}), L"将转换 3 个文件, 不变 1 个, 将失败 20000 个");
}

}  // namespace
}  // namespace tarnivo

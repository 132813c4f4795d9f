// The order of a run's moves: shifts, chains, cycles and changes of case, and what stays
// taken. Every plan is also played on a model of the folder, which checks that each move
// finds its new name free and that the files end where the routes say.
#include "engine/batch_plan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <unordered_map>
#include <vector>

#include "tests/engine/test_support.h"

namespace tarnivo {
namespace {

using Names = std::vector<std::wstring>;

// A-Z and a-z one class each; every other unit its own class, as on the file system.
const NameCase& AsciiCase() {
  static const NameCase nameCase = [] {
    std::vector<char16_t> classes(0x10000);
    for (std::size_t c = 0; c < classes.size(); ++c) classes[c] = static_cast<char16_t>(c);
    for (char16_t c = u'a'; c <= u'z'; ++c) classes[c] = static_cast<char16_t>(c - u'a' + u'A');
    return NameCase(std::move(classes));
  }();
  return nameCase;
}

std::wstring Upper(std::wstring name) {
  for (wchar_t& c : name) c = AsciiCase().Fold(c);
  return name;
}

struct Folder {
  Names Entries;
  Names ShortNames;  // per entry, "" for none; empty: none at all
  Names Others;      // folders and files not listed
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

BatchPlan Plan(const WorkList& list, const Names& newNames, std::wstring_view tag = L"T") {
  BatchPlan plan;
  for (const std::wstring& name : newNames) {
    EntryPlan entry;
    entry.Name.NewName.Append(name);
    entry.Problem = CheckNewName(entry.Name.NewName);
    plan.Entries.push_back(std::move(entry));
  }
  OrderMoves(plan, list, AsciiCase(), tag);
  return plan;
}

// Each entry's route: F free, S shifted, T temporary, U unchanged, R refused, X taken.
std::string Routes(const BatchPlan& plan) {
  std::string text;
  for (const Route route : plan.Routes) {
    text += "FSTURX"[static_cast<int>(route)];
  }
  return text;
}

// The moves: "i" for a direct one, "i>t" to the temporary name, "t>i" from it, "i-" for a
// refused name.
std::string Moves(const BatchPlan& plan) {
  std::string text;
  for (const Move& move : plan.Moves) {
    if (!text.empty()) text += " ";
    const std::string entry = std::to_string(move.Entry);
    text += move.Kind == MoveKind::ToTemporary     ? entry + ">t"
            : move.Kind == MoveKind::FromTemporary ? "t>" + entry
            : move.Kind == MoveKind::None          ? entry + "-"
                                                   : entry;
  }
  return text;
}

// The moves played on the folder's names (long names by their class, a short name held
// until its file moves): a move onto a name another file holds is refused, as the file
// system refuses it. Returns the refused moves' entries, "-" for none.
std::string Play(const WorkList& list, const BatchPlan& plan) {
  std::unordered_map<std::wstring, int> held;  // class -> files holding it
  std::vector<Names> holds(list.Entries.size());
  Names at;  // each entry's file's name
  for (const ListedFile& file : list.Entries) at.push_back(file.Name);
  for (std::size_t e = 0; e < list.Entries.size(); ++e) {
    holds[e].push_back(Upper(list.Entries[e].Name));
    if (!list.Entries[e].ShortName.empty()) holds[e].push_back(Upper(list.Entries[e].ShortName));
    for (const std::wstring& name : holds[e]) ++held[name];
  }
  for (const std::wstring& name : list.OtherNames) ++held[Upper(name)];
  std::string refused;
  for (const Move& move : plan.Moves) {
    const auto e = static_cast<std::size_t>(move.Entry);
    if (move.Kind == MoveKind::None) continue;
    const std::wstring& name =
        move.Kind == MoveKind::ToTemporary ? plan.Temporary[e] : plan.Entries[e].Name.NewName.Text;
    if (name == at[e]) continue;  // onto its own name: the file system lets it be
    const std::wstring to = Upper(name);
    const int own = static_cast<int>(std::count(holds[e].begin(), holds[e].end(), to));
    if (held[to] - own > 0) {
      refused += (refused.empty() ? "" : " ") + std::to_string(e);
      continue;
    }
    for (const std::wstring& old : holds[e]) --held[old];
    holds[e] = {to};
    ++held[to];
    at[e] = name;
  }
  return refused.empty() ? "-" : refused;
}

TEST(OrderMoves, FreesNamesBeforeTheyAreTaken) {
  struct Case {
    const char* What;
    struct Folder Folder;
    Names NewNames;
    std::string Routes, Moves, Refused;
  };
  const Case cases[] = {
      {"shift up: each name held by the next entry",
       {{L"1", L"2", L"3", L"4"}},
       {L"2", L"3", L"4", L"5"},
       "SSSF",
       "3 2 1 0",
       "-"},
      {"shift down", {{L"2", L"3", L"4"}}, {L"1", L"2", L"3"}, "FSS", "0 1 2", "-"},
      {"swap", {{L"a", L"b"}}, {L"b", L"a"}, "TS", "0>t 1 t>0", "-"},
      {"three-cycle", {{L"a", L"b", L"c"}}, {L"b", L"c", L"a"}, "TSS", "0>t 2 1 t>0", "-"},
      {"a cycle with a fixed point",
       {{L"a", L"b", L"c"}},
       {L"c", L"b", L"a"},
       "TUS",
       "1 0>t 2 t>0",
       "-"},
      {"a cycle broken at its first entry in the list's order",
       {{L"x", L"c", L"b", L"a"}},
       {L"y", L"a", L"c", L"b"},
       "FTSS",
       "0 1>t 2 3 t>1",
       "-"},
      {"chain into a taken name: it and all that wait on it",
       {{L"a", L"b", L"c", L"d"}, {}, {L"x"}},
       {L"b", L"c", L"X", L"e"},
       "XXXF",
       "3 0 1 2",
       "0 1 2"},
      {"chain into a folder", {{L"a", L"b"}, {}, {L"sub"}}, {L"b", L"SUB"}, "XX", "0 1", "0 1"},
      {"two entries ask for one name: the first wins",
       {{L"a", L"b", L"c"}},
       {L"x", L"X", L"b"},
       "FXX",
       "0 1 2",
       "1 2"},
      {"a name given up earlier is free", {{L"a", L"b"}}, {L"x", L"a"}, "FS", "0 1", "-"},
      {"unchanged keeps its name taken", {{L"a", L"b"}}, {L"a", L"a"}, "UX", "0 1", "1"},
      {"refused names move nothing and free nothing",
       {{L"a", L"b", L"c"}},
       {L"x?", L"a", L"b"},
       "RXX",
       "0- 1 2",
       "1 2"},
      {"case only: through a temporary name", {{L"IMG.jpg"}}, {L"img.jpg"}, "T", "0>t t>0", "-"},
      {"case twins: the other goes first",
       {{L"x.jpg", L"X.jpg"}},
       {L"X.jpg", L"z.jpg"},
       "TF",
       "1 0>t t>0",
       "-"},
      {"case twins: one keeps its name",
       {{L"x.jpg", L"X.jpg"}},
       {L"x.jpg", L"x.jpg"},
       "UX",
       "0 1",
       "1"},
      {"case twins asking for one new name", {{L"x", L"X"}}, {L"y", L"Y"}, "FX", "0 1", "1"},
      {"another file's short name stays taken",
       {{L"a", L"b"}, {}, {L"verylongname.jpeg", L"VERYLO~1.JPE"}},
       {L"verylo~1.jpe", L"x"},
       "XF",
       "1 0",
       "0"},
      {"an entry's own short name, and its long name freed",
       {{L"longname.jpeg", L"b", L"c"}, {L"LONGNA~1.JPE", L"", L""}},
       {L"longna~1.jpe", L"x", L"LONGNAME.JPEG"},
       "FFS",
       "0 1 2",
       "-"},
      {"a short name held by a later entry",
       {{L"a", L"longname.jpeg"}, {L"", L"LONGNA~1.JPE"}},
       {L"LONGNA~1.JPE", L"y"},
       "SF",
       "1 0",
       "-"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    const WorkList list = ListOf(c.Folder);
    const BatchPlan plan = Plan(list, c.NewNames);
    EXPECT_EQ(Routes(plan), c.Routes);
    EXPECT_EQ(Moves(plan), c.Moves);
    EXPECT_EQ(Play(list, plan), c.Refused);
  }
}

TEST(OrderMoves, TemporaryNamesAreTheProgramsOwnAndFree) {
  const WorkList list = ListOf({{L"a", L"b", L"c"}, {}, {L"~TARNIVO-R7-1.TMP"}});
  const BatchPlan plan = Plan(list, {L"b", L"a", L"C"}, L"R7");
  EXPECT_EQ(plan.Temporary, (Names{L"~tarnivo-R7-1-2.tmp", L"", L"~tarnivo-R7-3.tmp"}));
  EXPECT_EQ(Play(list, plan), "-");
}

TEST(OrderMoves, AHundredThousandEntries) {
  constexpr int kCount = 100000;
  Folder folder;
  Names shifted, rotated;
  for (int i = 0; i < kCount; ++i) {
    folder.Entries.push_back(L"IMG_" + std::to_wstring(100000 + i) + L".jpg");
    shifted.push_back(L"IMG_" + std::to_wstring(100001 + i) + L".jpg");
  }
  const WorkList list = ListOf(folder);
  const BatchPlan shift = Plan(list, shifted);
  EXPECT_EQ(std::count(shift.Routes.begin(), shift.Routes.end(), Route::Shifted), kCount - 1);
  EXPECT_EQ(shift.Moves.front().Entry, kCount - 1);
  EXPECT_EQ(Play(list, shift), "-");

  rotated = shifted;
  rotated.back() = folder.Entries.front();
  const BatchPlan rotation = Plan(list, rotated);
  EXPECT_EQ(rotation.Moves.size(), static_cast<std::size_t>(kCount) + 1);
  EXPECT_EQ(std::count_if(rotation.Moves.begin(), rotation.Moves.end(),
                          [](const Move& m) { return m.Kind == MoveKind::ToTemporary; }),
            1);
  EXPECT_EQ(Play(list, rotation), "-");
}

}  // namespace
}  // namespace tarnivo

// What the list shows and what a run takes from it: the order, the ticks kept by name, and
// the names of the files left out, which a run may not take.
#include "engine/work_view.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarnivo {
namespace {

std::shared_ptr<const WorkList> Listing(const std::vector<std::wstring>& names,
                                        std::vector<std::uint64_t> sizes = {}) {
  auto list = std::make_shared<WorkList>();
  list->OtherNames = {L"sub"};
  for (std::size_t i = 0; i < names.size(); ++i) {
    ListedFile file{names[i], names[i] == L"long.jpeg" ? L"LONG~1.JPE" : L""};
    file.Size = i < sizes.size() ? sizes[i] : 0;
    list->Entries.push_back(file);
  }
  return list;
}

std::wstring Shown(const WorkView& view) {
  std::wstring shown;
  for (std::int32_t row = 0; row < view.Count(); ++row) {
    shown += (view.Ticked(row) ? L"" : L"-") + view.At(row).Name + L" ";
  }
  return shown;
}

std::wstring Names(const std::vector<ListedFile>& files) {
  std::wstring names;
  for (const ListedFile& file : files) names += file.Name + L" ";
  return names;
}

TEST(WorkView, TheRunTakesTheTickedEntriesInTheOrderShown) {
  WorkView view;
  const auto listing = Listing({L"a", L"b", L"long.jpeg", L"c"}, {3, 1, 4, 2});
  view.SetListing(listing, true);
  EXPECT_EQ(view.Work(), listing);  // all ticked, in the order of names: no copy
  view.SetOrder({SortKey::Size, false});
  view.SetTicked(2, false);  // a
  view.SetTicked(3, false);  // long.jpeg
  EXPECT_EQ(Shown(view), L"b c -a -long.jpeg ");
  const auto work = view.Work();
  EXPECT_EQ(Names(work->Entries), L"b c ");
  EXPECT_EQ(work->OtherNames,
            (std::vector<std::wstring>{L"sub", L"a", L"long.jpeg", L"LONG~1.JPE"}));
  EXPECT_EQ(view.RowOfWork(1), 1);
  EXPECT_EQ(view.RowOfWork(2), -1);
  std::shared_ptr<const RowMap> rows;
  TakeWork(*view.Snapshot(), &rows);
  EXPECT_EQ(rows->RowWork, (std::vector<std::int32_t>{0, 1, -1, -1}));
  EXPECT_EQ(rows->LeftOut, 2);
  EXPECT_EQ(view.LeftOut(), 2);
  view.InvertTicks();
  EXPECT_EQ(Shown(view), L"-b -c a long.jpeg ");
  view.TickAll(false);
  EXPECT_TRUE(view.Work()->Entries.empty());
}

TEST(WorkView, TicksAreKeptByNameInTheSameFolder) {
  WorkView view;
  view.SetListing(Listing({L"a", L"b", L"c"}), true);
  view.SetTicked(1, false);
  view.SetListing(Listing({L"b", L"c", L"d"}), false);  // a refresh: "a" went, "d" came
  EXPECT_EQ(Shown(view), L"-b c d ");
  view.SetListing(Listing({L"b", L"c"}), true);  // another folder, or after a run
  EXPECT_EQ(Shown(view), L"b c ");
}

TEST(WorkView, TakenWaitsForItsDates) {
  WorkView view;
  view.SetOrder({SortKey::Taken, true});
  view.SetListing(Listing({L"a", L"b", L"c"}), true);
  EXPECT_EQ(Shown(view), L"a b c ");  // the order of names until the dates are in
  view.SetOrder({SortKey::Taken, true},
                {DateTime{2020, 1, 1, 0, 0, 0}, std::nullopt, DateTime{2021, 1, 1, 0, 0, 0}});
  EXPECT_EQ(Shown(view), L"c a b ");
}

}  // namespace
}  // namespace tarnivo

#include "engine/batch_plan.h"

#include <algorithm>
#include <deque>
#include <span>

namespace tarnivo {
namespace {

constexpr std::int32_t kNone = -1;

// Every name of the run as a class of names the file system holds equal, numbered. An
// open-addressing table: hundreds of thousands of names cost no allocation each.
class NameClasses {
 public:
  NameClasses(const NameCase& nameCase, std::size_t expected) : case_(nameCase) {
    Resize(expected);
  }

  // The class of `name`, numbered anew when it has none yet. `name` must outlive the classes.
  std::int32_t Id(std::wstring_view name) {
    const std::size_t hash = case_.Hash(name);
    Slot& slot = Find(name, hash);
    if (slot.Id != kNone) return slot.Id;
    slot = Slot{hash, count_++, name};
    if (2 * static_cast<std::size_t>(count_) > slots_.size()) Resize(slots_.size());
    return count_ - 1;
  }
  bool Holds(std::wstring_view name) const {
    return const_cast<NameClasses*>(this)->Find(name, case_.Hash(name)).Id != kNone;
  }
  std::size_t Count() const { return static_cast<std::size_t>(count_); }

 private:
  struct Slot {
    std::size_t Hash = 0;
    std::int32_t Id = kNone;
    std::wstring_view Name;
  };

  Slot& Find(std::wstring_view name, std::size_t hash) {
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
      Slot& slot = slots_[at];
      if (slot.Id == kNone || (slot.Hash == hash && case_.Same(slot.Name, name))) return slot;
    }
  }

  // Room for twice `names`, in a power of two.
  void Resize(std::size_t names) {
    std::size_t size = 16;
    while (size < 2 * names + 2) size *= 2;
    std::vector<Slot> old(size);
    old.swap(slots_);
    for (const Slot& slot : old) {
      if (slot.Id == kNone) continue;
      const std::size_t mask = slots_.size() - 1;
      std::size_t at = slot.Hash & mask;
      while (slots_[at].Id != kNone) at = (at + 1) & mask;
      slots_[at] = slot;
    }
  }

  const NameCase& case_;
  std::vector<Slot> slots_;
  std::int32_t count_ = 0;
};

// Lists of entries by a key, stored flat: the entries of key k are
// Items[Start[k]] … Items[Start[k + 1] - 1].
struct Lists {
  std::vector<std::int32_t> Start;
  std::vector<std::int32_t> Items;

  std::span<const std::int32_t> Of(std::int32_t key) const {
    const auto k = static_cast<std::size_t>(key);
    return {Items.data() + Start[k], static_cast<std::size_t>(Start[k + 1] - Start[k])};
  }
};

// `pairs` as (key, entry): grouped by key, in the order given within each key.
Lists Group(std::size_t keys, const std::vector<std::pair<std::int32_t, std::int32_t>>& pairs) {
  Lists lists;
  lists.Start.assign(keys + 1, 0);
  for (const auto& [key, entry] : pairs) ++lists.Start[static_cast<std::size_t>(key) + 1];
  for (std::size_t k = 0; k < keys; ++k) lists.Start[k + 1] += lists.Start[k];
  lists.Items.resize(pairs.size());
  std::vector<std::int32_t> next(lists.Start.begin(), lists.Start.end() - 1);
  for (const auto& [key, entry] : pairs) {
    lists.Items[static_cast<std::size_t>(next[static_cast<std::size_t>(key)]++)] = entry;
  }
  return lists;
}

class Orderer {
 public:
  Orderer(BatchPlan& plan, const WorkList& list, const NameCase& nameCase, std::wstring_view tag)
      : plan_(plan),
        list_(list),
        tag_(tag),
        count_(plan.Entries.size()),
        classes_(nameCase, 3 * plan.Entries.size() + list.OtherNames.size()) {}

  void Run() {
    Classify();
    Claim();
    Wait();
    Order();
  }

 private:
  std::size_t At(std::int32_t entry) const { return static_cast<std::size_t>(entry); }
  bool Moves(std::int32_t entry) const {
    const Route route = plan_.Routes[At(entry)];
    return route == Route::Free || route == Route::Shifted || route == Route::Temporary;
  }

  // Every name a class; what each entry is and where it goes.
  void Classify() {
    plan_.Routes.assign(count_, Route::Free);
    plan_.Temporary.assign(count_, std::wstring());
    oldClass_.resize(count_);
    shortClass_.assign(count_, kNone);
    target_.assign(count_, kNone);
    caseOnly_.assign(count_, false);
    for (std::size_t e = 0; e < count_; ++e) {
      const ListedFile& file = list_.Entries[e];
      oldClass_[e] = classes_.Id(file.Name);
      if (!file.ShortName.empty()) shortClass_[e] = classes_.Id(file.ShortName);
    }
    std::vector<std::int32_t> fixed;
    fixed.reserve(list_.OtherNames.size());
    for (const std::wstring& name : list_.OtherNames) fixed.push_back(classes_.Id(name));
    for (std::size_t e = 0; e < count_; ++e) {
      const EntryPlan& entry = plan_.Entries[e];
      const std::wstring& newName = entry.Name.NewName.Text;
      if (entry.OutOfMemory || entry.Problem != NameProblem::None) {
        plan_.Routes[e] = Route::Refused;
      } else if (newName == list_.Entries[e].Name) {
        plan_.Routes[e] = Route::Unchanged;
      } else {
        target_[e] = classes_.Id(newName);
        caseOnly_[e] = target_[e] == oldClass_[e];
      }
    }
    fixed_.assign(classes_.Count(), false);
    for (const std::int32_t id : fixed) fixed_[At(id)] = true;
    // Who holds each class at the start: its long and its short name.
    std::vector<std::pair<std::int32_t, std::int32_t>> held;
    held.reserve(2 * count_);
    for (std::size_t e = 0; e < count_; ++e) {
      const auto entry = static_cast<std::int32_t>(e);
      held.emplace_back(oldClass_[e], entry);
      if (shortClass_[e] != kNone && shortClass_[e] != oldClass_[e]) {
        held.emplace_back(shortClass_[e], entry);
      }
    }
    holders_ = Group(classes_.Count(), held);
  }

  // One new name for one entry: a change of case keeps its own name's class; otherwise the
  // first entry in the list's order that asks for a name gets it, the others are refused.
  void Claim() {
    std::vector<std::int32_t> claimant(classes_.Count(), kNone);
    for (const bool caseOnlyPass : {true, false}) {
      for (std::size_t e = 0; e < count_; ++e) {
        if (!Moves(static_cast<std::int32_t>(e)) || caseOnly_[e] != caseOnlyPass) continue;
        std::int32_t& owner = claimant[At(target_[e])];
        if (owner == kNone) {
          owner = static_cast<std::int32_t>(e);
        } else {
          plan_.Routes[e] = Route::Taken;
        }
      }
    }
  }

  // Each entry waits for the other holders of its new name to move away. A name held by
  // what will not move (a folder, a file not listed, an entry that keeps its name or
  // fails) stays taken, and so does every name that waits on it, to the end of the chain.
  void Wait() {
    std::vector<std::pair<std::int32_t, std::int32_t>> edges;  // (waited on, waiter)
    std::vector<std::int32_t> failing;
    waits_.assign(count_, 0);
    for (std::size_t e = 0; e < count_; ++e) {
      const auto entry = static_cast<std::int32_t>(e);
      if (!Moves(entry)) continue;
      bool held = fixed_[At(target_[e])];
      for (const std::int32_t holder : holders_.Of(target_[e])) {
        if (holder == entry) continue;
        if (!Moves(holder)) held = true;
        edges.emplace_back(holder, entry);
        ++waits_[e];
      }
      if (held) {
        plan_.Routes[e] = Route::Taken;
        failing.push_back(entry);
      }
    }
    waiters_ = Group(count_, edges);
    for (std::size_t i = 0; i < failing.size(); ++i) {
      for (const std::int32_t waiter : waiters_.Of(failing[i])) {
        if (plan_.Routes[At(waiter)] == Route::Taken) continue;
        plan_.Routes[At(waiter)] = Route::Taken;
        failing.push_back(waiter);
      }
    }
  }

  // The moves: whatever is free goes first, in the list's order; then whatever that frees,
  // and so on. Cycles that are left are broken one by one.
  void Order() {
    plan_.Moves.clear();
    plan_.Moves.reserve(count_ + 16);
    pending_ = waits_;
    pathIndex_.assign(count_, kNone);
    done_.assign(count_, false);
    group_.assign(count_, kNone);
    // An unchanged or refused entry waits for nothing and frees nothing.
    for (std::size_t e = 0; e < count_; ++e) {
      const auto entry = static_cast<std::int32_t>(e);
      const Route route = plan_.Routes[e];
      if (route == Route::Unchanged || route == Route::Refused) ready_.push_back(entry);
      if (Moves(entry) && pending_[e] == 0) ready_.push_back(entry);
    }
    std::size_t nextUnplaced = 0;
    for (;;) {
      Drain();
      while (nextUnplaced < count_ && (done_[nextUnplaced] || !MovesAtAll(nextUnplaced))) {
        ++nextUnplaced;
      }
      if (nextUnplaced == count_) break;
      BreakCycle(static_cast<std::int32_t>(nextUnplaced));
    }
    // What the file system will refuse, last: nothing it could give is left to them.
    for (std::size_t e = 0; e < count_; ++e) {
      if (plan_.Routes[e] == Route::Taken) Emit(static_cast<std::int32_t>(e), MoveKind::Direct);
    }
  }

  bool MovesAtAll(std::size_t e) const { return Moves(static_cast<std::int32_t>(e)); }

  void Drain() {
    while (!ready_.empty()) {
      const std::int32_t entry = ready_.front();
      ready_.pop_front();
      const std::size_t e = At(entry);
      if (plan_.Routes[e] == Route::Unchanged || plan_.Routes[e] == Route::Refused) {
        Emit(entry, plan_.Routes[e] == Route::Refused ? MoveKind::None : MoveKind::Direct);
        continue;
      }
      if (!plan_.Temporary[e].empty()) {  // broken out of its cycle: back from its temporary name
        Emit(entry, MoveKind::FromTemporary);
        done_[e] = true;
        continue;
      }
      if (caseOnly_[e]) {
        plan_.Routes[e] = Route::Temporary;
        GiveTemporaryName(entry);
        group_[e] = nextGroup_++;
        Emit(entry, MoveKind::ToTemporary);
        Emit(entry, MoveKind::FromTemporary);
      } else {
        if (waits_[e] > 0) plan_.Routes[e] = Route::Shifted;
        Emit(entry, MoveKind::Direct);
      }
      done_[e] = true;
      Free(entry);
    }
  }

  // The entry's old names are free: whoever waited for them only may go now.
  void Free(std::int32_t entry) {
    for (const std::int32_t waiter : waiters_.Of(entry)) {
      if (plan_.Routes[At(waiter)] == Route::Taken) continue;
      if (--pending_[At(waiter)] == 0) ready_.push_back(waiter);
    }
  }

  // `start` waits, through others, on a cycle: the cycle's first entry in the list's order
  // moves to a temporary name, which frees the next one's new name.
  void BreakCycle(std::int32_t start) {
    std::vector<std::int32_t> path;
    std::int32_t at = start;
    while (pathIndex_[At(at)] == kNone) {
      pathIndex_[At(at)] = static_cast<std::int32_t>(path.size());
      path.push_back(at);
      at = NextWaitedOn(at);
    }
    const auto cycleStart = static_cast<std::size_t>(pathIndex_[At(at)]);
    for (const std::int32_t visited : path) pathIndex_[At(visited)] = kNone;
    std::int32_t first = at;
    for (std::size_t i = cycleStart; i < path.size(); ++i) first = std::min(first, path[i]);
    const std::int32_t group = nextGroup_++;
    for (std::size_t i = cycleStart; i < path.size(); ++i) group_[At(path[i])] = group;
    const std::size_t e = At(first);
    plan_.Routes[e] = Route::Temporary;
    GiveTemporaryName(first);
    Emit(first, MoveKind::ToTemporary);
    Free(first);
  }

  // An entry of the run not yet moved that `entry` waits on.
  std::int32_t NextWaitedOn(std::int32_t entry) const {
    for (const std::int32_t holder : holders_.Of(target_[At(entry)])) {
      if (holder != entry && !done_[At(holder)] && plan_.Temporary[At(holder)].empty()) {
        return holder;
      }
    }
    return entry;  // unreachable: an entry left over waits on one
  }

  // Unique among every name of the folder and of the run, and then one of them.
  void GiveTemporaryName(std::int32_t entry) {
    const std::wstring stem = L"~tarnivo-" + std::wstring(tag_) + L"-" + std::to_wstring(entry + 1);
    std::wstring name = stem + L".tmp";
    for (int n = 2; classes_.Holds(name); ++n) name = stem + L"-" + std::to_wstring(n) + L".tmp";
    std::wstring& kept = plan_.Temporary[At(entry)];
    kept = std::move(name);
    classes_.Id(kept);
  }

  void Emit(std::int32_t entry, MoveKind kind) {
    plan_.Moves.push_back(Move{entry, kind, group_[At(entry)]});
  }

  BatchPlan& plan_;
  const WorkList& list_;
  std::wstring_view tag_;
  std::size_t count_;
  NameClasses classes_;
  std::vector<std::int32_t> oldClass_, shortClass_, target_;
  std::vector<bool> caseOnly_, fixed_, done_;
  Lists holders_;  // by class: the entries that hold it at the start
  Lists waiters_;  // by entry: the entries that wait for it to move
  std::vector<std::int32_t> waits_, pending_, group_;
  std::vector<std::int32_t> pathIndex_;  // while a cycle is sought: an entry's place on the path
  std::deque<std::int32_t> ready_;
  std::int32_t nextGroup_ = 0;
};

}  // namespace

void OrderMoves(BatchPlan& plan, const WorkList& list, const NameCase& nameCase,
                std::wstring_view runTag) {
  Orderer(plan, list, nameCase, runTag).Run();
}

}  // namespace tarnivo

#pragma once
// The preview's state: a pass in the background after every change of the template or the
// list, the result of the latest pass that ended, and whether a newer one is under way.
// Passes start once someone looks (the preview window or a tip), so start-up and users who
// never look pay nothing for them.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/preview_worker.h"

namespace tarnivo {

class LivePreview {
 public:
  // A change: a pass of `setup` over what the list shows (`view`, of which the pass takes
  // its list), started at once when someone has looked (true: what is shown changes to
  // "checking"), otherwise kept until someone does.
  bool Change(PlanSetup setup, std::shared_ptr<const ViewSnapshot> view);
  // Someone looks: the worker's thread starts, with the change kept until now. `ready`
  // runs on that thread whenever a result waits (see PreviewWorker).
  void Want(const std::function<void()>& ready);
  // Takes the result that waits; true when it is new and now the one shown.
  bool TakeReady();
  // No more passes: the window is going. Waits for the worker's thread.
  void Stop();

  const std::shared_ptr<const PreviewResult>& Result() const { return result_; }
  bool Checking() const { return checking_; }
  // The tip over row `row` of the list: its new name and, on a second line, its status;
  // "不转换" for a file left out; "正在检查…" while a pass is under way.
  std::wstring EntryTip(std::int32_t row) const;

 private:
  std::shared_ptr<const PreviewResult> result_;  // of the latest pass that ended
  bool checking_ = false;                        // a newer pass is under way
  struct Pending {
    PlanSetup Setup;
    std::shared_ptr<const ViewSnapshot> View;
  };
  std::optional<Pending> pending_;  // the latest change, until someone looks
  bool stopped_ = false;
  // Made at the first look: from then on passes run live.
  std::unique_ptr<PreviewWorker> worker_;
};

}  // namespace tarnivo

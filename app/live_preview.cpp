#include "app/live_preview.h"

#include "engine/error_log.h"

namespace tarnivo {

bool LivePreview::Change(PlanSetup setup, std::shared_ptr<const ViewSnapshot> view) {
  if (stopped_) return false;
  checking_ = true;
  if (!worker_) {  // nobody has looked yet
    pending_ = Pending{std::move(setup), std::move(view)};
    return false;
  }
  worker_->Start(std::move(setup), std::move(view));
  return true;
}

// The pending change is the state a run started from, so a first look during a run still
// shows the run's forecast.
void LivePreview::Want(const std::function<void()>& ready) {
  if (worker_ || stopped_) return;
  worker_ = std::make_unique<PreviewWorker>(ready);
  if (!pending_) return;
  worker_->Start(std::move(pending_->Setup), std::move(pending_->View));
  pending_.reset();
}

bool LivePreview::TakeReady() {
  if (!worker_) return false;
  std::shared_ptr<const PreviewResult> result = worker_->TakeResult();
  if (!result) return false;  // an older pass's, or taken already
  result_.swap(result);
  checking_ = false;
  worker_->Discard(std::move(result));  // the rows shown before, freed over there
  return true;
}

void LivePreview::Stop() {
  stopped_ = true;
  worker_.reset();
}

std::wstring LivePreview::EntryTip(std::int32_t row) const {
  if (checking_ || !result_) return std::wstring(kPreviewChecking);
  std::int32_t index = row;
  if (const RowMap* shown = result_->Shown.get()) {
    if (row < 0 || static_cast<std::size_t>(row) >= shown->RowWork.size()) return {};
    index = shown->RowWork[static_cast<std::size_t>(row)];
    if (index < 0) return std::wstring(kLeftOut);
  }
  const auto at = static_cast<std::size_t>(index);
  if (index < 0 || at >= result_->Rows.size()) return {};
  const PreviewRow& planned = result_->Rows[at];
  std::wstring tip = LoggedName(planned.NewName);
  const std::wstring status = RowStatus(planned);
  if (!status.empty()) tip.append(L"\r\n").append(status);
  return tip;
}

}  // namespace tarnivo

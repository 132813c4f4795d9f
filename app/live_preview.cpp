#include "app/live_preview.h"

#include "engine/error_log.h"

namespace tarnivo {

bool LivePreview::Change(PlanSetup setup) {
  if (stopped_) return false;
  checking_ = true;
  if (!worker_) {  // nobody has looked yet
    pending_ = std::move(setup);
    return false;
  }
  worker_->Start(std::move(setup));
  return true;
}

// The pending change is the state a run started from, so a first look during a run still
// shows the run's forecast.
void LivePreview::Want(const std::function<void()>& ready) {
  if (worker_ || stopped_) return;
  worker_ = std::make_unique<PreviewWorker>(ready);
  if (!pending_) return;
  worker_->Start(std::move(*pending_));
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

std::wstring LivePreview::EntryTip(std::int32_t index) const {
  if (checking_ || !result_) return std::wstring(kPreviewChecking);
  const auto at = static_cast<std::size_t>(index);
  if (index < 0 || at >= result_->Rows.size()) return {};
  const PreviewRow& row = result_->Rows[at];
  std::wstring tip = LoggedName(row.NewName);
  const std::wstring status = RowStatus(row);
  if (!status.empty()) tip.append(L"\r\n").append(status);
  return tip;
}

}  // namespace tarnivo

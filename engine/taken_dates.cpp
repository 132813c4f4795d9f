#include "engine/taken_dates.h"

namespace tarnivo {

std::optional<std::optional<DateTime>> TakenDates::Find(const std::wstring& folder,
                                                        const ListedFile& file) const {
  const std::lock_guard lock(mutex_);
  const auto found = known_.find(folder + file.Name);
  if (found == known_.end() || found->second.Size != file.Size ||
      found->second.LastWrite != file.LastWrite) {
    return std::nullopt;
  }
  return found->second.Taken;
}

void TakenDates::Keep(const std::wstring& folder, const ListedFile& file,
                      std::optional<DateTime> taken) {
  const std::lock_guard lock(mutex_);
  known_.insert_or_assign(folder + file.Name, Known{file.Size, file.LastWrite, taken});
}

void TakenDates::Clear() {
  const std::lock_guard lock(mutex_);
  known_.clear();
}

}  // namespace tarnivo

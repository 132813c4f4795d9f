// The dates taken of a folder's photos, each read at most once while the file stays as it
// was (the same name, size and last write): shared by the sort of the list, the preview and
// the run's %taken%, from any thread.
#pragma once

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>

#include "engine/date_time.h"
#include "engine/work_list.h"

namespace tarnivo {

class TakenDates {
 public:
  // What is known of `file` of `folder` (ending in "\"): nothing when it has not been read
  // as it is now; else its date taken, or nothing inside for a file without one.
  std::optional<std::optional<DateTime>> Find(const std::wstring& folder,
                                              const ListedFile& file) const;
  void Keep(const std::wstring& folder, const ListedFile& file, std::optional<DateTime> taken);
  // Forgets every date (another folder).
  void Clear();

 private:
  struct Known {
    std::uint64_t Size;
    std::uint64_t LastWrite;
    std::optional<DateTime> Taken;
  };
  mutable std::mutex mutex_;
  std::unordered_map<std::wstring, Known> known_;  // by full path
};

}  // namespace tarnivo

// The dates of one file that the %taken% and %modified% tokens give, each read from the
// file at most once.
#pragma once

#include <optional>
#include <string>

#include "engine/result.h"
#include "engine/taken_dates.h"
#include "engine/token.h"

namespace tarnivo {

class FileDates {
 public:
  // `path`: the file's full path in the ordinary form.
  explicit FileDates(std::wstring path) : path_(std::move(path)) {}
  // `file` of `folder` (ending in "\"), its date taken looked up in `known` first and kept
  // there once read.
  FileDates(const std::wstring& folder, const ListedFile& file, TakenDates* known)
      : path_(folder + file.Name), folder_(&folder), file_(&file), known_(known) {}

  // Taken: the photo's date taken (NoDateTaken for a file that holds none, or is no
  // photo). Modified: the last write (GetFileAttributesExW) in local time as
  // FileTimeToLocalFileTime gives it, to the second. FileNotFound for a file gone; the
  // system's error otherwise.
  Result<DateTime> Read(FileDateKind kind);

  // A reader for a TokenContext; `dates` must outlive its use.
  static FileDateReader ReaderOf(FileDates& dates) {
    return [&dates](FileDateKind kind) { return dates.Read(kind); };
  }

 private:
  Result<DateTime> ReadTaken() const;
  Result<DateTime> KnownOrReadTaken() const;
  Result<DateTime> ReadModified() const;

  std::wstring path_;
  const std::wstring* folder_ = nullptr;
  const ListedFile* file_ = nullptr;
  TakenDates* known_ = nullptr;
  std::optional<Result<DateTime>> taken_;
  std::optional<Result<DateTime>> modified_;
};

}  // namespace tarnivo

// The failures of a rename run or an undo: counted, and each written to "Err.LOG" when a
// log is wanted, after the header the log starts with.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "engine/date_time.h"
#include "engine/errors.h"
#include "engine/log_file.h"
#include "engine/rename_plan.h"

namespace tarnivo {

// The system's own text for a Win32 error, as the user's language gives it.
std::wstring SystemErrorText(std::uint32_t win32Error);

// One failure as a caller shows it beside the log (the command line prints it).
struct FailureReport {
  std::wstring_view Current;  // the name the file has
  std::wstring Planned;       // the name it was to get, as the log writes it
  std::int32_t ErrorNumber;
  std::wstring_view Detail;  // the log's detail text, on one line
};
using FailureObserver = std::function<void(const FailureReport& failure)>;

class RunLog {
 public:
  // Creates the log at `path` (ordinary form) with its header. False, and no log, when it
  // cannot be created or its header cannot be written (a full disk): no log of this run.
  bool Open(const std::wstring& path, std::wstring_view caption, const DateTime& now,
            std::wstring_view templateText);
  bool Created() const { return file_.IsOpen(); }
  std::int32_t Failures() const { return failures_; }
  // Told of every failure as it is counted, whether a log is written or not.
  void Observe(FailureObserver observer) { observer_ = std::move(observer); }

  // Counts one failure and writes its entry: `planned` is the name the file was to get,
  // `current` the name it has, both inside `folder`. Never throws: an entry that does not
  // fit in memory is left out, the failure still counts.
  void Fail(std::wstring_view folder, const BuiltName& planned, std::wstring_view current,
            ErrorKind kind, std::wstring_view reason) noexcept;
  // A rename the system refused with `win32Error`: its kind and the system's message.
  // Returns the error number the log shows.
  std::int32_t FailRename(std::wstring_view folder, const BuiltName& planned,
                          std::wstring_view current, std::uint32_t win32Error) noexcept;

 private:
  LogFile file_;
  std::int32_t failures_ = 0;
  FailureObserver observer_;
};

}  // namespace tarnivo

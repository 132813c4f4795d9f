#include "engine/rename_run.h"

#include <windows.h>

#include <algorithm>
#include <iterator>
#include <new>

#include "engine/error_log.h"
#include "engine/file_dates.h"
#include "engine/log_file.h"
#include "engine/rename_plan.h"
#include "settings/paths.h"

namespace tarnivo {
namespace {

// The run's own work between two hand-overs is at least this many times the last one,
// up to the longest interval.
constexpr double kHandOverShareLimit = 9;
constexpr double kLongestEventInterval = 0.5;

// Seconds on a monotonic clock: a run across midnight or a clock change still measures
// what it took.
class Stopwatch {
 public:
  Stopwatch() {
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);  // never fails on XP and later
    frequency_ = static_cast<double>(frequency.QuadPart);
    start_ = Ticks();
  }
  double Seconds() const { return static_cast<double>(Ticks() - start_) / frequency_; }

 private:
  static LONGLONG Ticks() {
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    return now.QuadPart;
  }
  double frequency_ = 1;
  LONGLONG start_ = 0;
};

// The system's own text for a Win32 error, as the user's language gives it.
std::wstring SystemMessage(DWORD code) {
  wchar_t buffer[512];
  const DWORD length =
      FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                     buffer, static_cast<DWORD>(std::size(buffer)), nullptr);
  if (length == 0) return L"系统错误 " + std::to_wstring(code);
  return std::wstring(buffer, length);
}

class Run {
 public:
  explicit Run(RenameRunSetup setup)
      : setup_(std::move(setup)),
        fileSystemFolder_(EnsureTrailingBackslash(ExtendedPath(setup_.Folder))) {}

  RenameRunOutcome Execute() {
    if (!setup_.LogPath.empty() && log_.Create(setup_.LogPath)) {
      const DateTime now = setup_.Context.Now ? setup_.Context.Now() : DateTime{};
      // A log whose header could not be written (a full disk) is no log of this run.
      outcome_.LogCreated = log_.Write(LogHeader(setup_.Caption, now, setup_.TemplateText));
      if (!outcome_.LogCreated) log_.Close();
    }
    if (setup_.OnStarted) setup_.OnStarted();
    const Stopwatch stopwatch;
    const std::vector<std::wstring> pieces = SplitTemplate(setup_.TemplateText);
    const auto count = static_cast<std::int32_t>(setup_.Names.size());
    double nextHandOver = kEventIntervalSeconds;
    for (std::int32_t i = 0; i < count; ++i) {
      RenameEntry(i, pieces);
      const double now = stopwatch.Seconds();
      if (i == count - 1 || now >= nextHandOver) {
        if (setup_.OnProgress) setup_.OnProgress(i, setup_.Names[static_cast<size_t>(i)]);
        if (setup_.LetEventsRun) setup_.LetEventsRun();
        const double after = stopwatch.Seconds();
        // Where repainting is slow the window waits longer, so that it takes no more than
        // about a tenth of the run; but never so long that it looks frozen (a dialog
        // opened during a hand-over makes that hand-over last as long as the dialog).
        nextHandOver = after + std::clamp(kHandOverShareLimit * (after - now),
                                          kEventIntervalSeconds, kLongestEventInterval);
      }
    }
    outcome_.Seconds = stopwatch.Seconds();
    return outcome_;
  }

 private:
  void RenameEntry(std::int32_t index, const std::vector<std::wstring>& pieces) {
    const std::wstring& oldName = setup_.Names[static_cast<size_t>(index)];
    bool renamed = false;
    try {
      FileDates dates(setup_.Folder + oldName);
      const EntryPlan plan =
          PlanEntry(pieces, setup_.Context, index, oldName, FileDates::ReaderOf(dates));
      for (const PieceFailure& failure : plan.Name.Failures) {
        Fail(failure.NameSoFar, oldName, failure.Kind, {});
      }
      renamed = Rename(oldName, plan);
    } catch (const std::bad_alloc&) {
      // Whatever of this entry did not fit in memory: it keeps its name, the run goes on.
      Fail({}, oldName, ErrorKind::OutOfMemory, {});
    }
    ++(renamed ? outcome_.Renamed : outcome_.NotRenamed);
  }

  bool Rename(const std::wstring& oldName, const EntryPlan& plan) {
    const BuiltName& newName = plan.Name.NewName;
    // Names the file system would silently change, or that would leave the folder, are
    // refused here: Wine even accepts ":" in a name.
    if (plan.Problem != NameProblem::None) {
      Fail(newName, oldName, ErrorKind::BadFileName, DescribeNameProblem(plan.Problem));
      return false;
    }
    // No replace flag: a taken name is a failure, never a lost file.
    if (MoveFileW((fileSystemFolder_ + oldName).c_str(),
                  (fileSystemFolder_ + newName.Text).c_str())) {
      return true;
    }
    const DWORD error = GetLastError();
    Fail(newName, oldName, KindOfSystemError(error), SystemMessage(error));
    return false;
  }

  // Counts and logs one failure. Never throws: a log entry that does not fit in memory is
  // left out, the failure still counts.
  void Fail(const BuiltName& plannedName, const std::wstring& oldName, ErrorKind kind,
            std::wstring_view reason) noexcept {
    ++outcome_.Failures;
    if (!log_.IsOpen()) return;
    try {
      log_.Write(LogEntry(outcome_.Failures, setup_.Folder, plannedName, oldName,
                          DescribeError(kind).Number, ErrorDetail(kind, reason)));
    } catch (const std::bad_alloc&) {
    }
  }

  RenameRunSetup setup_;
  std::wstring fileSystemFolder_;  // Folder in the form that takes paths of any length
  LogFile log_;
  RenameRunOutcome outcome_;
};

}  // namespace

RenameRunOutcome RunRename(RenameRunSetup setup) { return Run(std::move(setup)).Execute(); }

}  // namespace tarnivo

// The batch rename behind the start image, and what holds the rest of the window off
// while it is under way.
#include <iterator>
#include <string>

#include "app/control_ids.h"
#include "app/locale_reader.h"
#include "app/main_window.h"
#include "engine/error_log.h"
#include "engine/number_parse.h"
#include "engine/rename_run.h"
#include "engine/undo_journal.h"
#include "settings/paths.h"

namespace tarnivo {
namespace {

constexpr const wchar_t* kLogName = L"Err.LOG";

DateTime SystemLocalTime() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return DateTime{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

// "writelog" is a whole number (a half goes to the even neighbour): 0 means no log. A value
// that is no number at all ("off", "no") is taken as the user's wish for no log as well.
bool LoggingWanted(const std::wstring& value) {
  const Result<int32_t> flag = TextToInt32(value);
  return flag.Ok() && flag.Value() != 0;
}

// "openlog" is a real number: 0 means the log is not shown; so does a value that is no
// number at all.
bool OpeningWanted(const std::wstring& value) {
  const Result<double> flag = TextToDouble(value);
  return flag.Ok() && flag.Value() != 0;
}

}  // namespace

TokenContext MainWindow::MakeTokenContext() const {
  TokenContext context;
  context.Keys = keywords_;
  context.ReadSetting = [&settings = settings_](std::wstring_view section, std::wstring_view key,
                                                std::wstring_view defaultValue) {
    return settings.Read(section, key, defaultValue);
  };
  context.Now = LocalClock();
  context.Locale = UserLocale();
  return context;
}

std::wstring MainWindow::ProgramFile(std::wstring_view name) const {
  return EnsureTrailingBackslash(options_.ProgramFolder) + std::wstring(name);
}

std::wstring MainWindow::WantedLogPath() const {
  return LoggingWanted(settings_.Read(setting::WriteLog)) ? ProgramFile(kLogName) : L"";
}

Clock MainWindow::LocalClock() const {
  return options_.LocalTime ? options_.LocalTime : Clock(SystemLocalTime);
}

void MainWindow::ImgStart_Click() {
  // The start image is disabled during a run; this also covers a click queued before.
  if (runInProgress_) return;
  runInProgress_ = true;

  RenameRunSetup setup;
  // The run works on the list as it is now: nothing done while it runs can make it
  // rename other files.
  setup.Folder = EnsureTrailingBackslash(file1_.Path());
  setup.Names = file1_.Entries();
  setup.TemplateText = ControlText(ids::TextRull);
  setup.Context = MakeTokenContext();
  setup.LogPath = WantedLogPath();
  setup.JournalPath = ProgramFile(kJournalName);
  setup.Caption = WindowText(hwnd_);
  setup.OnStarted = [this] { SetRunningState(0); };
  setup.OnProgress = [this, folder = setup.Folder](int32_t index, const std::wstring& oldName) {
    file1_.SetListIndex(index);
    SetWindowTextW(Control(ids::LabTitle(1)), ProgressText(folder, oldName).c_str());
  };
  setup.LetEventsRun = [this] { LetEventsRun(); };
  setup.EventsWaiting = EventsWaiting;
  currentFolder_ = setup.Folder;
  // A run of an empty list writes no journal: the one there is still the last run's.
  const bool journalWanted = !setup.Names.empty();

  const RenameRunOutcome outcome = RunRename(std::move(setup));

  if (journalWanted) undoBlocked_ = !outcome.JournalWritten;
  FinishRun(SummaryText(outcome.Seconds, outcome.Renamed, outcome.NotRenamed),
            outcome.Failures > 0 && outcome.LogCreated, [this] { file1_.Refresh(); });
}

void MainWindow::FinishRun(const std::wstring& summary, bool logFailures,
                           const std::function<void()>& relist) {
  SetWindowTextW(Control(ids::LabTitle(1)), summary.c_str());
  SetRunningState(1);
  runInProgress_ = false;
  relist();
  // Only this run's own log is shown: one that could not be created holds an older run.
  if (logFailures && OpeningWanted(settings_.Read(setting::OpenLog))) ShellOpen(kLogName);
  if (closePending_) Form_Unload();
}

bool MainWindow::EventsWaiting() { return HIWORD(GetQueueStatus(QS_ALLINPUT)) != 0; }

void MainWindow::LetEventsRun() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      // Left for the program's own loop, which ends after the run.
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    if (PreTranslateMessage(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

bool MainWindow::HoldOffCheckBox(int index) {
  if (!runInProgress_) return false;
  const FileListFlags& flags = file1_.Flags();
  const bool values[] = {flags.Hidden, flags.System, flags.ReadOnly, flags.Archive};
  if (index >= 0 && index < static_cast<int>(std::size(values))) {
    SendMessageW(Control(ids::CheckFileInfo(index)), BM_SETCHECK,
                 values[index] ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  return true;
}

}  // namespace tarnivo

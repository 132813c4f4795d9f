#include "app/command_run.h"

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/batch_setup.h"
#include "app/folder_listing.h"
#include "app/locale_reader.h"
#include "app/template_store.h"
#include "engine/file_dates.h"
#include "engine/log_file.h"
#include "engine/preview_pass.h"
#include "engine/undo_run.h"
#include "engine/work_view.h"
#include "settings/path_probe.h"
#include "settings/setting_keys.h"
#include "settings/settings_store.h"
#include "win/paths.h"

namespace tarnivo {
namespace {

// The third column of a preview line for a plain rename (the preview's own column is
// empty there).
constexpr std::wstring_view kWillRename = L"将转换";
constexpr std::wstring_view kNothingToUndo = L"没有可撤销的转换";

// What a run or a preview works on, gathered before anything is renamed.
struct Inputs {
  std::wstring TemplateText;
  std::shared_ptr<const WorkList> Work;
};

BatchSources SourcesOf(const SettingsStore& settings, const DataFolders& folders) {
  BatchSources sources;
  sources.ReadSetting = ReaderOf(settings);
  sources.Keys = ReadKeywords(sources.ReadSetting);
  sources.Locale = UserLocale();
  sources.Folders = folders;
  sources.Caption = kProgramCaption;
  sources.Dates = std::make_shared<TakenDates>();
  return sources;
}

std::optional<std::wstring> TemplateOf(const Command& command, const DataFolders& folders,
                                       std::wstring& error) {
  if (!command.TemplateName.empty()) {
    const TemplateStore store = TemplatesOf(folders);
    std::optional<std::wstring> text =
        IsTemplateName(command.TemplateName) ? store.Load(command.TemplateName) : std::nullopt;
    if (!text) error = L"没有这个模板: " + command.TemplateName + L" (" + store.Folder() + L")";
    return text;
  }
  std::string bytes;
  if (!ReadWholeFile(command.TemplateFile, bytes)) {
    error = L"无法读取模板文件: " + command.TemplateFile;
    return std::nullopt;
  }
  return DecodeTemplateFile(bytes);
}

// The files of the folder the window would list, in the order it would show them.
std::shared_ptr<const WorkList> WorkOf(const Command& command, const std::wstring& folder,
                                       const SettingsStore& settings, TakenDates& dates) {
  auto listing = std::make_shared<WorkList>();
  const std::wstring pattern = command.Pattern.value_or(settings.Read(setting::Pattern));
  if (!ListFolder(folder, pattern, FileListFlags{}, *listing)) return nullptr;
  // The command's order, else the one the window would show.
  const ListOrder order = command.Order.value_or(SavedOrder(ReaderOf(settings)));
  std::vector<std::optional<DateTime>> taken;
  if (order.Key == SortKey::Taken) {
    const std::wstring inFolder = EnsureTrailingBackslash(folder);
    taken.reserve(listing->Entries.size());
    for (const ListedFile& file : listing->Entries) {
      const Result<DateTime> date = FileDates(inFolder, file, &dates).Read(FileDateKind::Taken);
      taken.push_back(date.Ok() ? std::optional<DateTime>(date.Value()) : std::nullopt);
    }
  }
  WorkView view;
  view.SetListing(std::move(listing), /*tickAll=*/true);
  view.SetOrder(order, std::move(taken));
  return view.Work();
}

std::optional<Inputs> GatherInputs(const Command& command, const DataFolders& folders,
                                   const SettingsStore& settings, TakenDates& dates,
                                   Console& console) {
  const auto bad = [&console](const std::wstring& error) {
    console.ErrorLine(error);
    return std::nullopt;
  };
  const std::wstring folder = FullFolderPath(command.Folder);
  if (folder.empty() || !IsListableFolder(GetPathAttributes(folder))) {
    return bad(L"没有这个文件夹: " + command.Folder);
  }
  std::wstring error;
  std::optional<std::wstring> text = TemplateOf(command, folders, error);
  if (!text) return bad(error);
  std::shared_ptr<const WorkList> work = WorkOf(command, folder, settings, dates);
  if (!work) return bad(L"无法列出文件夹: " + folder);
  return Inputs{std::move(*text), std::move(work)};
}

// A batch without a window: no messages to let through.
BatchHost QuietHost(Console& console) {
  BatchHost host;
  host.LetEventsRun = [] {};
  host.EventsWaiting = [] { return false; };
  host.OnFailure = [&console](const FailureReport& failure) {
    console.Line(std::wstring(failure.Current) + L"\t" + failure.Planned + L"\t错误代号 " +
                 std::to_wstring(failure.ErrorNumber) + L": " + std::wstring(failure.Detail));
  };
  return host;
}

int ExitOf(const BatchOutcome& outcome) {
  return outcome.NotDone > 0 || outcome.Failures > 0 ? kExitSomeFailed : kExitDone;
}

int Preview(const BatchSources& sources, const Inputs& inputs, Console& console) {
  const std::unique_ptr<PreviewResult> result =
      RunPreview(AssemblePlan(sources, inputs.Work, inputs.TemplateText), nullptr);
  if (!result) {
    console.ErrorLine(SystemErrorText(ERROR_NOT_ENOUGH_MEMORY));
    return kExitSomeFailed;
  }
  for (std::size_t i = 0; i < result->Rows.size(); ++i) {
    const PreviewRow& row = result->Rows[i];
    const std::wstring status = RowStatus(row);
    console.Line(result->List->Entries[i].Name + L"\t" + row.NewName.Text + L"\t" +
                 (status.empty() ? std::wstring(kWillRename) : status));
  }
  console.Line(PreviewSummaryText(result->Counts));
  return kExitDone;
}

}  // namespace

int RunCommand(const Command& command, const DataFolders& folders, Console& console) {
  if (!command.Error.empty()) {
    console.ErrorLine(command.Error);
    console.ErrorLine(CommandUsage());
    return kExitBadArguments;
  }
  if (command.Action == CommandAction::Help) {
    console.Line(CommandUsage());
    return kExitDone;
  }
  const SettingsStore settings(folders.Program, folders.Fallback);
  const BatchSources sources = SourcesOf(settings, folders);
  if (command.Action == CommandAction::Undo) {
    const BatchOutcome outcome = RunUndo(AssembleUndo(sources), QuietHost(console));
    console.Line(outcome.Started ? outcome.Summary : std::wstring(kNothingToUndo));
    return ExitOf(outcome);
  }
  const std::optional<Inputs> inputs =
      GatherInputs(command, folders, settings, *sources.Dates, console);
  if (!inputs) return kExitBadArguments;
  if (command.Action == CommandAction::Preview) return Preview(sources, *inputs, console);
  const BatchOutcome outcome =
      RunRename(AssembleRun(sources, inputs->Work, inputs->TemplateText), QuietHost(console));
  console.Line(outcome.Summary);
  return ExitOf(outcome);
}

}  // namespace tarnivo

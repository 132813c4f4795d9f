#include "engine/preview_pass.h"

#include <new>

#include "engine/file_dates.h"
#include "engine/rename_plan.h"
#include "engine/system_name_case.h"

namespace tarnivo {

std::unique_ptr<PreviewResult> RunPreview(PreviewSetup setup,
                                          const std::function<bool()>& cancelled) {
  if (!setup.Names) return nullptr;
  try {
    const FolderNames& names = *setup.Names;
    const std::vector<std::wstring> pieces = SplitTemplate(setup.TemplateText);
    RunForecast forecast(names, SystemNameCase());
    const auto count = static_cast<std::int32_t>(names.Entries.size());
    for (std::int32_t i = 0; i < count; ++i) {
      if (cancelled && cancelled()) return nullptr;
      const std::wstring& oldName = names.Entries[static_cast<std::size_t>(i)];
      // The dates as the run reads them: at most once per entry, only when a line asks.
      FileDates dates(setup.Folder + oldName);
      forecast.Add(PlanEntry(pieces, setup.Context, i, oldName, FileDates::ReaderOf(dates)));
    }
    auto result = std::make_unique<PreviewResult>();
    result->Counts = forecast.Counts();
    result->Rows = forecast.TakeRows();
    result->Names = std::move(setup.Names);
    return result;
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

}  // namespace tarnivo

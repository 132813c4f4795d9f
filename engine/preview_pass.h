// One pass of the preview: what RunRename would do with every entry, worked out by the
// run's own planning, without renaming anything.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "engine/run_forecast.h"
#include "engine/token.h"

namespace tarnivo {

struct PreviewSetup {
  std::wstring Folder;                       // ends in "\", as the run's
  std::shared_ptr<const FolderNames> Names;  // the list and the other names of the folder
  std::wstring TemplateText;                 // cut into lines at CR LF
  // Keywords, settings, clock and locale, as the run gets them; FileName, ListIndex and
  // FileDate are set per entry.
  TokenContext Context;
};

struct PreviewResult {
  std::shared_ptr<const FolderNames> Names;  // whose Entries the rows belong to
  std::vector<PreviewRow> Rows;              // one per entry, in the run's order
  RowCounts Counts;
};

// The pass. `cancelled` is asked before each entry; null when it said so, or when memory
// ran out.
std::unique_ptr<PreviewResult> RunPreview(PreviewSetup setup,
                                          const std::function<bool()>& cancelled);

}  // namespace tarnivo

#pragma once
// A run, an undo and a preview pass assembled without any window: from the settings, the
// keywords read at start-up, a work list and the template's text. The window calls these,
// and so does every other way into a run.
#include <memory>
#include <string>
#include <string_view>

#include "engine/batch.h"
#include "engine/list_order.h"
#include "engine/locale_info.h"
#include "engine/planner.h"
#include "engine/rename_run.h"
#include "engine/token.h"
#include "engine/work_list.h"
#include "settings/data_folders.h"
#include "settings/settings_store.h"

namespace tarnivo {

inline constexpr std::wstring_view kLogName = L"Err.LOG";
// The main window's caption: the first line of a run's log header and its journal's
// caption, also for a run from the command line.
inline constexpr wchar_t kProgramCaption[] = L"《Tarnivo》 V 1.0";

// What every batch is assembled from.
struct BatchSources {
  SettingReader ReadSetting;  // "writelog", and the date pictures as the lines are evaluated
  Keywords Keys;              // as read at start-up
  Clock Now;                  // local time; none: the system clock
  LocaleInfo Locale;
  DataFolders Folders;                // where "Err.LOG" and "Undo.LOG" go
  std::wstring Caption;               // the log header's first line and the journal's caption
  std::shared_ptr<TakenDates> Dates;  // the dates taken read so far; may be null
};

// The plan of `templateText` over `list`, as the preview and the run make it.
PlanSetup AssemblePlan(const BatchSources& sources, std::shared_ptr<const WorkList> list,
                       std::wstring_view templateText);
// A run of `list`: its plan, "Err.LOG" when "writelog" asks for a log, "Undo.LOG".
RenameRunSetup AssembleRun(const BatchSources& sources, std::shared_ptr<const WorkList> list,
                           std::wstring templateText);
// The undo of the last run's journal, wherever that run wrote it.
BatchSetup AssembleUndo(const BatchSources& sources);

// The journal an undo takes up: of the "Undo.LOG" of the program folder and of the fallback
// folder, the one that holds something to undo, the later written when both do.
std::wstring UndoJournalPath(const DataFolders& folders);
// A reader of `settings`, which must outlive it.
SettingReader ReaderOf(const SettingsStore& settings);
// The list's order as the settings keep it: "Sort" (a key's word; anything else is the
// order of names) and "SortDescending" ("1": falling).
ListOrder SavedOrder(const SettingReader& readSetting);
// True when "openlog" asks for the log of a batch with failures to be shown.
bool LogOpeningWanted(const SettingReader& readSetting);

}  // namespace tarnivo

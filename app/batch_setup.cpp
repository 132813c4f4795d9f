#include "app/batch_setup.h"

#include <windows.h>

#include "engine/date_format.h"
#include "engine/number_parse.h"
#include "engine/system_name_case.h"
#include "engine/system_text_mapper.h"
#include "engine/undo_journal.h"
#include "engine/undo_run.h"
#include "settings/setting_keys.h"
#include "win/paths.h"

namespace tarnivo {
namespace {

DateTime SystemLocalTime() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return DateTime{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

std::wstring Read(const SettingReader& readSetting, const SettingKey& key) {
  return readSetting ? readSetting(key.Section, key.Key, key.DefaultValue)
                     : std::wstring(key.DefaultValue);
}

// "writelog" is a whole number (a half goes to the even neighbour): 0 means no log. A value
// that is no number at all ("off", "no") is taken as the user's wish for no log as well.
bool LoggingWanted(const std::wstring& value) {
  const Result<int32_t> flag = TextToInt32(value);
  return flag.Ok() && flag.Value() != 0;
}

std::wstring ProgramFile(std::wstring_view programFolder, std::wstring_view name) {
  return EnsureTrailingBackslash(std::wstring(programFolder)) + std::wstring(name);
}

// The log, journal, caption and clock of a batch; "writelog" is read at every batch.
BatchSetup RecordsOf(const BatchSources& sources, const std::wstring& recordsFolder) {
  BatchSetup setup;
  if (LoggingWanted(Read(sources.ReadSetting, setting::WriteLog))) {
    setup.LogPath = ProgramFile(recordsFolder, kLogName);
  }
  setup.JournalPath = ProgramFile(recordsFolder, kJournalName);
  setup.Caption = sources.Caption;
  setup.Now = sources.Now ? sources.Now : Clock(SystemLocalTime);
  return setup;
}

// Last write time of a file; 0 when it cannot be read.
std::uint64_t LastWritten(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(ExtendedPath(path).c_str(), GetFileExInfoStandard, &data)) return 0;
  return (std::uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) |
         data.ftLastWriteTime.dwLowDateTime;
}

}  // namespace

std::wstring UndoJournalPath(const DataFolders& folders) {
  const std::wstring own = ProgramFile(folders.Program, kJournalName);
  if (folders.Fallback.empty()) return own;
  const std::wstring aside = ProgramFile(folders.Fallback, kJournalName);
  if (!JournalHasUndo(aside)) return own;
  if (!JournalHasUndo(own)) return aside;
  return LastWritten(aside) > LastWritten(own) ? aside : own;
}

PlanSetup AssemblePlan(const BatchSources& sources, std::shared_ptr<const WorkList> list,
                       std::wstring_view templateText) {
  PlanSetup setup;
  setup.List = std::move(list);
  setup.Template = CompiledTemplate(templateText, sources.Keys);
  setup.Context.ReadSetting = sources.ReadSetting;
  setup.Context.Now = sources.Now ? sources.Now : Clock(SystemLocalTime);
  setup.Context.Locale = sources.Locale;
  setup.Context.Tools.Map = SystemTextMapper();
  setup.Context.Tools.Names = &SystemNameCase();
  setup.Dates = sources.Dates;
  // The clock to the second: a run's temporary names differ from an earlier run's.
  setup.RunTag = FormatDateTime(L"yyyymmddhhnnss", setup.Context.Now(), LocaleInfo{});
  return setup;
}

RenameRunSetup AssembleRun(const BatchSources& sources, std::shared_ptr<const WorkList> list,
                           std::wstring templateText) {
  RenameRunSetup setup;
  setup.Batch = RecordsOf(sources, sources.Folders.Records());
  setup.Plan = AssemblePlan(sources, std::move(list), templateText);
  setup.TemplateText = std::move(templateText);
  return setup;
}

BatchSetup AssembleUndo(const BatchSources& sources) {
  BatchSetup setup = RecordsOf(sources, sources.Folders.Records());
  setup.JournalPath = UndoJournalPath(sources.Folders);
  return setup;
}

SettingReader ReaderOf(const SettingsStore& settings) {
  return [&settings](std::wstring_view section, std::wstring_view key,
                     std::wstring_view defaultValue) {
    return settings.Read(section, key, defaultValue);
  };
}

ListOrder SavedOrder(const SettingReader& readSetting) {
  ListOrder order;
  order.Key = SortKeyOfWord(Read(readSetting, setting::Sort)).value_or(SortKey::Name);
  order.Descending = Read(readSetting, setting::SortDescending) == L"1";
  return order;
}

// "openlog" is a real number: 0 means the log is not shown; so does a value that is no
// number at all.
bool LogOpeningWanted(const SettingReader& readSetting) {
  const Result<double> flag = TextToDouble(Read(readSetting, setting::OpenLog));
  return flag.Ok() && flag.Value() != 0;
}

}  // namespace tarnivo

// "Undo.LOG": the journal a run writes ahead of its renames and an undo reads back. UTF-8
// with a byte-order mark and CR LF line ends, one record a line, its fields separated by
// TAB, so that a person can read it and repair it by hand:
//
//   标题<TAB>caption            文件夹<TAB>working folder, ending in "\"
//   时间<TAB>yyyy-mm-dd hh:mm:ss 模板<TAB>one line of the template (one record each)
//   number<TAB>old name<TAB>new name<TAB>outcome
//       one step of the run, numbered in the order the steps are made (a file that goes
//       through a temporary name takes two); written up to the outcome before the rename,
//       the outcome ("成功", or "失败 " + the error number) after it; an empty outcome: the
//       program ended in between
//   恢复<TAB>number<TAB>outcome  an undo's rename of that entry back to its old name,
//       written as an entry is (an empty outcome: the program ended in between)
//   撤销完成<TAB>time           an undo ran to its end
//
// In every field a character that would break a line or a field (U+0000 to U+001F), a lone
// surrogate and "<" itself are written as "<U+XXXX>"; everything else is UTF-8 as it is.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/date_time.h"

namespace tarnivo {

inline constexpr std::wstring_view kJournalName = L"Undo.LOG";

struct JournalHeader {
  std::wstring Caption;
  std::wstring Folder;  // the run's working folder, ending in "\"
  DateTime Time;
  std::wstring TemplateText;  // as typed; recorded one line (cut at CR LF) a record
};

// The journal's first bytes: the byte-order mark, the header records and a line that
// explains the entries.
std::string JournalHeaderText(const JournalHeader& header);

// A step ahead of its rename: up to and including the TAB before its outcome. `number` is
// the step's 1-based place in the run.
std::string JournalEntryText(std::int32_t number, std::wstring_view oldName,
                             std::wstring_view newName);
// What ends an entry's line: the outcome of its rename.
std::string JournalOutcomeText(bool renamed, std::int32_t errorNumber);
// An undo's records: ahead of giving entry `number` its old name back, up to the TAB
// before the outcome (which JournalOutcomeText ends); and the undo's end.
std::string JournalRestoreText(std::int32_t number);
std::string JournalUndoneText(const DateTime& time);

enum class RenameOutcome : std::uint8_t { Unknown, Renamed, Failed };

struct JournalEntry {
  std::int32_t Number = 0;
  std::wstring OldName;
  std::wstring NewName;
  // Unknown too when an undo may have given the file its old name back already (the
  // program ended between that rename and its outcome).
  RenameOutcome Outcome = RenameOutcome::Unknown;
  bool Restored = false;  // an undo gave the file its old name back
};

struct Journal {
  std::wstring Caption;
  std::wstring Folder;  // ends in "\"; empty when the journal names none
  std::wstring TemplateText;
  std::vector<JournalEntry> Entries;  // in the journal's order
  bool Undone = false;                // an undo ran to its end
};

// Reads a journal's bytes; never fails. A record it cannot understand is left out: text
// that is not UTF-8, an entry without all four fields (a line cut short), a name that is
// empty, "." or ".." or holds "\" or "/", an outcome other than the three. Lines of other
// kinds are ignored; the first folder record counts.
Journal ParseJournal(std::string_view bytes);

// What an undo takes up, last entry first: the renamed entries and those of unknown
// outcome that are not restored yet. None when the journal names no folder or records an
// undo's end.
std::vector<JournalEntry> EntriesToUndo(const Journal& journal);

}  // namespace tarnivo

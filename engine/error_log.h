// The texts of a rename run: the lines of "Err.LOG" and the status line's progress and
// summary. All CR LF line ends are part of the returned text; the file writer adds none.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/date_time.h"
#include "engine/errors.h"
#include "engine/rename_plan.h"

namespace tarnivo {

inline constexpr std::wstring_view kSupportMail = L"support@tarnivo.example";
inline constexpr std::wstring_view kSupportWeb = L"https://tarnivo.example/support";

// The header: four TAB-led lines (caption, support mail, support web address, `now` as
// "yy-mm-dd & hh:mm:ss"), a rule of 32 "=", the template as typed, a rule, two empty lines.
std::wstring LogHeader(std::wstring_view caption, const DateTime& now,
                       std::wstring_view templateText);

// One failure: its number directly followed by the rule, the planned and the old path,
// the error number and the detail text. The paths are written as LoggedText gives them,
// the planned name as LoggedName does.
std::wstring LogEntry(std::int32_t failureNumber, std::wstring_view folder,
                      const BuiltName& plannedName, std::wstring_view oldName,
                      std::int32_t errorNumber, std::wstring_view detail);

// `text` with every control character (U+0000 to U+001F) as "?", so that a name holding a
// line break keeps its entry's five lines.
std::wstring LoggedText(std::wstring_view text);

// A planned name as the log writes it: LoggedText of it, and for a name longer than
// kKeptNameLength characters its first kKeptNameLength followed by "…(共 " + its length +
// " 个字符)", so that a log stays readable and small.
std::wstring LoggedName(const BuiltName& name);

// The table's text for `kind`, followed by " (" + `reason` + ")" when there is a reason
// (the system's message for a refused rename, the program's own for a refused name).
// Line breaks and blanks at the ends of `reason` are dropped; a line break inside it
// becomes one blank, so the entry keeps its five lines.
std::wstring ErrorDetail(ErrorKind kind, std::wstring_view reason);

// "正在转换:  " + folder + old name.
std::wstring ProgressText(std::wstring_view folder, std::wstring_view oldName);

// "转换完成  用时" + seconds as "0.0000" + "秒, 共转换 :" + renamed + "个文件, 未转换 :" +
// notRenamed + "个文件".
std::wstring SummaryText(double seconds, std::int32_t renamed, std::int32_t notRenamed);

// The same lines of an undo: "正在恢复:  " + folder + the file's current name, and
// "撤销完成  用时" + seconds + "秒, 共恢复 :" + restored + "个文件, 未恢复 :" + failed + "个文件".
std::wstring UndoProgressText(std::wstring_view folder, std::wstring_view currentName);
std::wstring UndoSummaryText(double seconds, std::int32_t restored, std::int32_t failed);

}  // namespace tarnivo

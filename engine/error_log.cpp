#include "engine/error_log.h"

#include <algorithm>

#include "engine/date_format.h"
#include "engine/locale_info.h"
#include "engine/number_format.h"
#include "engine/text.h"

namespace tarnivo {
namespace {

constexpr std::wstring_view kLineEnd = L"\r\n";
const std::wstring kRule(32, L'=');
constexpr std::wstring_view kHeaderDatePicture = L"yy-mm-dd & hh:mm:ss";

}  // namespace

std::wstring LogHeader(std::wstring_view caption, const DateTime& now,
                       std::wstring_view templateText) {
  const DateTime t = Normalized(now);
  std::wstring header;
  header.append(L"\t").append(caption).append(kLineEnd);
  header.append(L"\t把错误代号发送到 ")
      .append(kSupportMail)
      .append(L" 寻求免费帮助")
      .append(kLineEnd);
  header.append(L"\t或者 留言到 ").append(kSupportWeb).append(kLineEnd);
  // The default locale's separators keep the line the same on every machine.
  header.append(L"\t").append(FormatDateTime(kHeaderDatePicture, t, LocaleInfo{})).append(kLineEnd);
  header.append(kRule).append(kLineEnd);
  header.append(templateText).append(kLineEnd);
  header.append(kRule).append(kLineEnd);
  header.append(kLineEnd).append(kLineEnd);
  return header;
}

std::wstring LoggedText(std::wstring_view text) {
  std::wstring logged(text);
  std::replace_if(
      logged.begin(), logged.end(), [](wchar_t c) { return c < 0x20; }, L'?');
  return logged;
}

std::wstring LoggedName(const BuiltName& name) {
  std::wstring logged = LoggedText(name.Text);
  if (name.IsWhole()) return logged;
  return logged.append(L"…(共 ").append(std::to_wstring(name.Length)).append(L" 个字符)");
}

std::wstring LogEntry(std::int32_t failureNumber, std::wstring_view folder,
                      const BuiltName& plannedName, std::wstring_view oldName,
                      std::int32_t errorNumber, std::wstring_view detail) {
  const std::wstring loggedFolder = LoggedText(folder);
  std::wstring entry = std::to_wstring(failureNumber);
  entry.append(kRule).append(kLineEnd);
  entry.append(L"拟转换文件名: ")
      .append(loggedFolder)
      .append(LoggedName(plannedName))
      .append(kLineEnd);
  entry.append(L"原文件名: ").append(loggedFolder).append(LoggedText(oldName)).append(kLineEnd);
  entry.append(L"错误代号: ").append(std::to_wstring(errorNumber)).append(kLineEnd);
  entry.append(L"详细内容: ").append(detail).append(kLineEnd);
  return entry;
}

std::wstring ErrorDetail(ErrorKind kind, std::wstring_view reason) {
  std::wstring detail(DescribeError(kind).Text);
  const std::wstring_view trimmed = Trim(reason);
  if (trimmed.empty()) return detail;
  detail.append(L" (");
  // A message of several lines stays on the entry's one line.
  bool inBreak = false;
  for (const wchar_t c : trimmed) {
    const bool lineBreak = c == L'\r' || c == L'\n';
    if (lineBreak && !inBreak) detail.push_back(L' ');
    if (!lineBreak) detail.push_back(c);
    inBreak = lineBreak;
  }
  return detail.append(L")");
}

namespace {

// `what`: "转换" for a run, "恢复" for an undo.
std::wstring Summary(std::wstring_view end, std::wstring_view what, double seconds,
                     std::int32_t done, std::int32_t notDone) {
  std::wstring text(end);
  text.append(L"  用时").append(FormatFixed(seconds, 4)).append(L"秒, 共").append(what);
  text.append(L" :").append(std::to_wstring(done)).append(L"个文件, 未").append(what);
  return text.append(L" :").append(std::to_wstring(notDone)).append(L"个文件");
}

}  // namespace

std::wstring ProgressText(std::wstring_view folder, std::wstring_view oldName) {
  std::wstring text(L"正在转换:  ");
  return text.append(folder).append(oldName);
}

std::wstring SummaryText(double seconds, std::int32_t renamed, std::int32_t notRenamed) {
  return Summary(L"转换完成", L"转换", seconds, renamed, notRenamed);
}

std::wstring UndoProgressText(std::wstring_view folder, std::wstring_view currentName) {
  std::wstring text(L"正在恢复:  ");
  return text.append(folder).append(currentName);
}

std::wstring UndoSummaryText(double seconds, std::int32_t restored, std::int32_t failed) {
  return Summary(L"撤销完成", L"恢复", seconds, restored, failed);
}

}  // namespace tarnivo

#include "engine/run_log.h"

#include <windows.h>

#include <iterator>
#include <new>

#include "engine/error_log.h"

namespace tarnivo {
std::wstring SystemErrorText(std::uint32_t win32Error) {
  wchar_t buffer[512];
  const DWORD length =
      FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                     win32Error, 0, buffer, static_cast<DWORD>(std::size(buffer)), nullptr);
  if (length == 0) return L"系统错误 " + std::to_wstring(win32Error);
  return std::wstring(buffer, length);
}

bool RunLog::Open(const std::wstring& path, std::wstring_view caption, const DateTime& now,
                  std::wstring_view templateText) {
  if (!file_.Create(path)) return false;
  if (file_.Write(LogHeader(caption, now, templateText))) return true;
  file_.Close();
  return false;
}

void RunLog::Fail(std::wstring_view folder, const BuiltName& planned, std::wstring_view current,
                  ErrorKind kind, std::wstring_view reason) noexcept {
  ++failures_;
  if (!file_.IsOpen() && !observer_) return;
  try {
    const std::int32_t number = DescribeError(kind).Number;
    const std::wstring detail = ErrorDetail(kind, reason);
    if (file_.IsOpen()) file_.Write(LogEntry(failures_, folder, planned, current, number, detail));
    if (observer_) observer_(FailureReport{current, LoggedName(planned), number, detail});
  } catch (const std::bad_alloc&) {
  }
}

std::int32_t RunLog::FailRename(std::wstring_view folder, const BuiltName& planned,
                                std::wstring_view current, std::uint32_t win32Error) noexcept {
  const ErrorKind kind = KindOfSystemError(win32Error);
  try {
    Fail(folder, planned, current, kind, SystemErrorText(win32Error));
  } catch (const std::bad_alloc&) {
    Fail(folder, planned, current, kind, {});
  }
  return DescribeError(kind).Number;
}

}  // namespace tarnivo

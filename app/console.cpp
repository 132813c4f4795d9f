#include "app/console.h"

#include <windows.h>

#include <algorithm>
#include <string>

#include "win/code_page.h"

namespace tarnivo {
namespace {

bool Usable(HANDLE handle) {
  return handle != nullptr && handle != INVALID_HANDLE_VALUE &&
         GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

bool IsConsoleHandle(HANDLE handle) {
  DWORD mode = 0;
  return GetConsoleMode(handle, &mode) != 0;
}

}  // namespace

Console::Console() {
  // A program of the window subsystem gets standard handles only where its starter
  // redirected them; otherwise it borrows the starter's console, when there is one.
  const bool outUsable = Usable(GetStdHandle(STD_OUTPUT_HANDLE));
  const bool errUsable = Usable(GetStdHandle(STD_ERROR_HANDLE));
  if ((!outUsable || !errUsable) && AttachConsole(ATTACH_PARENT_PROCESS)) {
    parentConsole_.Reset(CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                     nullptr));
  }
  Bind(out_, STD_OUTPUT_HANDLE, parentConsole_.Get());
  Bind(err_, STD_ERROR_HANDLE, parentConsole_.Get());
}

void Console::Bind(Stream& stream, DWORD which, HANDLE parentConsole) {
  const HANDLE given = GetStdHandle(which);
  stream.Handle = Usable(given) ? given : parentConsole;
  if (!Usable(stream.Handle)) {
    stream.Handle = nullptr;
    return;
  }
  stream.IsConsole = IsConsoleHandle(stream.Handle);
}

void Console::Write(const Stream& stream, std::wstring_view text) {
  if (!stream.Handle) return;
  const std::wstring line = std::wstring(text) + L"\r\n";
  if (stream.IsConsole) {
    // A console takes UTF-16 whatever its code page; long text goes in pieces it accepts.
    constexpr std::size_t kPiece = 8192;
    for (std::size_t at = 0; at < line.size(); at += kPiece) {
      const auto count = static_cast<DWORD>(std::min(kPiece, line.size() - at));
      DWORD written = 0;
      // A console closed meanwhile takes nothing more; the program goes on regardless.
      if (!WriteConsoleW(stream.Handle, line.data() + at, count, &written, nullptr)) return;
    }
    return;
  }
  const std::string bytes = ToUtf8(line);
  std::size_t at = 0;
  while (at < bytes.size()) {
    DWORD written = 0;
    const auto count = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - at, 1 << 20));
    // A closed pipe or a full disk: the reader is gone, the program's work goes on.
    if (!WriteFile(stream.Handle, bytes.data() + at, count, &written, nullptr) || written == 0) {
      return;
    }
    at += written;
  }
}

}  // namespace tarnivo

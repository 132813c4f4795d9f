#include "dialogs/short_path.h"

#include <windows.h>

#include "win/code_page.h"
#include "win/paths.h"

namespace tarnivo {

std::wstring GetShortFileName(const std::wstring& path) {
  constexpr DWORD kOffered = 164;  // 163 units and the NUL
  std::string buffer(kOffered + 1, '\0');
  // A name outside the ANSI code page would reach the call as "?" and fail; its 8.3 form
  // (when the volume has one) names the same folder in ANSI characters.
  const std::string ansiPath = ToAnsi(AnsiSafeFolder(path));
  const DWORD length = GetShortPathNameA(ansiPath.c_str(), buffer.data(), kOffered);
  // 0: failed. kOffered or more: the size the short form needs; nothing was written.
  if (length == 0 || length >= kOffered) return {};
  buffer.resize(length);
  return FromAnsi(buffer);
}

}  // namespace tarnivo

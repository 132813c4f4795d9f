#pragma once
// The short (8.3) form the folder chooser shows under its folder list.
#include <string>

namespace tarnivo {

// `GetShortFileName`: the short form of `path` as GetShortPathNameA gives it into a
// buffer that offers room for 163 ANSI units and the closing NUL. Empty when the call
// fails and when the short form has 164 units or more (the call then writes nothing).
std::wstring GetShortFileName(const std::wstring& path);

}  // namespace tarnivo

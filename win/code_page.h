#pragma once
// Conversions between the program's UTF-16 strings and the system's ANSI code page.
// They happen only at the edges where the platform insists on ANSI (INI files, short paths).
#include <optional>
#include <string>
#include <string_view>

namespace tarnivo {

// ANSI bytes of `text`. A character the code page cannot hold becomes "?" (never a
// best-fit look-alike, which could name a different file).
std::string ToAnsi(std::wstring_view text);

// UTF-16 text of ANSI bytes.
std::wstring FromAnsi(std::string_view bytes);

// True when every character of `text` survives a round trip through the ANSI code page.
bool FitsAnsi(std::wstring_view text);

// UTF-8 bytes of `text` (a lone surrogate becomes U+FFFD).
std::string ToUtf8(std::wstring_view text);
// The text of UTF-8 bytes; nothing when they are not UTF-8.
std::optional<std::wstring> FromUtf8(std::string_view bytes);

}  // namespace tarnivo

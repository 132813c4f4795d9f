// Small text helpers shared by the engine and the window code.
#pragma once

#include <string_view>

namespace tarnivo {

// Blanks, tabs, CR and LF: what numbers and messages may carry around them.
inline constexpr std::wstring_view kBlanks = L" \t\r\n";

// `text` without any of `characters` at either end.
constexpr std::wstring_view Trim(std::wstring_view text,
                                 std::wstring_view characters = kBlanks) noexcept {
  const std::size_t first = text.find_first_not_of(characters);
  if (first == std::wstring_view::npos) return {};
  return text.substr(first, text.find_last_not_of(characters) - first + 1);
}

// Only A-Z are folded: Chinese and every other character stay as they are.
constexpr wchar_t LowerAscii(wchar_t c) noexcept {
  return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c + (L'a' - L'A')) : c;
}

}  // namespace tarnivo

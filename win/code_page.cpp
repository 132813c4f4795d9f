#include "win/code_page.h"

#include <windows.h>

namespace tarnivo {

namespace {

// Converts with or without the "default character used" report; the flag is only
// meaningful for code pages that support it, which the ANSI code pages do.
std::string Narrow(std::wstring_view text, BOOL* usedDefault) {
  if (text.empty()) return {};
  const int length = static_cast<int>(text.size());
  const int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), length, nullptr,
                                       0, "?", usedDefault);
  if (size <= 0) return {};
  std::string bytes(static_cast<size_t>(size), '\0');
  const int written = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), length,
                                          bytes.data(), size, "?", usedDefault);
  bytes.resize(written > 0 ? static_cast<size_t>(written) : 0);
  return bytes;
}

}  // namespace

std::string ToAnsi(std::wstring_view text) { return Narrow(text, nullptr); }

std::wstring FromAnsi(std::string_view bytes) {
  if (bytes.empty()) return {};
  const int length = static_cast<int>(bytes.size());
  const int size = MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, nullptr, 0);
  if (size <= 0) return {};
  std::wstring text(static_cast<size_t>(size), L'\0');
  const int written = MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, text.data(), size);
  text.resize(written > 0 ? static_cast<size_t>(written) : 0);
  return text;
}

bool FitsAnsi(std::wstring_view text) {
  BOOL usedDefault = FALSE;
  const std::string bytes = Narrow(text, &usedDefault);
  return !usedDefault && FromAnsi(bytes) == text;
}

std::string ToUtf8(std::wstring_view text) {
  if (text.empty()) return {};
  const int length = static_cast<int>(text.size());
  const int size =
      WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return {};
  std::string bytes(static_cast<size_t>(size), '\0');
  const int written =
      WideCharToMultiByte(CP_UTF8, 0, text.data(), length, bytes.data(), size, nullptr, nullptr);
  bytes.resize(written > 0 ? static_cast<size_t>(written) : 0);
  return bytes;
}

std::optional<std::wstring> FromUtf8(std::string_view bytes) {
  if (bytes.empty()) return std::wstring();
  const int length = static_cast<int>(bytes.size());
  const int size =
      MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), length, nullptr, 0);
  if (size <= 0) return std::nullopt;
  std::wstring text(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), length, text.data(), size);
  return text;
}

}  // namespace tarnivo

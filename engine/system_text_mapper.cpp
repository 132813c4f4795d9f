#include "engine/system_text_mapper.h"

#include <windows.h>

#include <string>

namespace tarnivo {
namespace {

const LCID kChinese = MAKELCID(MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED), SORT_DEFAULT);

std::optional<std::wstring> Map(LCID locale, DWORD flags, std::wstring_view text) {
  if (text.empty()) return std::wstring();
  const int length = static_cast<int>(text.size());
  const int needed = LCMapStringW(locale, flags, text.data(), length, nullptr, 0);
  if (needed <= 0) return std::nullopt;
  std::wstring mapped(static_cast<std::size_t>(needed), L'\0');
  if (LCMapStringW(locale, flags, text.data(), length, mapped.data(), needed) != needed) {
    return std::nullopt;
  }
  return mapped;
}

}  // namespace

bool SystemConvertsChineseScript() {
  // "體" is traditional only: a system with the tables makes it "体".
  static const bool converts = Map(kChinese, LCMAP_SIMPLIFIED_CHINESE, L"體") == L"体";
  return converts;
}

TextMapper SystemTextMapper() {
  return [](TextMapping mapping, std::wstring_view text) -> std::optional<std::wstring> {
    switch (mapping) {
      case TextMapping::Upper:
        return Map(LOCALE_INVARIANT, LCMAP_UPPERCASE | LCMAP_LINGUISTIC_CASING, text);
      case TextMapping::Lower:
        return Map(LOCALE_INVARIANT, LCMAP_LOWERCASE | LCMAP_LINGUISTIC_CASING, text);
      case TextMapping::Simplified:
        if (!SystemConvertsChineseScript()) return std::nullopt;
        return Map(kChinese, LCMAP_SIMPLIFIED_CHINESE, text);
      case TextMapping::Traditional:
        if (!SystemConvertsChineseScript()) return std::nullopt;
        return Map(kChinese, LCMAP_TRADITIONAL_CHINESE, text);
    }
    return std::nullopt;
  };
}

}  // namespace tarnivo

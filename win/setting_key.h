#pragma once
// The name of one setting of "config.ini" and its default. Pure (no Windows headers): the
// settings table and the engine's own settings (the token keywords, the date pictures)
// name their keys with it.
#include <string_view>

namespace tarnivo {

struct SettingKey {
  std::wstring_view Section;
  std::wstring_view Key;
  std::wstring_view DefaultValue;
};

}  // namespace tarnivo

#pragma once
// The program's own settings of "config.ini", each with its section and default, in one
// place. The template's settings (the token keywords and the date pictures) are named
// beside the tokens, in the engine's token table.
#include <string_view>

#include "win/setting_key.h"

namespace tarnivo {

namespace setting {
inline constexpr SettingKey Pattern{L"main", L"Pattern", L"*.jpg"};
inline constexpr SettingKey WriteLog{L"main", L"writelog", L"1"};
inline constexpr SettingKey OpenLog{L"main", L"openlog", L"1"};
// The list's order: "name", "taken", "modified" or "size"; "1" for falling.
inline constexpr SettingKey Sort{L"main", L"Sort", L"name"};
inline constexpr SettingKey SortDescending{L"main", L"SortDescending", L"0"};
}  // namespace setting

inline constexpr std::wstring_view kConfigFileName = L"config.ini";

}  // namespace tarnivo

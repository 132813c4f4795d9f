#pragma once
// Every setting of "config.ini" with its section and default, in one place. Pure (no
// Windows headers): the engine's date tokens name their pictures from here too.
#include <string_view>

namespace tarnivo {

struct SettingKey {
  std::wstring_view Section;
  std::wstring_view Key;
  std::wstring_view DefaultValue;
};

namespace setting {
inline constexpr SettingKey Pattern{L"main", L"Pattern", L"*.jpg"};
inline constexpr SettingKey WriteLog{L"main", L"writelog", L"1"};
inline constexpr SettingKey OpenLog{L"main", L"openlog", L"1"};
inline constexpr SettingKey KeywordName{L"Variant", L"name", L"name"};
inline constexpr SettingKey KeywordExt{L"Variant", L"ext", L"ext"};
inline constexpr SettingKey KeywordDate{L"Variant", L"date", L"date"};
inline constexpr SettingKey KeywordNow{L"Variant", L"now", L"now"};
inline constexpr SettingKey KeywordTaxis{L"Variant", L"Taxis", L"Taxis"};
inline constexpr SettingKey KeywordTaken{L"Variant", L"taken", L"taken"};
inline constexpr SettingKey KeywordModified{L"Variant", L"modified", L"modified"};
inline constexpr SettingKey FormatDate{L"Variant", L"Formatdate", L"yymmdd"};
inline constexpr SettingKey FormatNow{L"Variant", L"Formatnow", L"hhmmss"};
inline constexpr SettingKey FormatTaken{L"Variant", L"Formattaken", L"yyyymmdd_hhnnss"};
inline constexpr SettingKey FormatModified{L"Variant", L"Formatmodified", L"yyyymmdd_hhnnss"};
}  // namespace setting

inline constexpr std::wstring_view kConfigFileName = L"config.ini";

}  // namespace tarnivo

#pragma once
// "config.ini" in the program folder: every setting the program reads or writes, with
// its default, and the two routines that reach the file. Nothing is cached: each read
// goes to the file, so a hand edit counts at the next read.
#include <string>
#include <string_view>

namespace tarnivo {

struct SettingKey {
  std::wstring_view section;
  std::wstring_view key;
  std::wstring_view defaultValue;
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
inline constexpr SettingKey FormatDate{L"Variant", L"Formatdate", L"yymmdd"};
inline constexpr SettingKey FormatNow{L"Variant", L"Formatnow", L"hhmmss"};
}  // namespace setting

inline constexpr std::wstring_view kConfigFileName = L"config.ini";

// The settings file of one folder (the program folder in the program; a temp folder in tests).
class SettingsStore {
 public:
  explicit SettingsStore(std::wstring folder);

  // Value of `key` in `section` (at most 255 ANSI bytes), or `defaultValue` when the
  // file, the section or the key is missing. A key present with no value gives "".
  std::wstring Read(std::wstring_view section, std::wstring_view key,
                    std::wstring_view defaultValue) const;
  std::wstring Read(const SettingKey& setting) const;

  // Writes one value, creating the file and the section when missing. Not 0 on success.
  int Write(std::wstring_view section, std::wstring_view key, std::wstring_view value) const;

  // The path handed to the ANSI profile functions.
  std::wstring FilePath() const;

 private:
  std::wstring folder_;
};

// The program's own store, in the folder of the running executable.
std::wstring ReadSetting(std::wstring_view section, std::wstring_view key,
                         std::wstring_view defaultValue);
int WriteSetting(std::wstring_view section, std::wstring_view key, std::wstring_view value);

}  // namespace tarnivo

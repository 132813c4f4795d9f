#pragma once
// "config.ini" in the program folder, and the two routines that reach the file (the
// settings themselves are listed in setting_keys.h). Nothing is cached: each read
// goes to the file, so a hand edit counts at the next read.
#include <string>
#include <string_view>

#include "settings/setting_keys.h"

namespace tarnivo {

// The settings file of one folder (the program folder in the program; a temp folder in tests),
// and the file of `fallbackFolder` for what cannot be written there (a read-only program
// folder): a value written where it could be written is read from there first.
class SettingsStore {
 public:
  explicit SettingsStore(std::wstring folder, std::wstring fallbackFolder = {});

  // Value of `key` in `section` (at most 255 ANSI bytes), or `defaultValue` when the
  // file, the section or the key is missing. A key present with no value gives "".
  std::wstring Read(std::wstring_view section, std::wstring_view key,
                    std::wstring_view defaultValue) const;
  std::wstring Read(const SettingKey& setting) const;
  int Write(const SettingKey& setting, std::wstring_view value) const;

  // Writes one value, creating the file and the section when missing; into the fallback
  // folder's file (the folder made when needed) when the own one cannot be written. Not 0
  // on success.
  int Write(std::wstring_view section, std::wstring_view key, std::wstring_view value) const;

  // The path handed to the ANSI profile functions.
  std::wstring FilePath() const;

 private:
  std::wstring folder_;
  std::wstring fallbackFolder_;
};

// The program's own store, in the folder of the running executable.
std::wstring ReadSetting(std::wstring_view section, std::wstring_view key,
                         std::wstring_view defaultValue);
int WriteSetting(std::wstring_view section, std::wstring_view key, std::wstring_view value);

}  // namespace tarnivo

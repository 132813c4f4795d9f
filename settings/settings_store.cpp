#include "settings/settings_store.h"

#include <windows.h>

#include <array>
#include <string>

#include "win/code_page.h"
#include "win/paths.h"

namespace tarnivo {

namespace {

constexpr DWORD kValueBufferSize = 256;  // 255 bytes of value and the terminating NUL

// A value cut at the buffer's end can end in half of a double-byte character: drop it
// rather than let it turn into a stray character.
std::string_view DropDanglingLeadByte(std::string_view bytes) {
  size_t i = 0;
  while (i < bytes.size()) {
    const auto byte = static_cast<BYTE>(bytes[i]);
    if (IsDBCSLeadByteEx(CP_ACP, byte)) {
      if (i + 1 >= bytes.size()) return bytes.substr(0, i);
      i += 2;
    } else {
      ++i;
    }
  }
  return bytes;
}

std::wstring WithoutNuls(std::wstring text) {
  std::erase(text, L'\0');
  return text;
}

}  // namespace

SettingsStore::SettingsStore(std::wstring folder) : folder_(std::move(folder)) {}

std::wstring SettingsStore::FilePath() const {
  const std::wstring path =
      EnsureTrailingBackslash(AnsiSafeFolder(folder_)) + std::wstring(kConfigFileName);
  // The ANSI profile calls take the extended form only where the system allows long
  // paths; an ordinary path keeps working everywhere.
  return path.size() < MAX_PATH ? path : ExtendedPath(path);
}

std::wstring SettingsStore::Read(std::wstring_view section, std::wstring_view key,
                                 std::wstring_view defaultValue) const {
  std::array<char, kValueBufferSize> buffer{};
  const std::string path = ToAnsi(FilePath());
  const DWORD copied = GetPrivateProfileStringA(ToAnsi(section).c_str(), ToAnsi(key).c_str(),
                                                ToAnsi(defaultValue).c_str(), buffer.data(),
                                                kValueBufferSize, path.c_str());
  const std::string_view value(buffer.data(), std::min<DWORD>(copied, kValueBufferSize - 1));
  return WithoutNuls(FromAnsi(DropDanglingLeadByte(value)));
}

std::wstring SettingsStore::Read(const SettingKey& setting) const {
  return Read(setting.Section, setting.Key, setting.DefaultValue);
}

int SettingsStore::Write(const SettingKey& setting, std::wstring_view value) const {
  return Write(setting.Section, setting.Key, value);
}

int SettingsStore::Write(std::wstring_view section, std::wstring_view key,
                         std::wstring_view value) const {
  const std::string path = ToAnsi(FilePath());
  return WritePrivateProfileStringA(ToAnsi(section).c_str(), ToAnsi(key).c_str(),
                                    ToAnsi(value).c_str(), path.c_str());
}

std::wstring ReadSetting(std::wstring_view section, std::wstring_view key,
                         std::wstring_view defaultValue) {
  return SettingsStore(ProgramFolder()).Read(section, key, defaultValue);
}

int WriteSetting(std::wstring_view section, std::wstring_view key, std::wstring_view value) {
  return SettingsStore(ProgramFolder()).Write(section, key, value);
}

}  // namespace tarnivo

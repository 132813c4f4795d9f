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

std::wstring ConfigPath(const std::wstring& folder) {
  const std::wstring path =
      EnsureTrailingBackslash(AnsiSafeFolder(folder)) + std::wstring(kConfigFileName);
  // The ANSI profile calls take the extended form only where the system allows long
  // paths; an ordinary path keeps working everywhere.
  return path.size() < MAX_PATH ? path : ExtendedPath(path);
}

std::string ReadValue(const std::wstring& path, std::wstring_view section, std::wstring_view key,
                      const std::string& defaultValue) {
  std::array<char, kValueBufferSize> buffer{};
  const DWORD copied =
      GetPrivateProfileStringA(ToAnsi(section).c_str(), ToAnsi(key).c_str(), defaultValue.c_str(),
                               buffer.data(), kValueBufferSize, ToAnsi(path).c_str());
  return std::string(DropDanglingLeadByte(
      std::string_view(buffer.data(), std::min<DWORD>(copied, kValueBufferSize - 1))));
}

// Stands for a key the fallback file lacks: no value read from a file holds a control
// character at its start.
const std::string kMissing = "\x01";

}  // namespace

SettingsStore::SettingsStore(std::wstring folder, std::wstring fallbackFolder)
    : folder_(std::move(folder)), fallbackFolder_(std::move(fallbackFolder)) {}

std::wstring SettingsStore::FilePath() const { return ConfigPath(folder_); }

std::wstring SettingsStore::Read(std::wstring_view section, std::wstring_view key,
                                 std::wstring_view defaultValue) const {
  if (!fallbackFolder_.empty()) {
    const std::wstring fallback = ConfigPath(fallbackFolder_);
    if (GetFileAttributesW(fallback.c_str()) != INVALID_FILE_ATTRIBUTES) {
      const std::string value = ReadValue(fallback, section, key, kMissing);
      if (value != kMissing) return WithoutNuls(FromAnsi(value));
    }
  }
  return WithoutNuls(FromAnsi(ReadValue(FilePath(), section, key, ToAnsi(defaultValue))));
}

std::wstring SettingsStore::Read(const SettingKey& setting) const {
  return Read(setting.Section, setting.Key, setting.DefaultValue);
}

int SettingsStore::Write(const SettingKey& setting, std::wstring_view value) const {
  return Write(setting.Section, setting.Key, value);
}

int SettingsStore::Write(std::wstring_view section, std::wstring_view key,
                         std::wstring_view value) const {
  const std::string ansiSection = ToAnsi(section), ansiKey = ToAnsi(key), ansiValue = ToAnsi(value);
  const auto write = [&](const std::wstring& path, const char* text) {
    return WritePrivateProfileStringA(ansiSection.c_str(), ansiKey.c_str(), text,
                                      ToAnsi(path).c_str());
  };
  const int written = write(FilePath(), ansiValue.c_str());
  if (fallbackFolder_.empty()) return written;
  const std::wstring fallback = ConfigPath(fallbackFolder_);
  if (written) {
    // The value now lives beside the program again: an older one kept aside must not hide it.
    if (GetFileAttributesW(fallback.c_str()) != INVALID_FILE_ATTRIBUTES) write(fallback, nullptr);
    return written;
  }
  // A failure to make the folder shows in the write itself.
  CreateDirectoryW(ExtendedPath(fallbackFolder_).c_str(), nullptr);
  return write(fallback, ansiValue.c_str());
}

std::wstring ReadSetting(std::wstring_view section, std::wstring_view key,
                         std::wstring_view defaultValue) {
  return SettingsStore(ProgramFolder()).Read(section, key, defaultValue);
}

int WriteSetting(std::wstring_view section, std::wstring_view key, std::wstring_view value) {
  return SettingsStore(ProgramFolder()).Write(section, key, value);
}

}  // namespace tarnivo

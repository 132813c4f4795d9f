#include "app/explorer_menu.h"

#include <windows.h>

#include <cstdint>
#include <optional>

#include "engine/run_log.h"
#include "win/handles.h"

namespace tarnivo {

namespace {

struct Entry {
  const wchar_t* Key;          // under the classes key
  const wchar_t* Placeholder;  // what Explorer replaces with the folder
};

// %1 is the folder pressed on; %V the folder whose background was pressed on (%1 is empty
// there).
constexpr Entry kEntries[] = {
    {L"Directory\\shell\\Tarnivo", L"%1"},
    {L"Directory\\Background\\shell\\Tarnivo", L"%V"},
};

std::wstring EntryKey(const ExplorerMenu& menu, const Entry& entry) {
  return menu.ClassesKey + L"\\" + entry.Key;
}

std::wstring CommandOf(const std::wstring& program, const Entry& entry) {
  return L"\"" + program + L"\" \"" + entry.Placeholder + L"\"";
}

bool Fail(LSTATUS status, std::wstring* why) {
  if (why) *why = SystemErrorText(static_cast<std::uint32_t>(status));
  return false;
}

LSTATUS SetString(HKEY key, const wchar_t* name, const std::wstring& value) {
  const auto bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
  return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), bytes);
}

// A string value of a key under HKEY_CURRENT_USER; nothing when the key or the value is
// missing or the value is not a REG_SZ.
std::optional<std::wstring> ReadString(const std::wstring& key, const wchar_t* name) {
  DWORD bytes = 0;
  if (RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_REG_SZ, nullptr, nullptr, &bytes) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  std::wstring value(bytes / sizeof(wchar_t) + 1, L'\0');
  bytes = static_cast<DWORD>(value.size() * sizeof(wchar_t));
  if (RegGetValueW(HKEY_CURRENT_USER, key.c_str(), name, RRF_RT_REG_SZ, nullptr, value.data(),
                   &bytes) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  value.resize(value.find(L'\0'));  // RegGetValueW terminates it
  return value;
}

// True when `command` is this entry's command for `program`; only the program's path may
// differ in case, as the file system does not mind it.
bool StartsProgram(const std::wstring& command, const std::wstring& program, const Entry& entry) {
  const std::wstring expected = CommandOf(program, entry);
  if (command.size() != expected.size()) return false;
  const std::size_t programEnd = 1 + program.size();
  return command.front() == L'"' &&
         CompareStringOrdinal(command.data() + 1, static_cast<int>(program.size()), program.data(),
                              static_cast<int>(program.size()), TRUE) == CSTR_EQUAL &&
         command.compare(programEnd, std::wstring::npos, expected, programEnd) == 0;
}

LSTATUS CreateKey(HKEY parent, const std::wstring& path, UniqueRegKey& key) {
  HKEY created = nullptr;
  const LSTATUS status =
      RegCreateKeyExW(parent, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_SET_VALUE | KEY_CREATE_SUB_KEY, nullptr, &created, nullptr);
  if (status == ERROR_SUCCESS) key.Reset(created);
  return status;
}

// Our key and everything under it gone; already gone counts as done.
LSTATUS DeleteEntry(const std::wstring& path) {
  const LSTATUS status = RegDeleteTreeW(HKEY_CURRENT_USER, path.c_str());
  return status == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : status;
}

LSTATUS WriteEntry(const ExplorerMenu& menu, const Entry& entry) {
  const std::wstring path = EntryKey(menu, entry);
  // Starting from an empty key drops values an older entry may hold ("Extended" would hide
  // it behind Shift).
  LSTATUS status = DeleteEntry(path);
  if (status != ERROR_SUCCESS) return status;
  UniqueRegKey key;
  if ((status = CreateKey(HKEY_CURRENT_USER, path, key)) != ERROR_SUCCESS) return status;
  if ((status = SetString(key.Get(), nullptr, kExplorerMenuCaption)) != ERROR_SUCCESS) {
    return status;
  }
  if ((status = SetString(key.Get(), L"Icon", menu.Program)) != ERROR_SUCCESS) return status;
  UniqueRegKey command;
  if ((status = CreateKey(key.Get(), L"command", command)) != ERROR_SUCCESS) return status;
  return SetString(command.Get(), nullptr, CommandOf(menu.Program, entry));
}

}  // namespace

bool ExplorerMenuPresent(const ExplorerMenu& menu) {
  for (const Entry& entry : kEntries) {
    const std::wstring path = EntryKey(menu, entry);
    const std::optional<std::wstring> caption = ReadString(path, nullptr);
    const std::optional<std::wstring> command = ReadString(path + L"\\command", nullptr);
    if (caption != kExplorerMenuCaption || !command ||
        !StartsProgram(*command, menu.Program, entry)) {
      return false;
    }
  }
  return true;
}

bool AddExplorerMenu(const ExplorerMenu& menu, std::wstring* why) {
  if (menu.Program.empty()) return Fail(ERROR_INVALID_PARAMETER, why);
  for (const Entry& entry : kEntries) {
    const LSTATUS status = WriteEntry(menu, entry);
    if (status != ERROR_SUCCESS) return Fail(status, why);
  }
  return true;
}

bool RemoveExplorerMenu(const ExplorerMenu& menu, std::wstring* why) {
  // Both are tried, so one refusal does not leave the other entry behind.
  LSTATUS first = ERROR_SUCCESS;
  for (const Entry& entry : kEntries) {
    const LSTATUS status = DeleteEntry(EntryKey(menu, entry));
    if (first == ERROR_SUCCESS) first = status;
  }
  return first == ERROR_SUCCESS || Fail(first, why);
}

}  // namespace tarnivo

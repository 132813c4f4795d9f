#pragma once
// The "用 Tarnivo 批量改名" entry of Explorer's folder menu, for the current user only: it is
// kept under HKEY_CURRENT_USER, so no administrator rights are needed. A right press on a
// folder starts the program on that folder ("%1"); one on the background of an open folder
// starts it on the open folder ("%V"). The program removes every double quote from its
// arguments, so a quoted root ("C:\") reaches it intact.
#include <string>

namespace tarnivo {

// The caption Explorer shows for the entry.
inline constexpr wchar_t kExplorerMenuCaption[] = L"用 Tarnivo 批量改名";

struct ExplorerMenu {
  // Under HKEY_CURRENT_USER; another key lets tests work in a throwaway one.
  std::wstring ClassesKey = L"Software\\Classes";
  // The program's full path, which the entries start.
  std::wstring Program;
};

// True when both entries are there with their caption and both commands start `Program`
// (its path compared without regard to case).
bool ExplorerMenuPresent(const ExplorerMenu& menu);

// Writes both entries, replacing whatever our keys held before. False with the system's
// reason in `why` (when given) when the registry refuses.
bool AddExplorerMenu(const ExplorerMenu& menu, std::wstring* why);

// Removes our two keys and everything under them, leaving the rest of Explorer's menu
// alone; entries already absent count as removed. False with the system's reason in `why`.
bool RemoveExplorerMenu(const ExplorerMenu& menu, std::wstring* why);

}  // namespace tarnivo

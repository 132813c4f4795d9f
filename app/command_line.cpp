#include "app/command_line.h"

#include <algorithm>

#include "win/paths.h"

namespace tarnivo {

std::wstring ArgumentsAfterProgramName(std::wstring_view commandLine) {
  size_t i = 0;
  if (!commandLine.empty() && commandLine[0] == L'"') {
    // A quoted program name ends at the next quote.
    const size_t close = commandLine.find(L'"', 1);
    i = close == std::wstring_view::npos ? commandLine.size() : close + 1;
  } else {
    while (i < commandLine.size() && commandLine[i] != L' ' && commandLine[i] != L'\t') ++i;
  }
  while (i < commandLine.size() && (commandLine[i] == L' ' || commandLine[i] == L'\t')) ++i;
  return std::wstring(commandLine.substr(i));
}

std::wstring FolderCandidate(std::wstring_view arguments) {
  std::wstring folder(arguments);
  std::erase(folder, L'"');
  return EnsureTrailingBackslash(std::move(folder));
}

}  // namespace tarnivo

#pragma once
// The folder named on the command line.
#include <string>
#include <string_view>

namespace tarnivo {

// Everything after the program's own name in a full command line, as one string
// (the separating blanks after the name dropped).
std::wstring ArgumentsAfterProgramName(std::wstring_view commandLine);

// The folder candidate of the arguments: every double quote removed, a "\" appended
// when missing. No argument gives "\".
std::wstring FolderCandidate(std::wstring_view arguments);

}  // namespace tarnivo

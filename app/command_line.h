#pragma once
// The command line: a folder, and after it the switches of a run without the window.
//   tarnivo.exe "D:\照片\旅行" /run /template 旅行 [/pattern "*.jpg;*.heic"] [/sort taken] [/desc]
//   tarnivo.exe "D:\照片\旅行" /preview /template-file "D:\t.txt"
//   tarnivo.exe /undo
//   tarnivo.exe /?
#include <optional>
#include <string>
#include <string_view>

#include "engine/list_order.h"

namespace tarnivo {

// Everything after the program's own name in a full command line, as one string
// (the separating blanks after the name dropped).
std::wstring ArgumentsAfterProgramName(std::wstring_view commandLine);

// The folder candidate of the arguments: every double quote removed, a "\" appended
// when missing. No argument gives "\".
std::wstring FolderCandidate(std::wstring_view arguments);

enum class CommandAction { Window, Run, Preview, Undo, Help };

struct Command {
  CommandAction Action = CommandAction::Window;
  std::wstring Folder;                  // as FolderCandidate gives it; "" when none was named
  std::wstring TemplateName;            // /template
  std::wstring TemplateFile;            // /template-file
  std::optional<std::wstring> Pattern;  // /pattern
  std::optional<ListOrder> Order;       // /sort and /desc
  std::wstring Error;                   // what is wrong with the arguments; "" when nothing
};

// Reads the arguments. Without a switch (an argument that starts with "/") they are the
// folder, as always; with switches, the arguments before the first switch are the folder.
Command ParseCommand(std::wstring_view arguments);

// The usage text /? prints.
std::wstring_view CommandUsage();

}  // namespace tarnivo

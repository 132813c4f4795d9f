#pragma once
// A run, a preview or an undo from the command line, without the window: the same batch
// core as the window's, its lines printed to the console the program was started from.
#include "app/command_line.h"
#include "app/console.h"
#include "settings/data_folders.h"

namespace tarnivo {

// The program's exit codes.
inline constexpr int kExitDone = 0;             // every listed file renamed, or nothing to do
inline constexpr int kExitSomeFailed = 1;       // some kept their names
inline constexpr int kExitBadArguments = 2;     // nothing was renamed
inline constexpr int kExitAnotherInstance = 3;  // the program already runs; nothing was done

// Carries out `command` (any action but the window). An argument that names no folder,
// template or file is found before the first rename.
int RunCommand(const Command& command, const DataFolders& folders, Console& console);

}  // namespace tarnivo

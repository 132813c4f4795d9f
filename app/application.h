#pragma once
// The program's start: one instance per executable, the main window, the message loop.
#include <windows.h>

namespace tarnivo {

// Runs the program; returns the process exit code.
int RunApplication(int showCommand);

}  // namespace tarnivo

#pragma once
// The few shell32 calls of the program. shell32 is loaded at its first use, not with the
// program: under Wine loading it costs every start some 15 ms, and most starts never need
// it. Each call behaves as the shell32 function of its name; when shell32 cannot be
// loaded, it does nothing and reports failure.
#include <windows.h>
// Needs windows.h before it.
#include <shellapi.h>

namespace tarnivo::shell {

// Marks `window` as taking dropped files (WS_EX_ACCEPTFILES), as DragAcceptFiles does;
// needs no shell32.
void DragAcceptFiles(HWND window, bool accept);
UINT DragQueryFileW(HDROP drop, UINT index, wchar_t* buffer, UINT size);
void DragFinish(HDROP drop);
// The result as ShellExecuteA gives it; 0 when shell32 cannot be loaded.
INT_PTR ShellExecuteA(HWND owner, const char* operation, const char* file, const char* parameters,
                      const char* folder, int show);

}  // namespace tarnivo::shell

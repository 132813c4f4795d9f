#pragma once
// Text on the system clipboard. Another program may hold the clipboard open: then it
// counts as empty for reading and a write does nothing, and the program keeps running.
#include <windows.h>

#include <string>

namespace tarnivo {

// The clipboard's Unicode text, or "" when it holds none or cannot be opened.
std::wstring ReadClipboardText(HWND owner);

// Replaces the whole clipboard content with `text`. False when the clipboard could not
// be opened or the memory not allocated.
bool WriteClipboardText(HWND owner, const std::wstring& text);

}  // namespace tarnivo

#pragma once
// The list boxes of the program hold no strings of their own: their owner keeps the rows
// and draws them, so a refill is one LB_SETCOUNT however long the list.
#include <windows.h>

#include <optional>

namespace tarnivo {

// Null when the system refuses the control.
HWND CreateDatalessListBox(HWND parent, int controlId, const RECT& bounds);

// Sets the font of the rows and a row height of the font's height and 2 pixels, at least
// `minimumRowHeight`. Returns the font's metrics; nullopt when they cannot be measured
// (the rows then keep their height).
std::optional<TEXTMETRICW> SetListBoxFont(HWND list, HFONT font, int minimumRowHeight = 0);

}  // namespace tarnivo

#pragma once
// Fonts made for a window's DPI.
#include <windows.h>

#include "win/handles.h"

namespace tarnivo {

// A normal-weight font of `points` typographic points at `dpi`. Empty when the system
// refuses it.
UniqueFont MakeFont(const wchar_t* face, double points, int dpi, BYTE charset);

// The system's message font (which the system gives for its own DPI) at `dpi`; Tahoma 8 pt
// when the system cannot say which it is.
UniqueFont MakeMessageFont(int dpi);

}  // namespace tarnivo

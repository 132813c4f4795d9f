#pragma once
// The text of a window or control, whole, whatever its length.
#include <windows.h>

#include <string>

namespace tarnivo {

std::wstring WindowText(HWND window);

}  // namespace tarnivo

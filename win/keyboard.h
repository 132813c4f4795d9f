#pragma once
// Keys as the windows' key handlers see them: a key code and the shift state.
#include <windows.h>

namespace tarnivo {

// Shift-state bits, added together.
inline constexpr int kShiftKey = 1;
inline constexpr int kCtrlKey = 2;
inline constexpr int kAltKey = 4;

inline constexpr WORD kKeyV = 0x56;

// The modifier keys down for the message being handled (GetKeyState).
int KeyboardShiftState();

// Ctrl+V with no other modifier: the folder paste of the main window and the chooser.
constexpr bool IsFolderPasteKey(WORD keyCode, int shift) {
  return keyCode == kKeyV && shift == kCtrlKey;
}

}  // namespace tarnivo

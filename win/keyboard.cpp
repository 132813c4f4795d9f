#include "win/keyboard.h"

namespace tarnivo {

int KeyboardShiftState() {
  int state = 0;
  if (GetKeyState(VK_SHIFT) < 0) state |= kShiftKey;
  if (GetKeyState(VK_CONTROL) < 0) state |= kCtrlKey;
  if (GetKeyState(VK_MENU) < 0) state |= kAltKey;
  return state;
}

}  // namespace tarnivo

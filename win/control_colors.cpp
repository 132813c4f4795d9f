#include "win/control_colors.h"

namespace tarnivo {

LRESULT ColorControl(HDC dc, COLORREF text, COLORREF back, HBRUSH brush) {
  SetTextColor(dc, text);
  SetBkColor(dc, back);
  return reinterpret_cast<LRESULT>(brush);
}

LRESULT EraseWithBrush(HWND window, HDC dc, HBRUSH brush) {
  RECT client;
  if (!GetClientRect(window, &client)) return 0;  // let the system erase it
  FillRect(dc, &client, brush);
  return 1;
}

}  // namespace tarnivo

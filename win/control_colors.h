#pragma once
// The colours a window gives its controls (WM_CTLCOLOR*) and its own background
// (WM_ERASEBKGND).
#include <windows.h>

namespace tarnivo {

// WM_CTLCOLORSTATIC, EDIT, LISTBOX or BTN: a control asks for its colours.
constexpr bool IsControlColorMessage(UINT message) {
  return message == WM_CTLCOLORSTATIC || message == WM_CTLCOLOREDIT ||
         message == WM_CTLCOLORLISTBOX || message == WM_CTLCOLORBTN;
}

// The answer to a WM_CTLCOLOR* message: the text and background colour set on `dc`, and
// `brush` (which the window owns) for the rest of the control.
LRESULT ColorControl(HDC dc, COLORREF text, COLORREF back, HBRUSH brush);

// Fills the client area of `window` with `brush`; the answer to WM_ERASEBKGND.
LRESULT EraseWithBrush(HWND window, HDC dc, HBRUSH brush);

}  // namespace tarnivo

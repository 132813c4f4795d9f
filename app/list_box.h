#pragma once
// The list boxes of the program hold no strings of their own: their owner keeps the rows
// and draws them, so a refill is one LB_SETCOUNT however long the list.
#include <commctrl.h>
#include <windows.h>

namespace tarnivo {

inline HWND CreateDatalessListBox(HWND parent, int controlId, const RECT& bounds) {
  return CreateWindowExW(
      WS_EX_CLIENTEDGE, WC_LISTBOXW, L"",
      WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NODATA |
          LBS_OWNERDRAWFIXED | LBS_NOINTEGRALHEIGHT,
      bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)), GetModuleHandleW(nullptr), nullptr);
}

}  // namespace tarnivo

#include "win/list_box.h"

#include <commctrl.h>

#include <algorithm>

#include "win/handles.h"

namespace tarnivo {

HWND CreateDatalessListBox(HWND parent, int controlId, const RECT& bounds) {
  return CreateWindowExW(
      WS_EX_CLIENTEDGE, WC_LISTBOXW, L"",
      WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NODATA |
          LBS_OWNERDRAWFIXED | LBS_NOINTEGRALHEIGHT,
      bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)), GetModuleHandleW(nullptr), nullptr);
}

std::optional<TEXTMETRICW> SetListBoxFont(HWND list, HFONT font, int minimumRowHeight) {
  SendMessageW(list, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  const WindowDc dc(list);
  if (!dc) return std::nullopt;
  const SelectedObject selected(dc.Get(), font);
  TEXTMETRICW metrics{};
  if (!GetTextMetricsW(dc.Get(), &metrics)) return std::nullopt;
  const int height = std::max<int>(metrics.tmHeight + 2, minimumRowHeight);
  SendMessageW(list, LB_SETITEMHEIGHT, 0, MAKELPARAM(height, 0));
  return metrics;
}

}  // namespace tarnivo

#pragma once
// Where the main window's controls sit, in twips from the client area's top-left corner
// (15 twips per pixel at 96 dpi), and the window's size.
#include <windows.h>

#include <span>
#include <string_view>

namespace tarnivo {

inline constexpr int kClientWidthTwips = 7230;
inline constexpr int kClientHeightTwips = 5235;

struct TwipsRect {
  int left, top, width, height;
};

enum class FontKind { Ui, Header, Template };

// One child control of the main window, in creation order (which is also the focus order
// of the controls that take the focus).
struct ControlSpec {
  int id;
  const wchar_t* windowClass;
  std::wstring_view text;
  DWORD style;
  DWORD exStyle;
  TwipsRect place;
  FontKind font;
};

std::span<const ControlSpec> MainWindowControls();

// Twips to pixels at `dpi` dots per inch.
inline int TwipsToPixels(int twips, int dpi) { return MulDiv(twips, dpi, 1440); }

RECT ToPixels(const TwipsRect& place, int dpi);

}  // namespace tarnivo

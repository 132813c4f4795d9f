#pragma once
// Where the main window's controls sit, in twips from the client area's top-left corner
// (15 twips per pixel at 96 dpi), how the window draws the ones it paints itself, and the
// window's size and colours.
#include <windows.h>

#include <span>
#include <string_view>

#include "win/twips.h"

namespace tarnivo {

inline constexpr int kClientWidthTwips = 7230;
inline constexpr int kClientHeightTwips = 5235;

inline constexpr COLORREF kWindowColor = RGB(224, 224, 224);  // also Frame1, check boxes, File1
inline constexpr COLORREF kEditColor = RGB(190, 203, 204);    // TextPatt, TextRull
inline constexpr COLORREF kShapeColor = RGB(192, 192, 192);   // ShapeBorder, Line1
inline constexpr COLORREF kPanelBorderColor = RGB(128, 128, 128);  // LineBorder
inline constexpr COLORREF kHeaderTextColor = RGB(0, 128, 0);
inline constexpr COLORREF kStatusTextColor = RGB(64, 64, 64);
inline constexpr COLORREF kPlainTextColor = RGB(0, 0, 0);

enum class FontKind { Ui, Header, Template };

// How a control is painted. A label is an owner-drawn static that the main window paints;
// captions, strips, lines and frames are no windows at all (each window costs the first
// paint a few milliseconds under Wine): the main window paints them on its background and
// hit-tests the presses on captions itself.
enum class Paint {
  System,   // the control paints itself
  Label,    // the header strip under it, then its text in `Color`
  Caption,  // a fixed text in `Color` on what lies under it, as large as the text
  Strip,    // its strip picture stretched over it
  Line,     // filled with `Color`
  Frame,    // a one-pixel outline in `Color` on the window colour
};

// Painted by the main window, not windows of their own.
constexpr bool IsWindowless(Paint paint) {
  return paint == Paint::Caption || paint == Paint::Strip || paint == Paint::Line ||
         paint == Paint::Frame;
}

// One control of the main window. The table lists them from the top of the z-order down,
// which is also the focus order of the controls that take the focus.
struct ControlSpec {
  int Id;
  const wchar_t* WindowClass;  // null: File1, which FileList creates, and captions
  std::wstring_view Text;
  DWORD Style;
  TwipsRect Place;  // a ShapeBorder's place is set by the resize rules
  FontKind Font = FontKind::Ui;
  Paint Painting = Paint::System;
  COLORREF Color = kPlainTextColor;  // a label's or caption's text, a line's or frame's colour
};

std::span<const ControlSpec> MainWindowControls();
// The entry of `id`; null when the table has none.
const ControlSpec* FindControl(int id);

}  // namespace tarnivo

#pragma once
// Twips (1440 to the inch; 15 to the pixel at 96 dpi), the unit the windows' layouts are
// written in, and the DPI a window is drawn at.
#include <windows.h>

namespace tarnivo {

inline constexpr int kTwipsPerInch = 1440;

struct TwipsRect {
  int Left, Top, Width, Height;
};

// Twips to pixels at `dpi` dots per inch, to the nearest pixel (a half away from zero).
int TwipsToPixels(double twips, int dpi);
double PixelsToTwips(int pixels, int dpi);

// Each edge converted on its own, so rectangles that share an edge in twips share it in
// pixels at every DPI.
RECT ToPixels(const TwipsRect& place, int dpi);

// The window's DPI: GetDpiForWindow where the system has it (Windows 10 1607 and later),
// else the screen's logical DPI.
int WindowDpi(HWND window);

}  // namespace tarnivo

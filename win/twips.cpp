#include "win/twips.h"

#include <cmath>

#include "win/handles.h"

namespace tarnivo {

int TwipsToPixels(double twips, int dpi) {
  return static_cast<int>(std::lround(twips * dpi / kTwipsPerInch));
}

double PixelsToTwips(int pixels, int dpi) {
  return static_cast<double>(pixels) * kTwipsPerInch / dpi;
}

RECT ToPixels(const TwipsRect& place, int dpi) {
  return RECT{TwipsToPixels(place.Left, dpi), TwipsToPixels(place.Top, dpi),
              TwipsToPixels(place.Left + place.Width, dpi),
              TwipsToPixels(place.Top + place.Height, dpi)};
}

int WindowDpi(HWND window) {
  using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow = [] {
    const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return user32 ? reinterpret_cast<GetDpiForWindowFunction>(
                        reinterpret_cast<void*>(GetProcAddress(user32, "GetDpiForWindow")))
                  : nullptr;
  }();
  if (getDpiForWindow) {
    const UINT dpi = getDpiForWindow(window);
    if (dpi != 0) return static_cast<int>(dpi);  // 0: not a window
  }
  const WindowDc screen(nullptr);
  return screen ? GetDeviceCaps(screen.Get(), LOGPIXELSX) : USER_DEFAULT_SCREEN_DPI;
}

}  // namespace tarnivo

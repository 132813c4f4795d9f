#include "win/fonts.h"

#include <cmath>

namespace tarnivo {

UniqueFont MakeFont(const wchar_t* face, double points, int dpi, BYTE charset) {
  LOGFONTW font{};
  font.lfHeight = -static_cast<LONG>(std::lround(points * dpi / 72.0));
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = charset;
  lstrcpynW(font.lfFaceName, face, LF_FACESIZE);
  return UniqueFont(CreateFontIndirectW(&font));
}

UniqueFont MakeMessageFont(int dpi) {
  NONCLIENTMETRICSW metrics{sizeof(metrics)};
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
    return MakeFont(L"Tahoma", 8, dpi, DEFAULT_CHARSET);
  }
  const WindowDc screen(nullptr);
  const int systemDpi = screen ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : USER_DEFAULT_SCREEN_DPI;
  metrics.lfMessageFont.lfHeight = MulDiv(metrics.lfMessageFont.lfHeight, dpi, systemDpi);
  return UniqueFont(CreateFontIndirectW(&metrics.lfMessageFont));
}

}  // namespace tarnivo

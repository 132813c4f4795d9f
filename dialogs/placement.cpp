#include "dialogs/placement.h"

#include <cmath>

namespace tarnivo {

double RoundHalfEven(double value) {
  const double down = std::floor(value);
  const double fraction = value - down;
  if (fraction < 0.5) return down;
  if (fraction > 0.5) return down + 1;
  return std::fmod(down, 2.0) == 0 ? down : down + 1;
}

TwipsPoint CentreOver(const TwipsBox& owner, double width, double height) {
  const auto across = static_cast<long long>(RoundHalfEven(std::fabs(owner.width - width)));
  return TwipsPoint{owner.left + static_cast<double>(across / 2),
                    owner.top + std::fabs(owner.height - height) / 2};
}

int TwipsToPixels(double twips, int dpi) {
  return static_cast<int>(std::lround(twips * dpi / 1440.0));
}

double PixelsToTwips(int pixels, int dpi) { return pixels * 1440.0 / dpi; }

}  // namespace tarnivo

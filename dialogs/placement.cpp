#include "dialogs/placement.h"

#include <cmath>

#include "engine/number_parse.h"

namespace tarnivo {

TwipsPoint CentreOver(const TwipsBox& owner, double width, double height) {
  const auto across = static_cast<long long>(RoundHalfToEven(std::fabs(owner.Width - width)));
  return TwipsPoint{owner.Left + static_cast<double>(across / 2),
                    owner.Top + std::fabs(owner.Height - height) / 2};
}

}  // namespace tarnivo

#pragma once
// Where the folder chooser goes over its owner, in twips (1440 to the inch).

namespace tarnivo {

struct TwipsBox {
  double Left, Top, Width, Height;
};

struct TwipsPoint {
  double Left, Top;
};

// The top-left corner of a dialog of `width` x `height` centred over `owner`. The size
// differences are taken without sign, so a dialog larger than its owner moves right and
// down by half the difference, never left or up. Across, the difference is rounded to a
// whole twip (a half to the even neighbour) and halved with the remainder dropped; down,
// it is halved exactly.
TwipsPoint CentreOver(const TwipsBox& owner, double width, double height);

}  // namespace tarnivo

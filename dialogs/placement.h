#pragma once
// Where the folder chooser goes over its owner, in twips (1440 to the inch).

namespace tarnivo {

struct TwipsBox {
  double left, top, width, height;
};

struct TwipsPoint {
  double left, top;
};

// The top-left corner of a dialog of `width` x `height` centred over `owner`. The size
// differences are taken without sign, so a dialog larger than its owner moves right and
// down by half the difference, never left or up. Across, the difference is rounded to a
// whole twip (a half to the even neighbour) and halved with the remainder dropped; down,
// it is halved exactly.
TwipsPoint CentreOver(const TwipsBox& owner, double width, double height);

// A half goes to the even neighbour: 2.5 gives 2, 3.5 gives 4.
double RoundHalfEven(double value);

// Twips to pixels at `dpi` dots per inch, to the nearest pixel.
int TwipsToPixels(double twips, int dpi);
double PixelsToTwips(int pixels, int dpi);

}  // namespace tarnivo

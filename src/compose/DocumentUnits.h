// Document positions are twips at 96 dots per inch: 15 twips to the pixel on every machine.
#pragma once

#include "base/AppInfo.h"
#include "base/Rounding.h"

namespace lumora {

// A text position in twips to the pixel it is drawn at: first to whole twips, then to the
// nearest pixel (halves to even both times).
inline int TwipsToPixels(double twips) {
  return static_cast<int>(RoundHalfEven(RoundHalfEven(twips) / kTwipsPerPixel));
}

inline double PixelsToTwips(double pixels) { return pixels * kTwipsPerPixel; }

}  // namespace lumora

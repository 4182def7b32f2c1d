#include "library/ThumbnailFit.h"

#include "base/Rounding.h"

namespace lumora {

ThumbnailPlacement FitThumbnail(int32_t pictureWidth, int32_t pictureHeight, int32_t maxWidth, int32_t maxHeight) {
  ThumbnailPlacement p;
  if (pictureWidth <= maxWidth && pictureHeight <= maxHeight) {
    p.width = pictureWidth;
    p.height = pictureHeight;
  } else {
    // Single precision on purpose: 228 x 49 pixels must give 367.5 twips, which rounds to 368.
    p.scaled = true;
    p.width = maxWidth;
    p.height = RoundToInt<int32_t>(static_cast<float>(maxWidth) / static_cast<float>(pictureWidth) *
                                   static_cast<float>(pictureHeight));
    if (p.height > maxHeight) {
      p.height = maxHeight;
      p.width = RoundToInt<int32_t>(static_cast<float>(maxHeight) / static_cast<float>(pictureHeight) *
                                    static_cast<float>(pictureWidth));
    }
  }
  p.left = maxWidth / 2.0 - p.width / 2.0;
  p.top = maxHeight / 2.0 - p.height / 2.0;
  return p;
}

}  // namespace lumora

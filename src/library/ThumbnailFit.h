// Where a picture sits in a thumbnail box: unscaled when it fits, otherwise scaled to the box
// keeping its proportions, centred either way. All amounts are twips.
#pragma once

#include <cstdint>

namespace lumora {

struct ThumbnailPlacement {
  double left = 0;  // may fall on a half twip when the free space is odd
  double top = 0;
  int32_t width = 0;
  int32_t height = 0;
  bool scaled = false;
};

ThumbnailPlacement FitThumbnail(int32_t pictureWidth, int32_t pictureHeight, int32_t maxWidth, int32_t maxHeight);

}  // namespace lumora

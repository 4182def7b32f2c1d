#include "imaging/raster/ColorMatch.h"

namespace lumora::raster {

uint32_t NearestIndex(std::span<const RGBQuad> entries, uint32_t rgb) {
  const int r = rgb & 0xFF, g = (rgb >> 8) & 0xFF, b = (rgb >> 16) & 0xFF;
  uint32_t best = 0;
  int bestDistance = 0x7FFFFFFF;
  for (size_t i = 0; i < entries.size(); ++i) {
    const int dr = entries[i].red - r, dg = entries[i].green - g, db = entries[i].blue - b;
    const int d = dr * dr + dg * dg + db * db;
    if (d < bestDistance) {
      bestDistance = d;
      best = static_cast<uint32_t>(i);
      if (d == 0) break;
    }
  }
  return best;
}

}  // namespace lumora::raster

// The colours of a whole 32-bit picture with their pixel counts, for building a palette that
// fits the picture. Every distinct colour is kept while there are few enough; past that, colours
// share cells of fewer bits a channel, each cell keeping the mean of its pixels, so a thin run of
// text colour is never averaged away by sampling.
#pragma once

#include <cstdint>
#include <vector>

#include "imaging/raster/Bitmap.h"

namespace lumora {

struct HistogramColour {
  double red = 0, green = 0, blue = 0;  // the mean of the cell's pixels
  uint64_t pixels = 0;
};

inline constexpr size_t kHistogramMaxColours = size_t{1} << 15;

// At most kHistogramMaxColours entries, in no particular order; empty for a bitmap that is not
// 32 bits a pixel (blue, green, red, unused bytes).
std::vector<HistogramColour> BuildColourHistogram(const raster::Bitmap& picture);

}  // namespace lumora

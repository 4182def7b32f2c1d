// Nearest colour-table entry: smallest squared RGB distance, lowest index on ties.
#pragma once

#include <cstdint>
#include <span>

#include "imaging/raster/Bitmap.h"

namespace lumora::raster {

// rgb is 0x00BBGGRR; entries are compared as (red, green, blue) over the whole span.
uint32_t NearestIndex(std::span<const RGBQuad> entries, uint32_t rgb);

}  // namespace lumora::raster

// The "best" palette: fitted to every pixel of the picture rather than to a thumbnail, so that
// small areas of a distinct colour (thin text strokes) keep their own entry. The colour histogram
// is split by variance (median cut at the mean) into 256 boxes, whose means seed a few Lloyd
// (k-means) passes over the histogram.
#pragma once

#include "imaging/raster/Bitmap.h"

namespace lumora {

class cPal8bpp;

// A picture of 256 colours or fewer gets exactly its colours. Entry 0 is the one nearest to the
// top-left pixel, as in the optimal palette, so the GIF route's transparent entry is that pixel's.
// A bitmap that is not plain 32-bit leaves the palette empty.
void CreateBestPalette(const raster::Bitmap& picture, cPal8bpp& palette);

}  // namespace lumora

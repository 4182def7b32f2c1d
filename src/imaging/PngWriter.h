// PNG files of 8-bit RGB pixels, or RGBA ones: the rows filtered one by one (PngRowFilter) and compressed with
// libdeflate into a single IDAT chunk (a large picture's two parts on two threads, joined by
// DeflateJoin), with the resolution of 96 dots per inch.
#pragma once

#include <cstdint>
#include <vector>

#include "imaging/raster/Bitmap.h"

namespace lumora {

// The bitmap's colours, whatever its depth; empty when libdeflate has no memory for its compressor.
// With withAlpha, a 32-bit bitmap's fourth byte is each pixel's opacity.
std::vector<uint8_t> EncodePng(const raster::Bitmap& bitmap, bool withAlpha = false);

}  // namespace lumora

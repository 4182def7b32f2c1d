// The layout every route reads and Qt's RGB32 images share: 32 bits, top row first, bytes blue,
// green, red and 0xFF.
#pragma once

#include <memory>

#include "imaging/raster/Bitmap.h"

namespace lumora::raster {

bool IsRgb32Layout(const Bitmap& bitmap);

// A copy in that layout, whatever the bitmap's depth and row order; nullptr when memory cannot be had.
std::shared_ptr<Bitmap> Rgb32Copy(const Bitmap& bitmap);

// One 24-bit row (blue, green, red) as 32-bit pixels, and back.
void Rgb24ToRgb32(const uint8_t* in, int32_t width, uint8_t* out);
void Rgb32ToRgb24(const uint8_t* in, int32_t width, uint8_t* out);

}  // namespace lumora::raster

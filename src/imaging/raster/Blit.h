// Block, stretched and parallelogram copies between drawing contexts, with colour conversion
// between depths (nearest colour-table entry for indexed targets) and raster operations.
#pragma once

#include <cstdint>

#include "imaging/raster/DeviceContext.h"

namespace lumora::raster {

// Raster operations callers use.
inline constexpr uint32_t SRCCOPY = 0x00CC0020;
inline constexpr uint32_t SRCAND = 0x008800C6;
inline constexpr uint32_t SRCPAINT = 0x00EE0086;

// Non-zero on success, 0 when a context has no bitmap or the operation is not supported.
// Rectangles are clipped to both bitmaps.
int BitBlt(HDC dst, int32_t x, int32_t y, int32_t width, int32_t height, HDC src, int32_t xSrc, int32_t ySrc,
           uint32_t rop);

// Scales the source rectangle onto the destination rectangle with the destination's stretch
// mode: halftone averages the covered area, the other modes keep the nearest pixel. Negative
// widths or heights mirror.
int StretchBlt(HDC dst, int32_t x, int32_t y, int32_t width, int32_t height, HDC src, int32_t xSrc, int32_t ySrc,
               int32_t srcWidth, int32_t srcHeight, uint32_t rop);

// Maps the source rectangle onto the parallelogram whose upper-left, upper-right and lower-left
// corners are points[0], points[1] and points[2] (nearest pixel; exact for quarter turns and mirrors).
int PlgBlt(HDC dst, const Point points[3], HDC src, int32_t xSrc, int32_t ySrc, int32_t width, int32_t height);

// Bitmap-level forms of the same operations.
int BitBlt(Bitmap& dst, int32_t x, int32_t y, int32_t width, int32_t height, const Bitmap& src, int32_t xSrc,
           int32_t ySrc, uint32_t rop);
int StretchBlt(Bitmap& dst, int32_t x, int32_t y, int32_t width, int32_t height, const Bitmap& src, int32_t xSrc,
               int32_t ySrc, int32_t srcWidth, int32_t srcHeight, uint32_t rop, int stretchMode);

}  // namespace lumora::raster

// A drawing context: the bitmap selected into it and the drawing state the copy and fill
// operations read (stretch mode, brush origin, background colour and mode).
#pragma once

#include <cstdint>
#include <memory>

#include "imaging/raster/Bitmap.h"

namespace lumora::raster {

struct Point {
  int32_t x = 0, y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Rect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;  // right and bottom exclusive
};

// Stretch modes: anything but halftone keeps the nearest pixel and drops the others.
inline constexpr int BLACKONWHITE = 1;
inline constexpr int WHITEONBLACK = 2;
inline constexpr int COLORONCOLOR = 3;
inline constexpr int HALFTONE = 4;

inline constexpr int OPAQUE = 2;
inline constexpr int TRANSPARENT = 1;

class DeviceContext {
 public:
  // Returns the bitmap that was selected before (empty for a fresh context).
  std::shared_ptr<Bitmap> SelectBitmap(std::shared_ptr<Bitmap> bitmap);
  Bitmap* bitmap() const { return m_bitmap.get(); }
  const std::shared_ptr<Bitmap>& sharedBitmap() const { return m_bitmap; }

  int GetStretchBltMode() const { return m_stretchMode; }
  // Returns the previous mode, 0 for a mode outside 1..4 (which leaves the mode unchanged).
  int SetStretchBltMode(int mode);

  Point GetBrushOrg() const { return m_brushOrigin; }
  Point SetBrushOrg(int32_t x, int32_t y);  // returns the previous origin

  uint32_t GetBkColor() const { return m_bkColor; }
  uint32_t SetBkColor(uint32_t rgb);
  int GetBkMode() const { return m_bkMode; }
  int SetBkMode(int mode);

 private:
  std::shared_ptr<Bitmap> m_bitmap;
  int m_stretchMode = BLACKONWHITE;
  Point m_brushOrigin;
  uint32_t m_bkColor = 0xFFFFFF;
  int m_bkMode = OPAQUE;
};

// Contexts are handed around as plain pointers; their owner keeps them alive.
using HDC = DeviceContext*;

// A memory context compatible with the screen (a 32-bit display).
std::unique_ptr<DeviceContext> CreateCompatibleDC();
inline constexpr int kScreenBitsPerPixel = 32;

// Colour-table access through the selected bitmap; returns the number of entries handled.
int GetDIBColorTable(HDC dc, int start, int count, RGBQuad* entries);
int SetDIBColorTable(HDC dc, int start, int count, const RGBQuad* entries);

}  // namespace lumora::raster

// Row-level pixel access shared by the copy and fill operations: reading runs of raw pixel values
// or colours, writing runs of values through a raster operation, and translating source values
// into destination values (exact nearest colour for indexed targets, cached per colour).
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "imaging/raster/Bitmap.h"

namespace lumora::raster {

// Whether two bitmaps store colours the same way, so raw values can be copied unchanged.
bool SameFormat(const Bitmap& a, const Bitmap& b);

// The raw values of pixels x0 .. x0 + out.size() - 1 of row y (all inside the bitmap).
void ReadValues(const Bitmap& bitmap, int32_t y, int32_t x0, std::span<uint32_t> out);
// The same pixels as colours 0x00BBGGRR.
void ReadColours(const Bitmap& bitmap, int32_t y, int32_t x0, std::span<uint32_t> out);
// Combines values into pixels x0 .. of row y with SRCCOPY, SRCAND or SRCPAINT.
void WriteValues(Bitmap& bitmap, int32_t y, int32_t x0, std::span<const uint32_t> values, uint32_t rop);

bool IsSupportedRop(uint32_t rop);

// Translates pixel values of one bitmap, or plain colours, into values of a target bitmap.
class PixelMapper {
 public:
  PixelMapper(const Bitmap& src, const Bitmap& dst);

  uint32_t Map(uint32_t srcValue) {
    switch (m_route) {
      case Route::Identity: return srcValue;
      case Route::Low24: return srcValue & 0xFFFFFFu;
      case Route::Table: return srcValue < m_table.size() ? m_table[srcValue] : m_table[0];
      default: return FromColour(m_src.rgbForValue(srcValue));
    }
  }
  void Map(std::span<uint32_t> values);
  // The target value of a colour 0x00BBGGRR.
  uint32_t FromColour(uint32_t rgb);
  void FromColours(std::span<uint32_t> colours);

 private:
  // Low24: 24-bit and default 32-bit pixels share the blue-green-red byte order.
  enum class Route { Identity, Low24, Table, Colour };
  uint32_t NearestCached(uint32_t rgb);

  const Bitmap& m_src;
  const Bitmap& m_dst;
  Route m_route;
  std::vector<uint32_t> m_table;  // source index -> target value
  // Direct-mapped cache of nearest colour-table entries; keys are colours, 0xFFFFFFFF = empty.
  std::vector<uint32_t> m_cacheKeys;
  std::vector<uint8_t> m_cacheValues;
};

}  // namespace lumora::raster

// Nearest colour-table entry: smallest squared RGB distance, lowest index on ties.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "imaging/raster/Bitmap.h"

namespace lumora::raster {

// rgb is 0x00BBGGRR; entries are compared as (red, green, blue) over the whole span.
uint32_t NearestIndex(std::span<const RGBQuad> entries, uint32_t rgb);

// NearestIndex for many colours against one table of at most 256 entries, four entries at a
// time in the vector unit: the same answers.
class NearestColourTable {
 public:
  explicit NearestColourTable(std::span<const RGBQuad> entries);
  uint32_t Nearest(uint32_t rgb) const;

 private:
  // Per entry, red and green, then blue and 0, as 16-bit numbers; padded to a multiple of four
  // entries with copies of entry 0, which never win over it.
  std::vector<int16_t> m_redGreen;
  std::vector<int16_t> m_blue;
};

}  // namespace lumora::raster

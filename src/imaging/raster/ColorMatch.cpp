#include "imaging/raster/ColorMatch.h"

#include <emmintrin.h>

#include <algorithm>
#include <cassert>

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

NearestColourTable::NearestColourTable(std::span<const RGBQuad> entries) {
  assert(!entries.empty() && entries.size() <= 256);
  const size_t padded = (entries.size() + 3) / 4 * 4;
  m_redGreen.reserve(2 * padded);
  m_blue.reserve(2 * padded);
  for (size_t i = 0; i < padded; ++i) {
    const RGBQuad& e = entries[i < entries.size() ? i : 0];
    m_redGreen.insert(m_redGreen.end(), {e.red, e.green});
    m_blue.insert(m_blue.end(), {e.blue, 0});
  }
}

// Each entry's distance d becomes d << 8 | index, so the smallest number is the nearest entry
// with the lowest index on ties. Squares of 16-bit differences are summed in pairs by madd.
uint32_t NearestColourTable::Nearest(uint32_t rgb) const {
  const auto r = static_cast<int16_t>(rgb & 0xFF), g = static_cast<int16_t>((rgb >> 8) & 0xFF),
             b = static_cast<int16_t>((rgb >> 16) & 0xFF);
  const __m128i redGreen = _mm_setr_epi16(r, g, r, g, r, g, r, g);
  const __m128i blue = _mm_setr_epi16(b, 0, b, 0, b, 0, b, 0);
  __m128i index = _mm_setr_epi32(0, 1, 2, 3);
  const __m128i four = _mm_set1_epi32(4);
  __m128i best = _mm_set1_epi32(0x7FFFFFFF);
  for (size_t at = 0; at < m_redGreen.size(); at += 8) {
    const __m128i dRedGreen = _mm_sub_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(&m_redGreen[at])), redGreen);
    const __m128i dBlue = _mm_sub_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(&m_blue[at])), blue);
    const __m128i distance = _mm_add_epi32(_mm_madd_epi16(dRedGreen, dRedGreen), _mm_madd_epi16(dBlue, dBlue));
    const __m128i candidate = _mm_or_si128(_mm_slli_epi32(distance, 8), index);
    const __m128i smaller = _mm_cmplt_epi32(candidate, best);
    best = _mm_or_si128(_mm_and_si128(smaller, candidate), _mm_andnot_si128(smaller, best));
    index = _mm_add_epi32(index, four);
  }
  alignas(16) int32_t lanes[4];
  _mm_store_si128(reinterpret_cast<__m128i*>(lanes), best);
  const int32_t smallest = std::min(std::min(lanes[0], lanes[1]), std::min(lanes[2], lanes[3]));
  return static_cast<uint32_t>(smallest) & 0xFF;
}

}  // namespace lumora::raster

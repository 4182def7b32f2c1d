// The error-diffusion stage of mDither8bpp. Floyd-Steinberg, the same direction on every row: a
// pixel takes the palette entry of its 4-bit cell; a total error above 3 is spread right (7/16),
// below (5/16), below-right (1/16) and below-left (3/16), in that order, each sum kept within a
// byte.
//
// Each pixel depends on the one before it, so one row is a long chain of table look-ups. Two
// rows run side by side instead, the lower one two pixels behind: by then every share its pixel
// takes from the row above has arrived, in the order the rules give, so the result is the same
// as one row after the other. Rows live in buffers with a spare pixel at each end, so the edges
// need no tests (shares into the spare pixels are dropped), and a pixel below the threshold
// spreads zeros.
#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "imaging/mDither8bpp.h"

namespace lumora::mDither8bpp {

namespace {

// Look-up tables for one call: cell offsets per channel value, and per cell the entry's index
// and colour packed as index | blue << 8 | green << 16 | red << 24.
struct Lookup {
  std::array<uint16_t, 256> cellR, cellG, cellB;
  std::array<uint32_t, 4096> entry;
  const int32_t* share1;
  const int32_t* share3;
  const int32_t* share5;
  const int32_t* share7;
  bool spread;
};

inline uint8_t addClamped(uint8_t value, int32_t share) { return static_cast<uint8_t>(std::clamp(value + share, 0, 255)); }

// One row's progress: its pixels (with the shares from above), the row below, the indices, and
// the current pixel's channels, which carry the share from the left.
class RowCursor {
 public:
  RowCursor(uint8_t* pixels, uint8_t* below, uint8_t* indices) : m_pixels(pixels), m_below(below), m_indices(indices) {}

  [[gnu::always_inline]] void step(const Lookup& t, int32_t x) {
    if (x == 0) {
      m_b = m_pixels[0];
      m_g = m_pixels[1];
      m_r = m_pixels[2];
    }
    const uint32_t entry = t.entry[static_cast<size_t>(t.cellR[m_r] + t.cellG[m_g] + t.cellB[m_b])];
    m_indices[x] = static_cast<uint8_t>(entry);
    int32_t eB = m_b - static_cast<int32_t>((entry >> 8) & 0xFF);
    int32_t eG = m_g - static_cast<int32_t>((entry >> 16) & 0xFF);
    int32_t eR = m_r - static_cast<int32_t>(entry >> 24);
    const int32_t keep = -static_cast<int32_t>(t.spread && std::abs(eB) + std::abs(eG) + std::abs(eR) > 3);
    eB &= keep;
    eG &= keep;
    eR &= keep;
    const uint8_t* right = m_pixels + 4 * (x + 1);
    m_b = addClamped(right[0], t.share7[eB]);
    m_g = addClamped(right[1], t.share7[eG]);
    m_r = addClamped(right[2], t.share7[eR]);
    uint8_t* below = m_below + 4 * x;
    below[0] = addClamped(below[0], t.share5[eB]);
    below[1] = addClamped(below[1], t.share5[eG]);
    below[2] = addClamped(below[2], t.share5[eR]);
    below[4] = addClamped(below[4], t.share1[eB]);
    below[5] = addClamped(below[5], t.share1[eG]);
    below[6] = addClamped(below[6], t.share1[eR]);
    below[-4] = addClamped(below[-4], t.share3[eB]);
    below[-3] = addClamped(below[-3], t.share3[eG]);
    below[-2] = addClamped(below[-2], t.share3[eR]);
  }

 private:
  uint8_t* m_pixels;
  uint8_t* m_below;
  uint8_t* m_indices;
  uint8_t m_b = 0, m_g = 0, m_r = 0;
};

Lookup makeLookup(std::span<const uint8_t, 4096> inverse, std::span<const uint8_t, 1024> palette, bool spread) {
  const DitherTables& tables = Tables();
  Lookup t{};
  for (int v = 0; v < 256; ++v) {
    const uint16_t level = tables.level[static_cast<size_t>(v + DitherTables::kLevelOffset)];
    t.cellR[static_cast<size_t>(v)] = level;
    t.cellG[static_cast<size_t>(v)] = static_cast<uint16_t>(16 * level);
    t.cellB[static_cast<size_t>(v)] = static_cast<uint16_t>(256 * level);
  }
  for (size_t cell = 0; cell < t.entry.size(); ++cell) {
    const uint8_t* colour = palette.data() + 4 * inverse[cell];
    t.entry[cell] = inverse[cell] | uint32_t{colour[0]} << 8 | uint32_t{colour[1]} << 16 | uint32_t{colour[2]} << 24;
  }
  t.share1 = tables.sixteenth.data() + DitherTables::kErrorOffset;
  t.share3 = tables.threeSixteenths.data() + DitherTables::kErrorOffset;
  t.share5 = tables.fiveSixteenths.data() + DitherTables::kErrorOffset;
  t.share7 = tables.sevenSixteenths.data() + DitherTables::kErrorOffset;
  t.spread = spread;
  return t;
}

}  // namespace

void Diffuse(const DiffusionPicture& picture, std::span<const uint8_t, 4096> inverse,
             std::span<const uint8_t, 1024> palette, bool spreadErrors) {
  const int32_t width = picture.width, height = picture.height;
  if (width < 1 || height < 1) return;
  const Lookup t = makeLookup(inverse, palette, spreadErrors);
  const size_t rowBytes = static_cast<size_t>(width) * 4;
  // Three rows of width + 2 pixels; a row starts one pixel in.
  std::array<std::vector<uint8_t>, 3> buffers;
  for (auto& b : buffers) b.assign(rowBytes + 8, 0);
  auto row = [&](size_t i) { return buffers[i].data() + 4; };
  auto load = [&](size_t i, int32_t y) {
    if (y < height) std::memcpy(row(i), picture.pixels + y * picture.pixelStride, rowBytes);
  };
  load(0, 0);
  for (int32_t y = 0; y < height; y += 2) {
    load(1, y + 1);
    load(2, y + 2);
    uint8_t* indices = picture.indices + y * picture.indexStride;
    RowCursor upper(row(0), row(1), indices);
    if (y + 1 < height) {
      RowCursor lower(row(1), row(2), indices + picture.indexStride);
      for (int32_t x = 0; x < width + 2; ++x) {
        if (x < width) upper.step(t, x);
        if (x >= 2) lower.step(t, x - 2);
      }
    } else {
      for (int32_t x = 0; x < width; ++x) upper.step(t, x);
    }
    std::swap(buffers[0], buffers[2]);
  }
}

}  // namespace lumora::mDither8bpp

// The error-diffusion stage of mDither8bpp. Floyd-Steinberg, the same direction on every row: a
// pixel takes the palette entry of its 4-bit cell (for DiffuseExact, the entry nearest to its own
// colour, with shares of three quarters of the error); a total error above 3 is spread right
// (7/16), below (5/16), below-right (1/16) and below-left (3/16), in that order, each sum kept
// within a byte.
//
// Each pixel depends on the one before it, so one row is a long chain of table look-ups. Four
// rows run side by side instead, each two pixels behind the one above: by then every share its
// pixel takes from the row above has arrived, in the same order, so the result is the same as
// one row after the other. Rows live in buffers with spare pixels at the ends, so the edges
// need no tests (shares into the spare pixels are dropped), and a pixel below the threshold
// spreads zeros. The three pixels below are updated together in SSE2 registers (the saturating
// pack is the clamp to a byte) and each leaves the registers once it has all its shares.
#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <future>
#include <vector>

#include <emmintrin.h>

#include "base/Rounding.h"
#include "imaging/CachedNearestColour.h"
#include "imaging/mDither8bpp.h"

namespace lumora::mDither8bpp {

namespace {

// Rows diffused side by side, each kLag pixels behind the one above.
constexpr int32_t kBandRows = 4;
constexpr int32_t kLag = 2;

// Per error its four shares as 16-bit numbers: 3/16, 5/16, 1/16, 7/16.
struct Shares {
  std::array<std::array<int16_t, 4>, 511> shares;
  bool spread;
};

// A pixel's entry, packed as index | blue << 8 | green << 16 | red << 24, from its 4-bit cell:
// cell offsets per channel value, and per cell the entry.
struct CellMatch {
  std::array<uint16_t, 256> cellR, cellG, cellB;
  std::array<uint32_t, 4096> entry;
  uint32_t operator()(uint32_t b, uint32_t g, uint32_t r) const { return entry[cellR[r] + cellG[g] + cellB[b]]; }
};

// Pictures of at least this many pixels are diffused in two halves side by side.
constexpr int64_t kSplitPixels = 2000000;

// A palette fitted this closely leaves small errors, and spreading all of them piles up as grain
// (over 3 dB of PSNR lost on photographs), so DiffuseExact spreads three quarters.
constexpr double kExactStrength = 0.75;

// The same from the pixel's exact colour.
struct ExactMatch {
  CachedNearestColour& nearest;
  uint32_t operator()(uint32_t b, uint32_t g, uint32_t r) const { return nearest.Entry(b | g << 8 | r << 16); }
};

inline uint32_t load32(const uint8_t* p) {
  uint32_t v;
  std::memcpy(&v, p, 4);
  return v;
}

inline void store32(uint8_t* p, uint32_t v) { std::memcpy(p, &v, 4); }

// Four bytes as four 16-bit lanes.
inline __m128i widen(uint32_t bytes) { return _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(bytes)), _mm_setzero_si128()); }

// One row's progress: its pixels (with the shares from above), the row below, the indices; the
// current pixel (with the share from the left) and the two pixels below it that still take
// shares: x - 1 and x in `m_window`, x + 1 in `m_ahead`.
class RowCursor {
 public:
  RowCursor() = default;
  RowCursor(const uint8_t* pixels, uint8_t* below, uint8_t* indices)
      : m_pixels(pixels), m_below(below), m_indices(indices) {}

  template <class Match>
  [[gnu::always_inline]] void step(const Shares& t, const Match& match, int32_t x) {
    if (x == 0) {
      m_current = load32(m_pixels);
      m_window = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(m_below - 4)), _mm_setzero_si128());
      m_ahead = widen(load32(m_below + 4));
    }
    const uint32_t b = m_current & 0xFF, g = (m_current >> 8) & 0xFF, r = (m_current >> 16) & 0xFF;
    const uint32_t entry = match(b, g, r);
    m_indices[x] = static_cast<uint8_t>(entry);
    int32_t eB = static_cast<int32_t>(b) - static_cast<int32_t>((entry >> 8) & 0xFF);
    int32_t eG = static_cast<int32_t>(g) - static_cast<int32_t>((entry >> 16) & 0xFF);
    int32_t eR = static_cast<int32_t>(r) - static_cast<int32_t>(entry >> 24);
    const int32_t keep = -static_cast<int32_t>(t.spread && std::abs(eB) + std::abs(eG) + std::abs(eR) > 3);
    eB &= keep;
    eG &= keep;
    eR &= keep;
    // Lanes blue, green, red, 0 of each share: 3/16 | 5/16 and 1/16 | 7/16.
    const __m128i sB = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(t.shares[static_cast<size_t>(eB + 255)].data()));
    const __m128i sG = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(t.shares[static_cast<size_t>(eG + 255)].data()));
    const __m128i sR = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(t.shares[static_cast<size_t>(eR + 255)].data()));
    const __m128i blueGreen = _mm_unpacklo_epi16(sB, sG);
    const __m128i red = _mm_unpacklo_epi16(sR, _mm_setzero_si128());
    const __m128i leftBelow = _mm_unpacklo_epi32(blueGreen, red);
    const __m128i rightAndNext = _mm_unpackhi_epi32(blueGreen, red);

    const __m128i right = _mm_add_epi16(widen(load32(m_pixels + 4 * (x + 1))), _mm_srli_si128(rightAndNext, 8));
    m_current = static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(right, right)));

    const __m128i window = _mm_add_epi16(m_window, leftBelow);
    const __m128i ahead = _mm_add_epi16(m_ahead, rightAndNext);
    const __m128i packed = _mm_packus_epi16(window, ahead);  // pixels x - 1, x, x + 1, unused
    store32(m_below + 4 * (x - 1), static_cast<uint32_t>(_mm_cvtsi128_si32(packed)));
    m_window = _mm_unpacklo_epi8(_mm_srli_si128(packed, 4), _mm_setzero_si128());
    m_ahead = widen(load32(m_below + 4 * (x + 2)));
  }

  // After the last pixel x: pixel x below has all its shares.
  void finish(int32_t x) {
    store32(m_below + 4 * x, static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(m_window, m_window))));
  }

 private:
  const uint8_t* m_pixels = nullptr;
  uint8_t* m_below = nullptr;
  uint8_t* m_indices = nullptr;
  uint32_t m_current = 0;
  __m128i m_window = _mm_setzero_si128();
  __m128i m_ahead = _mm_setzero_si128();
};

CellMatch makeCellMatch(std::span<const uint8_t, 4096> inverse, std::span<const uint8_t, 1024> palette) {
  const DitherTables& tables = Tables();
  CellMatch t{};
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
  return t;
}

// The tables' shares at strength 1; otherwise each share is rounded from the error scaled first.
Shares makeShares(bool spread, double strength = 1) {
  const DitherTables& tables = Tables();
  Shares t{};
  for (size_t e = 0; e < t.shares.size(); ++e) {
    auto share = [&](int sixteenths, const std::array<int32_t, 511>& table) {
      const double error = static_cast<double>(e) - DitherTables::kErrorOffset;
      return static_cast<int16_t>(strength == 1 ? table[e] : RoundHalfEven(sixteenths * error * strength / 16));
    };
    t.shares[e] = {share(3, tables.threeSixteenths), share(5, tables.fiveSixteenths), share(1, tables.sixteenth),
                   share(7, tables.sevenSixteenths)};
  }
  t.spread = spread;
  return t;
}

template <class Match>
void diffuse(const DiffusionPicture& picture, const Shares& t, const Match& match, ConversionObserver* observer) {
  const int32_t width = picture.width, height = picture.height;
  const size_t rowBytes = static_cast<size_t>(width) * 4;
  // A band's rows and the one below it, each of width + 3 pixels: one spare before, two after.
  std::array<std::vector<uint8_t>, kBandRows + 1> buffers;
  for (auto& b : buffers) b.assign(rowBytes + 12, 0);
  auto row = [&](size_t i) { return buffers[i].data() + 4; };
  auto load = [&](size_t i, int32_t y) {
    if (y < height) std::memcpy(row(i), picture.pixels + y * picture.pixelStride, rowBytes);
  };
  load(0, 0);
  for (int32_t y = 0; y < height; y += kBandRows) {
    const int32_t rows = std::min(kBandRows, height - y);
    for (int32_t k = 1; k <= kBandRows; ++k) load(static_cast<size_t>(k), y + k);
    uint8_t* indices = picture.indices + y * picture.indexStride;
    std::array<RowCursor, kBandRows> cursors;
    for (int32_t k = 0; k < kBandRows; ++k)
      cursors[static_cast<size_t>(k)] = RowCursor(row(static_cast<size_t>(k)), row(static_cast<size_t>(k) + 1),
                                                  indices + k * picture.indexStride);
    // A row's last pixel below gets its last share from the row's last step, before the row
    // below reads it.
    auto advance = [&](int32_t k, int32_t at) {
      RowCursor& cursor = cursors[static_cast<size_t>(k)];
      cursor.step(t, match, at);
      if (at == width - 1) cursor.finish(at);
    };
    auto edge = [&](int32_t x) {
      for (int32_t k = 0; k < rows; ++k) {
        const int32_t at = x - kLag * k;
        if (at >= 0 && at < width) advance(k, at);
      }
    };
    // The rows start one after another and end one after another; in between, in a full band,
    // every row steps and none ends, so the loop needs no tests.
    const int32_t lag = kLag * (rows - 1);
    int32_t x = 0;
    for (; x < lag; ++x) edge(x);
    if (rows == kBandRows)
      for (; x < width - 1; ++x)
        for (int32_t k = 0; k < kBandRows; ++k) cursors[static_cast<size_t>(k)].step(t, match, x - kLag * k);
    for (; x < width + lag; ++x) edge(x);
    if (observer != nullptr) observer->RowsFinished(y + rows);
    std::swap(buffers[0], buffers[kBandRows]);
  }
}

}  // namespace

void Diffuse(const DiffusionPicture& picture, std::span<const uint8_t, 4096> inverse,
             std::span<const uint8_t, 1024> palette, bool spreadErrors, ConversionObserver* observer) {
  if (picture.width < 1 || picture.height < 1) return;
  const CellMatch match = makeCellMatch(inverse, palette);
  diffuse(picture, makeShares(spreadErrors), match, observer);
}

void DiffuseExact(const DiffusionPicture& picture, std::span<const raster::RGBQuad> entries,
                  ConversionObserver* observer) {
  if (picture.width < 1 || picture.height < 1 || entries.empty()) return;
  const Shares shares = makeShares(true, kExactStrength);
  auto run = [&](const DiffusionPicture& part, ConversionObserver* progress) {
    CachedNearestColour nearest(entries);
    diffuse(part, shares, ExactMatch{nearest}, progress);
  };
  // A larger picture is diffused in two halves at once, the lower half starting afresh as the top
  // row does: no eye finds the seam, and the split depends on the size alone. The writer takes
  // the top half's rows as they come and the lower half's once both are done.
  if (static_cast<int64_t>(picture.width) * picture.height < kSplitPixels) {
    run(picture, observer);
    return;
  }
  const int32_t half = picture.height / 2;
  const DiffusionPicture top{picture.pixels, picture.pixelStride, picture.indices, picture.indexStride, picture.width, half};
  const DiffusionPicture lower{picture.pixels + half * picture.pixelStride, picture.pixelStride,
                               picture.indices + half * picture.indexStride, picture.indexStride, picture.width,
                               picture.height - half};
  auto below = std::async(std::launch::async, run, lower, nullptr);
  run(top, observer);
  below.get();
  if (observer != nullptr) observer->RowsFinished(picture.height);
}

}  // namespace lumora::mDither8bpp

// Block, stretched and parallelogram copies. Every route reads source values row by row, maps them
// into the destination's format (PixelMapper) and combines them with the raster operation.
#include "imaging/raster/Blit.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <span>
#include <unordered_map>
#include <vector>

#include "imaging/raster/PixelRows.h"

namespace lumora::raster {
namespace {

// One axis of a stretch: a rectangle's start and extent, normalised so the extent is positive.
struct Span1D {
  int32_t start;
  int32_t count;
  bool mirrored;
};

Span1D Normalise(int32_t start, int32_t extent) {
  if (extent < 0) return {static_cast<int32_t>(int64_t{start} + extent), static_cast<int32_t>(-int64_t{extent}), true};
  return {start, extent, false};
}

// Byte-wise combination for rows of equal format and whole-byte pixels.
void CombineBytes(uint8_t* dst, const uint8_t* src, size_t n, uint32_t rop) {
  if (rop == SRCCOPY) {
    std::memmove(dst, src, n);
  } else if (rop == SRCAND) {
    for (size_t i = 0; i < n; ++i) dst[i] &= src[i];
  } else {
    for (size_t i = 0; i < n; ++i) dst[i] |= src[i];
  }
}

// For destination indices from .. to-1 (of the normalised destination span), the source
// coordinate whose centre-sample each takes, or -1 when that falls outside the source bitmap.
std::vector<int32_t> NearestMap(const Span1D& dst, const Span1D& src, int32_t srcLimit, int32_t from, int32_t to) {
  const bool flip = dst.mirrored != src.mirrored;
  std::vector<int32_t> map;
  map.reserve(static_cast<size_t>(to - from));
  for (int32_t i = from; i < to; ++i) {
    const int64_t p = flip ? dst.count - 1 - i : i;
    const int64_t s = src.start + (2 * p + 1) * src.count / (2 * int64_t{dst.count});
    map.push_back(s >= 0 && s < srcLimit ? static_cast<int32_t>(s) : -1);
  }
  return map;
}

// Area-averaging taps of one axis for destination indices from .. to-1: index i (counted from
// from) covers source pixels index[first[i] .. first[i+1]) with weights summing to 1 << kWeightBits.
// Only source pixels inside the bitmap count; the weights are shared among them.
constexpr int kWeightBits = 14;

struct Taps {
  std::vector<size_t> first;
  std::vector<int32_t> index;
  std::vector<uint32_t> weight;
  int32_t lowest = 0, highest = -1;
  bool empty(size_t i) const { return first[i] == first[i + 1]; }
  // The lowest and highest source pixel of entry i (which must not be empty).
  std::pair<int32_t, int32_t> range(size_t i) const {
    const int32_t a = index[first[i]], b = index[first[i + 1] - 1];
    return {std::min(a, b), std::max(a, b)};
  }
};

Taps AreaTaps(const Span1D& dst, const Span1D& src, int32_t srcLimit, int32_t from, int32_t to) {
  const bool flip = dst.mirrored != src.mirrored;
  const int64_t d = dst.count, s = src.count;
  Taps taps;
  taps.first.reserve(static_cast<size_t>(to - from) + 1);
  taps.lowest = srcLimit;
  std::vector<int64_t> overlaps;
  for (int64_t i = from; i < to; ++i) {
    taps.first.push_back(taps.index.size());
    const int64_t p = flip ? d - 1 - i : i;
    // In units of 1/d source pixel the destination pixel covers [p*s, (p+1)*s).
    const int64_t a = p * s, b = (p + 1) * s;
    const int64_t jFrom = std::max(a / d, -int64_t{src.start});
    const int64_t jTo = std::min((b + d - 1) / d, int64_t{srcLimit} - src.start);
    overlaps.clear();
    const size_t begin = taps.index.size();
    int64_t total = 0;
    for (int64_t j = jFrom; j < jTo; ++j) {
      const int64_t overlap = std::min(b, (j + 1) * d) - std::max(a, j * d);
      if (overlap <= 0) continue;
      taps.index.push_back(static_cast<int32_t>(src.start + j));
      overlaps.push_back(overlap);
      total += overlap;
    }
    if (total == 0) continue;
    uint32_t sum = 0;
    size_t largest = 0;
    for (size_t k = 0; k < overlaps.size(); ++k) {
      const auto w = static_cast<uint32_t>((overlaps[k] << kWeightBits) / total);
      taps.weight.push_back(w);
      sum += w;
      if (overlaps[k] > overlaps[largest]) largest = k;
    }
    taps.weight[begin + largest] += (1u << kWeightBits) - sum;
    taps.lowest = std::min(taps.lowest, taps.index[begin]);
    taps.highest = std::max(taps.highest, taps.index.back());
  }
  taps.first.push_back(taps.index.size());
  return taps;
}

// The destination indices [from, to) of a normalised span that lie inside 0 .. limit.
std::pair<int32_t, int32_t> Visible(const Span1D& span, int32_t limit) {
  const int64_t from = std::max<int64_t>(0, -int64_t{span.start});
  const int64_t to = std::min<int64_t>(span.count, int64_t{limit} - span.start);
  return {static_cast<int32_t>(from), static_cast<int32_t>(std::max(from, to))};
}

// Writes the runs of out[] whose drawn[] flag is set into row y starting at column x0.
void WriteRuns(Bitmap& dst, int32_t y, int32_t x0, std::span<const uint32_t> out, const std::vector<uint8_t>& drawn,
               uint32_t rop) {
  const size_t n = out.size();
  for (size_t i = 0; i < n;) {
    if (!drawn[i]) {
      ++i;
      continue;
    }
    const size_t runStart = i;
    while (i < n && drawn[i]) ++i;
    WriteValues(dst, y, x0 + static_cast<int32_t>(runStart), out.subspan(runStart, i - runStart), rop);
  }
}

int StretchNearest(Bitmap& dst, const Span1D& dx, const Span1D& dy, const Bitmap& src, const Span1D& sx,
                   const Span1D& sy, uint32_t rop) {
  const auto [i0, i1] = Visible(dx, dst.width());
  const auto [j0, j1] = Visible(dy, dst.height());
  if (i0 >= i1 || j0 >= j1) return 1;
  const auto cols = NearestMap(dx, sx, src.width(), i0, i1);
  const auto rows = NearestMap(dy, sy, src.height(), j0, j1);
  std::vector<uint8_t> drawn(cols.size());
  for (size_t i = 0; i < cols.size(); ++i) drawn[i] = cols[i] >= 0;
  PixelMapper mapper(src, dst);
  std::vector<uint32_t> srcRow(static_cast<size_t>(src.width()));
  std::vector<uint32_t> out(cols.size());
  int32_t loaded = -1;
  for (int32_t j = j0; j < j1; ++j) {
    const int32_t sr = rows[static_cast<size_t>(j - j0)];
    if (sr < 0) continue;
    if (sr != loaded) {
      ReadValues(src, sr, 0, srcRow);
      mapper.Map(srcRow);
      for (size_t i = 0; i < cols.size(); ++i) out[i] = cols[i] >= 0 ? srcRow[static_cast<size_t>(cols[i])] : 0;
      loaded = sr;
    }
    WriteRuns(dst, dy.start + j, dx.start + i0, out, drawn, rop);
  }
  return 1;
}

// Separable box filter: each source row is first averaged horizontally into 8.8 fixed-point
// channels, then the rows a destination row covers are averaged vertically.
int StretchArea(Bitmap& dst, const Span1D& dx, const Span1D& dy, const Bitmap& src, const Span1D& sx,
                const Span1D& sy, uint32_t rop) {
  const auto [i0, i1] = Visible(dx, dst.width());
  const auto [j0, j1] = Visible(dy, dst.height());
  if (i0 >= i1 || j0 >= j1) return 1;
  const Taps cols = AreaTaps(dx, sx, src.width(), i0, i1);
  const Taps rows = AreaTaps(dy, sy, src.height(), j0, j1);
  if (cols.highest < cols.lowest || rows.highest < rows.lowest) return 1;
  const auto width = static_cast<size_t>(i1 - i0);
  const int32_t srcFrom = cols.lowest;
  std::vector<uint32_t> srcRow(static_cast<size_t>(cols.highest - cols.lowest + 1));
  std::unordered_map<int32_t, std::vector<uint16_t>> averaged;  // source row -> r, g, b per column

  // Blue-green-red pixels are averaged straight from their bytes; others through their colours.
  const bool bgr = src.bpp() == 24 || (src.bpp() == 32 && src.masks() == ChannelMasks::DefaultFor(32));
  const auto step = static_cast<size_t>(src.bpp() / 8);
  auto horizontal = [&](int32_t sr) -> const std::vector<uint16_t>& {
    auto [it, added] = averaged.try_emplace(sr);
    if (!added) return it->second;
    if (!bgr) ReadColours(src, sr, srcFrom, srcRow);
    const uint8_t* bytes = src.row(sr);
    auto& line = it->second;
    line.assign(width * 3, 0);
    constexpr int shift = kWeightBits - 8;
    for (size_t i = 0; i < width; ++i) {
      uint32_t r = 0, g = 0, b = 0;
      for (size_t k = cols.first[i]; k < cols.first[i + 1]; ++k) {
        const uint32_t w = cols.weight[k];
        if (bgr) {
          const uint8_t* p = bytes + static_cast<size_t>(cols.index[k]) * step;
          b += p[0] * w;
          g += p[1] * w;
          r += p[2] * w;
        } else {
          const uint32_t c = srcRow[static_cast<size_t>(cols.index[k] - srcFrom)];
          r += (c & 0xFF) * w;
          g += ((c >> 8) & 0xFF) * w;
          b += ((c >> 16) & 0xFF) * w;
        }
      }
      line[3 * i] = static_cast<uint16_t>((r + (1u << (shift - 1))) >> shift);
      line[3 * i + 1] = static_cast<uint16_t>((g + (1u << (shift - 1))) >> shift);
      line[3 * i + 2] = static_cast<uint16_t>((b + (1u << (shift - 1))) >> shift);
    }
    return line;
  };

  PixelMapper mapper(src, dst);
  std::vector<uint32_t> out(width);
  std::vector<uint32_t> acc(width * 3);
  std::vector<uint8_t> drawn(width);
  for (size_t i = 0; i < width; ++i) drawn[i] = !cols.empty(i);
  for (int32_t j = j0; j < j1; ++j) {
    const auto rj = static_cast<size_t>(j - j0);
    if (rows.empty(rj)) continue;
    // Source rows are visited monotonically, so rows outside this destination row's range are done.
    const int32_t lo = rows.range(rj).first, hi = rows.range(rj).second;
    std::erase_if(averaged, [lo, hi](const auto& entry) { return entry.first < lo || entry.first > hi; });
    std::fill(acc.begin(), acc.end(), 0u);
    for (size_t k = rows.first[rj]; k < rows.first[rj + 1]; ++k) {
      const auto& line = horizontal(rows.index[k]);
      const uint32_t w = rows.weight[k];
      for (size_t c = 0; c < acc.size(); ++c) acc[c] += line[c] * w;
    }
    constexpr int shift = kWeightBits + 8;
    for (size_t c = 0; c < width; ++c) {
      const uint32_t r = (acc[3 * c] + (1u << (shift - 1))) >> shift;
      const uint32_t g = (acc[3 * c + 1] + (1u << (shift - 1))) >> shift;
      const uint32_t b = (acc[3 * c + 2] + (1u << (shift - 1))) >> shift;
      out[c] = r | (g << 8) | (b << 16);
    }
    mapper.FromColours(out);
    WriteRuns(dst, dy.start + j, dx.start + i0, out, drawn, rop);
  }
  return 1;
}

// Copies a bitmap so an operation can read from it while writing the original.
std::shared_ptr<Bitmap> Duplicate(const Bitmap& src) {
  auto copy = Bitmap::Create(src.width(), src.height(), src.bpp(), src.rowOrder(), src.masks());
  if (!copy) return nullptr;
  std::ranges::copy(src.colorTable(), copy->colorTable().begin());
  std::memcpy(copy->bits(), src.bits(), src.sizeBytes());
  return copy;
}

// Coordinates beyond this are refused, as the platform's own coordinate space ends there.
constexpr int64_t kMaxCoordinate = int64_t{1} << 27;

bool InRange(std::initializer_list<int64_t> values) {
  return std::ranges::all_of(values, [](int64_t v) { return v >= -kMaxCoordinate && v <= kMaxCoordinate; });
}

}  // namespace

int BitBlt(Bitmap& dst, int32_t x, int32_t y, int32_t width, int32_t height, const Bitmap& src, int32_t xSrc,
           int32_t ySrc, uint32_t rop) {
  if (!IsSupportedRop(rop)) return 0;
  // Clip against both bitmaps in 64 bits so no coordinate can wrap.
  int64_t dx = x, dy = y, sx = xSrc, sy = ySrc, w = width, h = height;
  auto clip = [](int64_t& a, int64_t& b, int64_t& extent, int64_t limitA, int64_t limitB) {
    const int64_t under = std::max<int64_t>({0, -a, -b});
    a += under;
    b += under;
    extent -= under;
    extent = std::min({extent, limitA - a, limitB - b});
  };
  clip(dx, sx, w, dst.width(), src.width());
  clip(dy, sy, h, dst.height(), src.height());
  if (w <= 0 || h <= 0) return 1;

  const auto n = static_cast<size_t>(w);
  // Copying a bitmap onto itself: read rows in the order that never overwrites unread pixels.
  const bool overlapping = &dst == &src;
  const bool upward = overlapping && dy > sy;
  if (SameFormat(src, dst) && src.bpp() >= 8) {
    const size_t bytes = static_cast<size_t>(src.bpp() / 8);
    for (int64_t k = 0; k < h; ++k) {
      const int64_t r = upward ? h - 1 - k : k;
      CombineBytes(dst.row(static_cast<int32_t>(dy + r)) + static_cast<size_t>(dx) * bytes,
                   src.row(static_cast<int32_t>(sy + r)) + static_cast<size_t>(sx) * bytes, n * bytes, rop);
    }
    return 1;
  }
  PixelMapper mapper(src, dst);
  std::vector<uint32_t> values(n);
  for (int64_t k = 0; k < h; ++k) {
    const int64_t r = upward ? h - 1 - k : k;
    ReadValues(src, static_cast<int32_t>(sy + r), static_cast<int32_t>(sx), values);
    mapper.Map(values);
    WriteValues(dst, static_cast<int32_t>(dy + r), static_cast<int32_t>(dx), values, rop);
  }
  return 1;
}

int StretchBlt(Bitmap& dst, int32_t x, int32_t y, int32_t width, int32_t height, const Bitmap& src, int32_t xSrc,
               int32_t ySrc, int32_t srcWidth, int32_t srcHeight, uint32_t rop, int stretchMode) {
  if (!IsSupportedRop(rop) || width == 0 || height == 0 || srcWidth == 0 || srcHeight == 0) return 0;
  if (!InRange({x, y, width, height, xSrc, ySrc, srcWidth, srcHeight})) return 0;
  const Span1D dx = Normalise(x, width), dy = Normalise(y, height);
  const Span1D sx = Normalise(xSrc, srcWidth), sy = Normalise(ySrc, srcHeight);
  const bool flipped = dx.mirrored != sx.mirrored || dy.mirrored != sy.mirrored;
  if (!flipped && dx.count == sx.count && dy.count == sy.count)
    return BitBlt(dst, dx.start, dy.start, dx.count, dy.count, src, sx.start, sy.start, rop);
  if (&dst == &src) {
    // Scaling in place would read pixels already written: work from a copy.
    const auto copy = Duplicate(src);
    if (!copy) return 0;
    return StretchBlt(dst, x, y, width, height, *copy, xSrc, ySrc, srcWidth, srcHeight, rop, stretchMode);
  }
  if (stretchMode == HALFTONE) return StretchArea(dst, dx, dy, src, sx, sy, rop);
  return StretchNearest(dst, dx, dy, src, sx, sy, rop);
}

int BitBlt(HDC dst, int32_t x, int32_t y, int32_t width, int32_t height, HDC src, int32_t xSrc, int32_t ySrc,
           uint32_t rop) {
  if (!dst || !src || !dst->bitmap() || !src->bitmap()) return 0;
  return BitBlt(*dst->bitmap(), x, y, width, height, *src->bitmap(), xSrc, ySrc, rop);
}

int StretchBlt(HDC dst, int32_t x, int32_t y, int32_t width, int32_t height, HDC src, int32_t xSrc, int32_t ySrc,
               int32_t srcWidth, int32_t srcHeight, uint32_t rop) {
  if (!dst || !src || !dst->bitmap() || !src->bitmap()) return 0;
  return StretchBlt(*dst->bitmap(), x, y, width, height, *src->bitmap(), xSrc, ySrc, srcWidth, srcHeight, rop,
                    dst->GetStretchBltMode());
}

// Inverse mapping in exact integer arithmetic: for the centre of each destination pixel, the
// parallelogram coordinates (u, v) in 0..1 are cross-product ratios, scaled to source pixels and
// floored, so quarter turns and mirrors land on exactly the right pixel.
int PlgBlt(HDC dstDC, const Point points[3], HDC srcDC, int32_t xSrc, int32_t ySrc, int32_t width, int32_t height) {
  if (!dstDC || !srcDC || !dstDC->bitmap() || !srcDC->bitmap() || !points || width <= 0 || height <= 0) return 0;
  for (int k = 0; k < 3; ++k)
    if (!InRange({points[k].x, points[k].y})) return 0;
  Bitmap& dst = *dstDC->bitmap();
  const Bitmap& src = *srcDC->bitmap();
  const int64_t e1x = int64_t{points[1].x} - points[0].x, e1y = int64_t{points[1].y} - points[0].y;
  const int64_t e2x = int64_t{points[2].x} - points[0].x, e2y = int64_t{points[2].y} - points[0].y;
  int64_t det = e1x * e2y - e1y * e2x;
  if (det == 0) return 0;
  const int64_t sign = det < 0 ? -1 : 1;
  det *= sign;
  std::shared_ptr<Bitmap> copy;
  const Bitmap* from = &src;
  if (&dst == &src) {
    copy = Duplicate(src);
    if (!copy) return 0;
    from = copy.get();
  }
  const int64_t xs[4] = {points[0].x, points[1].x, points[2].x, int64_t{points[1].x} + e2x};
  const int64_t ys[4] = {points[0].y, points[1].y, points[2].y, int64_t{points[1].y} + e2y};
  const int64_t left = std::max<int64_t>(0, *std::min_element(xs, xs + 4));
  const int64_t right = std::min<int64_t>(dst.width(), *std::max_element(xs, xs + 4));
  const int64_t top = std::max<int64_t>(0, *std::min_element(ys, ys + 4));
  const int64_t bottom = std::min<int64_t>(dst.height(), *std::max_element(ys, ys + 4));
  PixelMapper mapper(*from, dst);
  for (int64_t Y = top; Y < bottom; ++Y) {
    const int64_t dy = 2 * Y + 1 - 2 * int64_t{points[0].y};
    for (int64_t X = left; X < right; ++X) {
      const int64_t dx = 2 * X + 1 - 2 * int64_t{points[0].x};
      const int64_t nu = sign * (dx * e2y - dy * e2x);
      const int64_t nv = sign * (e1x * dy - e1y * dx);
      if (nu < 0 || nv < 0 || nu >= 2 * det || nv >= 2 * det) continue;
      const auto u = static_cast<int64_t>(xSrc + static_cast<__int128>(nu) * width / (2 * det));
      const auto v = static_cast<int64_t>(ySrc + static_cast<__int128>(nv) * height / (2 * det));
      if (u < 0 || v < 0 || u >= from->width() || v >= from->height()) continue;
      dst.setPixelValue(static_cast<int32_t>(X), static_cast<int32_t>(Y),
                        mapper.Map(from->pixelValue(static_cast<int32_t>(u), static_cast<int32_t>(v))));
    }
  }
  return 1;
}

}  // namespace lumora::raster

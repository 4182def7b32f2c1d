#include "imaging/raster/PixelRows.h"

#include <algorithm>

#include "imaging/raster/Blit.h"
#include "imaging/raster/ColorMatch.h"

namespace lumora::raster {
namespace {

constexpr uint32_t kEmptyKey = 0xFFFFFFFFu;
constexpr int kCacheBits = 14;

bool IsDefaultMasks(const Bitmap& b) { return b.masks() == ChannelMasks::DefaultFor(b.bpp()); }

// Swaps the red and blue bytes: 0x00BBGGRR <-> 0x00RRGGBB.
constexpr uint32_t SwapRedBlue(uint32_t v) { return ((v & 0xFF) << 16) | (v & 0xFF00) | ((v >> 16) & 0xFF); }

template <typename Combine>
void WriteWith(Bitmap& bitmap, int32_t y, int32_t x0, std::span<const uint32_t> values, Combine combine) {
  uint8_t* row = bitmap.row(y);
  const size_t n = values.size();
  switch (bitmap.bpp()) {
    case 8:
      for (size_t i = 0; i < n; ++i) {
        uint8_t& p = row[x0 + i];
        p = static_cast<uint8_t>(combine(p, values[i]));
      }
      return;
    case 24:
      for (size_t i = 0; i < n; ++i) {
        uint8_t* p = row + 3 * (x0 + i);
        const uint32_t v = combine(static_cast<uint32_t>(p[0] | (p[1] << 8) | (p[2] << 16)), values[i]);
        p[0] = static_cast<uint8_t>(v);
        p[1] = static_cast<uint8_t>(v >> 8);
        p[2] = static_cast<uint8_t>(v >> 16);
      }
      return;
    case 32: {
      auto* p = row + 4 * static_cast<size_t>(x0);
      for (size_t i = 0; i < n; ++i, p += 4) {
        const uint32_t old = static_cast<uint32_t>(p[0] | (p[1] << 8) | (p[2] << 16)) | (uint32_t{p[3]} << 24);
        const uint32_t v = combine(old, values[i]);
        p[0] = static_cast<uint8_t>(v);
        p[1] = static_cast<uint8_t>(v >> 8);
        p[2] = static_cast<uint8_t>(v >> 16);
        p[3] = static_cast<uint8_t>(v >> 24);
      }
      return;
    }
    default:
      for (size_t i = 0; i < n; ++i) {
        const int32_t x = x0 + static_cast<int32_t>(i);
        bitmap.setPixelValue(x, y, combine(bitmap.pixelValue(x, y), values[i]));
      }
  }
}

}  // namespace

bool SameFormat(const Bitmap& a, const Bitmap& b) {
  if (a.bpp() != b.bpp()) return false;
  if (a.bpp() <= 8) return std::ranges::equal(a.colorTable(), b.colorTable());
  return a.bpp() == 24 || a.masks() == b.masks();
}

bool IsSupportedRop(uint32_t rop) { return rop == SRCCOPY || rop == SRCAND || rop == SRCPAINT; }

void ReadValues(const Bitmap& bitmap, int32_t y, int32_t x0, std::span<uint32_t> out) {
  const uint8_t* row = bitmap.row(y);
  const size_t n = out.size();
  switch (bitmap.bpp()) {
    case 8:
      for (size_t i = 0; i < n; ++i) out[i] = row[x0 + i];
      return;
    case 16: {
      const uint8_t* p = row + 2 * static_cast<size_t>(x0);
      for (size_t i = 0; i < n; ++i, p += 2) out[i] = static_cast<uint32_t>(p[0] | (p[1] << 8));
      return;
    }
    case 24: {
      const uint8_t* p = row + 3 * static_cast<size_t>(x0);
      for (size_t i = 0; i < n; ++i, p += 3) out[i] = static_cast<uint32_t>(p[0] | (p[1] << 8) | (p[2] << 16));
      return;
    }
    case 32: {
      const uint8_t* p = row + 4 * static_cast<size_t>(x0);
      for (size_t i = 0; i < n; ++i, p += 4)
        out[i] = static_cast<uint32_t>(p[0] | (p[1] << 8) | (p[2] << 16)) | (uint32_t{p[3]} << 24);
      return;
    }
    default:
      for (size_t i = 0; i < n; ++i) out[i] = bitmap.pixelValue(x0 + static_cast<int32_t>(i), y);
  }
}

void ReadColours(const Bitmap& bitmap, int32_t y, int32_t x0, std::span<uint32_t> out) {
  ReadValues(bitmap, y, x0, out);
  if (bitmap.bpp() == 24 || (bitmap.bpp() == 32 && IsDefaultMasks(bitmap))) {
    for (auto& v : out) v = SwapRedBlue(v & 0xFFFFFFu);
  } else {
    for (auto& v : out) v = bitmap.rgbForValue(v);
  }
}

void WriteValues(Bitmap& bitmap, int32_t y, int32_t x0, std::span<const uint32_t> values, uint32_t rop) {
  switch (rop) {
    case SRCAND: WriteWith(bitmap, y, x0, values, [](uint32_t d, uint32_t s) { return d & s; }); return;
    case SRCPAINT: WriteWith(bitmap, y, x0, values, [](uint32_t d, uint32_t s) { return d | s; }); return;
    default: WriteWith(bitmap, y, x0, values, [](uint32_t, uint32_t s) { return s; }); return;
  }
}

PixelMapper::PixelMapper(const Bitmap& src, const Bitmap& dst) : m_src(src), m_dst(dst), m_route(Route::Colour) {
  if (dst.bpp() <= 8) {
    m_cacheKeys.assign(size_t{1} << kCacheBits, kEmptyKey);
    m_cacheValues.resize(size_t{1} << kCacheBits);
  }
  const auto isBgr = [](const Bitmap& b) { return b.bpp() == 24 || (b.bpp() == 32 && IsDefaultMasks(b)); };
  if (SameFormat(src, dst)) {
    m_route = Route::Identity;
  } else if (isBgr(src) && isBgr(dst)) {
    m_route = Route::Low24;
  } else if (src.bpp() <= 8) {
    m_route = Route::Table;
    const auto table = src.colorTable();
    m_table.resize(table.size());
    for (size_t i = 0; i < table.size(); ++i) m_table[i] = FromColour(src.rgbForValue(static_cast<uint32_t>(i)));
  }
}

void PixelMapper::Map(std::span<uint32_t> values) {
  if (m_route == Route::Identity) return;
  if (m_route == Route::Low24) {
    for (auto& v : values) v &= 0xFFFFFFu;
    return;
  }
  if (m_route == Route::Table) {
    for (auto& v : values) v = v < m_table.size() ? m_table[v] : m_table[0];
    return;
  }
  for (auto& v : values) v = m_src.rgbForValue(v);
  FromColours(values);
}

uint32_t PixelMapper::FromColour(uint32_t rgb) {
  rgb &= 0xFFFFFFu;
  switch (m_dst.bpp()) {
    case 1:
    case 4:
    case 8: return NearestCached(rgb);
    case 24: return SwapRedBlue(rgb);
    default: return m_dst.valueForRGB(rgb);
  }
}

void PixelMapper::FromColours(std::span<uint32_t> colours) {
  if (m_dst.bpp() == 24 || (m_dst.bpp() == 32 && IsDefaultMasks(m_dst))) {
    for (auto& v : colours) v = SwapRedBlue(v & 0xFFFFFFu);
    return;
  }
  for (auto& v : colours) v = FromColour(v);
}

uint32_t PixelMapper::NearestCached(uint32_t rgb) {
  const size_t slot = (rgb * 2654435761u) >> (32 - kCacheBits);
  if (m_cacheKeys[slot] != rgb) {
    m_cacheKeys[slot] = rgb;
    m_cacheValues[slot] = static_cast<uint8_t>(NearestIndex(m_dst.colorTable(), rgb));
  }
  return m_cacheValues[slot];
}

}  // namespace lumora::raster

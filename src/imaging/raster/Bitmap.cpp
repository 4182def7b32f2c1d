#include "imaging/raster/Bitmap.h"

#include <cstdlib>
#include <limits>

#include "base/HugePages.h"
#include "base/LumoraError.h"
#include "imaging/raster/ColorMatch.h"

namespace lumora::raster {

ChannelMasks ChannelMasks::DefaultFor(int bpp) {
  if (bpp == 16) return {0x7C00, 0x03E0, 0x001F};
  if (bpp == 24 || bpp == 32) return {0xFF0000, 0x00FF00, 0x0000FF};
  return {};
}

bool Bitmap::IsSupportedDepth(int bpp) {
  return bpp == 1 || bpp == 4 || bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32;
}

int32_t Bitmap::BytesPerScanLine(int32_t width, int bpp) {
  const int64_t bytes = ((int64_t{width} * bpp + 31) / 32) * 4;
  if (bytes > std::numeric_limits<int32_t>::max() || bytes < std::numeric_limits<int32_t>::min())
    throw LumoraError::overflow();
  return static_cast<int32_t>(bytes);
}

std::shared_ptr<Bitmap> Bitmap::Create(int32_t width, int32_t height, int bpp, RowOrder order) {
  return Create(width, height, bpp, order, ChannelMasks::DefaultFor(bpp));
}

std::shared_ptr<Bitmap> Bitmap::Create(int32_t width, int32_t height, int bpp, RowOrder order, ChannelMasks masks) {
  if (width < 1 || height < 1 || !IsSupportedDepth(bpp)) return nullptr;
  const int32_t stride = BytesPerScanLine(width, bpp);
  const int64_t size = int64_t{stride} * height;
  if (size > std::numeric_limits<int32_t>::max()) throw LumoraError::overflow();
  auto* bits = static_cast<uint8_t*>(std::calloc(static_cast<size_t>(size), 1));
  if (!bits) return nullptr;
  AdviseHugePages(bits, static_cast<size_t>(size));
  return std::shared_ptr<Bitmap>(new Bitmap(width, height, bpp, stride, order, masks, bits));
}

Bitmap::Bitmap(int32_t width, int32_t height, int bpp, int32_t stride, RowOrder order, ChannelMasks masks,
               uint8_t* bits)
    : m_width(width), m_height(height), m_bpp(bpp), m_stride(stride), m_order(order), m_masks(masks), m_bits(bits) {
  if (bpp <= 8) m_colorTable.resize(size_t{1} << bpp);
}

Bitmap::~Bitmap() { std::free(m_bits); }

uint32_t Bitmap::pixelValue(int32_t x, int32_t y) const {
  const uint8_t* r = row(y);
  switch (m_bpp) {
    case 1: return (r[x >> 3] >> (7 - (x & 7))) & 1u;
    case 4: return (r[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xFu;
    case 8: return r[x];
    case 16: return static_cast<uint32_t>(r[2 * x] | (r[2 * x + 1] << 8));
    case 24: return static_cast<uint32_t>(r[3 * x] | (r[3 * x + 1] << 8) | (r[3 * x + 2] << 16));
    default: {
      const uint8_t* p = r + 4 * static_cast<size_t>(x);
      return static_cast<uint32_t>(p[0] | (p[1] << 8) | (p[2] << 16)) | (static_cast<uint32_t>(p[3]) << 24);
    }
  }
}

void Bitmap::setPixelValue(int32_t x, int32_t y, uint32_t value) {
  uint8_t* r = row(y);
  switch (m_bpp) {
    case 1: {
      const uint8_t bit = static_cast<uint8_t>(0x80u >> (x & 7));
      r[x >> 3] = static_cast<uint8_t>((value & 1u) ? (r[x >> 3] | bit) : (r[x >> 3] & ~bit));
      break;
    }
    case 4: {
      uint8_t& b = r[x >> 1];
      b = (x & 1) ? static_cast<uint8_t>((b & 0xF0) | (value & 0xF)) : static_cast<uint8_t>((b & 0x0F) | ((value & 0xF) << 4));
      break;
    }
    case 8: r[x] = static_cast<uint8_t>(value); break;
    case 16:
      r[2 * x] = static_cast<uint8_t>(value);
      r[2 * x + 1] = static_cast<uint8_t>(value >> 8);
      break;
    case 24:
      r[3 * x] = static_cast<uint8_t>(value);
      r[3 * x + 1] = static_cast<uint8_t>(value >> 8);
      r[3 * x + 2] = static_cast<uint8_t>(value >> 16);
      break;
    default: {
      uint8_t* p = r + 4 * static_cast<size_t>(x);
      p[0] = static_cast<uint8_t>(value);
      p[1] = static_cast<uint8_t>(value >> 8);
      p[2] = static_cast<uint8_t>(value >> 16);
      p[3] = static_cast<uint8_t>(value >> 24);
    }
  }
}

namespace {

// Scales the masked field to 0..255, replicating high bits into the low ones.
uint8_t expandField(uint32_t value, uint32_t mask) {
  if (mask == 0) return 0;
  int shift = 0;
  while (!((mask >> shift) & 1u)) ++shift;
  int bits = 0;
  while (shift + bits < 32 && ((mask >> (shift + bits)) & 1u)) ++bits;
  uint32_t v = (value & mask) >> shift;
  if (bits >= 8) return static_cast<uint8_t>(v >> (bits - 8));
  uint32_t out = 0;
  int filled = 0;
  while (filled < 8) {
    out = (out << bits) | v;
    filled += bits;
  }
  return static_cast<uint8_t>(out >> (filled - 8));
}

uint32_t packField(uint8_t channel, uint32_t mask) {
  if (mask == 0) return 0;
  int shift = 0;
  while (!((mask >> shift) & 1u)) ++shift;
  int bits = 0;
  while (shift + bits < 32 && ((mask >> (shift + bits)) & 1u)) ++bits;
  const uint32_t v = bits >= 8 ? static_cast<uint32_t>(channel) << (bits - 8) : static_cast<uint32_t>(channel) >> (8 - bits);
  return (v << shift) & mask;
}

}  // namespace

uint32_t Bitmap::rgbForValue(uint32_t value) const {
  if (m_bpp <= 8) {
    if (value >= m_colorTable.size()) return 0;
    const RGBQuad& q = m_colorTable[value];
    return static_cast<uint32_t>(q.red | (q.green << 8) | (q.blue << 16));
  }
  if (m_bpp == 24) return ((value & 0xFF) << 16) | (value & 0xFF00) | ((value >> 16) & 0xFF);
  return static_cast<uint32_t>(expandField(value, m_masks.red)) |
         (static_cast<uint32_t>(expandField(value, m_masks.green)) << 8) |
         (static_cast<uint32_t>(expandField(value, m_masks.blue)) << 16);
}

uint32_t Bitmap::valueForRGB(uint32_t rgb) const {
  if (m_bpp <= 8) return NearestIndex(m_colorTable, rgb);
  const uint8_t r = rgb & 0xFF, g = (rgb >> 8) & 0xFF, b = (rgb >> 16) & 0xFF;
  if (m_bpp == 24) return static_cast<uint32_t>(b | (g << 8) | (r << 16));
  return packField(r, m_masks.red) | packField(g, m_masks.green) | packField(b, m_masks.blue);
}

uint32_t Bitmap::pixelRGB(int32_t x, int32_t y) const { return rgbForValue(pixelValue(x, y)); }

}  // namespace lumora::raster

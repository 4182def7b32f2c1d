// A device-independent bitmap: addressable pixels of 1, 4, 8, 16, 24 or 32 bits with a colour
// table, rows padded to 4 bytes, stored top row first or bottom row first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace lumora::raster {

struct RGBQuad {
  uint8_t blue = 0, green = 0, red = 0, reserved = 0;
  friend bool operator==(const RGBQuad&, const RGBQuad&) = default;
};
static_assert(sizeof(RGBQuad) == 4);

enum class RowOrder { TopDown, BottomUp };

// Where the channels sit in a 16- or 32-bit pixel (BI_BITFIELDS); 5-5-5 and 8-8-8 by default.
struct ChannelMasks {
  uint32_t red = 0, green = 0, blue = 0;
  friend bool operator==(const ChannelMasks&, const ChannelMasks&) = default;
  static ChannelMasks DefaultFor(int bpp);
};

class Bitmap {
 public:
  // nullptr for a size below 1, an unsupported depth or when memory cannot be had;
  // raises Overflow when the byte count does not fit a signed 32-bit number.
  static std::shared_ptr<Bitmap> Create(int32_t width, int32_t height, int bpp,
                                        RowOrder order = RowOrder::TopDown);
  static std::shared_ptr<Bitmap> Create(int32_t width, int32_t height, int bpp, RowOrder order,
                                        ChannelMasks masks);
  // ((width x bpp + 31) \ 32) x 4; raises Overflow.
  static int32_t BytesPerScanLine(int32_t width, int bpp);
  static bool IsSupportedDepth(int bpp);

  Bitmap(const Bitmap&) = delete;
  Bitmap& operator=(const Bitmap&) = delete;
  ~Bitmap();

  int32_t width() const { return m_width; }
  int32_t height() const { return m_height; }
  int bpp() const { return m_bpp; }
  int32_t stride() const { return m_stride; }
  RowOrder rowOrder() const { return m_order; }
  const ChannelMasks& masks() const { return m_masks; }
  size_t sizeBytes() const { return static_cast<size_t>(m_stride) * static_cast<size_t>(m_height); }

  // The first byte of pixel memory (the bottom row for bottom-up bitmaps).
  uint8_t* bits() { return m_bits; }
  const uint8_t* bits() const { return m_bits; }
  // Row y counted from the top of the picture, whatever the storage order.
  uint8_t* row(int32_t y) { return m_bits + rowOffset(y); }
  const uint8_t* row(int32_t y) const { return m_bits + rowOffset(y); }

  // 2^bpp entries for depths up to 8, empty otherwise.
  std::span<RGBQuad> colorTable() { return m_colorTable; }
  std::span<const RGBQuad> colorTable() const { return m_colorTable; }

  // The raw pixel value (index, or packed 16/24/32-bit value); coordinates must be inside.
  uint32_t pixelValue(int32_t x, int32_t y) const;
  void setPixelValue(int32_t x, int32_t y, uint32_t value);
  // The colour of a pixel as 0x00BBGGRR.
  uint32_t pixelRGB(int32_t x, int32_t y) const;
  // The value that represents a colour in this bitmap: nearest table entry for indexed depths.
  uint32_t valueForRGB(uint32_t rgb) const;
  uint32_t rgbForValue(uint32_t value) const;

 private:
  Bitmap(int32_t width, int32_t height, int bpp, int32_t stride, RowOrder order, ChannelMasks masks, uint8_t* bits);
  size_t rowOffset(int32_t y) const {
    const int32_t r = m_order == RowOrder::TopDown ? y : m_height - 1 - y;
    return static_cast<size_t>(r) * static_cast<size_t>(m_stride);
  }

  int32_t m_width;
  int32_t m_height;
  int m_bpp;
  int32_t m_stride;
  RowOrder m_order;
  ChannelMasks m_masks;
  uint8_t* m_bits;  // calloc'ed: zero pixels, lazily mapped for large pictures
  std::vector<RGBQuad> m_colorTable;
};

}  // namespace lumora::raster

#include "imaging/raster/Rgb32.h"

namespace lumora::raster {

bool IsRgb32Layout(const Bitmap& bitmap) {
  return bitmap.bpp() == 32 && bitmap.rowOrder() == RowOrder::TopDown && bitmap.masks() == ChannelMasks::DefaultFor(32);
}

void Rgb24ToRgb32(const uint8_t* in, int32_t width, uint8_t* out) {
  for (int32_t x = 0; x < width; ++x, in += 3, out += 4) out[0] = in[0], out[1] = in[1], out[2] = in[2], out[3] = 0xFF;
}

void Rgb32ToRgb24(const uint8_t* in, int32_t width, uint8_t* out) {
  for (int32_t x = 0; x < width; ++x, in += 4, out += 3) out[0] = in[0], out[1] = in[1], out[2] = in[2];
}

std::shared_ptr<Bitmap> Rgb32Copy(const Bitmap& bitmap) {
  auto copy = Bitmap::Create(bitmap.width(), bitmap.height(), 32, RowOrder::TopDown);
  if (!copy) return nullptr;
  for (int32_t y = 0; y < bitmap.height(); ++y) {
    uint8_t* out = copy->row(y);
    if (bitmap.bpp() == 24) {
      Rgb24ToRgb32(bitmap.row(y), bitmap.width(), out);
      continue;
    }
    for (int32_t x = 0; x < bitmap.width(); ++x, out += 4) {
      const uint32_t rgb = bitmap.pixelRGB(x, y);  // 0x00BBGGRR
      out[0] = static_cast<uint8_t>(rgb >> 16), out[1] = static_cast<uint8_t>(rgb >> 8), out[2] = static_cast<uint8_t>(rgb);
      out[3] = 0xFF;
    }
  }
  return copy;
}

}  // namespace lumora::raster

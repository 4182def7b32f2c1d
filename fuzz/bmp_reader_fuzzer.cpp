// Feeds arbitrary bytes to the BMP reader. Whatever it accepts must be a consistent bitmap that
// writes out and reads back pixel for pixel, and must convert to 32 bits without trouble.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "imaging/raster/Blit.h"
#include "imaging/raster/BmpFile.h"

using namespace lumora::raster;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const BmpReadResult read = ReadBmp(std::span(data, size));
  if (!read) {
    if (read.error.empty()) std::abort();
    return 0;
  }
  const Bitmap& bitmap = *read.bitmap;
  if (bitmap.width() < 1 || bitmap.height() < 1 || bitmap.width() > kBmpMaxSide || bitmap.height() > kBmpMaxSide ||
      int64_t{bitmap.width()} * bitmap.height() > kBmpMaxPixels)
    std::abort();
  // Keep each run short: big pictures are only checked for their header values.
  if (int64_t{bitmap.width()} * bitmap.height() > (1 << 20)) return 0;
  const BmpReadResult again = ReadBmp(EncodeBmp(bitmap));
  if (!again || again.bitmap->bpp() != bitmap.bpp() || !(again.bitmap->masks() == bitmap.masks())) std::abort();
  for (int32_t y = 0; y < bitmap.height(); ++y)
    for (int32_t x = 0; x < bitmap.width(); ++x)
      if (again.bitmap->pixelValue(x, y) != bitmap.pixelValue(x, y)) std::abort();
  auto screen = Bitmap::Create(bitmap.width(), bitmap.height(), 32);
  if (!screen || !BitBlt(*screen, 0, 0, bitmap.width(), bitmap.height(), bitmap, 0, 0, SRCCOPY)) std::abort();
  return 0;
}

// Windows bitmap files: a reader that refuses hostile input without crashing or over-allocating,
// and a writer.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "imaging/raster/Bitmap.h"

namespace lumora::raster {

struct BmpReadResult {
  std::shared_ptr<Bitmap> bitmap;  // null on failure
  std::string error;               // why, when null
  explicit operator bool() const { return bitmap != nullptr; }
};

// Limits for what a file may ask for.
inline constexpr int32_t kBmpMaxSide = 65535;
inline constexpr int64_t kBmpMaxPixels = int64_t{1} << 28;

// Headers BITMAPCOREHEADER, BITMAPINFOHEADER, V4 and V5; 1/4/8/16/24/32 bits; both row orders;
// uncompressed, RLE4, RLE8 and BI_BITFIELDS. The bitmap keeps the file's depth and row order.
BmpReadResult ReadBmp(std::span<const uint8_t> file);
BmpReadResult ReadBmpFile(const std::filesystem::path& path);

// BITMAPFILEHEADER + BITMAPINFOHEADER (+ masks for non-default 16/32-bit layouts) + colour table
// + rows in the bitmap's own order.
std::vector<uint8_t> EncodeBmp(const Bitmap& bitmap);
// Atomic: a failed write leaves an existing file as it was.
bool WriteBmpFile(const std::filesystem::path& path, const Bitmap& bitmap, std::string* error = nullptr);

}  // namespace lumora::raster

// Windows bitmap files: a reader that refuses hostile input without crashing or over-allocating,
// and a writer.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "base/AtomicFile.h"
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

// The file's own depth and row order, or the RGB32 layout (raster/Rgb32.h) the routes read: a
// 24-bit file's rows are converted as they are copied, with no full-size picture in between.
// Rgb32Or24 keeps a 24-bit file's rows as they are (the JPEG route reads them so) and converts
// every other depth.
enum class BmpPixels { AsStored, Rgb32, Rgb32Or24 };

// Headers BITMAPCOREHEADER, BITMAPINFOHEADER, V4 and V5; 1/4/8/16/24/32 bits; both row orders;
// uncompressed, RLE4, RLE8 and BI_BITFIELDS.
BmpReadResult ReadBmp(std::span<const uint8_t> file, BmpPixels target = BmpPixels::AsStored);
BmpReadResult ReadBmpFile(const std::filesystem::path& path, BmpPixels target = BmpPixels::AsStored);

// BITMAPFILEHEADER + BITMAPINFOHEADER (+ masks for non-default 16/32-bit layouts) + colour table
// + rows in the bitmap's own order.
std::vector<uint8_t> EncodeBmp(const Bitmap& bitmap);
// The 24-bit bottom-up file of a bitmap in the RGB32 layout (raster/Rgb32.h), its rows converted
// a batch at a time as the file is written: the bytes EncodeBmp gives for a 24-bit bottom-up
// copy, with neither the copy nor the whole file in memory. The bitmap must outlive the pieces.
FilePieces Bmp24Pieces(const Bitmap& rgb32);
// Atomic: a failed write leaves an existing file as it was.
bool WriteBmpFile(const std::filesystem::path& path, const Bitmap& bitmap, std::string* error = nullptr);

}  // namespace lumora::raster

// Picture files loaded into picture objects (templates, pictures to convert), with the checks and
// messages every reader shares. Windows bitmaps go through our own reader, which needs no Qt;
// the other formats through a reader the caller passes (compose's, over Qt's). A file that asks
// for more memory than kMaxPicturePixels allows is refused before anything is decoded.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "imaging/raster/BmpFile.h"
#include "imaging/raster/Picture.h"

namespace lumora {

// 8192 x 8192: four times a 4K picture, and about 256 MB as 32-bit pixels.
inline constexpr int64_t kMaxPicturePixels = int64_t{1} << 26;
inline constexpr int kMaxPictureSide = 32767;  // what QPainter can address

// Why a picture did not load, in the words a user is told.
enum class PictureProblem { None, NotFound, NotAPicture, TooLarge, Damaged, OutOfMemory };

struct LoadedPicture {
  raster::StdPicture picture;  // a 32-bit top-down bitmap picture on white (see LoadPicture), empty on failure
  std::string error;           // why, on failure
  PictureProblem problem = PictureProblem::None;
  std::vector<uint8_t> alpha;  // each pixel's opacity, row by row; empty for an opaque picture
  explicit operator bool() const { return !picture.IsNull(); }
};

LoadedPicture FailedLoad(PictureProblem problem, std::string why);
// A failed load when the size is out of bounds, nothing otherwise.
std::optional<LoadedPicture> SizeProblem(int64_t width, int64_t height);

// "the file is damaged", "the picture is too large (9000 x 9000 pixels)"...: to follow a colon.
std::string DescribeProblem(const LoadedPicture& failed);
// The message a user is shown: The picture "..." could not be opened: the file is damaged.
std::string CannotOpenMessage(const std::filesystem::path& path, const LoadedPicture& failed);

// Reads a file that is not a Windows bitmap; it may throw.
using PictureReader = LoadedPicture (*)(const std::filesystem::path& path);
// Without a reader for them, other formats are "not a picture file this program can read".
// bitmapPixels Rgb32Or24 lets a 24-bit bitmap file keep its own rows (for the JPEG route alone).
LoadedPicture LoadPicture(const std::filesystem::path& path, PictureReader otherFormats = nullptr,
                          raster::BmpPixels bitmapPixels = raster::BmpPixels::Rgb32);

// By the file's first bytes.
bool IsBitmapFile(const std::filesystem::path& path);
// True for Windows bitmap, JPEG, PNG and GIF files: their readers need no GUI application,
// unlike SVG's, which lays out text with the fonts a GUI application brings.
bool LoadsWithoutGui(const std::filesystem::path& path);

}  // namespace lumora

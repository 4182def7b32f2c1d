// Loads picture files (templates, pictures to convert) into picture objects. Windows bitmaps go
// through our own reader; other formats through Qt's readers. A file that asks for more memory
// than kMaxPicturePixels allows is refused before anything is decoded.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "imaging/raster/Picture.h"

namespace lumora {

// 8192 x 8192: four times a 4K picture, and about 256 MB as 32-bit pixels.
inline constexpr int64_t kMaxPicturePixels = int64_t{1} << 26;
inline constexpr int kMaxPictureSide = 32767;  // what QPainter can address

// Why a picture did not load, in the words a user is told.
enum class PictureProblem { None, NotFound, NotAPicture, TooLarge, Damaged, OutOfMemory };

struct LoadedPicture {
  raster::StdPicture picture;  // a 32-bit top-down bitmap picture on white, empty on failure
  std::string error;           // why, on failure
  PictureProblem problem = PictureProblem::None;
  std::vector<uint8_t> alpha;  // each pixel's opacity, row by row; empty for an opaque picture
  explicit operator bool() const { return !picture.IsNull(); }
};

// "the file is damaged", "the picture is too large (9000 x 9000 pixels)"...: to follow a colon.
std::string DescribeProblem(const LoadedPicture& failed);
// The message a user is shown: The picture "..." could not be opened: the file is damaged.
std::string CannotOpenMessage(const std::filesystem::path& path, const LoadedPicture& failed);

LoadedPicture LoadPictureFile(const std::filesystem::path& path);

// True for Windows bitmap, JPEG, PNG and GIF files (by their first bytes): their readers need no
// GUI application, unlike SVG's, which lays out text with the fonts a GUI application brings.
bool LoadsWithoutGui(const std::filesystem::path& path);

// LoadPictureFile with the wait cursor shown while it works, when there is a screen.
LoadedPicture LoadTemplatePicture(const std::filesystem::path& path);


}  // namespace lumora

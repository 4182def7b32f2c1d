// The export routes: the file name picks the route by its last four characters, and each route
// turns the composite into the bytes of its file. Writing the bytes (atomically) is the caller's,
// so a failed export never destroys a good file.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "base/AtomicFile.h"
#include "imaging/raster/Picture.h"

namespace lumora {

enum class ExportRoute { Jpeg, Gif, Bitmap, Png };

// ".GIF", ".BMP" and ".PNG" in any letter case pick their routes; every other name (".jpg",
// ".jpeg", another extension or none) is written as JPEG.
ExportRoute RouteFor(std::string_view fileName);

// Every component sampled at full resolution, at quality 1..100. Empty when nothing could be encoded.
std::vector<uint8_t> EncodeJpegRoute(const raster::StdPicture& picture, int quality = 100);
// A 24-bit bottom-up Windows bitmap, the form every reader takes, made as it is written.
FilePieces BitmapRoutePieces(const raster::StdPicture& picture);
// Lossless 8-bit RGB, whatever the picture's depth.
std::vector<uint8_t> EncodePngRoute(const raster::StdPicture& picture);

}  // namespace lumora

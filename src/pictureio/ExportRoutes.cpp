#include "pictureio/ExportRoutes.h"

#include <algorithm>
#include <cctype>

#include "imaging/PngWriter.h"
#include "imaging/cJpeg.h"
#include "imaging/raster/Blit.h"
#include "imaging/raster/BmpFile.h"
#include "imaging/raster/Rgb32.h"

namespace lumora {

ExportRoute RouteFor(std::string_view fileName) {
  std::string last(fileName.substr(fileName.size() < 4 ? 0 : fileName.size() - 4));
  std::ranges::transform(last, last.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  if (last == ".GIF") return ExportRoute::Gif;
  if (last == ".BMP") return ExportRoute::Bitmap;
  if (last == ".PNG") return ExportRoute::Png;
  return ExportRoute::Jpeg;
}

// The encoder samples the picture's own context: a 24-bit copy through an image object first
// would cost a third more memory and time and change no byte of the file.
std::vector<uint8_t> EncodeJpegRoute(const raster::StdPicture& picture, int quality) {
  if (!picture.Handle()) return {};
  const auto context = raster::CreateCompatibleDC();
  context->SelectBitmap(picture.sharedBitmap());
  cJpeg jpeg;
  jpeg.Quality(quality);
  jpeg.SetSamplingFrequencies(1, 1, 1, 1, 1, 1);
  if (jpeg.SampleHDC(context.get(), picture.Width(), picture.Height(), 0, 0) != 0) return {};
  return jpeg.SaveToMemory();
}

FilePieces BitmapRoutePieces(const raster::StdPicture& picture) {
  const raster::Bitmap* source = picture.Handle();
  if (!source) return {};
  if (raster::IsRgb32Layout(*source)) return raster::Bmp24Pieces(*source);
  // Other layouts are read through a copy in that layout, which the pieces keep.
  std::shared_ptr<const raster::Bitmap> copy = raster::Rgb32Copy(*source);
  if (!copy) return {};
  return [copy, pieces = raster::Bmp24Pieces(*copy)] { return pieces(); };
}

std::vector<uint8_t> EncodePngRoute(const raster::StdPicture& picture) {
  const raster::Bitmap* source = picture.Handle();
  return source ? EncodePng(*source) : std::vector<uint8_t>();
}

}  // namespace lumora

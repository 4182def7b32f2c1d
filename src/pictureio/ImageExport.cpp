#include "pictureio/ImageExport.h"

#include "base/AtomicFile.h"
#include "imaging/PngWriter.h"
#include "pictureio/ExportRoutes.h"
#include "pictureio/GifExport.h"

namespace lumora {

namespace {

ExportResult Failed(std::string message) { return {false, std::move(message)}; }

std::vector<uint8_t> EncodeComposite(ExportRoute route, const raster::StdPicture& composite, int jpegQuality) {
  switch (route) {
    case ExportRoute::Png: return EncodePngRoute(composite);
    case ExportRoute::Jpeg: return EncodeJpegRoute(composite, jpegQuality);
    case ExportRoute::Gif:
    case ExportRoute::Bitmap: break;  // written as they are made
  }
  return {};
}

}  // namespace

void ImageExport::Prepare(const raster::Bitmap& composite) {
  m_whiteCorner = lumora::WhiteCorner(composite);
  // A picture that shares the caller's bitmap without owning it (an empty owner): the routes only
  // read it, and the caller keeps it alive until the export is done.
  m_composite = raster::StdPicture(
      std::shared_ptr<raster::Bitmap>(std::shared_ptr<void>(), const_cast<raster::Bitmap*>(&composite)));
}

ExportResult ImageExport::Save(const std::filesystem::path& name, GifExport& gif, const ExportOptions& options) const {
  if (m_composite.IsNull() || name.empty()) return Failed(kImageNotSaved);
  const ExportRoute route = RouteFor(name.string());
  const char* const notWritten = route == ExportRoute::Gif ? kGifWriteFailed : kImageNotSaved;
  std::vector<uint8_t> bytes;
  FilePieces pieces;  // the bitmap route's, made as they are written
  try {
    if (route == ExportRoute::Gif) {
      if (std::string message = gif.Encode(m_composite, m_whiteCorner, bytes, options.Palette); !message.empty())
        return Failed(message);
    } else if (route == ExportRoute::Bitmap) {
      pieces = BitmapRoutePieces(m_composite);
    } else if (route == ExportRoute::Png && options.PngAlpha && m_withAlpha) {
      bytes = EncodePng(*m_withAlpha, true);
    } else {
      bytes = EncodeComposite(route, m_composite, options.JpegQuality);
    }
  } catch (const std::exception&) {
    return Failed(notWritten);
  }
  const bool written = pieces ? WriteFileAtomically(name, pieces) : !bytes.empty() && WriteFileAtomically(name, bytes);
  if (!written) return Failed(notWritten);
  return {true, {}};
}

ExportResult ExportImage(const raster::Bitmap& composite, const std::filesystem::path& name, GifExport& gif,
                         const ExportOptions& options) {
  ImageExport job;
  job.Prepare(composite);
  return job.Save(name, gif, options);
}

}  // namespace lumora

#include "compose/ImageExport.h"

#include "base/AtomicFile.h"
#include "base/FileHelpers.h"
#include "compose/BuildImage.h"
#include "compose/ExportRoutes.h"
#include "compose/GifExport.h"
#include "compose/PictureLoader.h"
#include "imaging/raster/BmpFile.h"

namespace lumora {

namespace {

ExportResult Failed(std::string message) { return {false, std::move(message)}; }

std::vector<uint8_t> EncodeFromIntermediate(ExportRoute route, const std::filesystem::path& intermediate) {
  const LoadedPicture loaded = LoadPictureFile(intermediate);
  if (!loaded) return {};
  switch (route) {
    case ExportRoute::Bitmap: return EncodeBitmapRoute(loaded.picture);
    case ExportRoute::Png: return EncodePngRoute(loaded.picture);
    case ExportRoute::Jpeg: return EncodeJpegRoute(loaded.picture);
    case ExportRoute::Gif: break;
  }
  return {};
}

}  // namespace

ImageExport::~ImageExport() {
  if (!m_intermediate.empty()) KillFile(m_intermediate.string());
}

bool ImageExport::Prepare(const raster::Bitmap& composite) {
  if (m_intermediate.empty()) m_intermediate = CreateTempFile();
  if (m_intermediate.empty()) return false;
  m_whiteCorner = lumora::WhiteCorner(composite);
  return raster::WriteBmpFile(m_intermediate, composite);
}

ExportResult ImageExport::Save(const std::filesystem::path& name, GifExport& gif) const {
  if (m_intermediate.empty() || name.empty()) return Failed(kImageNotSaved);
  const ExportRoute route = RouteFor(name.string());
  std::vector<uint8_t> bytes;
  try {
    if (route == ExportRoute::Gif) {
      if (std::string message = gif.Encode(m_intermediate, m_whiteCorner, bytes); !message.empty())
        return Failed(message);
    } else {
      bytes = EncodeFromIntermediate(route, m_intermediate);
    }
  } catch (const std::exception&) {
    return Failed(route == ExportRoute::Gif ? kGifWriteFailed : kImageNotSaved);
  }
  if (bytes.empty()) return Failed(kImageNotSaved);
  if (!WriteFileAtomically(name, bytes)) return Failed(route == ExportRoute::Gif ? kGifWriteFailed : kImageNotSaved);
  return {true, {}};
}

ExportResult ExportImage(const raster::Bitmap& composite, const std::filesystem::path& name, GifExport& gif) {
  ImageExport job;
  if (!job.Prepare(composite)) return Failed(kImageNotSaved);
  return job.Save(name, gif);
}

}  // namespace lumora

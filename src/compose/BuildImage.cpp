#include "compose/BuildImage.h"

#include <QPainter>
#include <algorithm>
#include <cstring>

#include "compose/ImageConversion.h"
#include "compose/TextPainter.h"
#include "pictureio/ExportRoutes.h"

namespace lumora {

namespace {

std::shared_ptr<raster::Bitmap> CopyOfTemplate(const raster::StdPicture& picture) {
  const raster::Bitmap* source = picture.Handle();
  if (!source) return nullptr;
  if (!raster::IsRgb32Layout(*source)) return raster::Rgb32Copy(*source);
  auto copy = raster::Bitmap::Create(source->width(), source->height(), 32, raster::RowOrder::TopDown);
  if (copy) std::memcpy(copy->bits(), source->bits(), source->sizeBytes());
  return copy;
}

void PaintVisibleItems(QPaintDevice& surface, const Document& document) {
  QPainter painter(&surface);
  for (const TextItem& item : document.TextItems())
    if (item.Visible) PaintTextItem(painter, item);
}

// The composite: the document's items painted on the given surface.
std::shared_ptr<raster::Bitmap> PaintedOn(std::shared_ptr<raster::Bitmap> surface, const Document& document) {
  if (!surface) return nullptr;
  QImage image = ToQImage(surface);
  PaintVisibleItems(image, document);
  return surface;
}

}  // namespace

std::shared_ptr<raster::Bitmap> BuildImage(const Document& document, const raster::StdPicture& templatePicture) {
  return PaintedOn(CopyOfTemplate(templatePicture), document);
}

std::shared_ptr<raster::Bitmap> BuildImageOnTemplate(const Document& document, raster::StdPicture templatePicture) {
  std::shared_ptr<raster::Bitmap> bitmap = templatePicture.sharedBitmap();
  templatePicture = {};
  const bool ours = bitmap && bitmap.use_count() == 1 && raster::IsRgb32Layout(*bitmap);
  return PaintedOn(ours ? std::move(bitmap) : CopyOfTemplate(raster::StdPicture(std::move(bitmap))), document);
}

std::shared_ptr<raster::Bitmap> BuildImageKeepingAlpha(const Document& document, const raster::StdPicture& templatePicture,
                                                       const std::vector<uint8_t>& alpha) {
  const raster::Bitmap* source = templatePicture.Handle();
  if (!source) return nullptr;
  const int w = source->width(), h = source->height();
  if (alpha.size() != size_t(w) * size_t(h)) return nullptr;
  std::shared_ptr<raster::Bitmap> converted;
  if (!raster::IsRgb32Layout(*source)) {
    converted = raster::Rgb32Copy(*source);
    if (!converted) return nullptr;
    source = converted.get();
  }
  // One surface, premultiplied while the text is painted and made straight again in place.
  auto composite = raster::Bitmap::Create(w, h, 32, raster::RowOrder::TopDown);
  if (!composite) return nullptr;
  QImage surface(composite->bits(), w, h, qsizetype(composite->stride()), QImage::Format_ARGB32_Premultiplied);
  // The template was flattened on white, c = a t + (1 - a) 255, so its premultiplied colour is
  // c - (255 - a): the text is then painted over the picture as it was drawn.
  for (int y = 0; y < h; ++y) {
    const uint8_t* in = source->row(y);
    auto* out = reinterpret_cast<QRgb*>(surface.scanLine(y));
    for (int x = 0; x < w; ++x, in += 4) {
      const int a = alpha[size_t(y) * size_t(w) + size_t(x)], white = 255 - a;
      out[x] = qRgba(std::max(0, in[2] - white), std::max(0, in[1] - white), std::max(0, in[0] - white), a);
    }
  }
  PaintVisibleItems(surface, document);
  // Made straight by Qt's own conversion, for its rounding.
  const bool straight = ForEachRowAs(surface, QImage::Format_ARGB32, [&](int y, const uchar* row) {
    std::memcpy(composite->row(y), row, size_t(w) * 4);
  });
  return straight ? composite : nullptr;
}

void PrepareTransparency(ImageExport& job, const std::filesystem::path& name, const ExportOptions& options,
                         const Document& document, const raster::StdPicture& templatePicture,
                         const std::vector<uint8_t>& alpha) {
  const bool keep = options.PngAlpha && !alpha.empty() && RouteFor(name.string()) == ExportRoute::Png;
  job.KeepAlpha(keep ? BuildImageKeepingAlpha(document, templatePicture, alpha) : nullptr);
}

}  // namespace lumora

#include "compose/BuildImage.h"

#include <QPainter>
#include <cstring>

#include "compose/ImageConversion.h"
#include "compose/TextPainter.h"

namespace lumora {

namespace {

std::shared_ptr<raster::Bitmap> CopyOfTemplate(const raster::StdPicture& picture) {
  const raster::Bitmap* source = picture.Handle();
  if (!source) return nullptr;
  if (!SharesQImageLayout(*source)) return Rgb32Copy(*source);
  auto copy = raster::Bitmap::Create(source->width(), source->height(), 32, raster::RowOrder::TopDown);
  if (copy) std::memcpy(copy->bits(), source->bits(), source->sizeBytes());
  return copy;
}

}  // namespace

std::shared_ptr<raster::Bitmap> BuildImage(const Document& document, const raster::StdPicture& templatePicture) {
  auto composite = CopyOfTemplate(templatePicture);
  if (!composite) return nullptr;
  QImage surface = ToQImage(composite);
  QPainter painter(&surface);
  for (const TextItem& item : document.TextItems()) {
    if (item.Visible) PaintTextItem(painter, item);
  }
  return composite;
}

bool WhiteCorner(const raster::Bitmap& composite) { return composite.pixelRGB(0, 0) == 0xFFFFFF; }

}  // namespace lumora

#include "compose/ImageConversion.h"

#include <QPainter>
#include <cstring>

namespace lumora {

namespace {

// QImage cleanup: the image held a reference to the bitmap; drop it.
void ReleaseBitmap(void* info) {
  std::unique_ptr<std::shared_ptr<raster::Bitmap>> holder(static_cast<std::shared_ptr<raster::Bitmap>*>(info));
}

void* HoldBitmap(const std::shared_ptr<raster::Bitmap>& bitmap) {
  return std::make_unique<std::shared_ptr<raster::Bitmap>>(bitmap).release();
}

}  // namespace

namespace {

QImage SharedImage(const std::shared_ptr<raster::Bitmap>& bitmap) {
  return QImage(bitmap->bits(), bitmap->width(), bitmap->height(), bitmap->stride(), QImage::Format_RGB32,
                ReleaseBitmap, HoldBitmap(bitmap));
}

// A separate image for a bitmap of another layout: painting on it leaves the bitmap as it was.
QImage ConvertedCopy(const raster::Bitmap& bitmap) {
  const auto copy = raster::Rgb32Copy(bitmap);
  return copy ? SharedImage(copy) : QImage();
}

}  // namespace

QImage ToQImage(const std::shared_ptr<raster::Bitmap>& bitmap) {
  if (!bitmap) return {};
  return raster::IsRgb32Layout(*bitmap) ? SharedImage(bitmap) : ConvertedCopy(*bitmap);
}

QImage ToQImage(const raster::StdPicture& picture) {
  const auto& bitmap = picture.sharedBitmap();
  if (!bitmap) return {};
  if (!raster::IsRgb32Layout(*bitmap)) return ConvertedCopy(*bitmap);
  const uint8_t* bits = bitmap->bits();
  return QImage(bits, bitmap->width(), bitmap->height(), bitmap->stride(), QImage::Format_RGB32, ReleaseBitmap,
                HoldBitmap(bitmap));
}

std::vector<uint8_t> AlphaOf(const QImage& image) {
  if (!image.hasAlphaChannel()) return {};
  const QImage straight = image.convertToFormat(QImage::Format_ARGB32);
  std::vector<uint8_t> alpha(static_cast<size_t>(straight.width()) * static_cast<size_t>(straight.height()));
  bool opaque = true;
  for (int y = 0; y < straight.height(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(straight.constScanLine(y));
    for (int x = 0; x < straight.width(); ++x)
      opaque &= (alpha[size_t(y) * size_t(straight.width()) + size_t(x)] = static_cast<uint8_t>(qAlpha(row[x]))) == 255;
  }
  return opaque ? std::vector<uint8_t>() : alpha;
}

std::shared_ptr<raster::Bitmap> ToBitmap(const QImage& image) {
  if (image.isNull()) return nullptr;
  QImage opaque;
  if (image.hasAlphaChannel()) {
    opaque = QImage(image.size(), QImage::Format_RGB32);
    if (opaque.isNull()) return nullptr;
    opaque.fill(Qt::white);
    QPainter painter(&opaque);
    painter.drawImage(0, 0, image);
  } else {
    opaque = image.convertToFormat(QImage::Format_RGB32);
    if (opaque.isNull()) return nullptr;
  }
  auto bitmap = raster::Bitmap::Create(opaque.width(), opaque.height(), 32, raster::RowOrder::TopDown);
  if (!bitmap) return nullptr;
  const auto rowBytes = static_cast<size_t>(opaque.width()) * 4;
  for (int y = 0; y < opaque.height(); ++y) std::memcpy(bitmap->row(y), opaque.constScanLine(y), rowBytes);
  return bitmap;
}

}  // namespace lumora

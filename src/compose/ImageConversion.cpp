#include "compose/ImageConversion.h"

#include <QPainter>
#include <algorithm>
#include <cstring>
#include <functional>

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

bool ForEachRowAs(const QImage& image, QImage::Format format, const std::function<void(int, const uchar*)>& take) {
  if (image.format() == format) {
    for (int y = 0; y < image.height(); ++y) take(y, image.constScanLine(y));
    return true;
  }
  constexpr int kBandRows = 256;
  for (int y = 0; y < image.height(); y += kBandRows) {
    const int rows = std::min(kBandRows, image.height() - y);
    const QImage band = image.copy(0, y, image.width(), rows).convertToFormat(format);
    if (band.isNull()) return false;
    for (int r = 0; r < rows; ++r) take(y + r, band.constScanLine(r));
  }
  return true;
}

std::vector<uint8_t> AlphaOf(const QImage& image) {
  if (!image.hasAlphaChannel()) return {};
  const auto width = static_cast<size_t>(image.width());
  std::vector<uint8_t> alpha(width * static_cast<size_t>(image.height()));
  bool opaque = true;
  const bool converted = ForEachRowAs(image, QImage::Format_ARGB32, [&](int y, const uchar* line) {
    const auto* row = reinterpret_cast<const QRgb*>(line);
    for (size_t x = 0; x < width; ++x)
      opaque &= (alpha[size_t(y) * width + x] = static_cast<uint8_t>(qAlpha(row[x]))) == 255;
  });
  return opaque || !converted ? std::vector<uint8_t>() : alpha;
}

std::shared_ptr<raster::Bitmap> ToBitmap(const QImage& image) {
  if (image.isNull()) return nullptr;
  auto bitmap = raster::Bitmap::Create(image.width(), image.height(), 32, raster::RowOrder::TopDown);
  if (!bitmap) return nullptr;
  if (image.hasAlphaChannel()) {
    QImage opaque = SharedImage(bitmap);
    opaque.fill(Qt::white);
    QPainter painter(&opaque);
    painter.drawImage(0, 0, image);
    return bitmap;
  }
  const auto rowBytes = static_cast<size_t>(image.width()) * 4;
  const bool converted = ForEachRowAs(image, QImage::Format_RGB32,
                                      [&](int y, const uchar* row) { std::memcpy(bitmap->row(y), row, rowBytes); });
  return converted ? bitmap : nullptr;
}

}  // namespace lumora

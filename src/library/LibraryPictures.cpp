#include "library/LibraryPictures.h"

#include <QFont>
#include <QImageReader>
#include <QPainter>
#include <mutex>

#include "compose/ImageConversion.h"
#include "compose/PictureLoader.h"

namespace lumora {
namespace {

bool WithinLimits(QSize size) {
  return size.width() > 0 && size.height() > 0 && size.width() <= kMaxPictureSide && size.height() <= kMaxPictureSide &&
         int64_t{size.width()} * size.height() <= kMaxPicturePixels;
}

// The size as stored and whether the reader turns the picture a quarter (Exif orientation), so
// the decoded picture's width and height swap.
struct Header {
  QSize stored;
  bool turned = false;
};

std::optional<Header> ReadHeader(QImageReader& reader) {
  reader.setAutoTransform(true);
  const QSize stored = reader.size();
  if (!stored.isValid() || !WithinLimits(stored)) return std::nullopt;
  return Header{stored, (reader.transformation() & QImageIOHandler::TransformationRotate90) != 0};
}

}  // namespace

std::optional<QSize> ReadLibraryPictureSize(const QString& path) {
  QImageReader reader(path);
  if (const auto header = ReadHeader(reader)) return header->turned ? header->stored.transposed() : header->stored;
  // No usable header (or a format only the shared loader reads): the full load decides.
  const QImage picture = ReadLibraryPicture(path);
  if (picture.isNull()) return std::nullopt;
  return picture.size();
}

QImage ReadLibraryPicture(const QString& path) {
  // The shared loader sets the readers' process-wide limit as it goes: one load at a time when
  // thumbnails are read side by side.
  static std::mutex oneAtATime;
  const std::lock_guard lock(oneAtATime);
  const LoadedPicture loaded = LoadPictureFile(path.toStdString());
  return loaded ? ToQImage(loaded.picture) : QImage();
}

QImage ReadLibraryThumbnail(const QString& path, QSize size) {
  QImageReader reader(path);
  if (const auto header = ReadHeader(reader)) {
    const QSize decoded = header->turned ? size.transposed() : size;
    if (decoded != header->stored) reader.setScaledSize(decoded);
    QImage picture;
    if (reader.read(&picture)) return picture;
  }
  const QImage picture = ReadLibraryPicture(path);
  if (picture.isNull()) return {};
  return picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

namespace {

QImage DrawPlaceholder(const QString& words) {
  QImage image(114, 42, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  QFont font(QStringLiteral("Tahoma"));
  font.setPixelSize(11);
  font.setBold(true);
  painter.setFont(font);
  painter.setPen(Qt::black);
  painter.drawText(image.rect(), Qt::AlignCenter, words);
  return image;
}

}  // namespace

bool IsTooLargeLibraryPicture(const QString& path) {
  QImageReader reader(path);
  const QSize stored = reader.size();
  return stored.isValid() && !WithinLimits(stored);
}

const QImage& PlaceholderPicture() {
  static const QImage placeholder = DrawPlaceholder(QStringLiteral("UNSUPPORTED\nIMAGE FILE"));
  return placeholder;
}

const QImage& TooLargePlaceholderPicture() {
  static const QImage placeholder = DrawPlaceholder(QStringLiteral("TOO LARGE"));
  return placeholder;
}

}  // namespace lumora

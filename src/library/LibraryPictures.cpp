#include "library/LibraryPictures.h"

#include <QFont>
#include <QImageReader>
#include <QPainter>

namespace lumora {
namespace {

// Bytes a decoded 32-bit picture of this size needs, compared with the readers' limit (in MB;
// 0 means no limit).
bool WithinAllocationLimit(QSize size) {
  if (size.width() <= 0 || size.height() <= 0) return false;
  const qint64 limitMb = QImageReader::allocationLimit();
  if (limitMb <= 0) return true;
  const qint64 bytes = qint64(size.width()) * qint64(size.height()) * 4;
  return bytes <= limitMb * 1024 * 1024;
}

QImage Decode(QImageReader& reader) {
  QImage image;
  if (!reader.read(&image)) return {};
  return image;
}

}  // namespace

std::optional<QSize> ReadLibraryPictureSize(const QString& path) {
  QImageReader reader(path);
  const QSize size = reader.size();
  if (!size.isValid() || !WithinAllocationLimit(size)) return std::nullopt;
  return size;
}

QImage ReadLibraryPicture(const QString& path) {
  QImageReader reader(path);
  reader.setAutoTransform(false);
  const QSize size = reader.size();
  // A format whose header gives no size is still bounded by the reader's own limit.
  if (size.isValid() && !WithinAllocationLimit(size)) return {};
  return Decode(reader);
}

QImage ReadLibraryThumbnail(const QString& path, QSize thumbSize) {
  QImageReader reader(path);
  reader.setAutoTransform(false);
  const QSize size = reader.size();
  if (size.isValid() && !WithinAllocationLimit(size)) return {};
  if (thumbSize.isValid() && thumbSize != size) reader.setScaledSize(thumbSize);
  return Decode(reader);
}

const QImage& PlaceholderPicture() {
  static const QImage placeholder = [] {
    QImage image(114, 42, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(11);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(image.rect(), Qt::AlignCenter, QStringLiteral("UNSUPPORTED\nIMAGE FILE"));
    return image;
  }();
  return placeholder;
}

}  // namespace lumora

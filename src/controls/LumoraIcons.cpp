#include "controls/LumoraIcons.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

// Resources of a static library are registered by hand.
static void registerControlResources() { Q_INIT_RESOURCE(controls); }

namespace lumora::LumoraIcons {
namespace {

QString pathOf(const QString& name) {
  static const bool registered = (registerControlResources(), true);
  Q_UNUSED(registered)
  return QStringLiteral(":/lumora/icons/%1.svg").arg(name);
}

}  // namespace

QIcon Icon(const QString& name) {
  const QString path = pathOf(name);
  return QFile::exists(path) ? QIcon(path) : QIcon();
}

QPixmap Pixmap(const QString& name, int side) {
  QSvgRenderer renderer(pathOf(name));
  if (!renderer.isValid()) return {};
  QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  renderer.render(&painter);
  painter.end();
  return QPixmap::fromImage(image);
}

QPixmap DisabledPixmap(const QString& name, int side) {
  QImage image = Pixmap(name, side).toImage().convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < image.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      const int grey = (qGray(row[x]) + 2 * 0xC0) / 3;  // lighter than the plain grey value
      row[x] = qRgba(grey, grey, grey, qAlpha(row[x]) / 2);
    }
  }
  return QPixmap::fromImage(image);
}

}  // namespace lumora::LumoraIcons

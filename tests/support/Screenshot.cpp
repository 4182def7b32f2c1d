#include "Screenshot.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QWidget>

namespace lumora::test {

QImage GrabWindow(QWidget& window) {
  QApplication::processEvents();
  if (QGuiApplication::platformName() == QLatin1String("xcb") && window.screen()) {
    const QPoint origin = window.mapToGlobal(QPoint(0, 0));
    return window.screen()->grabWindow(0, origin.x(), origin.y(), window.width(), window.height()).toImage();
  }
  return window.grab().toImage();
}

}  // namespace lumora::test

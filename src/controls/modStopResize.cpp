#include "controls/modStopResize.h"

#include <QPointer>
#include <algorithm>
#include <QWidget>

namespace lumora::modStopResize {
namespace {

struct Limits {
  QSize minimum;
  QSize maximum{QWIDGETSIZE_MAX, QWIDGETSIZE_MAX};
  QPointer<QWidget> window;
  QSize previousMinimum;
  QSize previousMaximum;
};

Limits& limits() {
  static Limits l;
  return l;
}

// Qt limits the client area; the limits here include the frame, so the frame is taken off.
QSize frameExtra(const QWidget& window) {
  const QSize outer = window.frameGeometry().size(), inner = window.geometry().size();
  return {std::max(0, outer.width() - inner.width()), std::max(0, outer.height() - inner.height())};
}

}  // namespace

void SetLimits(QSize minimum, QSize maximum) {
  limits().minimum = minimum;
  limits().maximum = maximum;
}

QSize MinimumTrackSize() { return limits().minimum; }
QSize MaximumTrackSize() { return limits().maximum; }

void Start(QWidget& window) {
  Limits& l = limits();
  if (!l.window) {
    l.previousMinimum = window.minimumSize();
    l.previousMaximum = window.maximumSize();
  }
  l.window = &window;
  const QSize extra = frameExtra(window);
  window.setMinimumSize((l.minimum - extra).expandedTo(QSize(0, 0)));
  window.setMaximumSize((l.maximum - extra).expandedTo(window.minimumSize()));
}

void Stop(QWidget& window) {
  Limits& l = limits();
  if (l.window != &window) return;
  window.setMinimumSize(l.previousMinimum);
  window.setMaximumSize(l.previousMaximum);
  l.window = nullptr;
}

bool Started() { return !limits().window.isNull(); }

}  // namespace lumora::modStopResize

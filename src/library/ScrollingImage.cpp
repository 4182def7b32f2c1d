#include "library/ScrollingImage.h"

#include <QFileInfo>
#include <QLabel>
#include <QPixmap>
#include <QScrollBar>
#include <cmath>

#include "base/LumoraError.h"
#include "library/LibraryPictures.h"

namespace lumora {
namespace {

constexpr int kInvalidPicture = 481;

}  // namespace

ScrollingImage::ScrollingImage(QWidget* parent) : QWidget(parent) {
  setAutoFillBackground(true);
  QPalette p = palette();
  p.setColor(QPalette::Window, QColor(0xE0, 0xE0, 0xE0));
  setPalette(p);
  m_image = new QLabel(this);
  m_image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  m_vs = new QScrollBar(Qt::Vertical, this);
  m_hs = new QScrollBar(Qt::Horizontal, this);
  m_corner = new QWidget(this);
  m_corner->setAutoFillBackground(true);
  for (QScrollBar* bar : {m_vs, m_hs}) {
    bar->setEnabled(false);
    bar->hide();
  }
  m_vs->resize(kBarThickness, 0);
  m_hs->resize(0, kBarThickness);
  m_corner->hide();
  connect(m_hs, &QScrollBar::valueChanged, this, [this](int value) { m_image->move(-value, m_image->y()); });
  connect(m_vs, &QScrollBar::valueChanged, this, [this](int value) { m_image->move(m_image->x(), -value); });
  resize(5520 / 15, 4305 / 15);
}

void ScrollingImage::SetImage(const QString& path) {
  const QImage picture = ReadLibraryPicture(path);
  if (picture.isNull()) {
    if (!QFileInfo::exists(path)) throw LumoraError(ErrorNumber::kFileNotFound, "File not found");
    throw LumoraError(kInvalidPicture, "Invalid picture");
  }
  SetPicture(picture);
}

void ScrollingImage::SetPicture(const QImage& picture) {
  m_image->setPixmap(QPixmap::fromImage(picture));
  m_image->resize(picture.size());
  SetUpScrolling();
}

void ScrollingImage::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  // The bars are set up again for the new size rather than clipping the picture.
  SetUpScrolling();
}

// Each bar's outer border lies just outside the control.
void ScrollingImage::PlaceBars() {
  const int vsLeft = width() - kBarThickness + 1;
  const int hsTop = height() - kBarThickness + 1;
  m_vs->move(vsLeft, 0);
  m_hs->move(0, hsTop);
  m_vs->resize(kBarThickness, !m_hs->isHidden() ? height() - kBarThickness + 2 : height() + 1);
  m_hs->resize(!m_vs->isHidden() ? width() - kBarThickness + 2 : width() + 1, kBarThickness);
  // The box fills the corner to the control's edge: no line of the picture shows beside it.
  m_corner->setGeometry(vsLeft, hsTop, width() - vsLeft, height() - hsTop);
  m_corner->setVisible(!m_vs->isHidden() && !m_hs->isHidden());
  m_corner->raise();
}

void ScrollingImage::SetUpScrolling() {
  const QSize picture = m_image->size();
  if (m_image->pixmap().isNull()) return;
  // A bar in one direction takes room from the other, which may then need its bar as well.
  const int overlap = kBarThickness - 1;
  bool needV = picture.height() > height();
  bool needH = picture.width() > width() - (needV ? overlap : 0);
  needV = needV || picture.height() > height() - (needH ? overlap : 0);
  const int viewW = width() - (needV ? overlap : 0);
  const int viewH = height() - (needH ? overlap : 0);

  const auto setUp = [](QScrollBar* bar, bool need, int pictureExtent, int viewExtent) {
    bar->blockSignals(true);
    bar->setEnabled(need);
    bar->setVisible(need);
    bar->setRange(0, need ? pictureExtent - viewExtent : 0);
    bar->setValue(0);
    bar->setPageStep(std::max(1, viewExtent));
    bar->setSingleStep(std::max(1, static_cast<int>(std::lround(viewExtent / 20.0))));
    bar->blockSignals(false);
    return need ? 0 : (viewExtent - pictureExtent) / 2;
  };
  const int top = setUp(m_vs, needV, picture.height(), viewH);
  const int left = setUp(m_hs, needH, picture.width(), viewW);
  m_image->move(left, top);
  PlaceBars();
}

}  // namespace lumora

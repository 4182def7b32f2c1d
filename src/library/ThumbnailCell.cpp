#include "library/ThumbnailCell.h"

#include <QMouseEvent>
#include <QPainter>
#include <cmath>

#include "base/AppInfo.h"

namespace lumora {
namespace {

int ToPixels(double twips) { return static_cast<int>(std::lround(twips / kTwipsPerPixel)); }

}  // namespace

ThumbnailCell::ThumbnailCell(int index, QWidget* parent) : QWidget(parent), m_index(index) {
  setFixedSize(1710 / kTwipsPerPixel, 1005 / kTwipsPerPixel);
  setAttribute(Qt::WA_OpaquePaintEvent, false);
}

QRect ThumbnailCell::CaptionRect() { return {0, 780 / kTwipsPerPixel, 1710 / kTwipsPerPixel, 195 / kTwipsPerPixel}; }

void ThumbnailCell::SetPicture(QImage picture, const ThumbnailPlacement& area, const QString& caption) {
  m_picture = std::move(picture);
  m_area = area;
  m_areaRect = QRect(ToPixels(area.left), ToPixels(area.top), std::max(1, ToPixels(area.width)),
                     std::max(1, ToPixels(area.height)));
  m_caption = caption;
  update();
}

void ThumbnailCell::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  if (!m_picture.isNull()) painter.drawImage(m_areaRect, m_picture);
  painter.setPen(QColor(0x80, 0x80, 0x80));
  painter.setFont(font());
  painter.drawText(CaptionRect(), Qt::AlignHCenter | Qt::AlignTop, m_caption);
}

void ThumbnailCell::mousePressEvent(QMouseEvent* event) {
  m_captionPressed = event->button() == Qt::LeftButton && CaptionRect().contains(event->position().toPoint());
  emit pressed(m_index, event->button(), event->globalPosition().toPoint());
}

void ThumbnailCell::mouseReleaseEvent(QMouseEvent* event) {
  const bool click = m_captionPressed && CaptionRect().contains(event->position().toPoint());
  m_captionPressed = false;
  if (click) emit chosen(m_index);
}

void ThumbnailCell::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && !CaptionRect().contains(event->position().toPoint())) emit chosen(m_index);
  else mousePressEvent(event);
}

}  // namespace lumora

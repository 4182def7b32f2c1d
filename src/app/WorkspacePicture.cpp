#include "app/WorkspacePicture.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "compose/TextPainter.h"
#include "document/Document.h"

namespace lumora {

WorkspacePicture::WorkspacePicture(const Document& document, QWidget* parent)
    : QWidget(parent), m_document(document) {
  // Moves without a button pressed show the move pointer over text items.
  setMouseTracking(true);
}

void WorkspacePicture::setPicture(const QImage& picture) {
  m_picture = picture;
  update();
}

void WorkspacePicture::setZoom(int percent) {
  m_zoom = std::clamp(percent, kMinZoom, kMaxZoom);
  update();
}

QSize WorkspacePicture::shownSize() const {
  return {static_cast<int>(std::lround(m_picture.width() * scale())),
          static_cast<int>(std::lround(m_picture.height() * scale()))};
}

void WorkspacePicture::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  // Shrunk pictures are smoothed; enlarged ones show their pixels, as a designer checks them.
  painter.setRenderHint(QPainter::SmoothPixmapTransform, m_zoom < 100);
  painter.scale(scale(), scale());
  if (!m_picture.isNull()) painter.drawImage(0, 0, m_picture);
  for (const TextItem& item : m_document.TextItems())
    if (item.Visible) PaintTextItem(painter, item, PaintTarget::Screen);
}

void WorkspacePicture::mousePressEvent(QMouseEvent* event) {
  emit pressed(toPicture(event->position()), event->button(), event->globalPosition().toPoint());
}

void WorkspacePicture::mouseMoveEvent(QMouseEvent* event) { emit moved(toPicture(event->position()), event->buttons()); }

void WorkspacePicture::mouseReleaseEvent(QMouseEvent* event) {
  emit released(toPicture(event->position()), event->button());
}

void WorkspacePicture::wheelEvent(QWheelEvent* event) {
  if (!(event->modifiers() & Qt::ControlModifier)) return event->ignore();
  m_wheelRest += event->angleDelta().y();
  const int steps = m_wheelRest / 120;
  m_wheelRest %= 120;
  if (steps != 0) emit zoomWheel(steps, event->position());
  event->accept();
}

}  // namespace lumora

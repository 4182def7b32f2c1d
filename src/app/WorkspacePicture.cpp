#include "app/WorkspacePicture.h"

#include <QMouseEvent>
#include <QPainter>

#include "document/Document.h"
#include "compose/TextPainter.h"

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

void WorkspacePicture::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (!m_picture.isNull()) painter.drawImage(0, 0, m_picture);
  for (const TextItem& item : m_document.TextItems())
    if (item.Visible) PaintTextItem(painter, item);
}

void WorkspacePicture::mousePressEvent(QMouseEvent* event) {
  emit pressed(event->position().toPoint(), event->button(), event->globalPosition().toPoint());
}

void WorkspacePicture::mouseMoveEvent(QMouseEvent* event) { emit moved(event->position().toPoint(), event->buttons()); }

void WorkspacePicture::mouseReleaseEvent(QMouseEvent* event) {
  emit released(event->position().toPoint(), event->button());
}

}  // namespace lumora

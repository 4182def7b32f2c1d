#include "library/ThumbnailGrid.h"

#include <QKeyEvent>
#include <QPainter>

#include "base/SystemColors.h"

namespace lumora {
namespace {

QColor FromRgb(uint32_t rgb) { return QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF); }

}  // namespace

ThumbnailGrid::ThumbnailGrid(QWidget* parent) : QWidget(parent) {
  setFocusPolicy(Qt::StrongFocus);
  setAutoFillBackground(true);
  QPalette p = palette();
  p.setColor(QPalette::Window, Qt::white);
  setPalette(p);
}

void ThumbnailGrid::SetSelectionRect(QRect rect) {
  m_selection = rect;
  update();
}

QColor ThumbnailGrid::SelectionColour() const {
  return hasFocus() ? FromRgb(SystemColors::Get(SystemColors::kHighlight)) : QColor(0xC0, 0xC0, 0xC0);
}

void ThumbnailGrid::SetMessage(const QString& text) {
  m_message = text;
  update();
}

void ThumbnailGrid::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (!m_message.isEmpty()) painter.drawText(rect(), Qt::AlignCenter, m_message);
  if (m_selection.isNull()) return;
  painter.setPen(QPen(SelectionColour(), 2));
  painter.drawRect(m_selection.adjusted(1, 1, -1, -1));
}

void ThumbnailGrid::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
      emit arrowKey(event->key());
      event->accept();
      return;
    default:
      // Enter and Escape go on to the default and cancel buttons.
      QWidget::keyPressEvent(event);
  }
}

void ThumbnailGrid::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  update();
}

void ThumbnailGrid::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  update();
}

}  // namespace lumora

// The messages the owner-drawn list and cDeluxeComboBox exchange through GSubclass, as events of
// the combo box: its own paint, an item-drawing request from its owner-drawn list, and a command
// notification when the list's selection or visibility changes.
#pragma once

#include <QEvent>
#include <QRect>

class QPainter;
class QWidget;

namespace lumora {

namespace SubclassMessage {
inline constexpr int kPaint = QEvent::Paint;
inline constexpr int kDrawItem = QEvent::User + 43;
inline constexpr int kCommand = QEvent::User + 273;
}  // namespace SubclassMessage

// The item record of a drawing request. A handler that draws the item accepts the event; an
// unaccepted request is drawn by the list's ordinary painting.
class DrawItemEvent : public QEvent {
 public:
  DrawItemEvent(QPainter& painter, QRect rect, int item, bool selected, const QWidget* list)
      : QEvent(static_cast<QEvent::Type>(SubclassMessage::kDrawItem)),
        painter(painter), rect(rect), item(item), selected(selected), list(list) {
    setAccepted(false);
  }

  QPainter& painter;
  const QRect rect;
  const int item;
  const bool selected;
  const QWidget* const list;  // the window the item is drawn in
};

}  // namespace lumora

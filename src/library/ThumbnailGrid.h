// The template browser's grid (Picture1): a white area that takes the keyboard focus, holds the
// cells and draws the selection outline (Shape1) in the highlight colour while it has the focus.
#pragma once

#include <QRect>
#include <QString>
#include <QWidget>

namespace lumora {

class ThumbnailGrid : public QWidget {
  Q_OBJECT
 public:
  explicit ThumbnailGrid(QWidget* parent);

  void SetSelectionRect(QRect rect);
  QRect SelectionRect() const { return m_selection; }
  // The outline's colour now: highlight with the focus, light grey without.
  QColor SelectionColour() const;
  // Shown in the middle of the grid instead of cells (an empty category); empty to show none.
  void SetMessage(const QString& text);
  const QString& Message() const { return m_message; }

 signals:
  void arrowKey(int key);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  QRect m_selection;
  QString m_message;
};

}  // namespace lumora

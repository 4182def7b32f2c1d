// One cell of the template browser's grid (Picture2(i)): the picture area Image1(i) above the
// size caption lblSize(i). A disabled cell ignores the mouse but keeps its look.
#pragma once

#include <QImage>
#include <QWidget>

#include "library/ThumbnailFit.h"

namespace lumora {

class ThumbnailCell : public QWidget {
  Q_OBJECT
 public:
  ThumbnailCell(int index, QWidget* parent);

  // The picture, already decoded near the area's size, and where it goes (twips in the box).
  void SetPicture(QImage picture, const ThumbnailPlacement& area, const QString& caption);

  int Index() const { return m_index; }
  const ThumbnailPlacement& Area() const { return m_area; }
  QRect AreaRect() const { return m_areaRect; }  // pixels, in the cell
  QString Caption() const { return m_caption; }
  const QImage& Picture() const { return m_picture; }
  static QRect CaptionRect();

 signals:
  void pressed(int index, Qt::MouseButton button, QPoint globalPos);
  // A double-click on the cell or its picture, or a click on its caption: choose it.
  void chosen(int index);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  int m_index;
  QImage m_picture;
  ThumbnailPlacement m_area;
  QRect m_areaRect;
  QString m_caption;
  bool m_captionPressed = false;
};

}  // namespace lumora

// picPicture: the template with the document's text items painted over it by the same routine
// that flattens the picture for export, so what the user sees is what is exported; drawn at the
// workspace's zoom, with every position it reports in pixels of the picture.
#pragma once

#include <QImage>
#include <QWidget>

namespace lumora {

class Document;

class WorkspacePicture : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kMinZoom = 25, kMaxZoom = 800;

  WorkspacePicture(const Document& document, QWidget* parent);

  void setPicture(const QImage& picture);
  const QImage& pictureImage() const { return m_picture; }
  // Percent of the picture's own size.
  void setZoom(int percent);
  int zoom() const { return m_zoom; }
  double scale() const { return m_zoom / 100.0; }
  QSize shownSize() const;

 signals:
  void pressed(QPointF picturePos, Qt::MouseButton button, QPoint globalPos);
  void moved(QPointF picturePos, Qt::MouseButtons buttons);
  void released(QPointF picturePos, Qt::MouseButton button);
  // Ctrl+wheel: steps up (positive) or down, about this point of the widget.
  void zoomWheel(int steps, QPointF at);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  QPointF toPicture(QPointF widgetPos) const { return widgetPos / scale(); }

  const Document& m_document;
  QImage m_picture;
  int m_zoom = 100;
  int m_wheelRest = 0;  // a fine-grained wheel's turn not yet a whole step
};

}  // namespace lumora

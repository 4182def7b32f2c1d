// picPicture: the template at its own size with the document's text items painted over it by the
// same routine that flattens the picture for export, so what the user sees is what is exported.
#pragma once

#include <QImage>
#include <QWidget>

namespace lumora {

class Document;

class WorkspacePicture : public QWidget {
  Q_OBJECT

 public:
  WorkspacePicture(const Document& document, QWidget* parent);

  void setPicture(const QImage& picture);
  const QImage& pictureImage() const { return m_picture; }

 signals:
  void pressed(QPoint pos, Qt::MouseButton button, QPoint globalPos);
  void moved(QPoint pos, Qt::MouseButtons buttons);
  void released(QPoint pos, Qt::MouseButton button);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  const Document& m_document;
  QImage m_picture;
};

}  // namespace lumora

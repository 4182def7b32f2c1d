// A view that shows a picture unscaled inside a fixed area: centred when it fits, with scroll bars
// in the directions where it does not. Offsets are whole pixels in 32-bit values, so pictures of
// any size the readers accept can be scrolled to their far edge.
#pragma once

#include <QImage>
#include <QWidget>

class QLabel;
class QScrollBar;

namespace lumora {

class ScrollingImage : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kBarThickness = 285 / 15;  // pixels

  explicit ScrollingImage(QWidget* parent = nullptr);

  // Loads a picture file; raises LumoraError when it cannot be read.
  void SetImage(const QString& path);
  void SetPicture(const QImage& picture);

  QLabel* Image1() const { return m_image; }
  QScrollBar* vs() const { return m_vs; }
  QScrollBar* hs() const { return m_hs; }
  QWidget* Picture1() const { return m_corner; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void PlaceBars();
  void SetUpScrolling();

  QLabel* m_image = nullptr;
  QScrollBar* m_vs = nullptr;
  QScrollBar* m_hs = nullptr;
  QWidget* m_corner = nullptr;
};

}  // namespace lumora

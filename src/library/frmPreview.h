// The preview window: a picture at its own size in a window that sizes itself to the picture,
// with a Close button below. A picture larger than the screen scrolls inside the window.
#pragma once

#include <QDialog>

class QPushButton;

namespace lumora {

class ScrollingImage;

class frmPreview : public QDialog {
  Q_OBJECT
 public:
  explicit frmPreview(QWidget* owner = nullptr);

  // Loads the picture, fits the window to it and shows it modally over the owner. A file that
  // cannot be loaded ends here without a message and without a window; returns whether it showed.
  static bool ViewImage(const QString& path, QWidget* owner);

  // Loads the picture and fits the window to it; false when the file cannot be read.
  bool LoadImage(const QString& path);

  ScrollingImage* Image1() const { return m_image; }
  QWidget* picButtons() const { return m_buttons; }
  QPushButton* cmdClose() const { return m_close; }

 private:
  // The largest picture area that keeps the window on the screen.
  QSize LargestPictureArea() const;

  ScrollingImage* m_image = nullptr;
  QWidget* m_buttons = nullptr;
  QPushButton* m_close = nullptr;
};

}  // namespace lumora

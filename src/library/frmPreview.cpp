#include "library/frmPreview.h"

#include <QPushButton>
#include <QScreen>

#include "controls/DialogFont.h"
#include "controls/ErrorGuard.h"
#include "controls/ModalSeam.h"
#include "library/LibraryPictures.h"
#include "library/ScrollingImage.h"

namespace lumora {
namespace {

constexpr int kMargin = 120 / 15;        // around the picture, left, right and top
constexpr int kStripHeight = 555 / 15;   // the button strip
constexpr int kButtonTop = 120 / 15;
constexpr int kButtonWidth = 1035 / 15;
constexpr int kButtonHeight = 330 / 15;
// Room the window frame and title bar take around the client area on a typical desktop.
constexpr int kFrameAllowanceX = 16;
constexpr int kFrameAllowanceY = 48;

}  // namespace

frmPreview::frmPreview(QWidget* owner) : QDialog(owner) {
  setWindowTitle(QStringLiteral("Image Preview"));
  setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
  m_image = new ScrollingImage(this);
  m_image->move(kMargin, kMargin);
  m_buttons = new QWidget(this);
  m_close = new QPushButton(QStringLiteral("Close"), m_buttons);
  m_close->setFont(DialogFont());
  m_close->setDefault(true);
  connect(m_close, &QPushButton::clicked, this, [this] { Guarded([&] { accept(); }); });
  setFixedSize(6450 / 15, 3165 / 15);
}

QSize frmPreview::LargestPictureArea() const {
  const QScreen* screen = parentWidget() ? parentWidget()->screen() : this->screen();
  const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
  return {available.width() - kFrameAllowanceX - 2 * kMargin,
          available.height() - kFrameAllowanceY - kMargin - kStripHeight};
}

bool frmPreview::LoadImage(const QString& path) {
  const QImage picture = ReadLibraryPicture(path);
  if (picture.isNull()) return false;
  // Unscaled; only a picture larger than the screen gets scroll bars instead of a window that
  // would reach past the screen's edge.
  const QSize largest = LargestPictureArea();
  QSize area = picture.size();
  const int bar = ScrollingImage::kBarThickness - 1;
  // A bar in one direction needs room in the other.
  if (area.width() > largest.width()) area.rheight() += bar;
  if (area.height() > largest.height()) area.rwidth() += bar;
  area = area.boundedTo(largest);
  m_image->resize(area);
  m_image->SetPicture(picture);
  const QSize client(2 * kMargin + area.width(), kMargin + area.height() + kStripHeight);
  setFixedSize(client);
  m_buttons->setGeometry(0, client.height() - kStripHeight, client.width(), kStripHeight);
  m_close->setGeometry(client.width() - kButtonWidth - kMargin, kButtonTop, kButtonWidth, kButtonHeight);
  return true;
}

bool frmPreview::ViewImage(const QString& path, QWidget* owner) {
  frmPreview preview(owner);
  if (!preview.LoadImage(path)) return false;
  Modal().exec(preview);
  return true;
}

}  // namespace lumora

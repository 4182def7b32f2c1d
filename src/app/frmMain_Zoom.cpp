// frmMain's zoom: the workspace shows the picture from 25 % to 800 % of its size (Ctrl+plus,
// Ctrl+minus, Ctrl+0, Ctrl+9 to fit, Ctrl+wheel about the pointer). Only the view changes: the
// items keep their twips and the exported picture is the same at every zoom.
#include <QLabel>
#include <QScrollBar>
#include <algorithm>
#include <array>
#include <cmath>

#include "app/frmMain.h"
#include "controls/ErrorGuard.h"

namespace lumora {
namespace {

constexpr std::array kZoomSteps = {25, 33, 50, 67, 100, 150, 200, 300, 400, 600, 800};

}  // namespace

void frmMain::BuildZoom() {
  lblZoom = new QLabel(this);
  lblZoom->setObjectName(QStringLiteral("lblZoom"));
  lblZoom->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  lblZoom->setToolTip(QStringLiteral("Zoom: Ctrl+plus, Ctrl+minus, Ctrl+0 for 100 %, Ctrl+9 to fit, Ctrl+wheel"));
  lblZoom->setGeometry(lblInfo->x() + lblInfo->width() - 90, lblInfo->y(), 90, lblInfo->height());
  lblZoom->setText(QStringLiteral("Zoom 100 %"));
  lblZoom->hide();
  connect(picPicture, &WorkspacePicture::zoomWheel, this, [this](int steps, QPointF at) {
    Guarded([&] {
      const int now = picPicture->zoom();
      const auto next = steps > 0 ? std::upper_bound(kZoomSteps.begin(), kZoomSteps.end(), now)
                                  : std::lower_bound(kZoomSteps.begin(), kZoomSteps.end(), now);
      const int index = int(next - kZoomSteps.begin()) + (steps > 0 ? steps - 1 : steps);
      SetZoom(kZoomSteps[size_t(std::clamp(index, 0, int(kZoomSteps.size()) - 1))], at + picPicture->pos());
    });
  });
}

void frmMain::ZoomIn() {
  const auto next = std::upper_bound(kZoomSteps.begin(), kZoomSteps.end(), picPicture->zoom());
  SetZoom(next == kZoomSteps.end() ? kZoomSteps.back() : *next);
}

void frmMain::ZoomOut() {
  const auto below = std::lower_bound(kZoomSteps.begin(), kZoomSteps.end(), picPicture->zoom());
  SetZoom(below == kZoomSteps.begin() ? kZoomSteps.front() : *(below - 1));
}

void frmMain::ZoomActual() { SetZoom(100); }

void frmMain::ZoomToFit() {
  const QSize picture = picPicture->pictureImage().size(), area = picWorkspace->size() - QSize(4, 4);
  if (picture.isEmpty()) return;
  const double fit = std::min(double(area.width()) / picture.width(), double(area.height()) / picture.height());
  SetZoom(int(std::floor(fit * 100)));
}

void frmMain::SetZoom(int percent) { SetZoom(percent, QPointF(picWorkspace->width() / 2.0, picWorkspace->height() / 2.0)); }

void frmMain::SetZoom(int percent, QPointF anchor) {
  const QPointF held = (anchor - QPointF(picPicture->pos())) / picPicture->scale();
  picPicture->setZoom(percent);
  lblZoom->setText(QStringLiteral("Zoom %1 %").arg(picPicture->zoom()));
  CentrePicture();
  // The bars' values are where the picture's corner goes: 1 - value.
  const QPointF corner = anchor - held * picPicture->scale();
  if (hsbWorkspace->isVisible()) hsbWorkspace->setValue(1 - int(std::lround(corner.x())));
  if (vsbWorkspace->isVisible()) vsbWorkspace->setValue(1 - int(std::lround(corner.y())));
  ShowObjectFocus();
}

void frmMain::ScrollIntoView(const QRect& pictureRect) {
  const double z = picPicture->scale();
  const QPointF centre = QPointF(pictureRect.center()) * z;
  if (hsbWorkspace->isVisible()) hsbWorkspace->setValue(int(std::lround(centre.x() - hsbWorkspace->pageStep() / 2.0)));
  if (vsbWorkspace->isVisible()) vsbWorkspace->setValue(int(std::lround(centre.y() - vsbWorkspace->pageStep() / 2.0)));
}

}  // namespace lumora

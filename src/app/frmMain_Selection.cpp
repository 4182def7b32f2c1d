// frmMain's selection: pressing an item selects it, dragging moves it (text and shadow together,
// the press point staying under the pointer), a click beside the items clears the selection, the
// focus marks follow the selected item, and the right button opens the context menu.
#include <QApplication>
#include <cmath>

#include "app/frmMain.h"
#include "compose/DocumentUnits.h"
#include "compose/TextPainter.h"
#include "controls/ErrorGuard.h"

namespace lumora {

void frmMain::BuildFocusMarks() {
  const char* colours[] = {"#ffffc0", "#000080"};  // 0xC0FFFF and 0x800000 as 0x00BBGGRR
  for (int i = 0; i < 2; ++i) {
    auto* mark = new QFrame(picPicture);
    mark->setObjectName(QStringLiteral("shpFocus%1").arg(i));
    mark->setStyleSheet(QStringLiteral("QFrame#shpFocus%1 { border: 1px solid %2; background: transparent; }")
                            .arg(i)
                            .arg(QString::fromLatin1(colours[i])));
    mark->setAttribute(Qt::WA_TransparentForMouseEvents);
    mark->hide();
    shpFocus[i] = mark;
  }
  connect(picPicture, &WorkspacePicture::pressed, this,
          [this](QPointF pos, Qt::MouseButton button, QPoint global) { Guarded([&] { PicturePressed(pos, button, global); }); });
  connect(picPicture, &WorkspacePicture::moved, this, [this](QPointF pos, Qt::MouseButtons buttons) {
    Guarded([&] {
      picPicture->setCursor(Dragging || ItemAt(pos) != 0 ? Qt::SizeAllCursor : Qt::ArrowCursor);
      if (buttons & Qt::LeftButton) PictureMoved(pos);
    });
  });
  connect(picPicture, &WorkspacePicture::released, this, [this](QPointF, Qt::MouseButton button) {
    Guarded([&] {
      if (button == Qt::LeftButton) PictureReleased();
    });
  });
}

QRect frmMain::ItemRect(const TextItem& item) const {
  const TextLayout layout = LayOutText(item);
  return {TwipsToPixels(item.Left), TwipsToPixels(item.Top), layout.width, layout.height()};
}

int frmMain::ItemAt(QPointF point) const {
  const auto& items = m_document.TextItems();
  for (auto it = items.rbegin(); it != items.rend(); ++it)
    if (it->Visible && QRectF(ItemRect(*it)).contains(point)) return it->Index;
  return 0;
}

void frmMain::ClearSelection() {
  m_document.ClearSelection();
  ShowSelection();
}

void frmMain::ShowSelection() {
  UpdateControls();
  ShowObjectFocus();
  picPicture->update();
}

void frmMain::ShowObjectFocus() {
  const TextItem* item = m_document.CurrentItem();
  if (!item) {
    for (QFrame* mark : shpFocus) mark->hide();
    return;
  }
  // The marks keep their screen distances at any zoom.
  const QRect picture = ItemRect(*item);
  const double z = picPicture->scale();
  const QRect r(QPoint(int(std::lround(picture.left() * z)), int(std::lround(picture.top() * z))),
                QPoint(int(std::lround((picture.right() + 1) * z)) - 1, int(std::lround((picture.bottom() + 1) * z)) - 1));
  shpFocus[0]->setGeometry(r.left() - 20, r.top() - 2, r.width() + 40, r.height() + 4);
  shpFocus[1]->setGeometry(r.left() - 21, r.top() - 3, r.width() + 42, r.height() + 6);
  for (QFrame* mark : shpFocus) {
    mark->show();
    mark->raise();
  }
}

void frmMain::ShowContextMenu(QPoint globalPos) { mnuContext->popup(globalPos); }

void frmMain::PicturePressed(QPointF pos, Qt::MouseButton button, QPoint globalPos) {
  const int index = ItemAt(pos);
  if (index == 0) {
    if (button == Qt::LeftButton) ClearSelection();
    if (button == Qt::RightButton) ShowContextMenu(globalPos);
    return;
  }
  m_document.Select(index);
  ShowSelection();
  ActivateCaptionControl();
  if (button == Qt::LeftButton) {
    const TextItem& item = *m_document.CurrentItem();
    m_dragOffset = QPointF(PixelsToTwips(pos.x()) - item.Left, PixelsToTwips(pos.y()) - item.Top);
    m_dragRemembered = false;
    Dragging = true;
  } else if (button == Qt::RightButton) {
    ShowContextMenu(globalPos);
  }
}

void frmMain::PictureMoved(QPointF pos) {
  const TextItem* item = m_document.CurrentItem();
  if (!Dragging || !item) return;
  // Twips all the way, so the press point stays under the pointer without rounding drift.
  const double left = PixelsToTwips(pos.x()) - m_dragOffset.x(), top = PixelsToTwips(pos.y()) - m_dragOffset.y();
  if (left == item->Left && top == item->Top) return;
  if (!m_dragRemembered) {
    Remember();  // the whole drag is one step
    m_dragRemembered = true;
  }
  m_document.MoveItem(item->Index, left, top);
  ShowObjectFocus();
  picPicture->update();
}

void frmMain::PictureReleased() {
  Dragging = false;
  m_dragRemembered = false;
}

}  // namespace lumora

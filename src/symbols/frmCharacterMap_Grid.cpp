// frmCharacterMap: the grid drawn cell by cell on the off-screen cell surface, the magnifier, and
// the grid's mouse, keyboard and focus handling.
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

#include "colour/DesignUnits.h"
#include "controls/ErrorGuard.h"
#include "controls/ModalSeam.h"
#include "controls/QtColour.h"
#include "symbols/frmCharacterMap.h"

namespace lumora {
namespace {

constexpr double kCellFontSize = 15.75;  // picTemp's font, points
constexpr Colour kHighlight = static_cast<Colour>(0x8000000Du);
constexpr Colour kHighlightText = static_cast<Colour>(0x8000000Eu);
constexpr Colour kWindowFrame = static_cast<Colour>(0x80000006u);
constexpr Colour kWindowBackground = static_cast<Colour>(0x80000005u);
constexpr Colour kButtonFace = static_cast<Colour>(0x8000000Fu);
constexpr Colour kButtonText = static_cast<Colour>(0x80000012u);


// Centres a character on a surface: (width / 2 - text width / 2), integer divisions.
void printCentred(QPainter& painter, const QSize& surface, const QString& text) {
  const QFontMetrics metrics = painter.fontMetrics();
  const int left = surface.width() / 2 - metrics.horizontalAdvance(text) / 2;
  const int top = surface.height() / 2 - metrics.height() / 2;
  painter.drawText(left, top + metrics.ascent(), text);
}

}  // namespace

void frmCharacterMap::DrawCell(const QString& character, bool selected, bool focused) {
  m_cellImage.fill(ToQColor(selected ? kHighlight : 0xFFFFFF));
  QPainter painter(&m_cellImage);
  // A font made from the family alone: bold, italic, strikethrough and underline are off.
  painter.setFont(FontAtPoints(m_gridFont, kCellFontSize));
  painter.setPen(ToQColor(selected ? kHighlightText : 0x404040));
  printCentred(painter, m_cellImage.size(), character);
  painter.setPen(ToQColor(kWindowFrame));
  painter.drawRect(0, 0, m_cellImage.width() - 1, m_cellImage.height() - 1);
  if (focused) {
    QPen dotted(ToQColor(selected ? kHighlightText : 0x404040), 1, Qt::DotLine);
    painter.setPen(dotted);
    painter.drawRect(1, 2, m_cellImage.width() - 3, m_cellImage.height() - 5);
  }
}

void frmCharacterMap::copyCell(int index, int width, int height) {
  const int column = (index - 1) % kColumns, row = (index - 1) / kColumns;
  QPainter painter(&m_gridImage);
  painter.drawImage(QPoint(column * m_cellWidth, row * m_cellHeight), m_cellImage, QRect(0, 0, width, height));
}

void frmCharacterMap::showGrid() { m_grid->setPixmap(QPixmap::fromImage(m_gridImage)); }

void frmCharacterMap::DrawMap() {
  Suppressed([&] {
    m_gridImage.fill(ToQColor(kButtonFace));
    // Neighbouring cells share their outline: each copy is the whole cell surface.
    for (int k = 1; k <= kCellCount; ++k) {
      DrawCell(m_cells[k - 1], k == m_selectedChar, k == m_selectedChar && m_hasFocus);
      copyCell(k, m_cellImage.width(), m_cellImage.height());
    }
    showGrid();
  });
}

void frmCharacterMap::SelectCharacter(int index) {
  Suppressed([&] {
    index = std::min(index, kCellCount);
    if (index < 1) return;
    QImage large(m_magnifier->size(), QImage::Format_RGB32);
    large.fill(ToQColor(kWindowBackground));
    {
      QPainter painter(&large);
      painter.setFont(FontAtPoints(m_gridFont, kCellFontSize * 3));
      painter.setPen(ToQColor(kButtonText));
      printCentred(painter, large.size(), m_cells[index - 1]);
      painter.setPen(ToQColor(kWindowFrame));
      painter.drawRect(0, 0, large.width() - 1, large.height() - 1);
    }
    m_magnifier->setPixmap(QPixmap::fromImage(large));
    if (m_selectedChar >= 1) {
      DrawCell(m_cells[m_selectedChar - 1], false, false);
      copyCell(m_selectedChar, m_cellWidth, m_cellHeight);
    }
    DrawCell(m_cells[index - 1], true, m_hasFocus);
    copyCell(index, m_cellWidth, m_cellHeight);
    m_selectedChar = index;
    showGrid();
  });
}

void frmCharacterMap::ShowMagnifier(int index) {
  index = std::min(index, kCellCount);
  if (index < 1) return;  // nothing selected: nothing to magnify
  int column = index % kColumns, row = index / kColumns + 1;
  if (column == 0) {
    column = kColumns;
    row = index / kColumns;
  }
  const int widthTwips = m_magnifier->width() * kTwipsPerPixel, heightTwips = m_magnifier->height() * kTwipsPerPixel;
  const double left = m_grid->x() * kTwipsPerPixel + column * m_cellWidthTwips -
                      static_cast<int>(m_cellWidthTwips) / 2 - widthTwips / 2;
  const double top = m_grid->y() * kTwipsPerPixel + row * m_cellHeightTwips -
                     static_cast<int>(m_cellHeightTwips) / 2 - heightTwips / 2;
  m_magnifier->move(Px(left), Px(top));
  m_magnifierShadow->move(m_magnifier->pos() + QPoint(2, 3));
  SetMagnifierVisible(true);
}

void frmCharacterMap::SetMagnifierVisible(bool visible) {
  m_magnifierShadow->setVisible(visible);
  m_magnifier->setVisible(visible);
}

void frmCharacterMap::setFocused(bool focused) {
  m_hasFocus = focused;
  if (m_selectedChar >= 1) {
    DrawCell(m_cells[m_selectedChar - 1], true, focused);
    copyCell(m_selectedChar, m_cellWidth, m_cellHeight);
    showGrid();
  }
  if (!focused) SetMagnifierVisible(false);
}

bool frmCharacterMap::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_grid) return gridEvent(event);
  return QDialog::eventFilter(watched, event);
}

bool frmCharacterMap::gridEvent(QEvent* event) {
  // Filters see the events of a disabled widget too: without a symbol font the grid stays inert.
  if (!m_grid->isEnabled()) return false;
  switch (event->type()) {
    case QEvent::MouseButtonPress: {
      const auto* mouse = static_cast<QMouseEvent*>(event);
      Suppressed([&] {
        gridMouseMove(mouse->position().toPoint(), mouse->buttons());
        if (mouse->button() == Qt::LeftButton) ShowMagnifier(m_selectedChar);
      });
      return true;
    }
    case QEvent::MouseMove: {
      const auto* mouse = static_cast<QMouseEvent*>(event);
      Suppressed([&] { gridMouseMove(mouse->position().toPoint(), mouse->buttons()); });
      return true;
    }
    case QEvent::MouseButtonRelease:
      Guarded([&] { gridMouseRelease(static_cast<QMouseEvent*>(event)->button()); });
      return true;
    case QEvent::MouseButtonDblClick:
      Guarded([&] { insert(); });
      return true;
    case QEvent::KeyPress: {
      const auto* key = static_cast<QKeyEvent*>(event);
      if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab || key->key() == Qt::Key_Escape) return false;
      Guarded([&] { gridKey(key->key(), key->modifiers() & Qt::ControlModifier, key->text()); });
      return true;
    }
    case QEvent::FocusIn:
      Suppressed([&] { setFocused(true); });
      return false;
    case QEvent::FocusOut:
      Suppressed([&] { setFocused(false); });
      return false;
    default: return false;
  }
}

void frmCharacterMap::gridMouseMove(QPoint position, Qt::MouseButtons buttons) {
  if (!(buttons & Qt::LeftButton)) return;
  // The pointer hides while it is over the grid with the button held.
  const bool inside = m_grid->rect().contains(position);
  if (inside == m_cursorShown) {
    m_cursorShown = !inside;
    if (inside) m_grid->setCursor(Qt::BlankCursor);
    else m_grid->unsetCursor();
  }
  double x = position.x() * kTwipsPerPixel, y = position.y() * kTwipsPerPixel;
  const int rows = kCellCount / kColumns;
  if (x < 0) x = 0;
  if (static_cast<int>(x / m_cellWidthTwips) >= kColumns) x = (kColumns - 1) * m_cellWidthTwips;
  if (y < 0) y = 0;
  if (static_cast<int>(y / m_cellHeightTwips) >= rows) y = (rows - 1) * m_cellHeightTwips;
  const int cell = static_cast<int>(x) / kTwipsPerPixel / m_cellWidth + 1 +
                   kColumns * (static_cast<int>(y) / kTwipsPerPixel / m_cellHeight);
  if (cell != m_selectedChar) {
    ShowMagnifier(cell);
    SelectCharacter(cell);
  }
}

void frmCharacterMap::gridMouseRelease(Qt::MouseButton button) {
  if (!m_cursorShown) {
    m_grid->unsetCursor();
    m_cursorShown = true;
    if (m_selectedChar >= 1) setChosenText(m_cells[m_selectedChar - 1]);
  }
  if (button == Qt::LeftButton) SetMagnifierVisible(false);
  PositionLabels();
}

// The cell a navigation key leads to, or 0 when it leads nowhere (the caller beeps).
int frmCharacterMap::keyTarget(int key, bool control) const {
  const int sel = m_selectedChar;
  const int column = sel % kColumns == 0 ? kColumns : sel % kColumns;  // 1..15
  int target = 0;
  switch (key) {
    case Qt::Key_Left: target = sel - (control ? 2 : 1); break;
    case Qt::Key_Right: target = sel + (control ? 2 : 1); break;
    case Qt::Key_Up: target = control ? column : (sel > 15 ? sel - 15 : 0); break;
    case Qt::Key_Down: target = control ? kCellCount - (kColumns - column) : (sel < 211 ? sel + 15 : 0); break;
    case Qt::Key_PageUp: target = sel > 30 ? sel - 30 : 0; break;
    case Qt::Key_PageDown: target = sel < 196 ? sel + 30 : 0; break;
    case Qt::Key_Home: target = control ? 1 : (sel >= 1 ? sel - column + 1 : 0); break;
    case Qt::Key_End: target = control ? kCellCount : (sel >= 1 ? sel - column + kColumns : 0); break;
    default: return -1;
  }
  return target >= 1 && target <= kCellCount && target != sel ? target : 0;
}

void frmCharacterMap::gridKey(int key, bool control, const QString& text) {
  const int target = keyTarget(key, control);
  if (target == 0) {
    Modal().beep();
    ShowMagnifier(m_selectedChar);
    return;
  }
  if (target > 0) {
    SelectCharacter(target);
    ShowMagnifier(target);
    // A cell reached from the keyboard is chosen as a clicked one is, so Insert inserts what is shown.
    setChosenText(m_cells[target - 1]);
    PositionLabels();
    return;
  }
  if (!text.isEmpty()) typedCharacter(text.left(text.at(0).isHighSurrogate() ? 2 : 1));
}

void frmCharacterMap::typedCharacter(const QString& character) {
  const int found = static_cast<int>(m_cells.indexOf(character));
  if (found < 0) {
    SetMagnifierVisible(false);
    Modal().beep();
    return;
  }
  SelectCharacter(found + 1);
  ShowMagnifier(found + 1);
  setChosenText(character);
  insert();
}

}  // namespace lumora

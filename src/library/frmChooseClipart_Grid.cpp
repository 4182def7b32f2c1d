// The browser's thumbnail grid: building the 25 cells, the selection outline, keys and mouse.
#include <QApplication>
#include <QMenu>
#include <algorithm>

#include "base/AppInfo.h"
#include "controls/ErrorGuard.h"
#include "library/ThumbnailCell.h"
#include "library/ThumbnailGrid.h"
#include "library/ThumbnailLoader.h"
#include "library/frmChooseClipart.h"

namespace lumora {
namespace {

// The thumbnail box: the design size of the first cell's picture area.
constexpr int32_t kMaxThumbWidth = 1710;
constexpr int32_t kMaxThumbHeight = 735;
constexpr int kColumnLefts[] = {210, 2085, 3945, 5820, 7680};
constexpr int kRowTops[] = {240, 1380, 2505, 3615, 4740};

QString SizeCaption(int32_t widthTwips, int32_t heightTwips) {
  const auto pixels = [](int32_t twips) {
    return QString::number(static_cast<double>(static_cast<float>(twips) / static_cast<float>(kTwipsPerPixel)), 'g', 7);
  };
  return pixels(widthTwips) + QStringLiteral(" x ") + pixels(heightTwips);
}

class HourglassWhile {
 public:
  HourglassWhile() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~HourglassWhile() { QApplication::restoreOverrideCursor(); }
  HourglassWhile(const HourglassWhile&) = delete;
  HourglassWhile& operator=(const HourglassWhile&) = delete;
};

}  // namespace

void frmChooseClipart::BuildGrid() {
  m_cells.reserve(kCellCount);
  for (int i = 0; i < kCellCount; ++i) {
    auto* cell = new ThumbnailCell(i, m_grid);
    const int column = i % 5;
    // The three right-hand columns sit 15 twips higher.
    const int top = kRowTops[i / 5] - (column >= 2 ? 15 : 0);
    cell->move(kColumnLefts[column] / kTwipsPerPixel, top / kTwipsPerPixel);
    cell->hide();
    connect(cell, &ThumbnailCell::pressed, this, [this](int index, Qt::MouseButton button, QPoint at) {
      Guarded([&] { CellPressed(index, button, at); });
    });
    connect(cell, &ThumbnailCell::chosen, this, [this](int index) {
      Guarded([&] {
        m_selectedIndex = index;
        Choose();
      });
    });
    m_cells.push_back(cell);
  }
  connect(m_grid, &ThumbnailGrid::arrowKey, this, [this](int key) { Guarded([&] { GridArrowKey(key); }); });
}

void frmChooseClipart::ShowImages() {
  bool hadFocus = false;
  Suppressed([&] { hadFocus = m_grid->hasFocus(); });
  m_grid->hide();  // repaint once, when every cell is ready
  QStringList paths;
  for (qsizetype i = 0; i < std::min<qsizetype>(m_files.size(), kCellCount); ++i)
    paths << m_categoryFolder + u'/' + m_files.at(i);
  std::vector<Thumbnail> thumbnails;
  {
    HourglassWhile hourglass;
    Suppressed([&] { thumbnails = LoadThumbnails(paths, kMaxThumbWidth, kMaxThumbHeight); });
  }
  for (int i = 0; i < kCellCount; ++i) {
    ThumbnailCell* cell = m_cells[static_cast<size_t>(i)];
    if (static_cast<size_t>(i) >= thumbnails.size()) {
      cell->hide();
      continue;
    }
    Thumbnail& thumbnail = thumbnails[static_cast<size_t>(i)];
    cell->show();
    cell->setEnabled(!thumbnail.placeholder);  // the placeholder ignores the mouse
    cell->SetPicture(std::move(thumbnail.picture), thumbnail.area,
                     SizeCaption(thumbnail.size.width() * kTwipsPerPixel, thumbnail.size.height() * kTwipsPerPixel));
  }
  m_grid->show();
  if (hadFocus) m_grid->setFocus();
}

void frmChooseClipart::ShowFocusRect(int index) {
  const QRect cell = m_cells.at(static_cast<size_t>(index))->geometry();
  m_grid->SetSelectionRect(cell.adjusted(-6, -6, 6, 6));
}

void frmChooseClipart::GridArrowKey(int key) {
  // An empty category has no cell to move to.
  if (m_files.isEmpty()) return;
  const int32_t last = std::min<int32_t>(static_cast<int32_t>(m_files.size()) - 1, kCellCount - 1);
  switch (key) {
    case Qt::Key_Left:
      m_selectedIndex = m_selectedIndex <= 0 ? last : m_selectedIndex - 1;
      break;
    case Qt::Key_Right:
      m_selectedIndex = m_selectedIndex >= last ? 0 : m_selectedIndex + 1;
      break;
    case Qt::Key_Up:
      if (m_selectedIndex < 5) return;
      m_selectedIndex -= 5;
      break;
    case Qt::Key_Down:
      if (m_selectedIndex >= last - 4) return;
      m_selectedIndex += 5;
      break;
    default:
      return;
  }
  ShowFocusRect(m_selectedIndex);
}

void frmChooseClipart::CellPressed(int index, Qt::MouseButton button, QPoint globalPos) {
  m_selectedIndex = index;
  m_grid->setFocus();
  ShowFocusRect(index);
  if (button == Qt::RightButton) m_context->popup(globalPos);
}

}  // namespace lumora

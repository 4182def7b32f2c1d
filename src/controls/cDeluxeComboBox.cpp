#include "controls/cDeluxeComboBox.h"

#include <QComboBox>
#include <QDir>
#include <QFileIconProvider>
#include <QLinearGradient>
#include <QPainter>

#include "base/SystemColors.h"
#include "colour/ColourNames.h"
#include "controls/GSubclass.h"
#include "controls/QtColour.h"
#include "controls/SubclassMessages.h"

namespace lumora {
namespace {

constexpr int kItemFontHeight = 16;  // cell height of a font-name item's face, pixels
constexpr Colour kWindowBackground = static_cast<Colour>(0x80000005u);
constexpr Colour kHighlight = static_cast<Colour>(0x8000000Du);

// The platform's text format flags as Qt alignment and wrapping.
int textFlags(int format) {
  constexpr int kCenter = 0x1, kRight = 0x2, kVCenter = 0x4, kBottom = 0x8, kWordBreak = 0x10, kSingleLine = 0x20;
  int flags = (format & kCenter) ? Qt::AlignHCenter : (format & kRight) ? Qt::AlignRight : Qt::AlignLeft;
  if ((format & kSingleLine) && (format & kVCenter)) flags |= Qt::AlignVCenter;
  else if ((format & kSingleLine) && (format & kBottom)) flags |= Qt::AlignBottom;
  else flags |= Qt::AlignTop;
  if (format & kWordBreak) flags |= Qt::TextWordWrap;
  if (format & kSingleLine) flags |= Qt::TextSingleLine;
  return flags;
}

// A gradient end as the vertex record takes it: 16-bit channels.
QColor gradientColour(Colour colour) {
  const ColourNames::GradientChannels c = ColourNames::SplitGradientChannels(colour);
  return QColor::fromRgba64(static_cast<uint16_t>(c.red), static_cast<uint16_t>(c.green), static_cast<uint16_t>(c.blue));
}

void drawFocusRect(QPainter& painter, const QRect& rect, const QColor& colour) {
  painter.save();
  painter.setPen(QPen(colour, 1, Qt::DotLine));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(rect.adjusted(0, 0, -1, -1));
  painter.restore();
}

}  // namespace

cDeluxeComboBox::~cDeluxeComboBox() { Detach(); }

void cDeluxeComboBox::Attach(QComboBox* combo) {
  if (!combo) return;
  if (m_combo) Detach();
  GSubclass::AttachMessage(*this, combo, SubclassMessage::kPaint);
  GSubclass::AttachMessage(*this, combo, SubclassMessage::kDrawItem);
  GSubclass::AttachMessage(*this, combo, SubclassMessage::kCommand);
  m_combo = combo;
}

void cDeluxeComboBox::Detach() {
  if (!m_combo) return;
  for (int message : {SubclassMessage::kPaint, SubclassMessage::kDrawItem, SubclassMessage::kCommand})
    GSubclass::DetachMessage(*this, m_combo.data(), message);
  m_combo = nullptr;
  m_lastWindow = nullptr;
}

void cDeluxeComboBox::setSType(int value) {
  m_sType = value;
  if (value == kDrives || value == kFiles) fillList();
  decorateItems();
}

int cDeluxeComboBox::MsgResponse() { return GSubclass::CurrentMessage() == SubclassMessage::kPaint ? 2 : 1; }

long cDeluxeComboBox::WindowProc(QObject*, int iMsg, QEvent* event) {
  if (iMsg == SubclassMessage::kDrawItem) {
    drawItem(static_cast<DrawItemEvent&>(*event));
  } else if (iMsg == SubclassMessage::kCommand) {
    m_lastWindow = nullptr;
    decorateItems();
  }
  // Paint: the combo box has painted itself; kinds with swatches show them as item icons.
  return 0;
}

QFont cDeluxeComboBox::itemFont(const QString& text) const {
  QFont font = m_combo ? m_combo->font() : QFont();
  if (m_sType != kFontNames) {
    if (!m_cFont.isEmpty()) font.setFamily(m_cFont);
    return font;
  }
  if (m_plainFontName && m_plainFontName(text)) return font;
  // A face named by the item, 16 pixels high; a missing face is replaced by the platform's
  // substitute. One face per row drawn: measuring the face first would load it twice.
  font = QFont(text);
  font.setPixelSize(kItemFontHeight);
  return font;
}

void cDeluxeComboBox::drawItem(DrawItemEvent& request) {
  if (!m_combo || request.item < 0) return;
  QPainter& painter = request.painter;
  const QString text = m_combo->itemText(request.item);
  QColor background;
  if (request.selected) {
    if (request.item != m_lastIndex && m_lastWindow == request.list) {
      // The item selected before goes back to the plain look.
      painter.fillRect(m_lastRect, ToQColor(kWindowBackground));
      painter.setFont(itemFont(m_lastText));
      painter.setPen(ToQColor(m_cTNCol));
      drawItemText(painter, m_lastRect, m_lastText, QColor(), false);
    }
    drawSelectionLook(painter, request.rect);
    background = ToQColor(m_sStyle == 1 ? kHighlight : m_cColor);
    painter.setPen(ToQColor(m_cTHCol));
  } else {
    background = ToQColor(kWindowBackground);
    painter.setPen(ToQColor(m_cTNCol));
  }
  painter.setFont(itemFont(text));
  const bool transparent = m_cFullRow || m_sStyle == 3 || m_sStyle == 4;
  if (request.item != m_lastIndex) {
    m_lastRect = request.rect;
    m_lastIndex = request.item;
    m_lastText = text;
    m_lastWindow = request.list;
  }
  if (m_sType >= kColourNames && m_sType <= kFiles) drawDecoration(painter, request.rect, request.item, text);
  drawItemText(painter, request.rect, text, background, !transparent);
  request.accept();
}

void cDeluxeComboBox::drawSelectionLook(QPainter& painter, const QRect& rect) const {
  const QColor focusColour = ToQColor(m_cTHCol);
  switch (m_sStyle) {
    case 1:
    case 2:
      if (!m_cFullRow) return;
      painter.fillRect(rect, ToQColor(m_sStyle == 1 ? kHighlight : m_cColor));
      drawFocusRect(painter, rect, focusColour);
      return;
    case 3:
      painter.fillRect(rect, ToQColor(m_cColor));
      painter.save();
      painter.setPen(ToQColor(m_cFrame));
      painter.setBrush(Qt::NoBrush);
      painter.drawRect(rect.adjusted(0, 0, -1, -1));
      painter.restore();
      return;
    case 4: {
      const QPointF end = m_cGDir == 1 ? QPointF(rect.left(), rect.bottom()) : QPointF(rect.right(), rect.top());
      QLinearGradient gradient(rect.topLeft(), end);
      gradient.setColorAt(0, gradientColour(m_cGrad1));
      gradient.setColorAt(1, gradientColour(m_cGrad2));
      painter.fillRect(rect, gradient);
      drawFocusRect(painter, rect, focusColour);
      return;
    }
    default: return;
  }
}

void cDeluxeComboBox::drawItemText(QPainter& painter, QRect rect, const QString& text, const QColor& background,
                                   bool opaque) const {
  int format = 0;
  switch (m_sType) {
    case kFontNames:
      format = m_cTPos;
      rect.setBottom(rect.bottom() | 0xFFFF);  // a tall face is not cut at the item's bottom
      break;
    case kColourNames:
    case kIcons:
      if (m_cSqStyle != 0 && m_cSqStyle != 1) return;
      rect.setLeft(rect.left() + kMenuButtonWidth * (m_cSqStyle + 1) + 2);
      break;
    case kDrives:
    case kFiles: rect.setLeft(rect.left() + kMenuButtonWidth + 2); break;
    default: break;
  }
  const int flags = textFlags(format);
  if (opaque) painter.fillRect(painter.boundingRect(rect, flags, text), background);
  painter.drawText(rect, flags, text);
}

void cDeluxeComboBox::drawDecoration(QPainter& painter, const QRect& rect, int item, const QString& text) const {
  const int width = kMenuButtonWidth * (m_sType <= kIcons && m_cSqStyle == 1 ? 2 : 1);
  const QRect square(rect.left() + 2, rect.top() + 1, width - 4, rect.height() - 2);
  if (m_sType == kColourNames) {
    painter.save();
    painter.fillRect(square, ToQColor(ColourNames::ColourFromName(text.toStdString())));
    painter.setPen(Qt::black);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(square.adjusted(0, 0, -1, -1));
    painter.restore();
    return;
  }
  const QIcon icon = m_combo->itemIcon(item);
  if (!icon.isNull()) icon.paint(&painter, square);
}

// Kinds with a swatch or icon carry it as the item's icon, so the closed box shows it beside the
// text as the list does.
void cDeluxeComboBox::decorateItems() {
  if (!m_combo || m_sType < kColourNames || m_sType > kFiles) return;
  QFileIconProvider icons;
  for (int i = 0; i < m_combo->count(); ++i) {
    if (!m_combo->itemIcon(i).isNull()) continue;
    const QString text = m_combo->itemText(i);
    if (m_sType == kColourNames) {
      QPixmap swatch(12, 12);
      swatch.fill(ToQColor(ColourNames::ColourFromName(text.toStdString())));
      m_combo->setItemIcon(i, QIcon(swatch));
    } else if (m_sType == kIcons) {
      const QVariant data = m_combo->itemData(i);
      if (data.canConvert<QIcon>()) m_combo->setItemIcon(i, data.value<QIcon>());
    } else {
      const QString path = m_sType == kDrives ? text : QDir(m_cDir).filePath(text);
      m_combo->setItemIcon(i, icons.icon(QFileInfo(path)));
    }
  }
}

void cDeluxeComboBox::fillList() {
  if (!m_combo) return;
  if (m_sType == kDrives) {
    for (const QFileInfo& drive : QDir::drives()) m_combo->addItem(QDir::toNativeSeparators(drive.absoluteFilePath()));
    return;
  }
  if (!m_cDir.endsWith(QLatin1Char('/')) && !m_cDir.endsWith(QDir::separator())) m_cDir += QDir::separator();
  const QDir folder(m_cDir);
  for (const QString& name : folder.entryList({m_cDirFilter}, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                                              QDir::Name))
    m_combo->addItem(name);
}

}  // namespace lumora

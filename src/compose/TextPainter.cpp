#include "compose/TextPainter.h"

#include <QFontMetrics>
#include <algorithm>

#include "base/SystemColors.h"
#include "compose/DocumentFont.h"
#include "compose/DocumentUnits.h"

namespace lumora {

namespace {

std::vector<QString> SplitLines(const std::string& caption) {
  std::vector<QString> lines;
  if (caption.empty()) return lines;
  const QString text = QString::fromStdString(caption);
  for (const QString& line : text.split(QStringLiteral("\r\n"))) lines.push_back(line);
  return lines;
}

QColor ToQColor(Colour colour) {
  const uint32_t rgb = SystemColors::Translate(colour);
  return QColor(RedOf(rgb), GreenOf(rgb), BlueOf(rgb));
}

int LineOffset(int lineWidth, int boxWidth, TextAlignment alignment) {
  switch (alignment) {
    case TextAlignment::Right: return boxWidth - lineWidth;
    case TextAlignment::Centre: return (boxWidth - lineWidth) / 2;
    case TextAlignment::Left: break;
  }
  return 0;
}

}  // namespace

TextLayout LayOutText(const TextItem& item) {
  TextLayout layout;
  layout.font = DocumentFont(item);
  const QFontMetrics metrics(layout.font);
  layout.lineHeight = metrics.height();
  layout.ascent = metrics.ascent();
  layout.lines = SplitLines(item.Caption);
  for (const QString& line : layout.lines) {
    const int width = metrics.horizontalAdvance(line);
    layout.lineWidths.push_back(width);
    layout.width = std::max(layout.width, width);
  }
  return layout;
}

void PrintSubStrings(QPainter& painter, const TextLayout& layout, QPoint topLeft, Colour colour,
                     TextAlignment alignment) {
  if (layout.lines.empty()) return;
  painter.save();
  painter.setFont(layout.font);
  painter.setPen(ToQColor(colour));
  painter.setBackgroundMode(Qt::TransparentMode);
  int y = topLeft.y();
  for (size_t i = 0; i < layout.lines.size(); ++i) {
    const int x = topLeft.x() + LineOffset(layout.lineWidths[i], layout.width, alignment);
    painter.drawText(QPoint(x, y + layout.ascent), layout.lines[i]);
    y += layout.lineHeight;
  }
  painter.restore();
}

void PaintTextItem(QPainter& painter, const TextItem& item, const TextLayout& layout) {
  if (item.Shadow) {
    PrintSubStrings(painter, layout, QPoint(TwipsToPixels(item.ShadowLeft()), TwipsToPixels(item.ShadowTop())),
                    item.ShadowColor, item.Alignment);
  }
  PrintSubStrings(painter, layout, QPoint(TwipsToPixels(item.Left), TwipsToPixels(item.Top)), item.ForeColor,
                  item.Alignment);
}

void PaintTextItem(QPainter& painter, const TextItem& item) { PaintTextItem(painter, item, LayOutText(item)); }

}  // namespace lumora

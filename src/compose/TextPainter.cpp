#include "compose/TextPainter.h"

#include <QFontMetrics>
#include <QPainterPath>
#include <algorithm>

#include "base/Rounding.h"
#include "base/SystemColors.h"
#include "compose/BoxBlur.h"
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

// The glyph outlines of the lines, placed as PrintSubStrings places their text.
QPainterPath TextPath(const TextLayout& layout, QPoint topLeft, TextAlignment alignment) {
  QPainterPath path;
  int y = topLeft.y();
  for (size_t i = 0; i < layout.lines.size(); ++i) {
    const int x = topLeft.x() + LineOffset(layout.lineWidths[i], layout.width, alignment);
    path.addText(QPointF(x, y + layout.ascent), layout.font, layout.lines[i]);
    y += layout.lineHeight;
  }
  return path;
}

// A stroke centred on the glyphs' edge: twice the width, half of it under the glyphs, lies outside.
void StrokeOutline(QPainter& painter, const QPainterPath& path, const TextItem& item, Colour colour) {
  const int width = item.OutlineAt == OutlinePlacement::Outside ? 2 * item.OutlineWidth : item.OutlineWidth;
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.strokePath(path, QPen(ToQColor(colour), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.restore();
}

// The text with its outline: one outside lies under the glyphs, a centred one over their edge.
void PaintShape(QPainter& painter, const TextLayout& layout, const TextItem& item, QPoint topLeft, Colour fill,
                Colour outline) {
  if (!item.Outline || layout.lines.empty()) {
    PrintSubStrings(painter, layout, topLeft, fill, item.Alignment);
    return;
  }
  const QPainterPath path = TextPath(layout, topLeft, item.Alignment);
  const bool centred = item.OutlineAt == OutlinePlacement::Centred;
  if (!centred) StrokeOutline(painter, path, item, outline);
  PrintSubStrings(painter, layout, topLeft, fill, item.Alignment);
  if (centred) StrokeOutline(painter, path, item, outline);
}

void PaintShadow(QPainter& painter, const TextLayout& layout, const TextItem& item) {
  const QPoint at(TwipsToPixels(item.ShadowLeft()), TwipsToPixels(item.ShadowTop()));
  const int blur = item.ShadowBlur;
  if (blur == 0) {
    PaintShape(painter, layout, item, at, item.ShadowColor, item.ShadowColor);
    return;
  }
  // Room for the outline, the blur and glyphs that overhang their box (italics, accents).
  const int margin = (item.Outline ? item.OutlineWidth : 0) + blur + layout.fontHeight / 2;
  QRect area = QRect(at, QSize(layout.width, layout.height())).adjusted(-margin, -margin, margin, margin);
  // Only what can blur into the device: a long caption in a large size must not cost a huge layer.
  if (const QPaintDevice* device = painter.device())
    area &= QRect(0, 0, device->width(), device->height()).adjusted(-blur, -blur, blur, blur);
  if (area.isEmpty()) return;
  QImage layer(area.size(), QImage::Format_ARGB32_Premultiplied);
  layer.fill(Qt::transparent);
  {
    QPainter layerPainter(&layer);
    layerPainter.translate(-area.topLeft());
    PaintShape(layerPainter, layout, item, at, item.ShadowColor, item.ShadowColor);
  }
  BoxBlur(layer, blur);
  painter.drawImage(area.topLeft(), layer);
}

}  // namespace

TextLayout LayOutText(const TextItem& item) {
  TextLayout layout;
  layout.font = DocumentFont(item);
  const QFontMetrics metrics(layout.font);
  layout.fontHeight = metrics.height();
  layout.lineHeight = static_cast<int>(RoundHalfEven(layout.fontHeight * item.LineHeight / 100.0));
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
  if (item.Shadow) PaintShadow(painter, layout, item);
  PaintShape(painter, layout, item, QPoint(TwipsToPixels(item.Left), TwipsToPixels(item.Top)), item.ForeColor,
             item.OutlineColor);
}

void PaintTextItem(QPainter& painter, const TextItem& item) { PaintTextItem(painter, item, LayOutText(item)); }

}  // namespace lumora

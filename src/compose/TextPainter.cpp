#include "compose/TextPainter.h"

#include <QPainterPath>
#include <QRawFont>
#include <QTextLayout>

#include "base/SystemColors.h"
#include "compose/BoxBlur.h"
#include "compose/DocumentUnits.h"

namespace lumora {

namespace {

QColor ToQColor(Colour colour) {
  const uint32_t rgb = SystemColors::Translate(colour);
  return QColor(RedOf(rgb), GreenOf(rgb), BlueOf(rgb));
}

// Qt loads a glyph's outline through whatever transform its face was last drawn with (a glyph
// cache fill leaves its own behind), so outlines move by fractions of a 64th of a pixel with what
// was drawn before. A glyph rendered under a perspective, which Qt never caches, makes the next
// outline set the face's plain transform again. Qt keeps about 100 bytes of each such glyph.
void SettleFace(const QRawFont& font) {
  if (!font.isValid()) return;
  const QList<quint32> space = font.glyphIndexesForString(QStringLiteral(" "));
  font.alphaMapForGlyph(space.value(0), QRawFont::PixelAntialiasing, QTransform(1, 0, 1e-4, 0, 1, 0, 0, 0, 1));
}

// Every face the lines are drawn in, the fallbacks for missing characters too. (Bent glyphs'
// outlines come from their runs' own fonts and do not move.)
void SettleFaces(const TextLayout& layout) {
  QRawFont last;
  for (const QString& line : layout.lines) {
    QTextLayout shaped(line, layout.font);
    shaped.beginLayout();
    shaped.createLine();
    shaped.endLayout();
    for (const QGlyphRun& run : shaped.glyphRuns()) {
      if (run.rawFont() == last) continue;
      last = run.rawFont();
      SettleFace(last);
    }
  }
}

// The glyph outlines of the lines, placed as PrintSubStrings places their text. For a file the
// faces are settled first, so the same item always gives the same outline.
QPainterPath TextPath(const TextLayout& layout, QPoint topLeft, TextAlignment alignment, PaintTarget target) {
  if (target == PaintTarget::File && layout.bent.empty()) SettleFaces(layout);
  QPainterPath path;
  for (const PlacedGlyph& glyph : layout.bent) {
    const QPainterPath shape = glyph.run.rawFont().pathForGlyph(glyph.run.glyphIndexes().front());
    path.addPath((glyph.place * QTransform::fromTranslate(topLeft.x(), topLeft.y())).map(shape));
  }
  if (!layout.bent.empty()) return path;
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
                Colour outline, PaintTarget target) {
  if (!item.Outline || layout.lines.empty()) {
    PrintSubStrings(painter, layout, topLeft, fill, item.Alignment);
    return;
  }
  const QPainterPath path = TextPath(layout, topLeft, item.Alignment, target);
  const bool centred = item.OutlineAt == OutlinePlacement::Centred;
  if (!centred) StrokeOutline(painter, path, item, outline);
  PrintSubStrings(painter, layout, topLeft, fill, item.Alignment);
  if (centred) StrokeOutline(painter, path, item, outline);
}

void PaintShadow(QPainter& painter, const TextLayout& layout, const TextItem& item, PaintTarget target) {
  const QPoint at(TwipsToPixels(item.ShadowLeft()), TwipsToPixels(item.ShadowTop()));
  const int blur = item.ShadowBlur;
  if (blur == 0) {
    PaintShape(painter, layout, item, at, item.ShadowColor, item.ShadowColor, target);
    return;
  }
  // Room for the outline, the blur and glyphs that overhang their box (italics, accents).
  const int margin = (item.Outline ? item.OutlineWidth : 0) + blur + layout.fontHeight / 2;
  QRect area = QRect(at, QSize(layout.width, layout.height())).adjusted(-margin, -margin, margin, margin);
  // Only what can blur into the device: a long caption in a large size must not cost a huge layer.
  // The device's rectangle in the painter's units: a zoomed workspace or a part of a picture.
  if (const QPaintDevice* device = painter.device())
    area &= painter.worldTransform()
                .inverted()
                .mapRect(QRect(0, 0, device->width(), device->height()))
                .adjusted(-blur, -blur, blur, blur);
  if (area.isEmpty()) return;
  QImage layer(area.size(), QImage::Format_ARGB32_Premultiplied);
  layer.fill(Qt::transparent);
  {
    QPainter layerPainter(&layer);
    layerPainter.translate(-area.topLeft());
    PaintShape(layerPainter, layout, item, at, item.ShadowColor, item.ShadowColor, target);
  }
  BoxBlur(layer, blur);
  painter.drawImage(area.topLeft(), layer);
}

}  // namespace

void PrintSubStrings(QPainter& painter, const TextLayout& layout, QPoint topLeft, Colour colour,
                     TextAlignment alignment) {
  if (layout.lines.empty()) return;
  painter.save();
  painter.setFont(layout.font);
  painter.setPen(ToQColor(colour));
  painter.setBackgroundMode(Qt::TransparentMode);
  if (!layout.bent.empty()) {
    // Glyph runs rather than paths, so colour glyphs keep their colours on a curve too.
    const QTransform device = painter.transform();
    for (const PlacedGlyph& glyph : layout.bent) {
      painter.setTransform(glyph.place * QTransform::fromTranslate(topLeft.x(), topLeft.y()) * device);
      painter.drawGlyphRun(QPointF(0, 0), glyph.run);
    }
  } else {
    int y = topLeft.y();
    for (size_t i = 0; i < layout.lines.size(); ++i) {
      const int x = topLeft.x() + LineOffset(layout.lineWidths[i], layout.width, alignment);
      painter.drawText(QPoint(x, y + layout.ascent), layout.lines[i]);
      y += layout.lineHeight;
    }
  }
  painter.restore();
}

void PaintTextItem(QPainter& painter, const TextItem& item, const TextLayout& layout, PaintTarget target) {
  if (item.Shadow) PaintShadow(painter, layout, item, target);
  PaintShape(painter, layout, item, QPoint(TwipsToPixels(item.Left), TwipsToPixels(item.Top)), item.ForeColor,
             item.OutlineColor, target);
}

void PaintTextItem(QPainter& painter, const TextItem& item, PaintTarget target) {
  PaintTextItem(painter, item, LayOutText(item), target);
}

}  // namespace lumora

#include "compose/TextLayout.h"

#include <QFontMetrics>
#include <QRawFont>
#include <QTextLayout>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "compose/DocumentFont.h"
#include "compose/DocumentUnits.h"

namespace lumora {

namespace {

std::vector<QString> SplitLines(const std::string& caption) {
  std::vector<QString> lines;
  if (caption.empty()) return lines;
  for (const QString& line : QString::fromStdString(caption).split(QStringLiteral("\r\n"))) lines.push_back(line);
  return lines;
}

// Words stay whole: a line breaks at the last space before the box's edge, and a word wider than
// the box stands on a line of its own.
void WrapLine(const QString& line, const QFontMetrics& metrics, int width, std::vector<QString>& out) {
  QString current;
  bool started = false;
  for (const QString& word : line.split(QLatin1Char(' '))) {
    const QString candidate = started ? current + QLatin1Char(' ') + word : word;
    if (!started || metrics.horizontalAdvance(candidate) <= width) {
      current = candidate;
      started = true;
    } else {
      out.push_back(current);
      current = word;
    }
  }
  out.push_back(current);
}

TextLayout Measured(const TextItem& item, const QFont& font, int boxWidth, int boxHeight) {
  TextLayout layout;
  layout.font = font;
  const QFontMetrics metrics(font);
  layout.fontHeight = metrics.height();
  layout.lineHeight = static_cast<int>(RoundHalfEven(layout.fontHeight * item.LineHeight / 100.0));
  layout.ascent = metrics.ascent();
  for (const QString& line : SplitLines(item.Caption)) {
    if (boxWidth > 0) WrapLine(line, metrics, boxWidth, layout.lines);
    else layout.lines.push_back(line);
  }
  for (const QString& line : layout.lines) {
    const int width = metrics.horizontalAdvance(line);
    layout.lineWidths.push_back(width);
    layout.width = std::max(layout.width, width);
  }
  layout.fits = (boxWidth == 0 || layout.width <= boxWidth) && (boxHeight == 0 || layout.textHeight() <= boxHeight);
  layout.width = std::max(layout.width, boxWidth);
  layout.boxHeight = boxHeight;
  return layout;
}

QFont FontOfPixelSize(const TextItem& item, int pixels) {
  TextItem sized = item;
  sized.FontSize = static_cast<float>(pixels * 0.75);
  return DocumentFont(sized);
}

// The largest whole pixel size from the item's own down to its minimum at which the text fits;
// the minimum when none does.
TextLayout Fitted(const TextItem& item, int boxWidth, int boxHeight) {
  int low = FontPixelSize(std::min(item.MinFontSize, item.FontSize));
  int high = FontPixelSize(item.FontSize) - 1;
  TextLayout best = Measured(item, FontOfPixelSize(item, low), boxWidth, boxHeight);
  if (!best.fits) return best;
  while (low < high) {
    const int middle = (low + high + 1) / 2;
    TextLayout trial = Measured(item, FontOfPixelSize(item, middle), boxWidth, boxHeight);
    if (trial.fits) low = middle, best = std::move(trial);
    else high = middle - 1;
  }
  return best;
}

// The lines' glyphs on concentric circles: the widest line spans the item's Arc on the outer one
// (bulging up for a positive arc), each further line a line height nearer the centre (up) or
// farther from it (down). Glyphs keep their shaped order and offsets and turn with the tangent.
void Bend(TextLayout& layout, const TextItem& item, int boxWidth) {
  const int widest = *std::max_element(layout.lineWidths.begin(), layout.lineWidths.end());
  if (widest == 0) return;
  const double angle = item.Arc * std::numbers::pi / 180;
  const double radius = widest / std::abs(angle);
  const double up = angle > 0 ? 1 : -1;
  QRectF bounds;
  for (size_t i = 0; i < layout.lines.size(); ++i) {
    QTextLayout text(layout.lines[i], layout.font);
    text.beginLayout();
    const QTextLine line = text.createLine();
    text.endLayout();
    if (!line.isValid()) continue;
    const double r = std::max(1.0, radius - up * static_cast<double>(i) * layout.lineHeight);
    const double lineStart = LineOffset(layout.lineWidths[i], widest, item.Alignment) - widest / 2.0;
    for (const QGlyphRun& run : text.glyphRuns()) {
      const QRawFont raw = run.rawFont();
      const QList<quint32> indexes = run.glyphIndexes();
      const QList<QPointF> positions = run.positions();
      const QList<QPointF> advances = raw.advancesForGlyphIndexes(indexes);
      for (qsizetype g = 0; g < indexes.size(); ++g) {
        const double t = (lineStart + positions[g].x() + advances[g].x() / 2) / r;
        QTransform place;
        place.translate(r * std::sin(t), up * (radius - r * std::cos(t)));
        place.rotate(up * t * 180 / std::numbers::pi);
        place.translate(-advances[g].x() / 2, positions[g].y() - line.ascent());
        QGlyphRun one;
        one.setRawFont(raw);
        one.setGlyphIndexes({indexes[g]});
        one.setPositions({QPointF(0, 0)});
        bounds |= place.mapRect(raw.boundingRect(indexes[g]));
        layout.bent.push_back({one, place});
      }
    }
  }
  const QPointF corner(std::floor(bounds.left()), std::floor(bounds.top()));
  const QTransform toCorner = QTransform::fromTranslate(-corner.x(), -corner.y());
  for (PlacedGlyph& glyph : layout.bent) glyph.place *= toCorner;
  layout.width = std::max(static_cast<int>(std::ceil(bounds.right()) - corner.x()), boxWidth);
  layout.bentHeight = static_cast<int>(std::ceil(bounds.bottom()) - corner.y());
}

}  // namespace

int LineOffset(int lineWidth, int boxWidth, TextAlignment alignment) {
  switch (alignment) {
    case TextAlignment::Right: return boxWidth - lineWidth;
    case TextAlignment::Centre: return (boxWidth - lineWidth) / 2;
    case TextAlignment::Left: break;
  }
  return 0;
}

TextLayout LayOutText(const TextItem& item) {
  // A box too narrow for one pixel still wraps every word.
  const int boxWidth = item.BoxWidth > 0 ? std::max(1, TwipsToPixels(item.BoxWidth)) : 0;
  const int boxHeight = boxWidth > 0 && item.BoxHeight > 0 ? std::max(1, TwipsToPixels(item.BoxHeight)) : 0;
  TextLayout layout = Measured(item, DocumentFont(item), boxWidth, boxHeight);
  if (item.FitToBox && boxWidth > 0 && !layout.fits) layout = Fitted(item, boxWidth, boxHeight);
  if (item.Arc != 0 && !layout.lines.empty()) Bend(layout, item, boxWidth);
  return layout;
}

}  // namespace lumora

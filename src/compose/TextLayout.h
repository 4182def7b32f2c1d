// An item's caption broken into lines and measured in its font (pixels): lines wrapped at words
// inside the item's box, the size shrunk until the text fits when the item asks, and the glyphs
// placed along a circle when the item bends. Painting and the editor's hit tests share it.
#pragma once

#include <QFont>
#include <QGlyphRun>
#include <QString>
#include <QTransform>
#include <vector>

#include "document/TextItem.h"

namespace lumora {

// One glyph of bent text: drawn at its run's origin under `place`.
struct PlacedGlyph {
  QGlyphRun run;
  QTransform place;
};

struct TextLayout {
  QFont font;                  // at the size drawn, which fitting may have made smaller than the item's
  std::vector<QString> lines;  // empty for an empty caption
  std::vector<int> lineWidths;
  int width = 0;       // the widest line, or the box when it is wider; for bent text its glyphs' box
  int lineHeight = 0;  // from one line's top to the next: the font's height by the item's LineHeight
  int fontHeight = 0;  // one line of the font itself
  int ascent = 0;
  int boxHeight = 0;   // pixels; the item's box height, 0 without one
  bool fits = true;    // every line within the box's width and all of them within its height
  // Bent text: every glyph placed, upright to the curve, inside (0, 0, width, bentHeight).
  std::vector<PlacedGlyph> bent;
  int bentHeight = 0;

  int textHeight() const {
    if (!bent.empty()) return bentHeight;
    return lines.size() < 2 ? fontHeight : lineHeight * static_cast<int>(lines.size() - 1) + fontHeight;
  }
  // A label of an empty caption still has one line's height.
  int height() const { return std::max(textHeight(), boxHeight); }
};

TextLayout LayOutText(const TextItem& item);

// Where a line of `lineWidth` starts inside `boxWidth` by the alignment.
int LineOffset(int lineWidth, int boxWidth, TextAlignment alignment);

}  // namespace lumora

// Draws text items. The editor's workspace and the flattened picture both paint through here, so
// the exported picture is what the user saw: every line of a caption one line height below the
// last, the lines aligned against each other by the item's Alignment within the width of the
// widest line, the shadow (when shown) first, then the outline (when on), then the text, background
// transparent. The shadow carries the outline's shape; a soft one is blurred on a layer of its own.
#pragma once

#include <QFont>
#include <QPainter>
#include <QString>
#include <vector>

#include "document/TextItem.h"
#include "base/Colour.h"

namespace lumora {

// An item's caption broken into lines and measured in its font (pixels).
struct TextLayout {
  QFont font;
  std::vector<QString> lines;  // empty for an empty caption
  std::vector<int> lineWidths;
  int width = 0;       // the widest line
  int lineHeight = 0;  // from one line's top to the next: the font's height by the item's LineHeight
  int fontHeight = 0;  // one line of the font itself
  int ascent = 0;
  // A label of an empty caption still has one line's height.
  int height() const {
    return lines.size() < 2 ? fontHeight : lineHeight * static_cast<int>(lines.size() - 1) + fontHeight;
  }
};

TextLayout LayOutText(const TextItem& item);

// Draws the lines with their top-left corner at `topLeft` (pixels) in the colour (a system
// colour is translated first).
void PrintSubStrings(QPainter& painter, const TextLayout& layout, QPoint topLeft, Colour colour,
                     TextAlignment alignment);

// The item at its place in picture pixels: its shadow when shown, then its outline when on, then
// its text. Hidden items are the caller's to leave out.
void PaintTextItem(QPainter& painter, const TextItem& item);
void PaintTextItem(QPainter& painter, const TextItem& item, const TextLayout& layout);

}  // namespace lumora

// Draws text items. The editor's workspace and the flattened picture both paint through here, so
// the exported picture is what the user saw: every line of a caption one font line below the
// last, the lines aligned against each other by the item's Alignment within the width of the
// widest line, the shadow (when shown) first and the text over it, background transparent.
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
  int width = 0;  // the widest line
  int lineHeight = 0;
  int ascent = 0;
  // A label of an empty caption still has one line's height.
  int height() const { return lineHeight * (lines.empty() ? 1 : static_cast<int>(lines.size())); }
};

TextLayout LayOutText(const TextItem& item);

// Draws the lines with their top-left corner at `topLeft` (pixels) in the colour (a system
// colour is translated first).
void PrintSubStrings(QPainter& painter, const TextLayout& layout, QPoint topLeft, Colour colour,
                     TextAlignment alignment);

// The item at its place in picture pixels: its shadow when shown, then its text. Hidden items
// are the caller's to leave out.
void PaintTextItem(QPainter& painter, const TextItem& item);
void PaintTextItem(QPainter& painter, const TextItem& item, const TextLayout& layout);

}  // namespace lumora

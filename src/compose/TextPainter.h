// Draws text items. The editor's workspace and the flattened picture both paint through here, so
// the exported picture is what the user saw: every line of a caption one line height below the
// last, the lines aligned against each other by the item's Alignment within the width of the
// widest line (or of the item's box), the shadow (when shown) first, then the outline (when on), then the text, background
// transparent. The shadow carries the outline's shape; a soft one is blurred on a layer of its own.
#pragma once

#include <QPainter>

#include "base/Colour.h"
#include "compose/TextLayout.h"
#include "document/TextItem.h"

namespace lumora {

// Draws the lines (or the bent glyphs) with their top-left corner at `topLeft` (pixels) in the
// colour (a system colour is translated first).
void PrintSubStrings(QPainter& painter, const TextLayout& layout, QPoint topLeft, Colour colour,
                     TextAlignment alignment);

// A picture for a file always gets the same pixels for the same items, whatever was drawn before;
// the screen, which repaints without end, skips what that costs (see TextPainter.cpp).
enum class PaintTarget { File, Screen };

// The item at its place in picture pixels: its shadow when shown, then its outline when on, then
// its text. Hidden items are the caller's to leave out.
void PaintTextItem(QPainter& painter, const TextItem& item, PaintTarget target = PaintTarget::File);
void PaintTextItem(QPainter& painter, const TextItem& item, const TextLayout& layout,
                   PaintTarget target = PaintTarget::File);

}  // namespace lumora

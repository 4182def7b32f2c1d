// The one place where a text item's font fields become a QFont. The document space is 96 dots
// per inch whatever the screen, so sizes are set in pixels (a point is 4/3 pixel): Qt's point
// sizes follow the paint device's resolution and would move text between machines.
#pragma once

#include <QFont>
#include <string>

namespace lumora {

struct TextItem;

// A font of `sizePoints` points is this many pixels high (half to even, at least 1).
int FontPixelSize(float sizePoints);

QFont DocumentFont(const std::string& name, float sizePoints, bool bold, bool italic, bool underline,
                   bool strikethru);
// The item's font with its letter spacing.
QFont DocumentFont(const TextItem& item);

}  // namespace lumora

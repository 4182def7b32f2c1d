#include "compose/DocumentFont.h"

#include <algorithm>
#include <cmath>

#include "document/TextItem.h"
#include "base/Rounding.h"

namespace lumora {

namespace {
// Beyond this QFont refuses the size; the model clamps font sizes far below it anyway.
constexpr double kMaxPixelSize = 0xFFFF;
}  // namespace

int FontPixelSize(float sizePoints) {
  const double pixels = static_cast<double>(sizePoints) * 4.0 / 3.0;
  if (!std::isfinite(pixels)) return 1;
  return static_cast<int>(std::clamp(RoundHalfEven(pixels), 1.0, kMaxPixelSize));
}

QFont DocumentFont(const std::string& name, float sizePoints, bool bold, bool italic, bool underline,
                   bool strikethru) {
  QFont font(QString::fromStdString(name));
  font.setPixelSize(FontPixelSize(sizePoints));
  font.setBold(bold);
  font.setItalic(italic);
  font.setUnderline(underline);
  font.setStrikeOut(strikethru);
  // Left to Qt, hinting follows the screen (none at a scale factor of 2): the same project would
  // export different glyph edges on different screens.
  font.setHintingPreference(QFont::PreferVerticalHinting);
  return font;
}

QFont DocumentFont(const TextItem& item) {
  QFont font = DocumentFont(item.FontName, item.FontSize, item.FontBold, item.FontItalic, item.FontUnderline,
                            item.FontStrikethru);
  // In pixels of the document space, like the size, so spacing too is the same on every screen.
  if (item.LetterSpacing != 0)
    font.setLetterSpacing(QFont::AbsoluteSpacing, font.pixelSize() * item.LetterSpacing / 100.0);
  return font;
}

}  // namespace lumora

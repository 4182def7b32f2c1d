// The face of every fixed-size window: 8 points (11 pixels at 96 dots per inch) of Tahoma, or of
// a sans face of like width where Tahoma is missing, so captions stay inside their designed boxes.
#pragma once

#include <QFont>

namespace lumora {

inline QFont DialogFont() {
  QFont font;
  font.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                    QStringLiteral("DejaVu Sans")});
  font.setPixelSize(11);
  return font;
}

}  // namespace lumora

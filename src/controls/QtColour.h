// The one bridge from the system's colour values (0x00BBGGRR, system colours included) to QColor.
#pragma once

#include <QColor>

#include "base/Colour.h"
#include "base/SystemColors.h"

namespace lumora {

inline QColor ToQColor(Colour colour) {
  const uint32_t rgb = SystemColors::Translate(colour);
  return QColor(RedOf(rgb), GreenOf(rgb), BlueOf(rgb));
}

inline Colour FromQColor(const QColor& c) { return RGBColour(c.red(), c.green(), c.blue()); }

}  // namespace lumora

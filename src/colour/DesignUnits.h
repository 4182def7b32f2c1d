// Fixed-size windows keep their designed positions, given in twips (15 twips to a pixel), and
// their designed font sizes, given in points.
#pragma once

#include <QFont>
#include <QRect>
#include <QString>
#include <algorithm>
#include <cmath>

#include "base/AppInfo.h"

namespace lumora {

// The nearest pixel (a fifteenth never falls on a half).
constexpr int Px(double twips) { return static_cast<int>(twips / kTwipsPerPixel + (twips >= 0 ? 0.5 : -0.5)); }

inline QRect PxRect(double left, double top, double width, double height) {
  return {Px(left), Px(top), Px(width), Px(height)};
}

// A window font of the given point size: at 96 dots per inch a point is 4/3 pixel, so windows look
// alike whatever the screen reports.
inline QFont FontAtPoints(const QString& family, double points) {
  QFont font(family);
  font.setPixelSize(std::max(1, static_cast<int>(std::nearbyint(points * 4 / 3))));
  return font;
}

}  // namespace lumora

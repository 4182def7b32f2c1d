#include "document/TextItem.h"

#include <algorithm>
#include <cmath>

#include "base/AppInfo.h"
#include "base/Rounding.h"

namespace lumora {

int ShadowOffsetPixels(float fontSize) {
  if (fontSize < 17) return 1;
  if (fontSize < 38) return 2;
  if (fontSize < 49) return 3;
  return 4;
}

float TextItem::ShadowLeft() const {
  return static_cast<float>(RoundHalfEven(double{Left} + ShadowOffsetPixels(FontSize) * kTwipsPerPixel));
}

float TextItem::ShadowTop() const {
  return static_cast<float>(RoundHalfEven(double{Top} + ShadowOffsetPixels(FontSize) * kTwipsPerPixel));
}

float ClampPosition(double twips) {
  if (!std::isfinite(twips)) return 0;
  return static_cast<float>(std::clamp(twips, -double{TextItem::kMaxPosition}, double{TextItem::kMaxPosition}));
}

float ClampFontSize(double points) {
  if (!std::isfinite(points)) points = 0;
  return static_cast<float>(std::clamp(points, double{TextItem::kMinFontSize}, double{TextItem::kMaxFontSize}));
}

std::string WithCrLfLineBreaks(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      out += "\r\n";
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace lumora

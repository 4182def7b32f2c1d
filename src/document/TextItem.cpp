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
  return static_cast<float>(
      RoundHalfEven(double{Left} + ShadowOffset.value_or(ShadowOffsetPixels(FontSize)) * kTwipsPerPixel));
}

float TextItem::ShadowTop() const {
  return static_cast<float>(
      RoundHalfEven(double{Top} + ShadowOffset.value_or(ShadowOffsetPixels(FontSize)) * kTwipsPerPixel));
}

float ClampPosition(double twips) {
  if (!std::isfinite(twips)) return 0;
  return static_cast<float>(std::clamp(twips, -double{TextItem::kMaxPosition}, double{TextItem::kMaxPosition}));
}

float ClampFontSize(double points) {
  if (!std::isfinite(points)) points = 0;
  return static_cast<float>(std::clamp(points, double{TextItem::kMinFontSize}, double{TextItem::kMaxFontSize}));
}

int ClampWhole(double value, int low, int high) {
  if (std::isnan(value)) return low;
  return static_cast<int>(RoundHalfEven(std::clamp(value, double(low), double(high))));
}

void ClampEffects(TextItem& item) {
  item.OutlineWidth = ClampWhole(item.OutlineWidth, TextItem::kMinOutlineWidth, TextItem::kMaxOutlineWidth);
  if (item.OutlineAt != OutlinePlacement::Centred) item.OutlineAt = OutlinePlacement::Outside;
  if (item.ShadowOffset)
    item.ShadowOffset = ClampWhole(*item.ShadowOffset, -TextItem::kMaxShadowOffset, TextItem::kMaxShadowOffset);
  item.ShadowBlur = ClampWhole(item.ShadowBlur, 0, TextItem::kMaxShadowBlur);
  item.LetterSpacing = ClampWhole(item.LetterSpacing, TextItem::kMinLetterSpacing, TextItem::kMaxLetterSpacing);
  item.LineHeight = ClampWhole(item.LineHeight, TextItem::kMinLineHeight, TextItem::kMaxLineHeight);
  item.BoxWidth = ClampWhole(item.BoxWidth, 0, TextItem::kMaxBox);
  item.BoxHeight = ClampWhole(item.BoxHeight, 0, TextItem::kMaxBox);
  item.MinFontSize = ClampFontSize(item.MinFontSize);
  item.Arc = ClampWhole(item.Arc, -TextItem::kMaxArc, TextItem::kMaxArc);
}

std::string ReplaceLineBreaks(std::string_view text, std::string_view lineBreak) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      out += lineBreak;
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      out += c;
    }
  }
  return out;
}

std::string WithCrLfLineBreaks(std::string_view text) { return ReplaceLineBreaks(text, "\r\n"); }

}  // namespace lumora

#include "compose/QtTextMeasurer.h"

#include "compose/DocumentUnits.h"
#include "compose/TextPainter.h"

namespace lumora {

TextExtent QtTextMeasurer::Measure(const TextItem& item) const {
  const TextLayout layout = LayOutText(item);
  return {PixelsToTwips(layout.width), PixelsToTwips(layout.height())};
}

double QtTextMeasurer::LineHeight(const TextItem& item) const {
  return PixelsToTwips(LayOutText(item).lineHeight);
}

}  // namespace lumora

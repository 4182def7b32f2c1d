// The model's measuring interface answered with Qt font metrics in the 96-DPI document space,
// through the same layout the painter uses, so sizes and drawn text agree.
#pragma once

#include "document/ITextMeasurer.h"

namespace lumora {

class QtTextMeasurer final : public ITextMeasurer {
 public:
  TextExtent Measure(const TextItem& item) const override;
  double LineHeight(const TextItem& item) const override;
};

}  // namespace lumora

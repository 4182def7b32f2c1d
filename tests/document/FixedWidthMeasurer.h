// A measurer with simple, known metrics whatever the font: a caption is one line, 100 twips a
// character wide and 200 twips high, so geometry tests can work out the expected numbers.
#pragma once

#include "document/ITextMeasurer.h"

namespace lumora::test {

class FixedWidthMeasurer final : public ITextMeasurer {
 public:
  TextExtent Measure(const TextItem& item) const override { return {100.0 * item.Caption.size(), 200}; }
  double LineHeight(const TextItem&) const override { return 200; }
};

}  // namespace lumora::test

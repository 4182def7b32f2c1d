// Item sizes come from the caption and the font. The model only asks; the Qt layer answers with
// font metrics in the 96-DPI document space, so the editor, the renderer and the tests agree.
#pragma once

#include "document/TextItem.h"

namespace lumora {

struct TextExtent {
  double Width = 0;   // twips: the widest line
  double Height = 0;  // twips: the number of lines times the line height
};

class ITextMeasurer {
 public:
  virtual ~ITextMeasurer() = default;
  // The box of the item's caption in the item's font (FontName, FontSize and the four styles).
  virtual TextExtent Measure(const TextItem& item) const = 0;
  // One line of the item's font, in twips.
  virtual double LineHeight(const TextItem& item) const = 0;
};

}  // namespace lumora

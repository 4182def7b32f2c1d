// The ribbon's background pictures, built from the tabled colours of the strips: a left cap, a
// middle strip that is stretched sideways, and a right cap, for the panel and for the container.
#pragma once

#include <QImage>

namespace lumora::RibbonArt {

struct Pictures {
  QImage leftCap;
  QImage middle;
  QImage rightCap;
};

// 4 x 85 caps round a 3 x 85 strip.
const Pictures& Panel();
// 4 x 91 caps round a 3 x 91 strip.
const Pictures& Container();

}  // namespace lumora::RibbonArt

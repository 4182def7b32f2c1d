// Softens a picture by three box passes each way, the usual stand-in for a Gaussian blur. Whole
// numbers only, so the workspace, the export and the command line get the same pixels everywhere.
#pragma once

#include <QImage>

namespace lumora {

// Blurs a Format_ARGB32_Premultiplied image in place; nothing reaches farther than `radius`
// pixels, and beyond the edges is transparent. Other formats and a radius below 1 are left alone.
void BoxBlur(QImage& image, int radius);

}  // namespace lumora

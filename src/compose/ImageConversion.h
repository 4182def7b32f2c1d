// Bitmap <-> QImage. A bitmap in the RGB32 layout (raster/Rgb32.h) is byte for byte a
// QImage::Format_RGB32 image, so it is shared rather than copied; everything else is converted.
#pragma once

#include <QImage>
#include <functional>
#include <memory>

#include "imaging/raster/Bitmap.h"
#include "imaging/raster/Picture.h"
#include "imaging/raster/Rgb32.h"

namespace lumora {

// A writable image over the bitmap's own pixels when the layouts agree (painting on the image
// paints on the bitmap; the image keeps the bitmap alive), a converted copy otherwise.
QImage ToQImage(const std::shared_ptr<raster::Bitmap>& bitmap);
// A read-only view of a picture (Qt copies on first write); a null image for an empty picture.
QImage ToQImage(const raster::StdPicture& picture);

// A 32-bit top-down copy of the image; transparent pixels are laid on white. nullptr for a
// null image or when memory cannot be had.
std::shared_ptr<raster::Bitmap> ToBitmap(const QImage& image);
// The image's rows in the format, a band at a time, so a large picture is never converted whole
// (each pixel converts alone, so bands give the whole conversion's bytes). Rows in another format
// come from a copy of their band, so `take` may write over the image's own rows. False when a
// band cannot be had.
bool ForEachRowAs(const QImage& image, QImage::Format format, const std::function<void(int, const uchar*)>& take);
// Each pixel's opacity, row by row; empty when every pixel is opaque.
std::vector<uint8_t> AlphaOf(const QImage& image);

}  // namespace lumora

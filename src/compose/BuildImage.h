// The flattened picture the export writes: the template as the workspace shows it with every
// visible text item painted over it in stacking order, each shadow before its text.
#pragma once

#include <memory>

#include "document/Document.h"
#include "imaging/raster/Bitmap.h"
#include "imaging/raster/Picture.h"

namespace lumora {

// A new 32-bit top-down surface the size of the template; nullptr when there is no template
// picture or no memory for the copy.
std::shared_ptr<raster::Bitmap> BuildImage(const Document& document, const raster::StdPicture& templatePicture);

// Whether the composite's top-left pixel is exactly white (0xFFFFFF); the GIF route then makes
// palette entry 0 transparent.
bool WhiteCorner(const raster::Bitmap& composite);

}  // namespace lumora

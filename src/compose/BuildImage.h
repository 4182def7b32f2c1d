// The flattened picture the export writes: the template as the workspace shows it with every
// visible text item painted over it in stacking order, each shadow before its text.
#pragma once

#include <filesystem>
#include <memory>

#include "document/Document.h"
#include "imaging/raster/Bitmap.h"
#include "imaging/raster/Picture.h"
#include "pictureio/ImageExport.h"

namespace lumora {

// A new 32-bit top-down surface the size of the template; nullptr when there is no template
// picture or no memory for the copy.
std::shared_ptr<raster::Bitmap> BuildImage(const Document& document, const raster::StdPicture& templatePicture);
// The same for a caller that gives the template up: when nothing else holds its bitmap and it is
// in the RGB32 layout, the text is painted on it and no full-size copy is made.
std::shared_ptr<raster::Bitmap> BuildImageOnTemplate(const Document& document, raster::StdPicture templatePicture);
// The same over the template's own transparency (its opacity per pixel, as the loader gives it):
// a 32-bit bitmap whose fourth byte is each pixel's opacity, for the PNG route. Nothing when the
// opacities do not fit the picture.
std::shared_ptr<raster::Bitmap> BuildImageKeepingAlpha(const Document& document, const raster::StdPicture& templatePicture,
                                                       const std::vector<uint8_t>& alpha);

// For a PNG export whose options keep transparency, hands the job the document over the
// template's own opacities (the other routes and opaque templates need nothing more).
void PrepareTransparency(ImageExport& job, const std::filesystem::path& name, const ExportOptions& options,
                         const Document& document, const raster::StdPicture& templatePicture,
                         const std::vector<uint8_t>& alpha);

}  // namespace lumora

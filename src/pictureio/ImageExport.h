// The export command without its dialog: the chosen name picks the route, which encodes the
// composite held in memory, and the file is written atomically. Nothing else is written, so an
// export works whatever the temporary folder is. The caller shows the returned message, if any,
// and on success clears the document's Changed flag.
#pragma once

#include <filesystem>
#include <memory>
#include <vector>
#include <string>

#include "imaging/raster/Bitmap.h"
#include "imaging/raster/Picture.h"
#include "pictureio/ExportOptions.h"

namespace lumora {

class GifExport;

inline constexpr const char* kImageNotSaved = "The image could not be saved.";

struct ExportResult {
  bool Ok = false;
  std::string Message;  // for the user, when not Ok
  explicit operator bool() const { return Ok; }
};

class ImageExport {
 public:
  // Notes the white-corner flag and keeps a view of the composite, which is not copied: it must
  // stay unchanged and alive until the last Save (the editor's composite surface does).
  void Prepare(const raster::Bitmap& composite);
  // The composite with each pixel's opacity in its fourth byte, for a PNG whose options keep
  // transparency (compose's PrepareTransparency builds it).
  void KeepAlpha(std::shared_ptr<const raster::Bitmap> withAlpha) { m_withAlpha = std::move(withAlpha); }
  // Runs the route the name picks, with the options that route uses. Needs a Prepare.
  ExportResult Save(const std::filesystem::path& name, GifExport& gif, const ExportOptions& options = {}) const;

  bool WhiteCorner() const { return m_whiteCorner; }

 private:
  raster::StdPicture m_composite;  // a view of the caller's composite
  std::shared_ptr<const raster::Bitmap> m_withAlpha;
  bool m_whiteCorner = false;
};

// Prepare and Save in one go.
ExportResult ExportImage(const raster::Bitmap& composite, const std::filesystem::path& name, GifExport& gif,
                         const ExportOptions& options = {});

}  // namespace lumora

// The export command without its dialog: the composite is first written to a temporary bitmap
// file, the intermediate the GIF route reduces from; then the chosen name picks the route and the
// file is written atomically. The JPEG, bitmap and PNG routes encode the composite held in
// memory, which is the intermediate's exact content, instead of reading the file back. The caller
// shows the returned message, if any, and on success clears the document's Changed flag.
#pragma once

#include <filesystem>
#include <string>

#include "imaging/raster/Bitmap.h"
#include "imaging/raster/Picture.h"

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
  ImageExport() = default;
  ImageExport(const ImageExport&) = delete;
  ImageExport& operator=(const ImageExport&) = delete;
  ~ImageExport();  // the intermediate file goes, whatever happened

  // Writes the intermediate and notes the white-corner flag; false (message kImageNotSaved) when
  // the temporary file cannot be made or written. The composite is not copied: it must stay
  // unchanged and alive until the last Save (the editor's composite surface does).
  bool Prepare(const raster::Bitmap& composite);
  // Runs the route the name picks. Needs a successful Prepare.
  ExportResult Save(const std::filesystem::path& name, GifExport& gif) const;

  bool WhiteCorner() const { return m_whiteCorner; }
  const std::filesystem::path& IntermediatePath() const { return m_intermediate; }

 private:
  raster::StdPicture m_composite;  // a view of the caller's composite
  std::filesystem::path m_intermediate;
  bool m_whiteCorner = false;
};

// Prepare and Save in one go.
ExportResult ExportImage(const raster::Bitmap& composite, const std::filesystem::path& name, GifExport& gif);

}  // namespace lumora

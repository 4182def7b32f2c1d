// One picture of a render: the document composed over its template and written in the format
// the output's name picks, missing folders created on the way; or, for a dry run, whether it
// could be written.
#pragma once

#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

#include "document/Document.h"
#include "imaging/raster/Picture.h"
#include "pictureio/ExportOptions.h"

namespace lumora {
class GifExport;
}

namespace lumora::cli {

// Returns "" or the user's message. The GIF route keeps its tables process-wide, so when renders
// run side by side each GIF export holds gifLock (when given). A caller that hands over the last
// reference to the picture has the text painted on it, with no full-size copy.
std::string RenderPicture(const Document& document, raster::StdPicture picture,
                          const std::vector<uint8_t>& pictureAlpha, const std::filesystem::path& output, GifExport& gif, const ExportOptions& options,
                          std::mutex* gifLock = nullptr);

// Why the output could not be written, as far as can be told without writing it; "" if it could.
std::string OutputProblem(const std::filesystem::path& output);

}  // namespace lumora::cli

// lumora-cli convert: a picture through the export routes (the output's name picks the route).
#pragma once

#include <filesystem>

#include "pictureio/ExportOptions.h"
#include "pictureio/ImageExport.h"
#include "pictureio/LoadedPicture.h"

namespace lumora::cli {

struct CliOptions;

// What the Qt side adds to a conversion: readers for the formats other than Windows bitmaps, and
// the template's transparency kept for --png-alpha. Without them only bitmaps convert, and they
// are opaque.
struct ConvertWithQt {
  PictureReader otherFormats = nullptr;
  void (*keepAlpha)(ImageExport& job, const std::filesystem::path& output, const ExportOptions& options,
                    const LoadedPicture& loaded) = nullptr;
};

int RunConvert(const CliOptions& options, const ConvertWithQt& qt = {});

}  // namespace lumora::cli

#include "cli/ConvertCommand.h"

#include "cli/CliConsole.h"
#include "cli/CliOptions.h"
#include "cli/QuietStderr.h"
#include "pictureio/ExportRoutes.h"
#include "pictureio/GifExport.h"

namespace lumora::cli {

int RunConvert(const CliOptions& options, const ConvertWithQt& qt) {
  const size_t wanted = options.output ? 1 : 2;
  if (options.files.size() != wanted) {
    PrintError("convert takes an input picture and an output name (see lumora-cli convert --help)");
    return kExitUsage;
  }
  const std::string& input = options.files[0];
  const std::string output = options.output ? *options.output : options.files[1];
  LoadedPicture loaded;
  {
    QuietStderr quiet;
    // The JPEG route reads a 24-bit file's rows as they are: a third less memory than 32 bits.
    const bool jpeg = RouteFor(output) == ExportRoute::Jpeg;
    loaded = LoadPicture(input, qt.otherFormats, jpeg ? raster::BmpPixels::Rgb32Or24 : raster::BmpPixels::Rgb32);
  }
  if (!loaded) {
    PrintError(input + ": " + loaded.error);
    return kExitFailed;
  }
  GifExport gif;
  ImageExport job;
  job.Prepare(*loaded.picture.Handle());
  if (qt.keepAlpha) qt.keepAlpha(job, output, options.Export(), loaded);
  const ExportResult result = job.Save(output, gif, options.Export());
  if (!result) {
    PrintError(output + ": " + result.Message);
    return kExitFailed;
  }
  return kExitOk;
}

}  // namespace lumora::cli

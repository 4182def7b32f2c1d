#include "cli/ConvertCommand.h"

#include "cli/CliConsole.h"
#include "cli/CliOptions.h"
#include "cli/QuietStderr.h"
#include "compose/GifExport.h"
#include "compose/ImageExport.h"
#include "compose/PictureLoader.h"
#include "document/Document.h"

namespace lumora::cli {

int RunConvert(const CliOptions& options) {
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
    loaded = LoadPictureFile(input);
  }
  if (!loaded) {
    PrintError(input + ": " + loaded.error);
    return kExitFailed;
  }
  GifExport gif;
  ImageExport job;
  job.Prepare(*loaded.picture.Handle());
  job.PrepareTransparency(output, options.Export(), Document(), loaded.picture, loaded.alpha);
  const ExportResult result = job.Save(output, gif, options.Export());
  if (!result) {
    PrintError(output + ": " + result.Message);
    return kExitFailed;
  }
  return kExitOk;
}

}  // namespace lumora::cli

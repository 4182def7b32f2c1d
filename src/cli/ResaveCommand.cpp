#include "cli/ResaveCommand.h"

#include "cli/CliConsole.h"
#include "cli/CliOptions.h"
#include "project/ProjectFileReader.h"
#include "project/ProjectFileWriter.h"

namespace lumora::cli {

int RunResave(const CliOptions& options) {
  const size_t wanted = options.output ? 1 : 2;
  if (options.files.size() != wanted) {
    PrintError("resave takes a project file and an output name (see lumora-cli resave --help)");
    return kExitUsage;
  }
  const std::string& input = options.files[0];
  const std::string output = options.output ? *options.output : options.files[1];
  Document document;
  const ProjectReadResult read = OpenProjectFile(input, document);
  if (!read.Ok) {
    PrintError(input + ": " + read.Error);
    return kExitFailed;
  }
  for (const std::string& problem : read.Problems) PrintWarning(input + ": " + problem);
  std::string error;
  if (!SaveProjectFile(output, document, &error)) {
    PrintError(output + ": " + error);
    return kExitFailed;
  }
  return kExitOk;
}

}  // namespace lumora::cli

#include "cli/projects/RenderCommand.h"

#include <cstdio>

#include "cli/CliConsole.h"
#include "cli/CliOptions.h"
#include "cli/projects/BatchRender.h"
#include "cli/projects/CliProject.h"
#include "cli/projects/RenderPicture.h"
#include "pictureio/GifExport.h"

namespace lumora::cli {

int RunRender(const CliOptions& options) {
  if (options.files.size() != 1) {
    PrintError("render takes one project file (see lumora-cli render --help)");
    return kExitUsage;
  }
  if (!options.output) {
    PrintError("render needs -o OUTPUT");
    return kExitUsage;
  }
  if (!options.csv && (options.rows || options.jobs || options.report)) {
    PrintError("--rows, --jobs and --report work on a batch: they need --csv");
    return kExitUsage;
  }
  CliProject project = LoadCliProject(options.files[0], LibraryFolders(options), true);
  if (!project.ok) {
    PrintError(options.files[0] + ": " + project.error);
    return kExitFailed;
  }
  if (!project.templateProblem.empty()) {
    PrintError(options.files[0] + ": " + project.templateProblem);
    return kExitFailed;
  }
  for (const std::string& problem : project.problems) PrintWarning(options.files[0] + ": " + problem);
  for (const std::string& setting : options.settings) {
    if (std::string problem = ApplySetting(project.document, setting); !problem.empty()) {
      PrintError(problem);
      return kExitUsage;
    }
  }
  if (options.csv) return RenderBatch(project, options);
  if (options.dryRun) {
    if (std::string problem = OutputProblem(*options.output); !problem.empty()) {
      PrintError(problem);
      return kExitFailed;
    }
    std::printf("would write %s\n", options.output->c_str());
    return kExitOk;
  }
  for (const std::string& line : TextThatDoesNotFit(project.document)) PrintWarning(line);
  GifExport gif;
  if (std::string problem = RenderPicture(project.document, std::move(project.picture), project.pictureAlpha, *options.output, gif, options.Export()); !problem.empty()) {
    PrintError(*options.output + ": " + problem);
    return kExitFailed;
  }
  return kExitOk;
}

}  // namespace lumora::cli

#include "cli/RenderCommand.h"

#include <map>

#include "cli/CliConsole.h"
#include "cli/CliOptions.h"
#include "cli/CliProject.h"
#include "cli/CsvTable.h"
#include "cli/OutputPattern.h"
#include "cli/ProgressBar.h"
#include "compose/BuildImage.h"
#include "compose/GifExport.h"
#include "compose/ImageExport.h"

namespace lumora::cli {

namespace {

// A CSV column that sets a property of an item.
struct FieldColumn {
  size_t column;
  size_t position;
  std::string field;
};

// Returns "" or the user's message.
std::string RenderTo(const Document& document, const raster::StdPicture& picture, const std::filesystem::path& output,
                     GifExport& gif) {
  const auto composite = BuildImage(document, picture);
  if (!composite) return kImageNotSaved;
  std::error_code ec;
  if (output.has_parent_path()) std::filesystem::create_directories(output.parent_path(), ec);
  const ExportResult result = ExportImage(*composite, output, gif);
  return result ? std::string() : result.Message;
}

int RenderRows(const Document& document, const raster::StdPicture& picture, const CliOptions& options) {
  CsvTable table;
  if (!table.Load(*options.csv)) {
    PrintError(*options.csv + ": " + table.error());
    return kExitFailed;
  }
  std::vector<FieldColumn> fields;
  for (size_t c = 0; c < table.Header().size(); ++c) {
    FieldColumn column{c, 0, {}};
    if (!SplitFieldName(table.Header()[c], column.position, column.field)) continue;  // a column for names only
    if (std::string problem = CheckField(document, column.position, column.field); !problem.empty()) {
      PrintError("CSV column \"" + table.Header()[c] + "\": " + problem);
      return kExitUsage;
    }
    fields.push_back(column);
  }
  OutputPattern pattern;
  if (!pattern.Parse(*options.output, table)) {
    PrintError(pattern.error());
    return kExitUsage;
  }
  std::vector<std::string> names;
  std::map<std::string, size_t> firstRowOf;
  for (size_t r = 0; r < table.Rows().size(); ++r) {
    names.push_back(pattern.Expand(r + 1, table.Rows()[r]));
    if (auto [it, added] = firstRowOf.emplace(names.back(), r + 1); !added) {
      PrintError("rows " + std::to_string(it->second) + " and " + std::to_string(r + 1) + " would both write " +
                 names.back() + "; use {row} or a column in the output name");
      return kExitUsage;
    }
  }

  GifExport gif;
  int failures = 0;
  ProgressBar progress(table.Rows().size());
  for (size_t r = 0; r < table.Rows().size(); ++r) {
    Document row = document;
    std::string problem;
    for (const FieldColumn& f : fields) {
      problem = SetField(row, f.position, f.field, table.Rows()[r][f.column]);
      if (!problem.empty()) break;
    }
    if (problem.empty()) problem = RenderTo(row, picture, names[r], gif);
    if (!problem.empty()) {
      progress.Interrupt();
      PrintError("row " + std::to_string(r + 1) + " (" + names[r] + "): " + problem);
      ++failures;
    }
    progress.Step();
  }
  return failures == 0 ? kExitOk : kExitFailed;
}

}  // namespace

int RunRender(const CliOptions& options) {
  if (options.files.size() != 1) {
    PrintError("render takes one project file (see lumora-cli render --help)");
    return kExitUsage;
  }
  if (!options.output) {
    PrintError("render needs -o OUTPUT");
    return kExitUsage;
  }
  CliProject project = LoadCliProject(options.files[0], LibraryFolder(options), true);
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
  if (options.csv) return RenderRows(project.document, project.picture, options);
  GifExport gif;
  if (std::string problem = RenderTo(project.document, project.picture, *options.output, gif); !problem.empty()) {
    PrintError(*options.output + ": " + problem);
    return kExitFailed;
  }
  return kExitOk;
}

}  // namespace lumora::cli

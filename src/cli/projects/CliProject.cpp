#include "cli/projects/CliProject.h"

#include <charconv>
#include <string_view>

#include "cli/CliOptions.h"
#include "cli/QuietStderr.h"
#include "compose/PictureLoader.h"
#include "compose/TemplateLibraries.h"
#include "compose/TextLayout.h"
#include "project/ProjectFileReader.h"
#include "project/ProjectFileWriter.h"
#include "project/TemplatePath.h"

namespace lumora::cli {

std::vector<std::filesystem::path> LibraryFolders(const CliOptions& options) {
  if (options.library) return {*options.library};
  return TemplateLibraries();
}

namespace {

bool IsBooleanField(const std::string& field) {
  return field == "FontBold" || field == "FontItalic" || field == "FontUnderline" || field == "FontStrikethru" ||
         field == "Shadow" || field == "Outline" || field == "FitToBox";
}

// The effects' whole numbers: a value out of its range is refused rather than quietly clamped.
struct WholeField {
  std::string_view name;
  int low, high;
};
constexpr WholeField kWholeFields[] = {{"OutlineWidth", TextItem::kMinOutlineWidth, TextItem::kMaxOutlineWidth},
                                       {"OutlinePlacement", 0, 1},
                                       {"ShadowOffset", -TextItem::kMaxShadowOffset, TextItem::kMaxShadowOffset},
                                       {"ShadowBlur", 0, TextItem::kMaxShadowBlur},
                                       {"LetterSpacing", TextItem::kMinLetterSpacing, TextItem::kMaxLetterSpacing},
                                       {"LineHeight", TextItem::kMinLineHeight, TextItem::kMaxLineHeight},
                                       {"BoxWidth", 0, TextItem::kMaxBox},
                                       {"BoxHeight", 0, TextItem::kMaxBox},
                                       {"Arc", -TextItem::kMaxArc, TextItem::kMaxArc}};

std::string WholeNumberProblem(const std::string& field, const std::string& value) {
  for (const WholeField& whole : kWholeFields) {
    if (whole.name != field || (field == "ShadowOffset" && value.empty())) continue;  // blank: the shadow rule
    int number = 0;
    const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), number);
    if (ec == std::errc() && end == value.data() + value.size() && number >= whole.low && number <= whole.high)
      return {};
    return field + " takes a whole number from " + std::to_string(whole.low) + " to " + std::to_string(whole.high) +
           ", not \"" + value + "\"";
  }
  return {};
}

std::string TemplateProblem(const std::string& name, const std::vector<std::filesystem::path>& libraries,
                            const std::string& why) {
  std::string folders;
  for (const auto& library : libraries) folders += (folders.empty() ? "" : ", then ") + library.string();
  return "template \"" + name + "\" " + why + " (" + (libraries.size() == 1 ? "library " : "libraries ") + folders + ")";
}

}  // namespace

CliProject LoadCliProject(const std::filesystem::path& path, const std::vector<std::filesystem::path>& libraries,
                          bool loadTemplate) {
  CliProject project;
  bool templateSeen = false;
  ProjectReadCallbacks callbacks;
  callbacks.LoadTemplate = [&](const std::string& name) {
    templateSeen = true;
    std::string problem;
    const auto found = ResolveTemplatePath(libraries, name, &problem);
    if (!found) {
      project.templateProblem = TemplateProblem(name, libraries, "cannot be found: " + problem);
      return false;
    }
    project.templatePath = *found;
    project.templateProblem.clear();
    if (!loadTemplate) return true;
    LoadedPicture loaded;
    {
      QuietStderr quiet;
      loaded = LoadPictureFile(*found);
    }
    if (!loaded) {
      project.templateProblem = TemplateProblem(name, libraries, "cannot be read: " + loaded.error);
      return false;
    }
    project.picture = std::move(loaded.picture);
    project.pictureAlpha = std::move(loaded.alpha);
    return true;
  };
  const ProjectReadResult read = OpenProjectFile(path, project.document, callbacks);
  project.ok = read.Ok;
  project.error = read.Error;
  // The reader's own line about a template that did not load says less than templateProblem.
  for (const std::string& problem : read.Problems)
    if (!(problem.starts_with("The template \"") && problem.ends_with("\" could not be loaded.")))
      project.problems.push_back(problem);
  if (project.ok && !templateSeen) project.templateProblem = "the project names no template";
  return project;
}

bool SplitFieldName(const std::string& name, size_t& position, std::string& field) {
  const size_t dot = name.find('.');
  if (dot == std::string::npos || dot == 0) return false;
  const auto [end, ec] = std::from_chars(name.data(), name.data() + dot, position);
  if (ec != std::errc() || end != name.data() + dot) return false;
  field = name.substr(dot + 1);
  return !field.empty();
}

std::string CheckField(const Document& document, size_t position, const std::string& field) {
  const size_t count = document.TextItems().size();
  if (position < 1 || position > count)
    return "there is no text item " + std::to_string(position) + " (the project has " + std::to_string(count) + ")";
  TextItem scratch;
  if (!SetItemProperty(scratch, field, {})) return "\"" + field + "\" is not a text item property";
  return {};
}

std::string SetField(Document& document, size_t position, const std::string& field, const std::string& value) {
  if (std::string problem = CheckField(document, position, field); !problem.empty()) return problem;
  if (IsBooleanField(field) && value != "True" && value != "False")
    return field + " takes True or False, not \"" + value + "\"";
  if (std::string problem = WholeNumberProblem(field, value); !problem.empty()) return problem;
  document.EditItem(document.TextItems()[position - 1].Index,
                    [&](TextItem& item) { SetItemProperty(item, field, value); });
  return {};
}

std::vector<std::string> TextThatDoesNotFit(const Document& document) {
  std::vector<std::string> lines;
  for (size_t i = 0; i < document.TextItems().size(); ++i) {
    const TextItem& item = document.TextItems()[i];
    if (item.Visible && item.FitToBox && !LayOutText(item).fits)
      lines.push_back("text item " + std::to_string(i + 1) + " does not fit its box at " +
                      FormatSingle(std::min(item.MinFontSize, item.FontSize)) + " pt");
  }
  return lines;
}

std::string ApplySetting(Document& document, const std::string& setting) {
  const size_t equals = setting.find('=');
  size_t position = 0;
  std::string field;
  if (equals == std::string::npos || !SplitFieldName(setting.substr(0, equals), position, field))
    return "--set takes N.FIELD=VALUE, not \"" + setting + "\"";
  return SetField(document, position, field, setting.substr(equals + 1));
}

}  // namespace lumora::cli

#include "cli/projects/InfoCommand.h"

#include <cstdio>

#include "cli/CliConsole.h"
#include "cli/CliOptions.h"
#include "cli/projects/CliProject.h"
#include "project/ProjectFileWriter.h"

namespace lumora::cli {

namespace {

const char* Bool(bool value) { return value ? "true" : "false"; }

const char* AlignmentName(TextAlignment alignment) {
  switch (alignment) {
    case TextAlignment::Right: return "right";
    case TextAlignment::Centre: return "centre";
    case TextAlignment::Left: break;
  }
  return "left";
}

std::vector<std::string> AllProblems(const CliProject& project) {
  std::vector<std::string> problems = project.problems;
  if (!project.templateProblem.empty()) problems.push_back(project.templateProblem);
  return problems;
}

std::string ItemJson(const TextItem& item) {
  std::string out = "{";
  out += "\"Index\": " + std::to_string(item.Index);
  out += ", \"Visible\": " + std::string(Bool(item.Visible));
  out += ", \"Left\": " + FormatSingle(item.Left);
  out += ", \"Top\": " + FormatSingle(item.Top);
  out += ", \"Alignment\": " + std::to_string(static_cast<int>(item.Alignment));
  out += ", \"Caption\": " + JsonString(item.Caption);
  out += ", \"FontName\": " + JsonString(item.FontName);
  out += ", \"FontBold\": " + std::string(Bool(item.FontBold));
  out += ", \"FontItalic\": " + std::string(Bool(item.FontItalic));
  out += ", \"FontSize\": " + FormatSingle(item.FontSize);
  out += ", \"FontUnderline\": " + std::string(Bool(item.FontUnderline));
  out += ", \"FontStrikethru\": " + std::string(Bool(item.FontStrikethru));
  out += ", \"ForeColor\": " + std::to_string(item.ForeColor);
  out += ", \"Shadow\": " + std::string(Bool(item.Shadow));
  out += ", \"ShadowColor\": " + std::to_string(item.ShadowColor);
  out += ", \"Outline\": " + std::string(Bool(item.Outline));
  out += ", \"OutlineColor\": " + std::to_string(item.OutlineColor);
  out += ", \"OutlineWidth\": " + std::to_string(item.OutlineWidth);
  out += ", \"OutlinePlacement\": " + std::to_string(static_cast<int>(item.OutlineAt));
  out += ", \"ShadowOffset\": " + (item.ShadowOffset ? std::to_string(*item.ShadowOffset) : "null");  // null: the rule
  out += ", \"ShadowBlur\": " + std::to_string(item.ShadowBlur);
  out += ", \"LetterSpacing\": " + std::to_string(item.LetterSpacing);
  out += ", \"LineHeight\": " + std::to_string(item.LineHeight);
  out += ", \"BoxWidth\": " + std::to_string(item.BoxWidth);
  out += ", \"BoxHeight\": " + std::to_string(item.BoxHeight);
  out += ", \"FitToBox\": " + std::string(Bool(item.FitToBox));
  out += ", \"MinFontSize\": " + FormatSingle(item.MinFontSize);
  out += ", \"Arc\": " + std::to_string(item.Arc);
  return out + "}";
}

std::string FontDescription(const TextItem& item) {
  std::string font = item.FontName + " " + FormatSingle(item.FontSize) + " pt";
  for (auto [on, name] : {std::pair{item.FontBold, "bold"}, std::pair{item.FontItalic, "italic"},
                          std::pair{item.FontUnderline, "underline"}, std::pair{item.FontStrikethru, "strikethru"}})
    if (on) font += std::string(", ") + name;
  return font;
}

}  // namespace

std::string JsonString(const std::string& text) {
  std::string out = "\"";
  for (const char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\r': out += "\\r"; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20 || c == 0x7F) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
          out += escaped;
        } else {
          out += ch;
        }
    }
  }
  return out + "\"";
}

std::string InfoJson(const CliProject& project) {
  const Document& document = project.document;
  std::string out = "{\"TemplateName\": " + JsonString(document.TemplateName());
  out += ", \"TemplateFound\": " + std::string(Bool(!project.templatePath.empty()));
  out += ", \"Items\": [";
  for (size_t i = 0; i < document.TextItems().size(); ++i) out += (i ? ", " : "") + ItemJson(document.TextItems()[i]);
  out += "], \"Problems\": [";
  const auto problems = AllProblems(project);
  for (size_t i = 0; i < problems.size(); ++i) out += (i ? ", " : "") + JsonString(problems[i]);
  return out + "]}\n";
}

std::string InfoText(const CliProject& project) {
  const Document& document = project.document;
  std::string out = "Template: " + document.TemplateName() + "\n";
  out += project.templatePath.empty() ? "  not found\n" : "  found at " + project.templatePath.string() + "\n";
  out += "Text items: " + std::to_string(document.TextItems().size()) + "\n";
  size_t position = 0;
  for (const TextItem& item : document.TextItems()) {
    out += "  " + std::to_string(++position) + ". " + JsonString(item.Caption) + "\n";
    out += "     index " + std::to_string(item.Index) + (item.Visible ? ", visible" : ", hidden (no closing line)") +
           "\n";
    out += "     at " + FormatSingle(item.Left) + ", " + FormatSingle(item.Top) + " twips, lines aligned " +
           AlignmentName(item.Alignment) + "\n";
    out += "     font " + FontDescription(item) + "\n";
    out += "     colour " + std::to_string(item.ForeColor) + "; shadow " +
           (item.Shadow ? "shown in " + std::to_string(item.ShadowColor) : std::string("hidden")) + "\n";
  }
  const auto problems = AllProblems(project);
  if (!problems.empty()) {
    out += "Problems:\n";
    for (const std::string& problem : problems) out += "  - " + problem + "\n";
  }
  return out;
}

int RunInfo(const CliOptions& options) {
  if (options.files.size() != 1) {
    PrintError("info takes one project file (see lumora-cli info --help)");
    return kExitUsage;
  }
  const CliProject project = LoadCliProject(options.files[0], LibraryFolders(options), false);
  if (!project.ok) {
    PrintError(options.files[0] + ": " + project.error);
    return kExitFailed;
  }
  const std::string text = options.json ? InfoJson(project) : InfoText(project);
  std::fwrite(text.data(), 1, text.size(), stdout);
  return kExitOk;
}

}  // namespace lumora::cli

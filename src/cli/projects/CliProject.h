// A project as the command line sees it: the document, its template picture looked up in the
// library, and what went wrong or looked odd on the way.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "document/Document.h"
#include "imaging/raster/Picture.h"

namespace lumora::cli {

struct CliOptions;

struct CliProject {
  bool ok = false;       // the file was read as a project
  std::string error;     // why not
  Document document;
  raster::StdPicture picture;        // the template, when found and readable
  std::vector<uint8_t> pictureAlpha;  // its opacities; empty when it is opaque
  std::filesystem::path templatePath;  // where it was found
  std::string templateProblem;       // why there is no picture (empty when there is one)
  std::vector<std::string> problems;  // the reader's warnings, the template's aside
};

// --library alone, or the libraries the editor looks in: the program's, then the user's.
std::vector<std::filesystem::path> LibraryFolders(const CliOptions& options);

// Reads the project; the template is looked up and loaded only when loadTemplate is set.
CliProject LoadCliProject(const std::filesystem::path& path, const std::vector<std::filesystem::path>& libraries,
                          bool loadTemplate);

// One --set value, "N.FIELD=VALUE": N counts TextItems from 1, FIELD is a project-file property
// tag. Returns "" or what is wrong with it.
std::string ApplySetting(Document& document, const std::string& setting);

// Whether the document has an item at that position (from 1) with that property; "" or what is wrong.
std::string CheckField(const Document& document, size_t position, const std::string& field);
// Sets the property of the item at that position (from 1); "" or what is wrong.
std::string SetField(Document& document, size_t position, const std::string& field, const std::string& value);

// A line for each item set to fit its box whose text overflows it even at its smallest size:
// "text item N does not fit its box at M pt", N counting from 1 as --set does.
std::vector<std::string> TextThatDoesNotFit(const Document& document);

// Splits "N.FIELD" into its position and field; false when it has not that form.
bool SplitFieldName(const std::string& name, size_t& position, std::string& field);

}  // namespace lumora::cli

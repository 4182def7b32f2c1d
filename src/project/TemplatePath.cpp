#include "project/TemplatePath.h"

#include <algorithm>
#include <system_error>
#include <vector>

namespace lumora {
namespace fs = std::filesystem;

namespace {

std::vector<std::string> splitComponents(std::string_view name) {
  std::vector<std::string> parts;
  std::string part;
  for (const char c : name) {
    if (c == '\\' || c == '/') {
      if (!part.empty()) parts.push_back(std::move(part));
      part.clear();
    } else {
      part += c;
    }
  }
  if (!part.empty()) parts.push_back(std::move(part));
  return parts;
}

bool isAbsolute(std::string_view name) {
  if (!name.empty() && (name.front() == '\\' || name.front() == '/')) return true;
  // A drive ("C:") names a place outside the library too.
  return name.size() >= 2 && name[1] == ':';
}

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool equalIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return lowerAscii(x) == lowerAscii(y);
         });
}

// The entry of folder named like part, exactly if there is one, else regardless of letter case
// (the first in name order, so the choice does not depend on the directory's order).
std::optional<fs::path> findEntry(const fs::path& folder, const std::string& part) {
  std::error_code ec;
  const fs::path exact = folder / part;
  if (fs::exists(exact, ec)) return exact;
  std::optional<fs::path> found;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (equalIgnoringCase(name, part) && (!found || name < found->filename().string())) found = it->path();
  }
  return found;
}

std::optional<fs::path> refuse(std::string* problem, std::string text) {
  if (problem) *problem = std::move(text);
  return std::nullopt;
}

}  // namespace

std::optional<fs::path> ResolveTemplatePath(const fs::path& libraryRoot, std::string_view templateName,
                                            std::string* problem) {
  const std::string quoted = "\"" + std::string(templateName) + "\"";
  if (isAbsolute(templateName)) return refuse(problem, "The template path " + quoted + " is absolute.");
  const std::vector<std::string> parts = splitComponents(templateName);
  if (parts.empty()) return refuse(problem, "The project names no template.");
  if (std::find(parts.begin(), parts.end(), "..") != parts.end())
    return refuse(problem, "The template path " + quoted + " leads outside the template library.");
  fs::path path = libraryRoot;
  for (const std::string& part : parts) {
    if (part == ".") continue;
    auto entry = findEntry(path, part);
    if (!entry) return refuse(problem, "The template " + quoted + " is not in the template library.");
    path = std::move(*entry);
  }
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) return refuse(problem, "The template " + quoted + " is not a picture file.");
  return path;
}

std::optional<fs::path> ResolveTemplatePath(const std::vector<fs::path>& libraries, std::string_view templateName,
                                            std::string* problem) {
  std::string first;
  for (size_t i = 0; i < libraries.size(); ++i)
    if (auto found = ResolveTemplatePath(libraries[i], templateName, i == 0 ? &first : nullptr)) return found;
  return refuse(problem, libraries.empty() ? "There is no template library." : first);
}

}  // namespace lumora
